#!/usr/bin/env bash
# Runs the trickle benchmark three times: offscreen as bench/run_all.sh does, then under Xvfb
# (xcb) without and with a private accessibility bus that Qt's bridge talks to, as when a screen
# reader runs. The offscreen platform has no accessibility bridge, hence Xvfb for the last run.
#   bench/run_trickle.sh [BUILD_DIR] [extra Google Benchmark options...]
# Everything it starts is ended when it finishes.
set -euo pipefail

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
