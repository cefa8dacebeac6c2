#!/usr/bin/env bash
# Builds the loaders' fuzzers with clang (AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer)
# and runs each for a while on its seed corpus plus what earlier runs found.
#   tools/fuzz/run-fuzzers.sh [seconds per fuzzer, default 60]
# Longer runs: tools/fuzz/run-fuzzers.sh 3600
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
seconds="${1:-60}"
build="${PORONPA_FUZZ_BUILD_DIR:-$here/build-fuzz}"
work="$build/corpus"

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPORONPA_FUZZ=ON -DPORONPA_BUILD_SHELL=OFF -DPORONPA_BUILD_TESTS=OFF -DPORONPA_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target fuzz_map_loader fuzz_settings_reader fuzz_save_loader

status=0
for loader in map_loader settings_reader save_loader; do
  mkdir -p "$work/$loader"
  # Regression inputs (earlier findings) and seeds are replayed first, then the fuzzer explores.
  "$build/tools/fuzz/fuzz_$loader" -runs=0 "$here/tools/fuzz/seeds/$loader" >/dev/null 2>&1 || {
    echo "fuzz: $loader fails on a kept input"; status=1; continue; }
  if "$build/tools/fuzz/fuzz_$loader" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$build/$loader-" "$work/$loader" "$here/tools/fuzz/seeds/$loader" \
       >"$build/$loader.log" 2>&1; then
    runs=$(grep -m1 'stat::number_of_executed_units' "$build/$loader.log" | awk '{print $2}')
    echo "fuzz: $loader ok, $runs executions in ${seconds}s"
  else
    echo "fuzz: $loader FOUND A FAULT, see $build/$loader.log"; tail -30 "$build/$loader.log"; status=1
  fi
done
exit $status
