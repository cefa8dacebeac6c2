#!/usr/bin/env bash
# The game window magnified, in a real X server of 1920 × 1080 (no window manager), driven like a
# player with xdotool: the title at 1× and at 2× (kept in zembo.ini) must be the same picture
# pixel for pixel, each pixel a 2 × 2 square; Ctrl and minus bring 1× back; F11 fills the screen
# at 3×, centred on black, and F11 again returns to the window; the size is kept at the end; and at
# 2× a walked view is the view painted whole. Each picture is waited for until it shows what it
# must, with a deadline: a window just resized may still show its old picture for a moment.
#   real-window-scale.sh BIN_DIR X11PROBE SCREENSHOT_DIR   (run it inside xvfb-run)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/game-window.sh"
program_dir "$game_dir"

sized() { [[ $("$probe" size "$window") == "$1" ]]; }
# title_shown NAME SCALE X Y: picture NAME shows the title at that scale and place: its menu is
# drawn in its yellow, and a second picture agrees.
title_shown() {
  "$probe" shot "$window" "$shots/$1.ppm" &&
    (($("$probe" count "$shots/$1.ppm" $((272 * $2 + $3)) $((208 * $2 + $4)) $((160 * $2)) $((100 * $2)) C0C000) > 50 * $2 * $2)) &&
    "$probe" shot "$window" "$shots/$1-again.ppm" &&
    (($(differing "$1" "$1-again" 0 0 $((518 * $2 + $3)) $((346 * $2 + $4))) == 0))
}
# view_at_rest NAME: picture NAME at 2× shows a game (the start area marked on the overview), and
# one taken a fifth of a second later, a dozen frames, agrees with it but for the frame-rate line,
# which counts on.
view_at_rest() {
  "$probe" shot "$window" "$shots/$1.ppm" && [[ $(pixel "$1" 798 436) == FF0000 ]] &&
    sleep 0.2 && "$probe" shot "$window" "$shots/$1-again.ppm" && same_view "$1" "$1-again"
}
# same_view A B: the pictures at 2× agree everywhere but on the frame-rate line.
same_view() { (($(differing "$1" "$2" 0 0 1036 658) + $(differing "$1" "$2" 264 658 772 34) == 0)); }
# magnified NAME SCALE X Y: picture NAME is the 1× title with every pixel a SCALE × SCALE square,
# from (X, Y) on.
magnified() { (($("$probe" magnified "$shots/1x.ppm" "$shots/$1.ppm" "$2" "$3" "$4") == 0)); }
key() {
  xdotool windowfocus --sync "$window"
  press "$1"
}
start() {
  printf '[INIExist]\nDummy=True\n[Option]\nBGM=0\nSE=0\n[Window]\nScale=%s\nFullScreen=0\n' "$1" >"$game_dir/zembo.ini"
  start_game
}

start 1
wait_for "$patience" sized 518x346 || fail "1× is not 518 × 346"
wait_for "$patience" title_shown 1x 1 0 0 || fail "no title at 1×"
close_game

start 2
wait_for "$patience" sized 1036x692 || fail "2× is not 1036 × 692"
wait_for "$patience" title_shown 2x 2 0 0 || fail "no title at 2×"
wait_for "$patience" eval 'title_shown 2x 2 0 0 && magnified 2x 2 0 0' || fail "2× is not 1× with square pixels"

key ctrl+minus
wait_for "$patience" sized 518x346 || fail "Ctrl and minus did not bring 1× back"
wait_for "$patience" title_shown back 1 0 0 || fail "no title after Ctrl and minus"
wait_for "$patience" eval 'title_shown back 1 0 0 && (($(differing 1x back 0 0 518 346) == 0))' || fail "1× again differs"

key F11
wait_for "$patience" sized 1920x1080 || fail "F11 did not fill the screen"
wait_for "$patience" title_shown full 3 183 21 || fail "no title in full screen"
wait_for "$patience" eval 'title_shown full 3 183 21 && magnified full 3 183 21' || fail "full screen is not 3× centred"
[[ $(pixel full 5 5) == 000000 && $(pixel full 1915 1075) == 000000 ]] || fail "full screen is not on black"

key F11
wait_for "$patience" sized 518x346 || fail "F11 did not return to the window"
close_game
grep -q '^Scale=1$' "$game_dir/zembo.ini" && grep -q '^FullScreen=0$' "$game_dir/zembo.ini" ||
  fail "zembo.ini does not keep the size: $(cat "$game_dir/zembo.ini")"

# At 2× a frame rewrites only what changed: after a walk has scrolled the view, the window shows
# what it shows when painted whole afresh (larger and back again), pixel for pixel.
start 2
wait_for "$patience" sized 1036x692 || fail "2× is not 1036 × 692"
key space
play_marked() { [[ $(pixel play 798 436) == FF0000 ]]; }
wait_for "$patience" shows "$window" play play_marked || fail "no game under way at 2×"
xdotool windowfocus --sync "$window"
xdotool keydown Right
sleep 1 # a second's walk, the view scrolling on every frame
xdotool keyup Right
wait_for "$patience" view_at_rest walked || fail "the view did not come to rest after the walk"
key ctrl+plus
wait_for "$patience" sized 1554x1038 || fail "Ctrl and plus did not magnify 3 times"
key ctrl+minus
wait_for "$patience" sized 1036x692 || fail "Ctrl and minus did not bring 2× back"
wait_for "$patience" eval 'view_at_rest afresh && same_view walked afresh' ||
  fail "the walked view differs from the same view painted whole"
close_game
echo "real-window scale run passed"
