#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, runs every test, then runs the
# non-GUI tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --no-build

BUILD_DIR=build scripts/build.sh -DVELTRIN_WERROR=ON
# A test client killed while the sound system enumerated its devices can leave the JACK client
# library's shared metadata lock held, and every later client would then wait for it until the
# client gives up on sound. No JACK server runs for the tests, so a left-over lock is stale.
if ! pgrep -x jackd >/dev/null 2>&1; then rm -rf "/dev/shm/jack_db-$(id -u)"; fi
ctest --test-dir build --output-on-failure -j2 --timeout 600

if [ "${VELTRIN_SKIP_SANITIZERS:-0}" != "1" ]; then
  BUILD_DIR=build-asan TARGET=veltrin_unit_tests scripts/build.sh -DVELTRIN_WERROR=ON -DVELTRIN_SANITIZE=ON \
    -DVELTRIN_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j2 --timeout 900 -L unit
fi
