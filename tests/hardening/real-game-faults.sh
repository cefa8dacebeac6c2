#!/usr/bin/env bash
# The real game in a real X server, started from program directories that are not as they should
# be: read-only, without a map, with an empty map, with a directory in the map's or the settings'
# place, with pipes and a device in the places of the player's files, with a settings file its
# owner made read-only, and with what killed writers and a killed test play left.
#   real-game-faults.sh BIN_DIR X11PROBE   (run it inside xvfb-run)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/game-window.sh"

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

# start DIR: the game in DIR; its standard error, of this case alone, in $failure_log.
start() {
  "$1/poronpa" 2>"$failure_log" &
  pid=$!
}

# Waits for the title menu and chooses entry $1 (0 はじめから, 1 つづきから); prints the window.
choose() {
  local window
  window=$("$probe" wait "$game_title" $((patience * 1000))) || fail "no game window"
  wait_for "$patience" shows "$window" title menu_drawn title || fail "the title menu was not drawn"
  click "$window" 300 $((222 + 40 * $1))
  echo "$window"
}

# Walks, jumps, then closes the window; the game must end with status 0.
walk_and_close() {
  local window=$1
  wait_for "$patience" shows "$window" play start_marked play || fail "the play screen did not show the start area"
  xdotool windowfocus --sync "$window"
  xdotool keydown Right
  sleep 0.5 # walking for half a second, as a player holds the key
  press space
  xdotool keyup Right
  close_game
}

play_and_close() { walk_and_close "$(choose 0)"; }

step="read-only program directory"
dir=$game_dir/read-only
program_dir "$dir" sounds
listing=$(ls -l "$dir")
if make_read_only "$dir"; then
  # With no sound device either, the one line the game writes says so. The settings go to the
  # player's folder instead.
  XDG_DATA_HOME=$game_dir/data SDL_AUDIODRIVER=no-such-driver start "$dir"
  play_and_close
  [[ $(ls -l "$dir") == "$listing" ]] || fail "the directory changed"
  [[ -f $game_dir/data/poronpa/zembo.ini ]] || fail "no settings in the player's folder"
  ours=$(grep -c '^poronpa:' "$game_dir/stderr.txt" || true)
  ((ours == 1)) || fail "expected one line about the missing sound device, got $ours"
  grep -q '^poronpa: no sound device' "$game_dir/stderr.txt" || fail "the line does not name the sound device"
  [[ -n $mounted ]] && umount -l "$mounted" && mounted=
  echo "ok: $step"
else
  echo "skipped: $step (no way to make a directory read-only here)"
fi

step="missing map"
dir=$game_dir/missing-map
program_dir "$dir" sounds
rm "$dir/mapdata.dat"
start "$dir"
play_and_close
[[ -f $dir/mapdata.dat && ! -s $dir/mapdata.dat ]] || fail "the map file was not created empty"
echo "ok: $step"

step="empty map"
dir=$game_dir/empty-map
program_dir "$dir" sounds
: >"$dir/mapdata.dat"
start "$dir"
play_and_close
[[ -f $dir/mapdata.dat && ! -s $dir/mapdata.dat ]] || fail "the empty map file changed"
echo "ok: $step"

step="a directory in the map's place"
dir=$game_dir/map-directory
program_dir "$dir" sounds
rm "$dir/mapdata.dat"
mkdir "$dir/mapdata.dat"
listing=$(ls -lR "$dir")
start "$dir"
box=$("$probe" wait "$box_title" $((patience * 1000))) || fail "no message box"
xdotool windowfocus --sync "$box"
press Return
await_end "the game did not end"
((status != 0)) || fail "the game ended with status 0"
[[ $(ls -lR "$dir") == "$listing" ]] || fail "something was written"
echo "ok: $step"

step="a directory in the settings file's place"
dir=$game_dir/settings-directory
program_dir "$dir" sounds
mkdir "$dir/zembo.ini"
start "$dir"
play_and_close
[[ -d $dir/zembo.ini && -z $(ls -A "$dir/zembo.ini") ]] || fail "the settings directory changed"
echo "ok: $step"

step="pipes and a device in the player's files' places, and what killed writers left"
dir=$game_dir/hostile
program_dir "$dir" sounds
mkfifo "$dir/zembo.ini" "$dir/savedata.dat"
ln -sf /dev/zero "$dir/km2.mid"
for file in savedata.dat savedata.dat.run besttimes.txt best.replay; do
  echo half >"$dir/$file.tmp-Ab12Cd"
done
mkdir "$dir/replays" "$game_dir/tmp"
echo half >"$dir/replays/2025-06-01_14-03-22.replay.tmp-Ab12Cd"
# The scratch folder of a test play whose editor was killed.
mkdir "$game_dir/tmp/poronpa-test-play-Ab12Cd"
echo saves >"$game_dir/tmp/poronpa-test-play-Ab12Cd/savedata.dat"
TMPDIR=$game_dir/tmp SDL_AUDIODRIVER=dummy start "$dir"
# The window opens although nothing writes into the pipes; the leftovers are gone. つづきから says
# the save cannot be read and starts a new game.
window=$(choose 1)
for file in savedata.dat savedata.dat.run besttimes.txt best.replay; do
  [[ ! -e $dir/$file.tmp-Ab12Cd ]] || fail "the killed writer's leftover of $file is still there"
done
[[ ! -e $dir/replays/2025-06-01_14-03-22.replay.tmp-Ab12Cd ]] || fail "the killed replay writer's leftover is still there"
[[ ! -e $game_dir/tmp/poronpa-test-play-Ab12Cd ]] || fail "the killed test play's scratch folder is still there"
box=$("$probe" wait "$box_title" $((patience * 1000))) || fail "no message that the save cannot be read"
xdotool windowfocus --sync "$box"
press Return
walk_and_close "$window"
[[ -p $dir/zembo.ini && -p $dir/savedata.dat && -L $dir/km2.mid ]] || fail "a file in a pipe's or the device's place was replaced"
grep -q 'zembo.ini: cannot be read (not a regular file)' "$game_dir/stderr.txt" || fail "the settings pipe was not named"
grep -q 'km2.mid: cannot be read (not a regular file)' "$game_dir/stderr.txt" || fail "the tune's device was not named"
echo "ok: $step"

step="a settings file its owner made read-only"
dir=$game_dir/read-only-settings
program_dir "$dir" sounds
printf '[INIExist]\nDummy=True\n[Option]\nBGM=0\nSE=0\n' >"$dir/zembo.ini"
chmod 0444 "$dir/zembo.ini"
settings=$(cat "$dir/zembo.ini")
SDL_AUDIODRIVER=dummy start "$dir"
play_and_close
# Read, left as it is, and said once at the most.
[[ $(stat -c %a "$dir/zembo.ini") == 444 ]] || fail "the settings file's mode was changed"
[[ $(cat "$dir/zembo.ini") == "$settings" ]] || fail "the settings file was rewritten"
said=$(grep -c 'zembo.ini' "$failure_log" || true)
((said <= 1)) || fail "the settings file was named $said times"
echo "ok: $step"
