#!/usr/bin/env bash
# Processor use of the game window while the hero walks right and the view scrolls every frame,
# and the process's peak resident memory. Run it in a virtual display of the size to measure:
#   xvfb-run -a -s "-screen 0 1920x1080x24" tools/benchmarks/window/window-cpu.sh BIN_DIR [SCALE|full] [SECONDS] [WORLD]
# SCALE is the window's magnification kept in zembo.ini (1..4, default 1); "full" plays full screen.
# The walk is along the bottom row of areas: over an empty world by default, or through the scenery
# of WORLD (a mapdata.dat) with a corridor cut along that row.
set -euo pipefail
bin=$1
mode=${2:-1}
seconds=${3:-2.5}
world=${4:-}

dir=$(mktemp -d)
pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
cp "$bin/poronpa" "$dir/"
# A world with one long floor under the start: nothing stops the walk for several seconds. The
# map holds 250 columns of 250 cells, top to bottom.
if [[ -z $world ]]; then
  for _ in $(seq 250); do
    head -c 248 /dev/zero
    printf '\x64\x00'
  done >"$dir/mapdata.dat"
else
  cp "$world" "$dir/mapdata.dat"
  for column in $(seq 0 249); do
    printf '\x00\x00\x00\x64' | dd of="$dir/mapdata.dat" bs=1 seek=$((column * 250 + 245)) conv=notrunc status=none
  done
fi
if [[ $mode == full ]]; then window="Scale=1"$'\n'"FullScreen=1"; else window="Scale=$mode"$'\n'"FullScreen=0"; fi
printf '[INIExist]\nDummy=True\n[Option]\nBGM=0\nSE=0\n[Window]\n%s\n' "$window" >"$dir/zembo.ini"

QT_QPA_PLATFORM=xcb "$dir/poronpa" 2>"$dir/stderr.txt" &
pid=$!
window=$(xdotool search --sync --onlyvisible --name "Ver 0.94" | head -1)
xdotool windowfocus --sync "$window"
xdotool keydown space sleep 0.1 keyup space
sleep 0.5 # the area is drawn and the loop runs
xdotool keydown Right
sleep 0.3 # up to walking speed
ticks() {
  local stat
  read -r -a stat <"/proc/$pid/stat"
  echo $((stat[13] + stat[14]))
}
before=$(ticks)
started=$(date +%s%N)
sleep "$seconds"
after=$(ticks)
ended=$(date +%s%N)
xdotool keyup Right
hz=$(getconf CLK_TCK)
peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
awk -v t=$((after - before)) -v hz="$hz" -v ns=$((ended - started)) -v mode="$mode" -v size="$size" -v peak="$peak" \
  'BEGIN {printf "window %s (%s): processor %.1f %% of a core, peak resident %.1f MB\n", mode, size, 100 * t / hz / (ns / 1e9), peak / 1024}'
