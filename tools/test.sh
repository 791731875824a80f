#!/usr/bin/env bash
# Installs the dependencies, builds Orvi and runs every test: once in a normal build and
# once under AddressSanitizer and UndefinedBehaviorSanitizer; then the fuzz targets briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh --test
export QT_QPA_PLATFORM=offscreen
# deps.sh has installed poppler-utils: the printed-sheet tests read with it and must not skip.
export ORVI_REQUIRE_POPPLER=1

pulse_started=0
if [ -f tools/pulse-private.sh ]; then
    # A private sound server with a null sink, so the real-audio test has a device.
    if bash tools/pulse-private.sh start; then
        pulse_started=1
        export ORVI_REQUIRE_REAL_AUDIO=1
    elif [ "${CI:-}" = "true" ]; then
        echo "test.sh: the private sound server did not start; the real-audio test cannot run" >&2
        exit 1
    fi
fi
cups_started=0
if [ -f tools/cups-private.sh ]; then
    # A private print server with a PDF queue, so one test prints the way a user does.
    if bash tools/cups-private.sh start; then
        cups_started=1
        export ORVI_REQUIRE_CUPS=1
    else
        echo "test.sh: the private print server did not start; the CUPS test skips itself" >&2
    fi
fi
# deps.sh --test installed Xvfb and openbox: the window-manager tests start their own and
# must not skip.
export ORVI_REQUIRE_REAL_X=1
cleanup() {
    if [ "$pulse_started" = 1 ]; then bash tools/pulse-private.sh stop || true; fi
    if [ "$cups_started" = 1 ]; then bash tools/cups-private.sh stop || true; fi
}
trap cleanup EXIT

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVI_SANITIZE=ON -DORVI_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$jobs")

# The readers' fuzz targets, 15 s each (about 60 s in all), in their own clang build.
bash tools/fuzz.sh 15
