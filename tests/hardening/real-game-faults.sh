#!/usr/bin/env bash
# The real game in a real X server, started from program directories that are not as they should
# be: read-only, without a map, with an empty map, with a directory in the map's or the settings'
# place, with pipes and a device in the places of the player's files.
#   real-game-faults.sh BIN_DIR X11PROBE   (run it inside xvfb-run)
set -euo pipefail
bin=$1
probe=$2
source "$(dirname "${BASH_SOURCE[0]}")/../support/xwindow.sh"
title="ポロンパ　ぽぷらん Ver 0.94"

work=$(mktemp -d)
shots=$work/shots
mkdir "$shots"
pid=
mounted=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  [[ -n $mounted ]] && umount -l "$mounted" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($case): $*" >&2
  [[ -f $work/stderr.txt ]] && sed 's/^/  | /' "$work/stderr.txt" >&2
  exit 1
}

# A fresh program directory: the game and its data files.
program_dir() {
  local dir=$work/$1
  mkdir -p "$dir"
  cp "$bin/poronpa" "$bin/mapdata.dat" "$dir/"
  cp "$bin"/*.wav "$bin"/*.mid "$dir/" 2>/dev/null || true
  echo "$dir"
}

# Nobody may write into the directory; permissions do not stop the superuser, a read-only mount
# does.
make_read_only() {
  if ((EUID != 0)); then
    chmod a-w "$1"
  elif mount --bind "$1" "$1" 2>/dev/null && mount -o remount,ro,bind "$1" 2>/dev/null; then
    mounted=$1
  else
    return 1
  fi
}

start() {
  "$1/poronpa" 2>"$work/stderr.txt" &
  pid=$!
}

# Waits for the game to end; its exit status lands in $status.
finish() {
  status=0
  wait "$pid" || status=$?
  pid=
}

# Waits for the game to end, with a deadline; its exit status lands in $status.
finish() {
  wait_for "$patience" ended "$pid" || fail "the game did not end"
  status=0
  wait "$pid" || status=$?
  pid=
}

# The title menu drawn in its own yellow; the play screen with the start area red on the overview.
menu_drawn() { (($("$probe" count "$shots/title.ppm" 272 208 160 100 C0C000) > 50)); }
play_shown() { [[ $("$probe" pixel "$shots/play.ppm" 399 218) == FF0000 ]]; }

# Waits for the title menu and chooses entry $1 (0 はじめから, 1 つづきから); prints the window.
choose() {
  local window
  window=$("$probe" wait "$title" $((patience * 1000))) || fail "no game window"
  wait_for "$patience" shows "$window" title menu_drawn || fail "the title menu was not drawn"
  click "$window" 300 $((222 + 40 * $1))
  echo "$window"
}

# Walks, jumps, then closes the window; the game must end with status 0.
walk_and_close() {
  local window=$1
  wait_for "$patience" shows "$window" play play_shown || fail "the play screen did not show the start area"
  xdotool windowfocus --sync "$window"
  xdotool keydown Right
  sleep 0.5 # walking for half a second, as a player holds the key
  press space
  xdotool keyup Right
  "$probe" close "$window"
  finish
  ((status == 0)) || fail "the game ended with status $status"
}

play_and_close() { walk_and_close "$(choose 0)"; }

case="read-only program directory"
dir=$(program_dir read-only)
listing=$(ls -l "$dir")
if make_read_only "$dir"; then
  # With no sound device either, the one line the game writes says so. The settings go to the
  # player's folder instead.
  XDG_DATA_HOME=$work/data SDL_AUDIODRIVER=no-such-driver start "$dir"
  play_and_close
  [[ $(ls -l "$dir") == "$listing" ]] || fail "the directory changed"
  [[ -f $work/data/poronpa/zembo.ini ]] || fail "no settings in the player's folder"
  ours=$(grep -c '^poronpa:' "$work/stderr.txt" || true)
  ((ours == 1)) || fail "expected one line about the missing sound device, got $ours"
  grep -q '^poronpa: no sound device' "$work/stderr.txt" || fail "the line does not name the sound device"
  [[ -n $mounted ]] && umount -l "$mounted" && mounted=
  echo "ok: $case"
else
  echo "skipped: $case (no way to make a directory read-only here)"
fi

case="missing map"
dir=$(program_dir missing-map)
rm "$dir/mapdata.dat"
start "$dir"
play_and_close
[[ -f $dir/mapdata.dat && ! -s $dir/mapdata.dat ]] || fail "the map file was not created empty"
echo "ok: $case"

case="empty map"
dir=$(program_dir empty-map)
: >"$dir/mapdata.dat"
start "$dir"
play_and_close
[[ -f $dir/mapdata.dat && ! -s $dir/mapdata.dat ]] || fail "the empty map file changed"
echo "ok: $case"

case="a directory in the map's place"
dir=$(program_dir map-directory)
rm "$dir/mapdata.dat"
mkdir "$dir/mapdata.dat"
listing=$(ls -lR "$dir")
start "$dir"
box=$("$probe" wait "ポロンパ　ぽぷらん" $((patience * 1000))) || fail "no message box"
xdotool windowfocus --sync "$box"
press Return
finish
((status != 0)) || fail "the game ended with status 0"
[[ $(ls -lR "$dir") == "$listing" ]] || fail "something was written"
echo "ok: $case"

case="a directory in the settings file's place"
dir=$(program_dir settings-directory)
mkdir "$dir/zembo.ini"
start "$dir"
play_and_close
[[ -d $dir/zembo.ini && -z $(ls -A "$dir/zembo.ini") ]] || fail "the settings directory changed"
echo "ok: $case"

case="pipes and a device in the player's files' places, and what a killed save left"
dir=$(program_dir hostile)
mkfifo "$dir/zembo.ini" "$dir/savedata.dat"
ln -sf /dev/zero "$dir/km2.mid"
echo half >"$dir/savedata.dat.tmp-Ab12Cd"
SDL_AUDIODRIVER=dummy start "$dir"
# The window opens although nothing writes into the pipes; the leftover is gone. つづきから says
# the save cannot be read and starts a new game.
window=$(choose 1)
[[ ! -e $dir/savedata.dat.tmp-Ab12Cd ]] || fail "the killed save's leftover is still there"
box=$("$probe" wait "ポロンパ　ぽぷらん" $((patience * 1000))) || fail "no message that the save cannot be read"
xdotool windowfocus --sync "$box"
press Return
walk_and_close "$window"
[[ -p $dir/zembo.ini && -p $dir/savedata.dat && -L $dir/km2.mid ]] || fail "a file in a pipe's or the device's place was replaced"
grep -q 'zembo.ini: cannot be read (not a regular file)' "$work/stderr.txt" || fail "the settings pipe was not named"
grep -q 'km2.mid: cannot be read (not a regular file)' "$work/stderr.txt" || fail "the tune's device was not named"
echo "ok: $case"
