#!/usr/bin/env bash
# Sets up what playing and map making need (packages; the game, the editor, the simulator, the
# world, the sounds and tunes: not the tests or benchmarks) and starts the game.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh" poronpa mapdesign poronpa-sim mapdata poronpa_audio_files
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: run it in a virtual one with  xvfb-run -a $here/build/bin/poronpa" >&2
  exit 1
fi
exec "$here/build/bin/poronpa" "$@"
