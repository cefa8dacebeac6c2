#!/usr/bin/env bash
# Runs the real editor in a virtual X server and works it with the mouse and keyboard: paints a
# stroke, takes it back and makes it again, saves, exports both pictures, paints once more and
# closes, keeps the editor open on Cancel and saves on Yes. With a third argument, screenshots go
# to that directory.
#   usage: xvfb-run -a -s "-screen 0 1024x800x24" mapdesign-in-xvfb.sh <mapdesign> <x11probe> [shots]
set -euo pipefail

program="$1"
probe="$2"
shots="${3:-}"
[[ -n "$shots" ]] && mkdir -p "$shots"
work="$(mktemp -d)"
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
shot() { [[ -n "$shots" ]] && import -window root "$shots/$1.png" || true; }

# The map file's byte of cell (x, y), column by column.
cell() { od -An -tu1 -j $((250 * $1 + $2)) -N1 "$work/mapdata.dat" | tr -d ' '; }

# Waits up to ten seconds for a visible window whose name matches, other than $2.
window() {
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [[ "$w" != "${2:-}" ]] && { echo "$w"; return; }
    done
    sleep 0.1
  done
  fail "no window named $1"
}

# A fresh program directory: the editor reads and writes beside itself. Cell (1, 1) holds 7.
cp "$program" "$work/mapdesign"
head -c 62500 /dev/zero > "$work/mapdata.dat"
printf '\x07' | dd of="$work/mapdata.dat" bs=1 seek=251 conv=notrunc status=none

"$work/mapdesign" & pid=$!
main="$(window '^MapDesign$')"
parts="$(window '^Parts$')"
xdotool windowmove "$parts" 560 0
sleep 0.5

# Canvas pixel (x, y) lies at (20 + x, 12 + y) of the editor's client area; palette pixel (x, y)
# at (2 + x, 2 + y) of the palette's.
canvas() { xdotool mousemove --window "$main" $((20 + $1)) $((12 + $2)); }

xdotool mousemove --window "$parts" 42 72 click 1          # tile 17
canvas 5 5; xdotool mousedown 1
for x in 37 69 101; do canvas "$x" 5; sleep 0.05; done
xdotool mouseup 1
sleep 0.2
shot painted
xdotool key ctrl+z; sleep 0.2
xdotool key ctrl+y; sleep 0.2

xdotool mousemove --window "$main" 464 288 click 1         # Save
sleep 0.3
for x in 0 1 2 3; do [[ "$(cell "$x" 0)" == 17 ]] || fail "cell ($x, 0) was not saved as 17"; done
[[ "$(cell 4 0)" == 0 && "$(cell 1 1)" == 7 ]] || fail "cells beyond the stroke changed"

xdotool mousemove --window "$main" 468 42 click 1          # 1Map
xdotool mousemove --window "$main" 468 18 click 1          # AllMap
sleep 1
shot exported
for picture in "map00.bmp 1600" "allmap.bmp 1000"; do
  set -- $picture
  [[ -f "$work/$1" ]] || fail "$1 was not written"
  header="$(od -An -tu4 -j 18 -N 8 "$work/$1" | xargs)"
  bits="$(od -An -tu2 -j 28 -N 2 "$work/$1" | xargs)"
  [[ "$header" == "$2 $2" && "$bits" == 24 ]] || fail "$1 is '$header' at $bits bits"
done

xdotool mousemove --window "$main" 351 9 click 1           # area (1, 0)
canvas 5 5; xdotool click 1                                # cell (50, 0), not saved yet
sleep 0.2

"$probe" close "$main"
question="$(window '^MapDesign$' "$main")"
shot question
xdotool mousemove --window "$question" 20 20 key Escape    # Cancel: the editor stays
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the editor closed although the question was cancelled"
[[ "$(cell 50 0)" == 0 ]] || fail "cancelled, but saved"

"$probe" close "$main"
question="$(window '^MapDesign$' "$main")"
xdotool mousemove --window "$question" 20 20 key Return    # Yes: save, then close
status=0
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" || status=$?
pid=""
[[ "$status" == 0 ]] || fail "the editor ended with status $status"
[[ "$(cell 50 0)" == 17 ]] || fail "the change was not saved on closing"
echo "mapdesign in Xvfb: ok"
