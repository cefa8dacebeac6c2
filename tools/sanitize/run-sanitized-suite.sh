#!/usr/bin/env bash
# Builds everything with AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer and runs
# the whole test suite in that build. Any report fails the run.
#   tools/sanitize/run-sanitized-suite.sh [ctest arguments, e.g. -R SavedGame]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${PORONPA_SANITIZE_BUILD_DIR:-${PORONPA_BUILD_DIR:-$here/build}/sanitize}"

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# -O1 keeps the build and the runs quick while the reports still point at the right lines.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
  -DPORONPA_BUILD_BENCHMARKS=OFF -DPORONPA_HARDENING_RUNS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" >"$build/build.log" 2>&1 || {
  tail -50 "$build/build.log"
  echo "sanitized build failed, see $build/build.log"
  exit 1
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tools/sanitize/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 900 "$@"
