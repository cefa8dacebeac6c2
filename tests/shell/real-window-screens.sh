#!/usr/bin/env bash
# What the player sees, at a scale the window is asked for in zembo.ini and in full screen, on a
# screen without a window manager:
# at every screen the whole screen is compared with what the game means to show (screen_as_meant):
# the title, the options, three treasure boxes while they type and once they have typed, play,
# the controls window, the Q question, and the title and play in full screen. The boxes are closed
# as a player closes them: Space once a page has typed, a click on OK where it is drawn while the
# page still types, Enter.
#   real-window-screens.sh BIN_DIR X11PROBE SCREENSHOT_DIR SCALE   (run it in an X server)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/game-window.sh"
program_dir "$game_dir"
scale=$4
printf '[INIExist]\nDummy=True\n[Window]\nScale=%s\nFullScreen=0\n' "$scale" >"$game_dir/zembo.ini"
read -r screen_width screen_height < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
# Full screen takes the largest whole magnification the screen has room for.
full=$((screen_width / 518 < screen_height / 346 ? screen_width / 518 : screen_height / 346))

# put_box I: a treasure box in cell I of the home meadow's floor row, where a new game begins (5).
put_box() {
  printf '\x37' | dd of="$game_dir/mapdata.dat" bs=1 seek=$(((100 + $1) * 250 + 247)) conv=notrunc status=none
}
put_box 5
put_box 7
put_box 9

# The title's menu, drawn in its yellow, at the window's scale; the options screen hides it.
menu_count() { "$probe" count "$shots/$1.ppm" $((272 * scale)) $((208 * scale)) $((160 * scale)) $((100 * scale)) C0C000; }
menu_shown() { (($(menu_count "$1") > 50 * scale * scale)); }
options_shown() { (($(menu_count "$1") * 2 < $(menu_count title))); }
box_title="たからばこ"
gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
sized() { [[ $("$probe" size "$window") == "$1" ]]; }
# typed BOX [SCALE]: for wait_for; the box's page has typed, for its OK button has changed its
# colour since the picture the last call took (none before the first: rm -f "$shots/ok-a.ppm").
typed() {
  local s=${2:-$scale} changed=1
  "$probe" shot "$1" "$shots/ok-b.ppm" || return 1
  [[ -e $shots/ok-a.ppm ]] && changed=$(differing ok-a ok-b $((170 * s)) $((74 * s)) $((70 * s)) $((30 * s)))
  [[ -e $shots/ok-a.ppm ]] || changed=0
  mv "$shots/ok-b.ppm" "$shots/ok-a.ppm"
  ((changed > 0))
}
key() {
  xdotool windowfocus --sync "$1"
  press "$2"
}
# open_box NAME: walks right until the next box opens; its window in $box.
open_box() {
  xdotool windowfocus --sync "$window"
  xdotool keydown Right
  box=$("$probe" wait "$box_title" $((patience * 1000))) || { xdotool keyup Right; fail "$1 did not open"; }
  xdotool keyup Right
}

step=title
start_game
wait_for "$patience" shows "$window" title menu_shown title || fail "the title menu was not drawn"
screen_as_meant title

# The first highlight of a menu entry changes one label over the title picture.
step="title highlighted"
xdotool mousemove --window "$window" $((300 * scale)) $((222 * scale))
wait_for "$patience" shows "$window" hovered '! cmp -s "$shots/title.ppm" "$shots/hovered.ppm"' ||
  fail "the pointer highlighted nothing"
screen_as_meant title-hovered
key "$window" Down
wait_for "$patience" shows "$window" moved '! cmp -s "$shots/hovered.ppm" "$shots/moved.ppm"' ||
  fail "Down moved no highlight"
screen_as_meant title-moved

step=options
click "$window" $((293 * scale)) $((298 * scale))
wait_for "$patience" shows "$window" options options_shown options || fail "the options did not open"
screen_as_meant options
click "$window" $((293 * scale)) $((298 * scale))
wait_for "$patience" shows "$window" title-again menu_shown title-again || fail "the options did not close"

step="first box"
key "$window" space
box=$("$probe" wait "$box_title" $((patience * 1000))) || fail "the box under the start did not open"
screen_as_meant box-opened
rm -f "$shots/ok-a.ppm"; wait_for "$patience" typed "$box" || fail "the first page never finished typing"
screen_as_meant box-typed
key "$box" space
rm -f "$shots/ok-a.ppm"; wait_for "$patience" typed "$box" || fail "the second page never finished typing"
screen_as_meant box-second-page
key "$box" space
wait_for "$patience" gone "$box" || fail "Space did not close the box"

step="second box"
open_box "the second box"
click "$box" $((204 * scale)) $((88 * scale))
screen_as_meant box-clicked
click "$box" $((204 * scale)) $((88 * scale))
wait_for "$patience" gone "$box" || fail "clicks on OK did not close the box"

step="third box"
open_box "the third box"
rm -f "$shots/ok-a.ppm"; wait_for "$patience" typed "$box" || fail "the first page never finished typing"
key "$box" Return
rm -f "$shots/ok-a.ppm"; wait_for "$patience" typed "$box" || fail "the second page never finished typing"
key "$box" Return
wait_for "$patience" gone "$box" || fail "Enter did not close the box"

step=play
screen_as_meant play

step="controls window"
key "$window" F1
help=$("$probe" wait "操作説明" $((patience * 1000))) || fail "F1 opened no controls window"
screen_as_meant controls
key "$help" Escape
wait_for "$patience" gone "$help" || fail "Escape did not close the controls window"

step=question
xdotool mousemove 0 0
xdotool windowfocus --sync "$window"
prompt=$(press_until_window q "ポロンパ　ぽぷらん") || fail "no question for Q"
wait_for "$patience" drawn "$prompt" prompt || fail "the question was not drawn"
# The toolkit paints the icon of a question's second button a pixel apart from how it renders it
# until the pointer has passed over the button; the pointer passes, as a player's would.
read -r px py < <(xwininfo -id "$prompt" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                                               /Width:/ {w=$2} /Height:/ {h=$2} END {print x+w*3/4, y+h*3/4}')
xdotool mousemove "${px%.*}" "${py%.*}"
wait_for "$patience" screen_matches question || fail "the question differs from what it means to show: $screen_report"
key "$prompt" Return

step="full screen"
wait_for "$patience" shows "$window" title-after-play menu_shown title-after-play || fail "Yes did not bring the title back"
key "$window" F11
wait_for "$patience" sized "${screen_width}x$screen_height" || fail "F11 did not fill the screen"
wait_for "$patience" drawn "$window" full-title || fail "the title was not drawn in full screen"
screen_as_meant full-screen-title
key "$window" space
box=$("$probe" wait "$box_title" $((patience * 1000))) || fail "the box under the start did not open in full screen"
rm -f "$shots/ok-a.ppm"; wait_for "$patience" typed "$box" "$full" || fail "the first page never finished typing in full screen"
screen_as_meant full-screen-box
key "$box" space
rm -f "$shots/ok-a.ppm"; wait_for "$patience" typed "$box" "$full" || fail "the second page never finished typing in full screen"
key "$box" space
wait_for "$patience" gone "$box" || fail "Space did not close the box in full screen"
screen_as_meant full-screen-play

close_game
echo "real-window screens run passed"
