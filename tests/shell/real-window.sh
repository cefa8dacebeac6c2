#!/usr/bin/env bash
# The game in a real X server, driven like a player with xdotool: title, options and back, a new
# game, Q answered Yes, another game, then the window closed while the Q prompt is open. Screens
# are checked by screenshot; the run ends with status 0 and the settings file beside the program.
# Every step waits for what it needs to see, with a deadline.
#   real-window.sh BIN_DIR X11PROBE SCREENSHOT_DIR   (run it inside xvfb-run)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/game-window.sh"
program_dir "$game_dir" sounds

# The play screen: the start area red on the overview, the view showing the area.
play_shown() { start_marked "$1" && (($(differing 1-title "$1" 8 4 320 320) > 10000)); }

started=$(date +%s%N)
start_game
shown=$(date +%s%N)
echo "start-up to window on screen: $(((shown - started) / 1000000)) ms"
wait_for "$patience" shows "$window" 1-title menu_drawn 1-title || fail "the title menu was not drawn"
[[ $(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}') == 518x346 ]] ||
  fail "client area is not 518 x 346"

# 設 定 opens the options in place of the menu; 戻 る (at the same place) brings the menu back.
click "$window" 285 300
wait_for "$patience" shows "$window" 2-options '(($(differing 1-title 2-options 432 208 70 70) > 100))' ||
  fail "the options screen did not open"
click "$window" 285 300
wait_for "$patience" shows "$window" 3-back '(($(differing 1-title 3-back 432 208 70 70) == 0))' ||
  fail "the options screen did not close"

# はじめから: the play screen, the start area red on the overview.
click "$window" 300 222
wait_for "$patience" shows "$window" 4-play play_shown 4-play || fail "the play screen did not show the start area"

# A measurement over three seconds of play, not a wait.
read -r -a before < "/proc/$pid/stat"
sleep 3
read -r -a after < "/proc/$pid/stat"
ticks=$(((after[13] + after[14]) - (before[13] + before[14])))
percent=$((ticks * 100 / ($(getconf CLK_TCK) * 3)))
echo "processor use during play: ${percent} % of a core"
((percent < 50)) || fail "the frame loop keeps the processor busy"

# Q opens the prompt; Yes brings the title back.
xdotool windowfocus --sync "$window"
prompt=$(press_until_window q "$box_title") || fail "no prompt for Q"
wait_for "$patience" drawn "$prompt" 5-prompt || fail "the prompt was not drawn"
xdotool windowfocus --sync "$prompt"
press Return
wait_for "$patience" shows "$window" 6-title-again '(($(differing 1-title 6-title-again 8 4 250 190) == 0))' ||
  fail "the title did not come back"

# Closing the game window while a prompt is open over it still ends the program cleanly.
click "$window" 300 222
wait_for "$patience" shows "$window" 7-play-again play_shown 7-play-again || fail "the second game did not start"
xdotool windowfocus --sync "$window"
press_until_window q "$box_title" >/dev/null || fail "no second prompt for Q"
close_game
[[ -f $game_dir/zembo.ini ]] || fail "no zembo.ini after the run"
grep -q "^BGM=1$" "$game_dir/zembo.ini" || fail "zembo.ini lacks the music setting"
echo "real-window run passed"
