#!/usr/bin/env bash
# Sets up a Debian 12 machine for DOLV, builds it and then starts it or runs the tests.
#   ./setup.sh run    build and start DOLV
#   ./setup.sh test      build and run every test and every benchmark once (briefly, so
#                        one that no longer runs fails; timings are not checked); with
#                        CI=true also the sanitizer run
#   ./setup.sh sanitize  build every test with AddressSanitizer and UndefinedBehaviorSanitizer
#                        into build-asan/ and run them; any sanitizer report fails the run
#   ./setup.sh build     build only
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
    cmake --build build -j "${DOLV_JOBS:-$(nproc)}"
}

# The whole suite once more, built with -fsanitize=address,undefined in its own folder.
# A sanitizer report aborts the test process (no recovery), so its test fails; leaks
# are reported at exit. Suppressions (.ci/lsan.supp, .ci/ubsan.supp) may name only
# libraries we do not own.
sanitize() {
    local flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    if [ ! -f build-asan/build.ninja ]; then
        cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    fi
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0"
    export LSAN_OPTIONS="suppressions=$PWD/.ci/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$PWD/.ci/ubsan.supp"
    cmake --build build-asan -j "${DOLV_JOBS:-$(nproc)}"
    (cd build-asan && ctest --output-on-failure -j "${DOLV_JOBS:-$(nproc)}" "$@")
    # A report that did not end its process (none should) still fails the run.
    if grep -qE "runtime error:|ERROR: (Address|Leak)Sanitizer" build-asan/Testing/Temporary/LastTest.log; then
        echo "Sanitizer reports in build-asan/Testing/Temporary/LastTest.log" >&2
        exit 1
    fi
}

# Every benchmark once, as briefly as the library allows: a benchmark that aborts or stops
# with an error fails the run. Its timings are only printed.
bench_once() {
    echo "Running every benchmark once"
    ./build/bin/dolv_bench --benchmark_min_time=0.001
}

install_packages
if [ "$mode" = sanitize ]; then
    sanitize "$@"
    exit 0
fi
build

case "$mode" in
    run)
        exec ./build/bin/dolv "$@"
        ;;
    test)
        (cd build && ctest --output-on-failure -j "${DOLV_JOBS:-$(nproc)}" "$@")
        bench_once
        if [ "${CI:-}" = true ]; then
            sanitize "$@"
        fi
        ;;
    build)
        ;;
    *)
        echo "usage: $0 run|test|sanitize|build" >&2
        exit 2
        ;;
esac
