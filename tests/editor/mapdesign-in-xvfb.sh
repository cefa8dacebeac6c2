#!/usr/bin/env bash
# Runs the real editor in a virtual X server and works it with the mouse and keyboard: paints a
# stroke, takes it back and makes it again, saves, exports both pictures, paints once more and
# closes, keeps the editor open on Cancel and saves on Yes. Every step waits for what it needs to
# see, with a deadline: a picture is taken again until the view shows the tiles it must. With a
# third argument, screenshots go to that directory.
#   usage: xvfb-run -a -s "-screen 0 1024x800x24" mapdesign-in-xvfb.sh <mapdesign> <x11probe> [shots]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/editor-xvfb.sh"

# The map file's byte of cell (x, y), column by column.
cell() { od -An -tu1 -j $((250 * $1 + $2)) -N1 "$work/mapdata.dat" | tr -d ' '; }

# Cell (1, 1) holds 7.
head -c 62500 /dev/zero > "$work/mapdata.dat"
printf '\x07' | dd of="$work/mapdata.dat" bs=1 seek=251 conv=notrunc status=none
start_editor

canvas() { xdotool mousemove --window "$main" $((20 + $1)) $((12 + $2)); }
# selected_at NAME COLUMN ROW: in picture NAME of the editor, the view's cell (COLUMN, ROW) shows
# the selected tile, as the swatch below the view does. The insides are compared, without the
# outline round the cell under the pointer; an editor not painted yet shows no tile anywhere.
selected_at() { (($(differing "$1" "$1" $((23 + 32 * $2)) $((15 + 32 * $3)) 26 26 3 349) == 0)); }
# The map as read: the selected tile 0 at (0, 0), the 7 at (1, 1) another.
wait_for "$patience" shows "$main" blank 'selected_at blank 0 0 && ! selected_at blank 1 1' ||
  fail "the editor did not show the map"

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
stroke_shown() { for x in 0 1 2 3; do selected_at painted "$x" 0 || return 1; done; ! selected_at painted 4 0; }
wait_for "$patience" shows "$main" painted stroke_shown || fail "the stroke was not shown"

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
# Shown once the stroke's first cell has left the view: cell (50, 0) holds tile 0.
wait_for "$patience" shows "$main" area-1-0 '! selected_at area-1-0 0 0' || fail "area (1, 0) was not shown"
click "$main" $((20 + 5)) $((12 + 5))                       # cell (50, 0), not saved yet
wait_for "$patience" shows "$main" unsaved selected_at unsaved 0 0 || fail "the cell was not painted"

"$probe" close "$main"
question="$(window '^MapDesign$' "$main")"
wait_for "$patience" drawn "$question" question || fail "the question was not drawn"
xdotool windowfocus --sync "$question"
press Escape                                                # Cancel: the editor stays
wait_for "$patience" gone '^MapDesign$' "$question" || fail "the question stayed open"

# A second question shows that the editor has handled the first to its end: still open, not saved.
"$probe" close "$main" 2>/dev/null && question="$(window '^MapDesign$' "$main")" ||
  fail "the editor closed although the question was cancelled"
[[ "$(cell 50 0)" == 0 ]] || fail "cancelled, but saved"
xdotool windowfocus --sync "$question"
press Return                                                # Yes: save, then close
await_end "the editor did not end after Yes"
[[ "$status" == 0 ]] || fail "the editor ended with status $status"
[[ "$(cell 50 0)" == 17 ]] || fail "the change was not saved on closing"
echo "mapdesign in Xvfb: ok"
