#!/usr/bin/env bash
# Runs every fuzz target of a build folder for a while; builds nothing.
#   fuzz/run.sh BUILD_DIR SECONDS
# Each target starts from its seeds in fuzz/corpus/<name> plus what earlier runs in this build
# folder found (kept in BUILD_DIR/fuzz-corpus/<name>). A crashing input is saved as
# BUILD_DIR/fuzz-artifacts/<name>-crash-...; the script fails when any target found one.
set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build_dir=$(cd "$1" && pwd) || exit 2
seconds=$2
source_dir=$(cd "$(dirname "$0")" && pwd)

targets=()
for file in "$build_dir"/fuzz/fuzz_*; do
    [ -f "$file" ] && [ -x "$file" ] && targets+=("$file")
done
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz targets in $build_dir/fuzz (configure with -DQUENDRA_FUZZ=ON and build quendra_fuzzers)" >&2
    exit 2
fi

mkdir -p "$build_dir/fuzz-artifacts"
# A report ends the run at the first error; leaks are reported as errors too.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_LOGGING_RULES=${QT_LOGGING_RULES:-*=false}
# The settings target writes a file per input: memory-backed storage keeps that quick.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

failed=0
for target in "${targets[@]}"; do
    name=$(basename "$target")
    name=${name#fuzz_}
    corpus="$build_dir/fuzz-corpus/$name"
    log="$build_dir/fuzz-artifacts/$name.log"
    mkdir -p "$corpus"
    start=$(date +%s)
    "$target" "$corpus" "$source_dir/corpus/$name" -max_total_time="$seconds" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=2048 -max_len=70000 \
        -artifact_prefix="$build_dir/fuzz-artifacts/$name-" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    elapsed=$(($(date +%s) - start))
    if [ $status -eq 0 ]; then
        printf '%-18s ok      %10s runs in %4ss, corpus %s inputs\n' "$name" "${runs:-?}" "$elapsed" \
            "$(ls "$corpus" | wc -l)"
    else
        failed=1
        printf '%-18s FAILED  %10s runs in %4ss, see %s\n' "$name" "${runs:-?}" "$elapsed" "$log"
        grep -m 5 -E 'ERROR|check failed|runtime error|Test unit written' "$log" | sed 's/^/    /'
    fi
done
exit $failed
