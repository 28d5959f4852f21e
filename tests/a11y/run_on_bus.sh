#!/usr/bin/env bash
# Runs a test program under Xvfb (xcb) in a private D-Bus session with an accessibility bus, so
# that Qt's accessibility bridge is active and the test hears the events a screen reader would be
# sent; offscreen has no bridge and such tests skip there. QUENDRA_EXPECT_A11Y_BRIDGE=1 makes
# them fail instead of skip should the bridge not come up.
#   tests/a11y/run_on_bus.sh PROGRAM [TEST FUNCTIONS...]
# Everything it starts is ended when it finishes.
set -euo pipefail
if [ -z "${QUENDRA_ON_BUS_SESSION:-}" ]; then
    QUENDRA_ON_BUS_SESSION=1 exec timeout -k 5 250 dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quendra-on-bus.XXXXXX")
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The launcher puts the bus's socket in the runtime folder: a private one, so that runs side by
# side never share a bus.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || launcher=/usr/lib/at-spi2-core/at-spi-bus-launcher
"$launcher" >"$work/launcher.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done

Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do grep -q '^[0-9]' "$work/xvfb.display" 2>/dev/null && break; sleep 0.1; done
grep -q '^[0-9]' "$work/xvfb.display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/xvfb.display")"

program=$1
shift
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$program" "$@"
