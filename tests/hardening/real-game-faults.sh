#!/usr/bin/env bash
# The real game in a real X server, started from program directories that are not as they should
# be: read-only, without a map, with an empty map, with a directory in the map's place.
#   real-game-faults.sh BIN_DIR X11PROBE   (run it inside xvfb-run)
set -euo pipefail
bin=$1
probe=$2
title="ポロンパ　ぽぷらん Ver 0.94"

work=$(mktemp -d)
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

# Starts a new game, walks, jumps, then closes the window; the game must end with status 0.
play_and_close() {
  local window
  window=$("$probe" wait "$title" 15000) || fail "no game window"
  sleep 0.5
  xdotool mousemove --window "$window" 300 222 click 1
  sleep 1
  xdotool windowfocus --sync "$window"
  xdotool keydown Right
  sleep 0.5
  xdotool key space
  xdotool keyup Right
  sleep 0.3
  "$probe" close "$window"
  finish
  ((status == 0)) || fail "the game ended with status $status"
}

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
box=$("$probe" wait "ポロンパ　ぽぷらん" 15000) || fail "no message box"
xdotool windowfocus --sync "$box"
xdotool key Return
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
