#!/usr/bin/env bash
# Sets up a Debian 12 machine for DOLV, builds it and then starts it or runs the tests.
#   ./setup.sh run    build and start DOLV
#   ./setup.sh test   build and run every test
#   ./setup.sh build  build only
# Quick when everything is already installed and built.
set -euo pipefail
cd "$(dirname "$0")"

mode="${1:-run}"
shift || true

packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev libbenchmark-dev
          fonts-liberation2 locales xvfb xauth poppler-utils alsa-utils
          qt6-translations-l10n)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
            missing+=("$p")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
    # The locale tests switch to German; without the locale they would test nothing.
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        echo "Generating the de_DE.UTF-8 locale"
        as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
    fi
}

build() {
    # The test mode (CI) builds with warnings as errors; the option stays in the cache.
    local werror=()
    if [ "$mode" = test ]; then
        werror=(-DDOLV_WERROR=ON)
    fi
    if [ ! -f build/build.ninja ] || [ ${#werror[@]} -gt 0 ]; then
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}"
    fi
    cmake --build build -j "$(nproc)"
}

install_packages
build

case "$mode" in
    run)
        exec ./build/bin/dolv "$@"
        ;;
    test)
        cd build
        ctest --output-on-failure -j "$(nproc)" "$@"
        ;;
    build)
        ;;
    *)
        echo "usage: $0 run|test|build" >&2
        exit 2
        ;;
esac
