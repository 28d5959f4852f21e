#!/usr/bin/env bash
# Measures Quendra from outside the process, as an operator's tools would: starts the stand-in
# engine on 127.0.0.1 sending monitored frames at a given rate, cut into random pieces 20 ms
# apart, starts the program under a private Xvfb already pointed at it, and after a settling
# time reads the program's CPU time and resident memory from /proc over a period.
#   bench/outside_cpu.sh [BUILD_DIR] [SECONDS] [FRAMES_PER_SECOND]
# Extra environment (QUENDRA_NO_COALESCING=1, say) is passed on to the program.
set -euo pipefail
build_dir=${1:-build}
seconds=${2:-60}
rate=${3:-10}
scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

"$build_dir/tools/quendra_engine_standin" --port 0 --rate "$rate" --seed 7 --chunks random --gap 20 \
    >"$scratch/engine.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q 'listening on' "$scratch/engine.log" && break; sleep 0.1; done
port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$scratch/engine.log" | head -n 1)
[ -n "$port" ] || { echo "the stand-in engine did not start" >&2; exit 1; }

export XDG_CONFIG_HOME="$scratch/config"
mkdir -p "$XDG_CONFIG_HOME/Tamblix" && mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"
printf '[STATUS]\nMYCALL=ZZ9TST\nNORRVEL=127.0.0.1\nNORRVEL_PORT=%s\n' "$port" \
    >"$XDG_CONFIG_HOME/Tamblix/Quendra.conf"

source "$(dirname "$0")/../scripts/private_xvfb.sh"
start_private_xvfb "$scratch/xvfb.log"
QT_QPA_PLATFORM=xcb "$build_dir/src/quendra" >"$scratch/quendra.log" 2>&1 &
program=$!
pids+=("$program")
sleep 5  # start-up, connection and the first frames

ticks() { awk '{print $14 + $15}' "/proc/$program/stat"; }
resident() { awk '/VmRSS/ {print $2}' "/proc/$program/status"; }
start_ticks=$(ticks)
start_kib=$(resident)
sleep "$seconds"
used=$(( $(ticks) - start_ticks ))
per_second=$(getconf CLK_TCK)
awk -v used="$used" -v hz="$per_second" -v s="$seconds" -v a="$start_kib" -v b="$(resident)" -v r="$rate" 'BEGIN {
    printf "%d frames/s in random pieces: %.2f s of CPU in %d s (%.0f s an hour); resident %d KiB -> %d KiB\n",
           r, used / hz, s, used / hz * 3600 / s, a, b }'
