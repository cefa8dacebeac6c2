#!/usr/bin/env bash
# The game's boxes in a real X server, without a window manager: the Q prompt opens centred over
# the game window, and closing the game window while it is open ends the program at once with
# status 0. Every step waits for what it needs with a deadline; keys are pressed as a person does.
#   real-window-boxes.sh BIN_DIR X11PROBE SCREENSHOT_DIR   (run it inside xvfb-run)
set -euo pipefail
bin=$1
probe=$2
shots=$3
source "$(dirname "${BASH_SOURCE[0]}")/../support/xwindow.sh"
mkdir -p "$shots"

game_dir=$(mktemp -d)
pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$game_dir"
}
trap cleanup EXIT
cp "$bin/poronpa" "$bin/mapdata.dat" "$game_dir/"

# The centre of a window on the screen, as "X Y" in doubled pixels (no halves to round).
centre() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                           /Width:/ {w=$2} /Height:/ {h=$2} END {print 2*x+w, 2*y+h}'
}

"$game_dir/poronpa" 2>"$game_dir/stderr.txt" &
pid=$!
window=$("$probe" wait "ポロンパ　ぽぷらん Ver 0.94" 30000) || fail "no game window"
xdotool windowfocus --sync "$window"
press space
start_marked() { [[ $("$probe" pixel "$shots/boxes.ppm" 399 218) == FF0000 ]]; }
wait_for "$patience" shows "$window" boxes start_marked || fail "no game under way (the start area is not marked on the overview)"

xdotool windowfocus --sync "$window"
xdotool keydown q
prompt=$("$probe" wait "ポロンパ　ぽぷらん" 30000) || fail "no prompt for Q"
xdotool keyup q
read -r wx wy < <(centre "$window")
read -r px py < <(centre "$prompt")
echo "game window centre $((wx / 2)),$((wy / 2)); prompt centre $((px / 2)),$((py / 2)) (halves dropped)"
((px - wx <= 2 && wx - px <= 2 && py - wy <= 2 && wy - py <= 2)) || fail "the prompt is not centred over the game window"

started=$(date +%s%N)
"$probe" close "$window"
wait_for 30 ended "$pid" || fail "the game still runs 30 s after its window was closed"
status=0
wait "$pid" || status=$?
pid=
echo "closed to exit: $((($(date +%s%N) - started) / 1000000)) ms"
((status == 0)) || fail "the game ended with status $status"
echo "real-window boxes run passed"
