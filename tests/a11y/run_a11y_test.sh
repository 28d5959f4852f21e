#!/usr/bin/env bash
# Starts the stand-in engine and Quendra under Xvfb in a private D-Bus session and reads Quendra's
# accessible tree through AT-SPI, as a screen reader would: the main window, the view tabs, a
# received spot in the list, the list's six classic columns (and not the hidden optional ones) and
# a monitored line in the packet terminal must all be there, and a newly received line must be
# announced.
#   tests/a11y/run_a11y_test.sh BUILD_DIR [--dump]
# Everything it starts is ended when it finishes; it gives up after A11Y_TEST_SECONDS (default 90).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [--dump]}" && pwd)
shift
seconds=${A11Y_TEST_SECONDS:-90}

# The accessibility bus hangs off the session bus: give this run a session bus of its own, so that
# nothing of the desktop the test may be started from is touched.
if [ -z "${QUENDRA_A11Y_SESSION:-}" ]; then
    QUENDRA_A11Y_SESSION=1 exec timeout -k 5 $((seconds + 30)) \
        dbus-run-session -- "$0" "$build" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quendra-a11y.XXXXXX")
pids=()
cleanup() {
    trap - EXIT INT TERM
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "a11y test: $*" >&2
    for log in "$work"/*.log; do
        echo "--- $log" >&2
        tail -n 20 "$log" >&2
    done
    exit 1
}

# Waits until the file holds a line matching the pattern, or fails.
wait_for_line() {
    local file=$1 pattern=$2 what=$3
    for _ in $(seq 100); do
        grep -q "$pattern" "$file" 2>/dev/null && return
        sleep 0.1
    done
    fail "$what did not start"
}

"$build/tools/quendra_engine_standin" --port 0 --rate 4 --frames "$here/monitored_frames.txt" \
    >"$work/engine.log" 2>&1 &
pids+=($!)
wait_for_line "$work/engine.log" 'listening on 127.0.0.1:' "the stand-in engine"
engine_port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/engine.log" | head -n 1)

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for_line "$work/xvfb.display" '^[0-9]' "Xvfb"
export DISPLAY=":$(head -n 1 "$work/xvfb.display")"

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Tamblix"
cat >"$XDG_CONFIG_HOME/Tamblix/Quendra.conf" <<CONF
[STATUS]
MYCALL=ZZ9TST
NORRVEL=127.0.0.1
NORRVEL_PORT=$engine_port
CONF

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    "$build/src/quendra" >"$work/quendra.log" 2>&1 &
pids+=($!)

status=0
python=${QUENDRA_A11Y_PYTHON:-/usr/bin/python3}
timeout -k 5 $((seconds + 10)) "$python" "$here/read_accessible_tree.py" \
    ZZ2CD "QRV on 2m tonight" "$seconds" "$@" || status=$?
[ "$status" -eq 0 ] || fail "the accessible tree lacks what is listed above (exit $status)"
echo "a11y test: passed"
