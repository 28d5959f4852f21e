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

status=0
ran=0
for path in "$bench_dir"/*; do
    [ -f "$path" ] && [ -x "$path" ] || continue
    ran=$((ran + 1))
    echo "== $(basename "$path")"
    # The offscreen platform warns about every window it cannot size from hints; that is noise here.
    set +e
    "$path" "$@" 2>&1 | grep -v 'does not support propagateSizeHints'
    codes=("${PIPESTATUS[@]}")
    set -e
    [ "${codes[0]}" -eq 0 ] || status=1
    echo
done
if [ "$ran" -eq 0 ]; then
    echo "no benchmark programs in $bench_dir: build first (cmake --build $build_dir)" >&2
    exit 1
fi
exit $status
