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
# The real-window test drives the built velk on a virtual X server.
test_packages=(xvfb xdotool x11-utils imagemagick)
jobs=$(nproc)

ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    else
        echo "Velk needs these packages; install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}

build() { # folder, then extra CMake options
    local folder=$1
    shift
    cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$folder" -j "$jobs"
}

case "${1:-}" in
run)
    ensure_packages "${packages[@]}"
    build build
    exec build/bin/velk
    ;;
test)
    ensure_packages "${packages[@]}" "${test_packages[@]}"
    status=0
    build build
    ctest --test-dir build --output-on-failure -j "$jobs" || status=1
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DVELK_SANITIZE=ON
    ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1
    exit "$status"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
