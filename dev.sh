#!/usr/bin/env bash
# Set-up, build, start and test Quendra on Debian 12.
#   ./dev.sh start   install what is missing, build, and start the program
#   ./dev.sh test    install what is missing, build, and run every test
# Both are idempotent: with nothing changed they only check and return.
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${QUENDRA_BUILD_DIR:-build}
PACKAGES=(build-essential cmake ninja-build ccache pkg-config qt6-base-dev qt6-base-dev-tools
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-apps imagemagick
          clang libclang-rt-14-dev dbus at-spi2-core python3-pyatspi)

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

start_program() {
    build "$BUILD_DIR"
    exec scripts/demo.sh "$BUILD_DIR"
}

case "${1:-start}" in
    start) install_packages; start_program ;;
    test) install_packages; run_tests ;;
    build) install_packages; build "$BUILD_DIR" ;;
    *) echo "usage: $0 [start|test|build]" >&2; exit 2 ;;
esac
