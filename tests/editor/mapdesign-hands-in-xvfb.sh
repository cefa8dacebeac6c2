#!/usr/bin/env bash
# Runs the real editor in a virtual X server and works its hands as a map maker does: selects four
# cells with Shift and a drag, copies them with Ctrl+C, lifts them with Ctrl+V (through the system
# clipboard's text) and puts them down with a click, lifts them again, flips them with X and puts
# them down elsewhere, then saves. The saved map must be the expected one byte for byte. Every
# wait has a deadline; keys and buttons go down and up as a hand presses them.
#   usage: in-xvfb.sh 1024x800x24 mapdesign-hands-in-xvfb.sh <mapdesign> <x11probe> [shots]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/editor-xvfb.sh"

# map FILE X=TILE...: a map file of tile 0 but for the cells named, byte 250 x + y for cell (x, y).
map() {
  local file=$1
  shift
  head -c 62500 /dev/zero >"$file"
  for cell in "$@"; do
    local x=${cell%%,*} rest=${cell#*,}
    local y=${rest%%=*} tile=${rest#*=}
    printf "\\$(printf '%03o' "$tile")" | dd of="$file" bs=1 seek=$((250 * x + y)) conv=notrunc status=none
  done
}

# A room corner to copy: a star 7 and a side spring 44 over a conveyor 154 and a wall 100.
original=("1,1=7" "2,1=44" "1,2=154" "2,2=100")
map "$work/mapdata.dat" "${original[@]}"
# Put down as it is at (6, 3); flipped at (1, 6), where the spring throws the other way (46)
# and the conveyor runs the other way (155).
map "$work/expected.dat" "${original[@]}" "6,3=7" "7,3=44" "6,4=154" "7,4=100" "1,6=46" "2,6=7" "1,7=100" "2,7=155"

start_editor

# The centre of canvas cell (column, row).
cell() { xdotool mousemove --window "$main" $((20 + 32 * $1 + 16)) $((12 + 32 * $2 + 16)); }
# Shown once cell (1, 1) differs from cell (3, 3), which holds tile 0.
loaded() { (($(differing shown shown 55 47 26 26 119 111) > 0)); }
wait_for "$patience" shows "$main" shown loaded || fail "the editor did not show the map"

cell 1 1
xdotool keydown shift
xdotool mousedown 1
for c in 1 2; do cell 2 "$c"; done
xdotool mouseup 1
xdotool keyup shift
press ctrl+c

cell 5 3
press ctrl+v
cell 6 3                                                      # the stamp follows the pointer
click "$main" $((20 + 32 * 6 + 16)) $((12 + 32 * 3 + 16))

press ctrl+v
cell 1 6
press x
click "$main" $((20 + 32 * 1 + 16)) $((12 + 32 * 6 + 16))

click "$main" 464 288                                         # Save
saved() { cmp -s "$work/mapdata.dat" "$work/expected.dat"; }
if ! wait_for "$patience" saved; then
  cmp -l "$work/mapdata.dat" "$work/expected.dat" | head -20 >&2 || true
  fail "the saved map is not the expected one (byte, saved, expected in octal above)"
fi
echo "mapdesign hands in Xvfb: ok"
