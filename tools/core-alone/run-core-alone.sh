#!/usr/bin/env bash
# Builds the core alone, with the shell off (no Qt, no SDL), and runs every test that needs
# nothing more: the core must stand on its own.
#   tools/core-alone/run-core-alone.sh [ctest arguments, e.g. -R MapEditor]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${PORONPA_CORE_BUILD_DIR:-${PORONPA_BUILD_DIR:-$here/build}/core-alone}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPORONPA_BUILD_SHELL=OFF \
  -DPORONPA_BUILD_BENCHMARKS=OFF -DPORONPA_HARDENING_RUNS=OFF >/dev/null
mkdir -p "$build"
cmake --build "$build" --parallel "$(nproc)" >"$build/build.log" 2>&1 || {
  tail -50 "$build/build.log"
  echo "the core alone does not build, see $build/build.log"
  exit 1
}
# Nothing of the shell may have come along.
if grep -qiE 'Qt6|SDL2' "$build/CMakeCache.txt"; then
  grep -iE 'Qt6|SDL2' "$build/CMakeCache.txt" | head -5
  echo "the core alone found Qt or SDL"
  exit 1
fi
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 900 "$@"
