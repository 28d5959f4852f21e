#!/usr/bin/env bash
# Set-up, build, start and test Quendra on Debian 12.
#   ./dev.sh start   install what is missing, build, and start the program
#   ./dev.sh test    install what is missing, build, and run every test
#   ./dev.sh test-sanitized   the same tests built with AddressSanitizer and UBSan (build-sanitize)
#   ./dev.sh fuzz [SECONDS]   build the fuzz targets with clang (build-fuzz) and run each a while
# Both are idempotent: with nothing changed they only check and return.
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${QUENDRA_BUILD_DIR:-build}
PACKAGES=(build-essential cmake ninja-build ccache pkg-config qt6-base-dev qt6-base-dev-tools
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-apps imagemagick
          clang libclang-rt-14-dev dbus at-spi2-core python3-pyatspi hamradio-files libhamlib-utils
          desktop-file-utils xdx xdotool)

say() { printf '==> %s\n' "$*"; }

install_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    say "installing ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    local dir=$1; shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" -G Ninja "$@"
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}

run_tests() {
    build "$BUILD_DIR"
    say "running the tests"
    ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$(nproc)" --timeout 600
}

# Any report ends the test at once. Leaks are checked; those inside Qt's own libraries are not ours.
# No strict_string_checks: libxkbcommon hands strndup a buffer without a NUL, legally, and the
# real program under xcb would be reported for it.
run_sanitized_tests() {
    local dir=${QUENDRA_SANITIZE_BUILD_DIR:-build-sanitize}
    build "$dir" -DQUENDRA_SANITIZE=ON -DQUENDRA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    say "running the tests with AddressSanitizer and UndefinedBehaviorSanitizer"
    ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan-qt.supp:print_suppressions=0 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 900
}

run_fuzzers() {
    local dir=${QUENDRA_FUZZ_BUILD_DIR:-build-fuzz}
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DQUENDRA_FUZZ=ON \
            -DQUENDRA_BUILD_TESTS=OFF -DQUENDRA_BUILD_BENCH=OFF
    fi
    cmake --build "$dir" --target quendra_fuzzers --parallel "$(nproc)"
    say "running each fuzz target for ${1}s"
    fuzz/run.sh "$dir" "$1"
}

start_program() {
    build "$BUILD_DIR"
    exec scripts/demo.sh "$BUILD_DIR"
}

case "${1:-start}" in
    start) install_packages; start_program ;;
    test) install_packages; run_tests ;;
    test-sanitized) install_packages; run_sanitized_tests ;;
    fuzz) install_packages; run_fuzzers "${2:-120}" ;;
    build) install_packages; build "$BUILD_DIR" ;;
    *) echo "usage: $0 [start|test|test-sanitized|fuzz [SECONDS]|build]" >&2; exit 2 ;;
esac
