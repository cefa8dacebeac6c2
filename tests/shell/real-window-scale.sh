#!/usr/bin/env bash
# The game window magnified, in a real X server of 1920 × 1080 (no window manager), driven like a
# player with xdotool: the title at 1× and at 2× (kept in zembo.ini) must be the same picture
# pixel for pixel, each pixel a 2 × 2 square; Ctrl and minus bring 1× back; F11 fills the screen
# at 3×, centred on black, and F11 again returns to the window; the size is kept at the end.
#   real-window-scale.sh BIN_DIR X11PROBE SCREENSHOT_DIR   (run it inside xvfb-run)
set -euo pipefail
bin=$1
probe=$2
shots=$3
source "$(dirname "${BASH_SOURCE[0]}")/../support/xwindow.sh"
mkdir -p "$shots"
rm -f "$shots"/*.ppm
game_dir=$(mktemp -d)
pid=
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$game_dir"' EXIT
cp "$bin/poronpa" "$bin/mapdata.dat" "$game_dir/"

sized() { [[ $("$probe" size "$window") == "$1" ]]; }
# title_shown NAME SCALE X Y: the title (or whatever the window shows) at that scale and place is on
# screen once its middle is painted and two pictures in a row agree.
title_shown() {
  "$probe" shot "$window" "$shots/$1.ppm" &&
    [[ $("$probe" pixel "$shots/$1.ppm" $((259 * $2 + $3)) $((173 * $2 + $4))) != 000000 ]] &&
    "$probe" shot "$window" "$shots/$1-again.ppm" &&
    (($("$probe" differ "$shots/$1.ppm" "$shots/$1-again.ppm" 0 0 $((518 * $2 + $3)) $((346 * $2 + $4))) == 0))
}
key() {
  xdotool windowfocus --sync "$window"
  press "$1"
}
start() {
  printf '[INIExist]\nDummy=True\n[Option]\nBGM=0\nSE=0\n[Window]\nScale=%s\nFullScreen=0\n' "$1" >"$game_dir/zembo.ini"
  "$game_dir/poronpa" 2>"$game_dir/stderr.txt" &
  pid=$!
  window=$("$probe" wait "ポロンパ　ぽぷらん Ver 0.94" 20000) || fail "no game window"
}
stop() {
  "$probe" close "$window"
  local status=0
  wait "$pid" || status=$?
  pid=
  ((status == 0)) || fail "the game ended with status $status"
}

start 1
wait_for "$patience" sized 518x346 || fail "1× is not 518 × 346"
wait_for "$patience" title_shown 1x 1 0 0 || fail "no title at 1×"
stop

start 2
wait_for "$patience" sized 1036x692 || fail "2× is not 1036 × 692"
wait_for "$patience" title_shown 2x 2 0 0 || fail "no title at 2×"
((($("$probe" magnified "$shots/1x.ppm" "$shots/2x.ppm" 2 0 0)) == 0)) || fail "2× is not 1× with square pixels"

key ctrl+minus
wait_for "$patience" sized 518x346 || fail "Ctrl and minus did not bring 1× back"
wait_for "$patience" title_shown back 1 0 0 || fail "no title after Ctrl and minus"
(($("$probe" differ "$shots/1x.ppm" "$shots/back.ppm" 0 0 518 346) == 0)) || fail "1× again differs"

key F11
wait_for "$patience" sized 1920x1080 || fail "F11 did not fill the screen"
wait_for "$patience" title_shown full 3 183 21 || fail "no title in full screen"
((($("$probe" magnified "$shots/1x.ppm" "$shots/full.ppm" 3 183 21)) == 0)) || fail "full screen is not 3× centred"
[[ $("$probe" pixel "$shots/full.ppm" 5 5) == 000000 && $("$probe" pixel "$shots/full.ppm" 1915 1075) == 000000 ]] ||
  fail "full screen is not on black"

key F11
wait_for "$patience" sized 518x346 || fail "F11 did not return to the window"
stop
grep -q '^Scale=1$' "$game_dir/zembo.ini" && grep -q '^FullScreen=0$' "$game_dir/zembo.ini" ||
  fail "zembo.ini does not keep the size: $(cat "$game_dir/zembo.ini")"

# At 2× a frame rewrites only what changed: after a walk has scrolled the view, the window shows
# what it shows when painted whole afresh (larger and back again), pixel for pixel.
start 2
wait_for "$patience" sized 1036x692 || fail "2× is not 1036 × 692"
key space
play_marked() { [[ $("$probe" pixel "$shots/play.ppm" 798 436) == FF0000 ]]; }
wait_for "$patience" shows "$window" play play_marked || fail "no game under way at 2×"
xdotool windowfocus --sync "$window"
xdotool keydown Right
sleep 1 # a second's walk, the view scrolling on every frame
xdotool keyup Right
wait_for "$patience" title_shown walked 2 0 0 || fail "the view did not come to rest after the walk"
key ctrl+plus
wait_for "$patience" sized 1554x1038 || fail "Ctrl and plus did not magnify 3 times"
key ctrl+minus
wait_for "$patience" sized 1036x692 || fail "Ctrl and minus did not bring 2× back"
wait_for "$patience" title_shown afresh 2 0 0 || fail "the view did not come to rest when painted afresh"
((($("$probe" differ "$shots/walked.ppm" "$shots/afresh.ppm" 0 0 1036 692)) == 0)) ||
  fail "the walked view differs from the same view painted whole"
stop
echo "real-window scale run passed"
