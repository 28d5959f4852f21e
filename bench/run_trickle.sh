#!/usr/bin/env bash
# Runs the trickle benchmark three times: offscreen as bench/run_all.sh does, then under Xvfb
# (xcb) without and with a private accessibility bus that Qt's bridge talks to, as when a screen
# reader runs. The offscreen platform has no accessibility bridge, hence Xvfb for the last run.
#   bench/run_trickle.sh [BUILD_DIR] [extra Google Benchmark options...]
#   bench/run_trickle.sh --outside [BUILD_DIR]
# --outside measures the real program from outside instead, as bench/outside_cpu.sh does, on a
# private session bus with a real accessibility bus (at-spi-bus-launcher): without the AT-SPI
# registry, with it (at-spi2-registryd), and with it and a stand-in screen reader listening
# (bench/screen_reader_standin.py); Qt's bridge sends an event over the bus only once someone
# has asked the registry for its kind (OUTSIDE_BUSES picks among these). The stand-in engine sends
# OUTSIDE_SPOTS (default 10,000) distinct spots, one or two to a frame, in two pacings: random
# pieces of 1 to 300 bytes every 20 ms, and one frame a millisecond. The figure is the program's
# CPU time (from /proc) over the time the spots take to send; the bus daemon's and the
# registry's own are given beside it.
# Everything it starts is ended when it finishes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# One measured run, inside a dbus-run-session of its own:
#   --outside-run BUILD_DIR with|without SECONDS ENGINE_OPTIONS...
# prints one line of figures.
if [ "${1:-}" = --outside-run ]; then
    build_dir=$2 registry=$3 seconds=$4
    shift 4
    scratch=$(mktemp -d)
    pids=()
    cleanup() {
        for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
        wait 2>/dev/null || true
        rm -rf "$scratch"
    }
    trap cleanup EXIT
    # The launcher puts the bus's socket in the runtime folder: a private one, so that runs
    # side by side (or a desktop's own bus) never meet.
    mkdir -m 700 "$scratch/runtime"
    export XDG_RUNTIME_DIR="$scratch/runtime"
    launcher=/usr/libexec/at-spi-bus-launcher
    [ -x "$launcher" ] || launcher=/usr/lib/at-spi2-core/at-spi-bus-launcher
    "$launcher" >"$scratch/launcher.log" 2>&1 &
    launcher_pid=$!
    pids+=("$launcher_pid")
    address=
    for _ in $(seq 50); do
        address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
            org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ') && [ -n "$address" ] && break
        sleep 0.1
    done
    [ -n "$address" ] || { echo "the accessibility bus did not start" >&2; exit 1; }
    registry_owned() {
        dbus-send --bus="$address" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry 2>/dev/null | grep -q true
    }
    registry_pid=
    if [ "$registry" != without ]; then
        registryd=/usr/libexec/at-spi2-registryd
        [ -x "$registryd" ] || registryd=/usr/lib/at-spi2-core/at-spi2-registryd
        "$registryd" >"$scratch/registry.log" 2>&1 &
        registry_pid=$!
        pids+=("$registry_pid")
        for _ in $(seq 50); do registry_owned && break; sleep 0.1; done
        registry_owned || { echo "the registry did not start" >&2; exit 1; }
        if [ "$registry" = reader ]; then
            AT_SPI_BUS_ADDRESS=$address /usr/bin/python3 "$here/screen_reader_standin.py" >"$scratch/reader.log" 2>&1 &
            reader_pid=$!
            pids+=("$reader_pid")
            for _ in $(seq 50); do grep -q listening "$scratch/reader.log" 2>/dev/null && break; sleep 0.1; done
            grep -q listening "$scratch/reader.log" || { echo "the screen reader stand-in did not start" >&2; exit 1; }
        fi
    else
        # The bus would start the registry for the program's first call to it; a stand-in that
        # only holds the registry's name answers that call with an error, as an empty bus does.
        /usr/bin/python3 -c '
import sys
from gi.repository import Gio, GLib
flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
bus = Gio.DBusConnection.new_for_address_sync(sys.argv[1], flags, None, None)
bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
              GLib.Variant("(su)", ("org.a11y.atspi.Registry", 4)), None, 0, -1, None)
print("held", flush=True)
GLib.MainLoop().run()' "$address" >"$scratch/holder.log" 2>&1 &
        pids+=($!)
        for _ in $(seq 50); do grep -q held "$scratch/holder.log" 2>/dev/null && break; sleep 0.1; done
        grep -q held "$scratch/holder.log" || { echo "could not hold the registry's name" >&2; exit 1; }
    fi

    "$build_dir/tools/quendra_engine_standin" --port 0 --seed 7 --spots-only "$@" >"$scratch/engine.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do grep -q "listening on" "$scratch/engine.log" 2>/dev/null && break; sleep 0.1; done
    port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$scratch/engine.log" | head -n 1)
    [ -n "$port" ] || { echo "the stand-in engine did not start" >&2; exit 1; }
    export XDG_CONFIG_HOME="$scratch/config"
    mkdir -p "$XDG_CONFIG_HOME/Tamblix"
    printf '[STATUS]\nMYCALL=ZZ9TST\nNORRVEL=127.0.0.1\nNORRVEL_PORT=%s\n' "$port" \
        >"$XDG_CONFIG_HOME/Tamblix/Quendra.conf"
    # shellcheck source=../scripts/private_xvfb.sh
    source "$here/../scripts/private_xvfb.sh"
    start_private_xvfb "$scratch/xvfb.log"
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
        "$build_dir/src/quendra" >"$scratch/quendra.log" 2>&1 &
    program=$!
    pids+=("$program")
    bus_daemon=$(pgrep -P "$launcher_pid" dbus-daemon | head -n 1 || true)
    ticks() { if [ -n "$1" ] && [ -r "/proc/$1/stat" ]; then awk '{print $14 + $15}' "/proc/$1/stat"; else echo 0; fi; }
    # Start-up, the connection and the registry's first walk of the new application are left
    # out; the spots flow steadily, so the measured time holds as many as it lasts.
    sleep 5
    start_program=$(ticks "$program") start_bus=$(ticks "$bus_daemon") start_registry=$(ticks "$registry_pid")
    start_reader=$(ticks "${reader_pid:-}")
    sleep "$seconds"
    used_program=$(( $(ticks "$program") - start_program ))
    used_bus=$(( $(ticks "$bus_daemon") - start_bus ))
    used_registry=$(( $(ticks "$registry_pid") - start_registry ))
    used_reader=$(( $(ticks "${reader_pid:-}") - start_reader ))
    kill -0 "$program" 2>/dev/null || { echo "the program ended early" >&2; tail "$scratch/quendra.log" >&2; exit 1; }
    present=no
    [ "$registry" != without ] && registry_owned && present=yes
    awk -v u="$start_program" -v p="$used_program" -v b="$used_bus" -v r="$used_registry" -v l="$used_reader" \
        -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v present="$present" 'BEGIN {
        printf "program %.2f s of CPU in %d s (start-up before them %.2f s); bus daemon %.2f s, registry %.2f s, screen reader %.2f s (registry on the bus: %s)\n",
               p / hz, s, u / hz, b / hz, r / hz, l / hz, present }'
    if [ -n "${reader_pid:-}" ]; then
        kill "$reader_pid" 2>/dev/null || true
        wait "$reader_pid" 2>/dev/null || true
        echo "heard: $(tail -n 1 "$scratch/reader.log")"
    fi
    exit 0
fi

if [ "${1:-}" = --outside ]; then
    shift
    build_dir=$(cd "${1:-build}" && pwd)
    for tool in src/quendra tools/quendra_engine_standin; do
        [ -x "$build_dir/$tool" ] || { echo "no $build_dir/$tool: build first" >&2; exit 1; }
    done
    spots=${OUTSIDE_SPOTS:-10000}
    # A spot frame carries 1.25 spots on average. 36 frames a second in pieces of 150 bytes on
    # average, 50 a second, stays below what the pieces can carry, so nothing queues up.
    pieces_rate=36
    pieces_seconds=$(( (spots * 4 / 5 + pieces_rate - 1) / pieces_rate ))
    lines_rate=1000
    lines_seconds=$(( (spots * 4 / 5 + lines_rate - 1) / lines_rate ))
    run() {
        timeout -k 5 $(( $2 + 120 )) dbus-run-session -- "$0" --outside-run "$build_dir" "$@" 2>&1 |
            grep -v '^dbus-daemon\|^Activating'
    }
    bus() {
        case $1 in
            without) echo "accessibility bus without the registry" ;;
            with) echo "accessibility bus with the registry" ;;
            reader) echo "accessibility bus with the registry and a listening screen reader" ;;
        esac
    }
    for registry in ${OUTSIDE_BUSES:-without with reader}; do
        echo "== $spots spots in random 1-300 byte pieces every 20 ms, $(bus "$registry")"
        run "$registry" "$pieces_seconds" --rate "$pieces_rate" --chunks random:300 --gap 20
        echo "== $spots spots, one frame a millisecond, $(bus "$registry")"
        run "$registry" "$lines_seconds" --rate "$lines_rate"
    done
    exit 0
fi

build_dir=$(cd "${1:-build}" && pwd)
[ $# -gt 0 ] && shift
program="$build_dir/bench/trickle_bench"
[ -x "$program" ] || { echo "no $program: build first" >&2; exit 1; }

if [ -z "${QUENDRA_TRICKLE_SESSION:-}" ]; then
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    export XDG_CONFIG_HOME="$scratch/config"
    mkdir -m 700 "$scratch/runtime"
    export XDG_RUNTIME_DIR="$scratch/runtime"
    export QT_LOGGING_RULES='qt.qpa.*=false;qt.accessibility.*=false'
    xvfb=(xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp")
    echo "== trickle_bench, offscreen"
    QT_QPA_PLATFORM=offscreen "$program" "$@" 2>&1 | grep -v 'propagateSizeHints'
    echo "== trickle_bench, Xvfb, no accessibility bus"
    env -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS QT_QPA_PLATFORM=xcb \
        "${xvfb[@]}" "$program" "$@" 2>&1
    echo "== trickle_bench, Xvfb, private accessibility bus"
    # The accessibility bus hangs off a session bus: a private one, so no desktop is touched.
    QUENDRA_TRICKLE_SESSION=1 QT_QPA_PLATFORM=xcb timeout -k 5 900 dbus-run-session -- \
        "${xvfb[@]}" "$0" "$build_dir" "$@" 2>&1 | grep -v '^dbus-daemon'
    exit 0
fi

launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || launcher=/usr/lib/at-spi2-core/at-spi-bus-launcher
"$launcher" >/dev/null 2>&1 &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
# The bus is ready once the launcher answers for its address.
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$program" "$@" 2>&1 | grep -v 'propagateSizeHints'
