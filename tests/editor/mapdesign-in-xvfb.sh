#!/usr/bin/env bash
# Runs the real editor in a virtual X server and works it with the mouse and keyboard: paints a
# stroke, takes it back and makes it again, saves, exports both pictures, paints once more and
# closes, keeps the editor open on Cancel and saves on Yes. Every step waits for what it needs to
# see, with a deadline. With a third argument, screenshots go to that directory.
#   usage: xvfb-run -a -s "-screen 0 1024x800x24" mapdesign-in-xvfb.sh <mapdesign> <x11probe> [shots]
set -euo pipefail

program="$1"
probe="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../support/xwindow.sh"
work="$(mktemp -d)"
shots="${3:-$work/shots}"
mkdir -p "$shots"
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The map file's byte of cell (x, y), column by column.
cell() { od -An -tu1 -j $((250 * $1 + $2)) -N1 "$work/mapdata.dat" | tr -d ' '; }

# Waits for a visible window whose name matches, other than $2.
window() {
  local deadline=$((SECONDS + patience))
  while ((SECONDS < deadline)); do
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [[ "$w" != "${2:-}" ]] && { echo "$w"; return; }
    done
    sleep 0.05
  done
  fail "no window named $1"
}
gone() { ! xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -qx "$2"; }

# A fresh program directory: the editor reads and writes beside itself. Cell (1, 1) holds 7.
cp "$program" "$work/mapdesign"
head -c 62500 /dev/zero > "$work/mapdata.dat"
printf '\x07' | dd of="$work/mapdata.dat" bs=1 seek=251 conv=notrunc status=none

"$work/mapdesign" & pid=$!
main="$(window '^MapDesign$')"
parts="$(window '^Parts$')"
xdotool windowmove "$parts" 560 0
at_its_place() { [[ $(xdotool getwindowgeometry "$parts") == *"Position: 560,0 "* ]]; }
wait_for "$patience" at_its_place || fail "the palette did not move aside"

# Canvas pixel (x, y) lies at (20 + x, 12 + y) of the editor's client area; palette pixel (x, y)
# at (2 + x, 2 + y) of the palette's.
canvas() { xdotool mousemove --window "$main" $((20 + $1)) $((12 + $2)); }
# settled NAME: two pictures of the editor in a row agree, so what it shows has been painted; the
# picture is $shots/NAME.ppm.
settled() {
  "$probe" shot "$main" "$shots/$1.ppm" && "$probe" shot "$main" "$shots/$1-again.ppm" &&
    (($("$probe" differ "$shots/$1.ppm" "$shots/$1-again.ppm" 0 0 520 390) == 0))
}
# first_cell_differs A B: the pictures differ in the view's first cell.
first_cell_differs() { (($("$probe" differ "$shots/$1.ppm" "$shots/$2.ppm" 20 12 32 32) > 100)); }
wait_for "$patience" settled blank || fail "the editor's view did not settle"

# The stroke, taken back and made again, then saved: the events reach the editor in this order,
# so only the saved file is waited for.
click "$parts" 42 72                                        # tile 17
canvas 5 5; xdotool mousedown 1
for x in 37 69 101; do canvas "$x" 5; sleep 0.05; done      # the pace of a hand's drag
xdotool mouseup 1
press ctrl+z
press ctrl+y
click "$main" 464 288                                       # Save
stroke_saved() { for x in 0 1 2 3; do [[ "$(cell "$x" 0)" == 17 ]] || return 1; done; }
wait_for "$patience" stroke_saved || fail "the stroke was not saved as tile 17"
[[ "$(cell 4 0)" == 0 && "$(cell 1 1)" == 7 ]] || fail "cells beyond the stroke changed"
wait_for "$patience" eval 'settled painted && first_cell_differs blank painted' || fail "the stroke was not shown"

click "$main" 468 42                                        # 1Map
click "$main" 468 18                                        # AllMap
# Each picture appears whole or not at all (written beside and renamed).
picture_written() { [[ -f "$work/$1" ]] && [[ "$(od -An -tu4 -j 18 -N 8 "$work/$1" | xargs)" == "$2 $2" ]]; }
for picture in "map00.bmp 1600" "allmap.bmp 1000"; do
  set -- $picture
  wait_for "$patience" picture_written "$1" "$2" || fail "$1 was not written at $2 x $2"
  bits="$(od -An -tu2 -j 28 -N 2 "$work/$1" | xargs)"
  [[ "$bits" == 24 ]] || fail "$1 has $bits bits a pixel"
done

click "$main" 351 9                                         # area (1, 0)
# Shown once the stroke's first cell has left the view.
wait_for "$patience" eval 'settled area-1-0 && first_cell_differs painted area-1-0' || fail "area (1, 0) was not shown"
canvas 5 5; xdotool mousedown 1; sleep 0.1; xdotool mouseup 1   # cell (50, 0), not saved yet
# The canvas shows the paint (the view frame starts 4 pixels down, the canvas at 20, 8 in it).
painted() { (($("$probe" differ "$shots/area-1-0.ppm" "$shots/unsaved.ppm" 20 12 32 32) > 100)); }
wait_for "$patience" shows "$main" unsaved painted || fail "the cell was not painted"

"$probe" close "$main"
question="$(window '^MapDesign$' "$main")"
"$probe" shot "$question" "$shots/question.ppm"
xdotool windowfocus --sync "$question"
press Escape                                                # Cancel: the editor stays
wait_for "$patience" gone '^MapDesign$' "$question" || fail "the question stayed open"
kill -0 "$pid" 2>/dev/null || fail "the editor closed although the question was cancelled"
[[ "$(cell 50 0)" == 0 ]] || fail "cancelled, but saved"

"$probe" close "$main"
question="$(window '^MapDesign$' "$main")"
xdotool windowfocus --sync "$question"
press Return                                                # Yes: save, then close
wait_for "$patience" ended "$pid" || fail "the editor did not end after Yes"
status=0
wait "$pid" || status=$?
pid=""
[[ "$status" == 0 ]] || fail "the editor ended with status $status"
[[ "$(cell 50 0)" == 17 ]] || fail "the change was not saved on closing"
echo "mapdesign in Xvfb: ok"
