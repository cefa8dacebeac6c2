#!/usr/bin/env bash
# The game's boxes in a real X server, without a window manager: the Q prompt opens centred over
# the game window, and closing the game window while it is open ends the program at once with
# status 0. Every step waits for what it needs with a deadline; keys are pressed as a person does.
#   real-window-boxes.sh BIN_DIR X11PROBE SCREENSHOT_DIR   (run it inside xvfb-run)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/game-window.sh"
program_dir "$game_dir"

# The centre of a window on the screen, as "X Y" in doubled pixels (no halves to round).
centre() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                           /Width:/ {w=$2} /Height:/ {h=$2} END {print 2*x+w, 2*y+h}'
}
# The prompt is placed once it is on the screen, too: it is judged where it comes to rest.
centred() {
  read -r wx wy < <(centre "$window")
  read -r px py < <(centre "$prompt")
  ((px - wx <= 2 && wx - px <= 2 && py - wy <= 2 && wy - py <= 2))
}

start_game
wait_for "$patience" shows "$window" title menu_drawn title || fail "the title menu was not drawn"
xdotool windowfocus --sync "$window"
press space
wait_for "$patience" shows "$window" boxes start_marked boxes || fail "no game under way (the start area is not marked on the overview)"

xdotool windowfocus --sync "$window"
xdotool keydown q
prompt=$("$probe" wait "$box_title" $((patience * 1000))) || fail "no prompt for Q"
xdotool keyup q
wait_for "$patience" centred ||
  fail "the prompt is not centred over the game window: centres $((px / 2)),$((py / 2)) and $((wx / 2)),$((wy / 2))"
echo "game window centre $((wx / 2)),$((wy / 2)); prompt centre $((px / 2)),$((py / 2)) (halves dropped)"

started=$(date +%s%N)
close_game
echo "closed to exit: $((($(date +%s%N) - started) / 1000000)) ms"
echo "real-window boxes run passed"
