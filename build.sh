#!/usr/bin/env bash
# Builds Velk and starts it, or builds it and runs every test.
#   ./build.sh run     build and start Velk
#   ./build.sh test    build and run all tests, then build them again with
#                      the address and undefined-behaviour sanitizers in
#                      build-asan/ and run them there too
# Installs what is missing from Debian's packages first (as root), or says
# the exact line to run.
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev)
# The real-window and install tests drive velk on a virtual X server; the
# real-window test does so under a window manager and reads velk back through
# the accessibility bus; the install test also checks the desktop entry.
test_packages=(xvfb openbox xdotool x11-utils imagemagick desktop-file-utils dbus at-spi2-core
    python3-pyatspi)
jobs=$(nproc)

source scripts/ensure_packages.sh

configure() { # folder, then extra CMake options
    local folder=$1
    shift
    cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

build() { # folder, then extra CMake options
    configure "$@"
    cmake --build "$1" -j "$jobs"
}

case "${1:-}" in
run)
    ensure_packages "${packages[@]}"
    # Only velk and its pictures, not the tests.
    configure build
    cmake --build build -j "$jobs" --target velk velk_resources
    exec build/bin/velk
    ;;
test)
    ensure_packages "${packages[@]}" "${test_packages[@]}"
    status=0
    build build
    ctest --test-dir build --output-on-failure -j "$jobs" || status=1
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DVELK_SANITIZE=ON
    ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1
    scripts/test_ratio.sh || true
    exit "$status"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
