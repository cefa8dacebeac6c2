#!/usr/bin/env bash
# Sets everything up (packages, build) and starts the game.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: run it in a virtual one with  xvfb-run -a $here/build/bin/poronpa" >&2
  exit 1
fi
exec "$here/build/bin/poronpa" "$@"
