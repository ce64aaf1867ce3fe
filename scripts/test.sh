#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, runs every test, then runs the
# non-GUI tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --no-build

BUILD_DIR=build scripts/build.sh -DVELTRIN_WERROR=ON
# Every client enumerates the sound devices, and PortAudio's JACK backend opens the JACK client
# library's shared metadata store for that. Tests stop clients at any moment; one killed while it
# held the store's lock leaves it held for good, and every later client then waits on it until its
# sound set-up gives up. No JACK server runs for the tests, so while they run a plain file stands
# where the store's folder would be: the library then skips the store and answers at once.
jack_store="/dev/shm/jack_db-$(id -u)"
if [ -d /dev/shm ] && ! pgrep -x jackd >/dev/null 2>&1; then
  rm -rf "$jack_store" && touch "$jack_store"
  trap 'rm -f "$jack_store"' EXIT
fi
ctest --test-dir build --output-on-failure -j2 --timeout 600

if [ "${VELTRIN_SKIP_SANITIZERS:-0}" != "1" ]; then
  BUILD_DIR=build-asan TARGET=veltrin_unit_tests scripts/build.sh -DVELTRIN_WERROR=ON -DVELTRIN_SANITIZE=ON \
    -DVELTRIN_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j2 --timeout 900 -L unit
fi
