#!/usr/bin/env bash
# Builds the loaders' fuzzers with clang (AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer)
# and runs each for a while on its seeds plus what earlier runs in the same build found.
#   tools/fuzz/run-fuzzers.sh [seconds per fuzzer, default 60] [loader ...]
# Longer runs: tools/fuzz/run-fuzzers.sh 3600
# A finding is left as $build/<loader>-crash-*; copy it into tools/fuzz/seeds/<loader>/ once
# fixed, so that every later run replays it first.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
seconds="${1:-60}"
shift || true
loaders=("$@")
((${#loaders[@]})) || loaders=(map_loader save_loader settings_reader midi_summary replay_reader)
build="${PORONPA_FUZZ_BUILD_DIR:-${PORONPA_BUILD_DIR:-$here/build}/fuzz}"
work="$build/corpus"

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPORONPA_FUZZ=ON -DPORONPA_BUILD_SHELL=OFF -DPORONPA_BUILD_TESTS=OFF -DPORONPA_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${loaders[@]/#/fuzz_}" >/dev/null

# The loaders flush every save to the disk; in memory that costs nothing, so the fuzzers run
# many times faster there.
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"

status=0
for loader in "${loaders[@]}"; do
  fuzzer="$build/bin/fuzz_$loader"
  seeds="$here/tools/fuzz/seeds/$loader"
  mkdir -p "$work/$loader"
  # Seeds and the regression inputs of earlier findings must pass before exploring.
  if ! "$fuzzer" -runs=0 "$seeds" >"$build/$loader-seeds.log" 2>&1; then
    echo "fuzz $loader: FAILED on a kept input, see $build/$loader-seeds.log"
    tail -30 "$build/$loader-seeds.log"
    status=1
    continue
  fi
  if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$build/$loader-" "$work/$loader" "$seeds" >"$build/$loader.log" 2>&1; then
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$build/$loader.log")
    echo "fuzz $loader: passed, $runs executions in ${seconds} s"
  else
    echo "fuzz $loader: FAILED, a finding is in $build/$loader-*, the log in $build/$loader.log"
    grep -m5 -E 'ERROR|runtime error|SUMMARY' "$build/$loader.log" || tail -30 "$build/$loader.log"
    status=1
  fi
done
exit $status
