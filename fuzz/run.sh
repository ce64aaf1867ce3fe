#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for N seconds (default 20), starting
# from seeds of valid records. Inputs the fuzzer finds interesting are kept in fuzz/corpus-<harness>/
# (not committed) and reused by the next run; crashes are written to <build>/artifacts/.
#
#   fuzz/run.sh            # 20 seconds per harness
#   fuzz/run.sh 600        # ten minutes each
#   VELTRIN_FUZZ_BUILD_DIR=/tmp/fz fuzz/run.sh 60
set -euo pipefail

seconds="${1:-20}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="${VELTRIN_FUZZ_BUILD_DIR:-$root/build-fuzz}"
harnesses=(frame_reader record_readers decompress board_stream)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELTRIN_BUILD_GUI=OFF -DVELTRIN_BUILD_TESTS=OFF -DVELTRIN_BUILD_BENCH=OFF -DVELTRIN_BUILD_FUZZ=ON >/dev/null
# The whiteboard's readers are fuzzed where Qt Gui is installed (fuzz/CMakeLists.txt decides).
if cmake --build "$build" --target help | grep -q 'fuzz_board_snapshot'; then
  harnesses+=(board_snapshot paint_object)
fi
cmake --build "$build" -j2 --target fuzz_make_seeds "${harnesses[@]/#/fuzz_}"

seeds="$build/fuzz-seeds"
rm -rf "$seeds"
"$build/fuzz/fuzz_make_seeds" "$seeds"
mkdir -p "$build/artifacts"

failed=()
for h in "${harnesses[@]}"; do
  corpus="$here/corpus-$h"
  mkdir -p "$corpus"
  echo "== fuzz_$h for ${seconds}s"
  if ! QT_QPA_PLATFORM=offscreen "$build/fuzz/fuzz_$h" -max_total_time="$seconds" -max_len=8192 -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$h-" "$corpus" "$seeds/$h"; then
    failed+=("$h")
  fi
done

if ((${#failed[@]})); then
  echo "fuzzing found problems in: ${failed[*]} (inputs in $build/artifacts/)" >&2
  exit 1
fi
echo "no findings"
