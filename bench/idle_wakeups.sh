#!/usr/bin/env bash
# Counts how often an idle Quendra wakes up: starts the program with no link to connect, lets it
# settle, then counts the context switches of its main thread over a period (default 60 s).
#   bench/idle_wakeups.sh [PROGRAM] [SECONDS]
# QT_QPA_PLATFORM=offscreen (default) or xcb; for xcb, run it under xvfb-run -a.
set -euo pipefail
program=${1:-build/src/quendra}
seconds=${2:-60}
scratch=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$scratch/config"
mkdir -p "$XDG_CONFIG_HOME/Tamblix" && mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"
printf '[STATUS]\nMYCALL=ZZ9TST\nNORRVEL_PORT=0\n' >"$XDG_CONFIG_HOME/Tamblix/Quendra.conf"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$program" >"$scratch/log" 2>&1 &
pid=$!
sleep 5

# The main thread's count: its timers and event loop are what an idle program would wake for.
# (Qt's pooled helper threads come and go, so their counts cannot be summed across a period.)
switches() {
    local total=0 key value
    while read -r key value; do
        case $key in voluntary_ctxt_switches:|nonvoluntary_ctxt_switches:) total=$((total + value)) ;; esac
    done </proc/"$pid"/status
    echo "$total"
}
before=$(switches)
sleep "$seconds"
after=$(switches)
echo "$QT_QPA_PLATFORM: $((after - before)) wake-ups in ${seconds} s ($(( (after - before) * 60 / seconds )) per minute)"
