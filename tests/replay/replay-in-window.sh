#!/usr/bin/env bash
# Replays of games played in the real window, driven like a player with xdotool: a continued game
# (walking, a jump, a save, Q) and a new game closed in play are each recorded, and poronpa-sim
# plays both replays to the end lines the game wrote; then the first is watched in the window,
# at its speed, with F held, and stopped with Q, without touching the player's files; a damaged
# replay and one from another map are told in a box; a replay folder that cannot be written is
# said once and the game plays on.
#   replay-in-window.sh BIN_DIR X11PROBE SCREENSHOT_DIR   (run it inside xvfb-run)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/game-window.sh"
program_dir "$game_dir" sounds

# The play screen: the current area red on the overview, the view showing the area.
play_shown() { (($("$probe" count "$shots/$1.ppm" 340 110 120 120 FF0000) > 100)) && ! menu_drawn "$1"; }
title_shown() { menu_drawn "$1"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# start NAME [ARGS...]: the game with these arguments; its window in $window.
start() {
  step=$1
  shift
  start_game "$@"
  step=
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}
# close NAME: closes the window as a window manager's button does; the game must end with status 0.
close() {
  step=$1
  close_game
  step=
}
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}
# A replay is being written (looked for anew at each call, as the file may come later).
recording() { compgen -G "$game_dir/replays/*.replay" >/dev/null; }
# The replays the game has finished: their closing line is the game's own end line.
finished_replays() { grep -l '^# end ' "$game_dir"/replays/*.replay 2>/dev/null | sort; }
finished_count() { finished_replays | wc -l; }
has_finished() { (($(finished_count) >= $1)); }
# check_replay FILE: poronpa-sim plays it to the end line the game wrote; prints that line.
check_replay() {
  local out err
  out=$("$bin/poronpa-sim" --map "$game_dir/mapdata.dat" --replay "$1" --check 2>"$game_dir/sim-err.txt") ||
    fail "poronpa-sim --replay $1 --check: status $? ($(cat "$game_dir/sim-err.txt"))"
  grep -q "the end line matches the recording" "$game_dir/sim-err.txt" || fail "$1: $(cat "$game_dir/sim-err.txt")"
  [[ $(grep '^# end ' "$1") == "# $out" ]] || fail "$1: the simulator's end line $out is not the game's"
  echo "$out"
}

# A save holding the diary, made by the engine itself: a new game holding it saves where it begins.
printf '1 s\n' | "$bin/poronpa-sim" --map "$game_dir/mapdata.dat" --save "$game_dir/savedata.dat" --items 4 --input - >/dev/null
counter() { od -An -tu2 -N2 "$game_dir/savedata.dat" | tr -d ' '; }
saved_again() { [[ $(counter) == 2 ]]; }
[[ $(counter) == 1 ]] || fail "the prepared save is not there"

# 1. つづきから (L on the title): walk, jump, walk, save with the diary, Q answered Yes.
start "continued game"
wait_for "$patience" shows "$window" 1-title title_shown 1-title || fail "the title menu was not drawn"
press l
wait_for "$patience" shows "$window" 2-play play_shown 2-play || fail "the continued game did not start"
wait_for "$patience" recording || fail "no replay is written while the game runs"
hold Right 1.5
press space
hold Right 0.8
press s
wait_for "$patience" saved_again || fail "S did not save (the save counter stays $(counter))"
prompt=$(press_until_window q "$box_title") || fail "no prompt for Q"
xdotool windowfocus --sync "$prompt"
press Return
wait_for "$patience" shows "$window" 3-title title_shown 3-title || fail "the title did not come back"
wait_for "$patience" has_finished 1 || fail "the continued game's replay was not finished"
first=$(finished_replays | head -1)
grep -q '^# start continue$' "$first" || fail "$first does not start as a continued game"
end=$(check_replay "$first")
echo "continued game: $end"
[[ $end =~ ^end\ frame=([0-9]+)\ area=2,4\ pos=([0-9.]+),[0-9.]+\ state=[0-9]+\ items=0000100000\ deaths=0\ ending=no$ ]] ||
  fail "the continued game's end line is not that of the walk with the diary: $end"
recorded_frames=${BASH_REMATCH[1]}
((recorded_frames > 100)) || fail "the continued game lasted only $recorded_frames frames"
((${BASH_REMATCH[2]%%.*} > 200)) || fail "the hero did not walk right: $end"

# 2. はじめから (space on the title) in the same run: walk and jump, then the window closes in play.
xdotool windowfocus --sync "$window"
press space
wait_for "$patience" shows "$window" 4-play play_shown 4-play || fail "the new game did not start"
hold Right 1
press space
hold Left 0.5
close "new game"
wait_for "$patience" has_finished 2 || fail "the new game's replay was not finished when the window closed"
second=$(finished_replays | grep -v -x "$first")
grep -q '^# start new$' "$second" || fail "$second does not start as a new game"
echo "new game: $(check_replay "$second")"

# 3. Watching the first replay: it plays at its speed and ends at the title; nothing of the
#    player's is touched and nothing new is recorded.
saves_before=$(md5sum <"$game_dir/savedata.dat")
# watch NAME [KEY]: the first replay watched, KEY held from the moment it is seen to play; the
# time until the title shows again in $watched_ms. Without a key it counts from the start of the
# program: the replay plays from then on, and a first picture seen late on a busy machine must not
# make it look quicker than it was. With the key, from the key's press, as only then is it held.
watch() {
  local name=$1 from
  from=$(now_ms)
  start "$name" --replay "$first"
  wait_for "$patience" shows "$window" "$name-play" play_shown "$name-play" || fail "$name: the replay did not play"
  if [[ -n ${2:-} ]]; then
    from=$(now_ms)
    xdotool keydown "$2"
  fi
  wait_for "$patience" shows "$window" "$name-title" title_shown "$name-title" || fail "$name: the replay did not end at the title"
  [[ -n ${2:-} ]] && xdotool keyup "$2"
  watched_ms=$(($(now_ms) - from))
  close "$name"
}
recorded_ms=$((recorded_frames * 13))
watch watching
normal=$watched_ms
watch watching-faster f
faster=$watched_ms
echo "the replay of ${recorded_ms} ms of play watched in ${normal} ms, with F held in ${faster} ms"
((normal * 10 >= recorded_ms * 8)) || fail "the replay ran faster than it was played"
((faster * 10 < normal * 6)) || fail "F did not make the replay faster"
[[ $(md5sum <"$game_dir/savedata.dat") == "$saves_before" ]] || fail "watching changed the player's saves"
(($(ls "$game_dir"/replays/*.replay | wc -l) == 2)) || fail "watching recorded a replay"

# Q stops a replay at once.
start "stopping" --replay "$first"
wait_for "$patience" shows "$window" stop-play play_shown stop-play || fail "stopping: the replay did not play"
stopped=$(now_ms)
press q
wait_for "$patience" shows "$window" stop-title title_shown stop-title || fail "Q did not stop the replay"
(($(now_ms) - stopped < recorded_ms)) || fail "Q did not stop the replay before its end"
close "stopping"

# 4. A damaged replay is named with its line in a box; a replay from another map played on the
#    world named beside it is told so, with the world it needs, and played. Then the title, as
#    always. Without the world named, the world it needs is found nowhere: said in one line, and
#    nothing is written.
grep -qx '# world mapdata.dat' "$first" || fail "the replay does not name its world"
head -c -20 "$first" >"$game_dir/cut.replay"
sed 's/^# map .*/# map 0000000000000000/' "$first" >"$game_dir/elsewhere.replay"
files_before=$(ls -lR --time-style=+%s.%N "$game_dir" | grep -v '^total' | grep -v 'stderr.txt$')
if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game_dir/poronpa" --replay "$game_dir/elsewhere.replay" \
  2>"$game_dir/nowhere.txt"; then
  fail "a replay whose world is nowhere started the game"
fi
grep -qF "this replay was recorded on mapdata.dat (map digest 0000000000000000), found neither" "$game_dir/nowhere.txt" ||
  fail "the world the replay needs was not named: $(cat "$game_dir/nowhere.txt")"
(($(wc -l <"$game_dir/nowhere.txt") == 1)) || fail "more than one line: $(cat "$game_dir/nowhere.txt")"
[[ $(ls -lR --time-style=+%s.%N "$game_dir" | grep -v '^total' | grep -v 'stderr.txt$' | grep -v 'nowhere.txt$') == "$files_before" ]] ||
  fail "a replay whose world is nowhere wrote into the game's folder"
for case in cut elsewhere; do
  start "$case" "$game_dir/mapdata.dat" --replay "$game_dir/$case.replay"
  box=$("$probe" wait "$box_title" $((patience * 1000))) || fail "$case: no box"
  xdotool windowfocus --sync "$box"
  press Return
  wait_for "$patience" shows "$window" "$case-title" title_shown "$case-title" || fail "$case: no title after the box"
  close "$case"
done
grep -q "cut.replay:[0-9]*: the file ends inside a line: it was cut short" "$game_dir/stderr.txt" ||
  fail "the damaged replay was not named with its line"
(($(grep -c "this replay was recorded on another map: it needs mapdata.dat (map digest 0000000000000000)" "$game_dir/stderr.txt") == 1)) ||
  fail "the other map was not told once, with the world it needs"

# 5. A replay folder that cannot be written (the superuser mounts it read-only): said once, and
#    the game plays on.
if [[ $(id -u) == 0 ]] && mount --bind "$game_dir/replays" "$game_dir/replays" 2>/dev/null; then
  mounted=$game_dir/replays
  mount -o remount,ro,bind "$mounted"
  : >"$game_dir/stderr.txt"
  start "read-only replays"
  wait_for "$patience" shows "$window" ro-title title_shown ro-title || fail "read-only replays: no title"
  press space
  wait_for "$patience" shows "$window" ro-play play_shown ro-play || fail "read-only replays: the game did not start"
  prompt=$(press_until_window q "$box_title") || fail "read-only replays: no prompt for Q"
  xdotool windowfocus --sync "$prompt"
  press Return
  wait_for "$patience" shows "$window" ro-title2 title_shown ro-title2 || fail "read-only replays: no title again"
  xdotool windowfocus --sync "$window"
  press space
  wait_for "$patience" shows "$window" ro-play2 play_shown ro-play2 || fail "read-only replays: no second game"
  close "read-only replays"
  (($(grep -c "replays are not recorded" "$game_dir/stderr.txt") == 1)) || fail "the read-only folder was not said once"
  umount "$mounted"
  mounted=
else
  echo "skipped the read-only replay folder: not the superuser, or no mounting here"
fi
echo "replays in the real window passed"
