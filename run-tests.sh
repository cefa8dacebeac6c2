#!/usr/bin/env bash
# Sets everything up (packages, build) and runs the whole test suite headless: the normal build's
# tests, the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer (test
# sanitized_suite), a minute of fuzzing for each file loader (test fuzz_loaders), the core built
# alone with the shell off and its tests (test core_alone), and a short random-play soak (test
# soak_every_area).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh"
# The compiler cache serves a clone wherever it lies: paths are kept relative to the clone.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$here}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
cmake -S "$here" -B "$here/build" -DPORONPA_HARDENING_RUNS=ON >/dev/null
export QT_QPA_PLATFORM=offscreen
cd "$here/build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 900
