#!/usr/bin/env bash
# Sets everything up (packages, build) and runs the whole test suite headless.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$here/build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 900
