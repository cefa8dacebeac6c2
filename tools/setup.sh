#!/usr/bin/env bash
# Installs whatever the build, the game and the tests need (Debian packages only), then
# configures and builds into build/: everything, or only the targets named as arguments.
# Safe to run again: it installs only what is missing and rebuilds only what changed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PORONPA_BUILD_DIR:-$here/build}"

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-translations-l10n qt6-l10n-tools libgl-dev
  libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont fluidsynth
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-apps libx11-dev imagemagick sox tiled
  fonts-ipafont-gothic fonts-ipafont-mincho
  desktop-file-utils appstream man-db dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
