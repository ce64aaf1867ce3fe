#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, runs every test, then runs the
# non-GUI tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --no-build

BUILD_DIR=build scripts/build.sh -DVELTRIN_WERROR=ON
ctest --test-dir build --output-on-failure -j2 --timeout 600

if [ "${VELTRIN_SKIP_SANITIZERS:-0}" != "1" ]; then
  BUILD_DIR=build-asan TARGET=veltrin_unit_tests scripts/build.sh -DVELTRIN_WERROR=ON -DVELTRIN_SANITIZE=ON \
    -DVELTRIN_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j2 --timeout 900 -L unit
fi
