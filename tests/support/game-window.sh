# The game in a virtual X server, for the tests that play it there: a program directory of its own,
# removed at the end with the game ended first, and the game started in it and closed as a window
# manager's close button does. Sourced with the test's arguments:
#   source tests/support/game-window.sh BIN_DIR X11PROBE [SCREENSHOT_DIR]
# Sets $bin, $probe, $shots (emptied of pictures; a folder in $game_dir without the third
# argument), $game_dir, and $failure_log (the game's standard error, shown by fail).
source "$(dirname "${BASH_SOURCE[0]}")/xwindow.sh"

bin=$1
probe=$2
game_title="ポロンパ　ぽぷらん Ver 0.94"
# The game's questions and notices carry its name without the version.
box_title="ポロンパ　ぽぷらん"

game_dir=$(mktemp -d)
failure_log=$game_dir/stderr.txt
# Where the game answers a screen check (see screen_as_meant).
checks=$game_dir/checks
mkdir -p "$checks"
export PORONPA_SCREEN_CHECK=$checks
shots=${3:-$game_dir/shots}
mkdir -p "$shots"
rm -f "$shots"/*.ppm
pid=
window=
# A folder the test mounted read-only, unmounted at the end.
mounted=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null
  [[ -n $mounted ]] && umount -l "$mounted" 2>/dev/null
  chmod -R u+w "$game_dir" 2>/dev/null
  rm -rf "$game_dir"
}
trap cleanup EXIT

# program_dir DIR [sounds]: the game and its world in DIR, with the effects and tunes when asked.
program_dir() {
  mkdir -p "$1"
  cp "$bin/poronpa" "$bin/mapdata.dat" "$1/"
  [[ ${2:-} != sounds ]] || cp "$bin"/*.wav "$bin"/*.mid "$1/" 2>/dev/null || true
}

# start_game [ARGS...]: the game in $game_dir with these arguments, its standard error added to
# $failure_log; its window in $window once it is on the screen.
start_game() {
  "$game_dir/poronpa" "$@" 2>>"$failure_log" &
  pid=$!
  window=$("$probe" wait "$game_title" $((patience * 1000))) || fail "no game window"
}

# Closes the game's window; the game must end, with status 0.
close_game() {
  "$probe" close "$window"
  await_end "the game did not end after its window closed"
  ((status == 0)) || fail "the game ended with status $status"
}

# menu_drawn NAME: picture NAME shows the title menu, whose entries are drawn in their own yellow.
menu_drawn() { (($("$probe" count "$shots/$1.ppm" 272 208 160 100 C0C000) > 50)); }
# start_marked NAME: picture NAME shows a game at its start, the start area red on the overview.
start_marked() { [[ $(pixel "$1" 399 218) == FF0000 ]]; }

# settled NAME: for wait_for; two pictures of the whole screen in a row agree, the first kept as
# $shots/NAME.ppm.
settled() {
  "$probe" shot root "$shots/$1.ppm" && "$probe" shot root "$shots/$1-again.ppm" &&
    cmp -s "$shots/$1.ppm" "$shots/$1-again.ppm"
}

# screen_matches NAME: the whole screen, as a player sees it, shows every window of the game's as
# the game means to show it: the toolkit's own rendering of the window, its magnified view
# enlarged pixel by pixel from the view's content. The game finishes its pending paints, writes
# those pictures and then waits, so the screen cannot change before the screenshot. What differs
# (the window and the rectangle) is left in $screen_report, the pictures in $shots.
screen_matches() {
  local name=$1 window
  screen_report=
  rm -f "$checks"/ready "$checks"/*.ppm
  kill -USR1 "$pid"
  if ! wait_for "$patience" test -e "$checks/ready"; then
    screen_report="the game did not answer the screen check"
    return 1
  fi
  if ! wait_for "$patience" settled "$name"; then
    rm -f "$checks/ready"
    screen_report="the screen never settled"
    return 1
  fi
  if ! screen_report=$("$probe" screen-check "$checks" "$shots/$name.ppm"); then
    rm -f "$checks/ready"
    for window in "$checks"/*.ppm; do cp "$window" "$shots/$name-meant-$(basename "$window")"; done
    return 1
  fi
  rm -f "$checks/ready"
}

# screen_as_meant NAME: the screen matches (screen_matches), or the test fails saying where not.
screen_as_meant() {
  screen_matches "$1" || fail "$1: the screen differs from what the game means to show: $screen_report"
}
