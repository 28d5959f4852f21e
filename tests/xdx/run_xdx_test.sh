#!/usr/bin/env bash
# A real cluster client against the local node: Quendra runs under a private Xvfb with the
# stand-in engine feeding it spots and SHARE/PORT set; xdx (a GTK cluster client) is pointed at
# the node through its own Connect dialog, logs in by itself and saves the spots it lists to
# ~/.xdx/dxspots, which is read here. Exits 77 (skipped) when xdx, xdotool or Xvfb is missing.
#   tests/xdx/run_xdx_test.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
for tool in xdx xdotool Xvfb python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quendra-xdx.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
[ -n "${QUENDRA_XDX_KEEP:-}" ] && trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; echo "kept $work"' EXIT
source "$(dirname "$0")/../../scripts/private_xvfb.sh"
start_private_xvfb "$work/xvfb.log"

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
    local tries=$(($1 * 10)); shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}

"$build/tools/quendra_engine_standin" --port 0 --rate 10 --seed 5 >"$work/engine.log" 2>&1 &
pids+=($!)
wait_for 10 grep -q 'listening on 127.0.0.1:' "$work/engine.log"
engine_port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/engine.log" | head -n 1)
node_port=$(free_port)

mkdir -p "$work/config/Tamblix" "$work/home/.xdx"
cat >"$work/config/Tamblix/Quendra.conf" <<CONF
[STATUS]
MYCALL=ZZ9TEST
NORRVEL=127.0.0.1
NORRVEL_PORT=$engine_port

[SHARE]
PORT=$node_port
CONF
XDG_CONFIG_HOME="$work/config" "$build/src/quendra" >"$work/quendra.log" 2>&1 &
pids+=($!)
wait_for 20 python3 -c "import socket; socket.create_connection(('127.0.0.1', $node_port), 1)" 2>/dev/null || {
    cat "$work/quendra.log"; echo "FAIL: the local node never listened"; exit 1; }

# xdx keeps its last host in ~/.xdx/history and logs in with the call of its preferences.
printf 'autologin 1\ncallsign ZZ9XDX\nsavedx 1\n' >"$work/home/.xdx/preferences"
printf 'ho:127.0.0.1\npo:%s\n' "$node_port" >"$work/home/.xdx/history"
HOME="$work/home" xdx >"$work/xdx.log" 2>&1 &
xdx_pid=$!
pids+=($xdx_pid)
main_window() { xdotool search --onlyvisible --pid "$xdx_pid" --name '^xdx$' 2>/dev/null | tail -n 1; }
has_main_window() { [ -n "$(main_window)" ]; }
wait_for 20 has_main_window || { echo "FAIL: xdx showed no window"; exit 1; }
sleep 1
# No window manager runs: the keyboard focus is given by hand. Host > Connect is Ctrl+O; the
# dialog holds the host and port from the history, and OK is the fifth stop of Tab.
xdotool windowfocus "$(main_window)"
xdotool key ctrl+o
dialog() { xdotool search --onlyvisible --pid "$xdx_pid" --name 'Open connection' 2>/dev/null | tail -n 1; }
has_dialog() { [ -n "$(dialog)" ]; }
wait_for 10 has_dialog || { echo "FAIL: the Connect dialog of xdx did not open"; exit 1; }
sleep 0.5
xdotool windowfocus "$(dialog)"
xdotool key Tab Tab Tab Tab Tab space

spots="$work/home/.xdx/dxspots"
enough() { [ -f "$spots" ] && [ "$(grep -c 'DX de ' "$spots")" -ge 5 ]; }
wait_for 30 enough || {
    echo "--- xdx log"; cat "$work/xdx.log"; echo "--- quendra log"; cat "$work/quendra.log"
    echo "FAIL: xdx listed no spots from the local node"; exit 1; }
echo "xdx listed $(grep -c 'DX de ' "$spots") spots, e.g.:"
grep -m 3 'DX de ' "$spots"
# Every line xdx took is a whole announcement: the time stands at its column.
if grep 'DX de ' "$spots" | tr -d '\r' | sed 's/^.* GMT - //' | grep -vqE '^DX de .{64}[0-9]{4}Z$'; then
    echo "FAIL: a spot line lost its columns"; exit 1
fi
echo "PASS"
