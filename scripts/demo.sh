#!/usr/bin/env bash
# Starts the two stand-in servers on free ports of 127.0.0.1 with spots flowing, and Quendra with a
# settings folder of its own already pointed at them. Ctrl+C ends everything this script started.
#   scripts/demo.sh BUILD_DIR
set -euo pipefail
BUILD_DIR=${1:-build}
BIN="$BUILD_DIR/tools"
DEMO_DIR="$BUILD_DIR/demo"
SCREENSHOT="$DEMO_DIR/quendra-demo.png"
mkdir -p "$DEMO_DIR"

pids=()
cleanup() {
    trap - EXIT INT TERM
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Starts a stand-in on a free port. It runs in this shell (not in a command substitution) so
# that its process id is known to the clean-up.
start_standin() {
    local log=$1; shift
    "$@" --port 0 >"$log" 2>&1 &
    pids+=($!)
}

# Prints the port a stand-in announced in its log.
port_of() {
    local log=$1
    for _ in $(seq 100); do
        if grep -q 'listening on 127.0.0.1:' "$log"; then
            sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$log" | head -n 1
            return
        fi
        sleep 0.1
    done
    echo "a stand-in did not start; see $log" >&2
    exit 1
}

start_standin "$DEMO_DIR/engine.log" "$BIN/quendra_engine_standin" --rate 4 --seed 7
start_standin "$DEMO_DIR/node.log" "$BIN/quendra_node_standin" --rate 6 --seed 11
engine_port=$(port_of "$DEMO_DIR/engine.log")
node_port=$(port_of "$DEMO_DIR/node.log")
echo "==> stand-in engine on 127.0.0.1:$engine_port, stand-in cluster node on 127.0.0.1:$node_port"

# The demo's own settings folder: the user's real settings are never touched.
export XDG_CONFIG_HOME="$PWD/$DEMO_DIR/config"
mkdir -p "$XDG_CONFIG_HOME/Tamblix"
cat >"$XDG_CONFIG_HOME/Tamblix/Quendra.conf" <<CONF
[STATUS]
MYCALL=ZZ9DEMO
NORRVEL=127.0.0.1
NORRVEL_PORT=$engine_port
TELNET=127.0.0.1:$node_port
TELENETADR0=127.0.0.1:$node_port
SPLITTER59649=420
SPLITTER59650=420

[SETTINGS]
TELNET\\MONITORBUFFERLINES=2000
CLUSTERFRAME\\TREESIZE=110
CONF
echo "==> settings for this demo live in $XDG_CONFIG_HOME"
echo "==> packet traffic and spots arrive by themselves; for the node: Telnet tab, Menu > Actions > Connect ..."

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$BUILD_DIR/src/quendra"
    exit 0
fi

echo "==> no display found: running Quendra under Xvfb"
source "$(dirname "$0")/private_xvfb.sh"
start_private_xvfb "$DEMO_DIR/xvfb.log"

"$BUILD_DIR/src/quendra" >"$DEMO_DIR/quendra.log" 2>&1 &
quendra_pid=$!
pids+=($quendra_pid)
sleep "${QUENDRA_DEMO_SECONDS:-15}"
import -window root "$SCREENSHOT"
echo "==> screenshot of the spot list saved to $SCREENSHOT"

if [ -t 0 ]; then
    echo "==> Quendra runs on display $DISPLAY; press Ctrl+C to end it and the stand-ins"
    wait "$quendra_pid"
fi
