#!/usr/bin/env bash
# Runs every benchmark program of a build directory and prints its figures. Builds nothing.
#   bench/run_all.sh [BUILD_DIR] [extra Google Benchmark options...]
# Each program runs in well under a minute on a two-core machine. Window benchmarks run under the
# offscreen platform with a settings folder of their own.
set -euo pipefail

build_dir=${1:-build}
[ $# -gt 0 ] && shift
bench_dir="$build_dir/bench"
if [ ! -d "$bench_dir" ]; then
    echo "no benchmarks in $bench_dir: build first (cmake --build $build_dir)" >&2
    exit 1
fi

export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES='qt.qpa.*=false'
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config"
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"

programs=(spot_store_bench spot_memory_bench cluster_view_bench telnet_ingest_bench
          engine_reader_bench first_paint_bench terminal_scrollback)
status=0
for program in "${programs[@]}"; do
    path="$bench_dir/$program"
    if [ ! -x "$path" ]; then
        echo "== $program: not built, skipped" >&2
        status=1
        continue
    fi
    echo "== $program"
    # The offscreen platform warns about every window it cannot size from hints; that is noise here.
    "$path" "$@" 2> >(grep -v 'does not support propagateSizeHints' >&2) || status=1
    echo
done
exit $status
