#!/usr/bin/env bash
# The installed tree: `cmake --install` into a fresh prefix holds every file the game needs; its
# menu entries, metainfo and manual pages pass their validators; every program answers --help
# and --version; and the installed simulator, run by a player with a fresh home, plays the
# shipped world, passes over a damaged map of the player's and writes nothing into the tree.
#   install-tree.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/player.sh"

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

root=$work/root
prefix=$root/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
data=$prefix/share/games/poronpa

# Every file the build lays beside the program to play with, and the desktop's own files.
expected=(games/poronpa games/mapdesign games/poronpa-sim
  share/applications/invalid.poronpa.Poronpa.desktop share/applications/invalid.poronpa.MapDesign.desktop
  share/metainfo/invalid.poronpa.Poronpa.metainfo.xml share/doc/poronpa/copyright share/mime/packages/poronpa.xml
  share/man/man6/poronpa.6.gz share/man/man6/mapdesign.6.gz share/man/man6/poronpa-sim.6.gz)
expected+=(share/games/poronpa/mapdata-route.replay)
for file in "$build"/bin/mapdata.dat "$build"/bin/*.wav "$build"/bin/*.mid; do
  expected+=("share/games/poronpa/$(basename "$file")")
done
for size in 16 24 32 48 64 128 256; do
  icon=share/icons/hicolor/${size}x${size}/apps/poronpa.png
  expected+=("$icon")
  [[ -f $prefix/$icon && $(identify -format '%wx%h' "$prefix/$icon") == "${size}x${size}" ]] ||
    fail "$icon is not a ${size} x ${size} picture"
done
for file in "${expected[@]}"; do
  [[ -s $prefix/$file ]] || fail "not installed: $file"
done
cmp -s "$build/bin/mapdata.dat" "$data/mapdata.dat" || fail "the installed world is not the built one"
echo "ok: ${#expected[@]} files installed"

# Validators: hints are allowed (the editor is in two main categories on purpose).
for entry in "$prefix"/share/applications/*.desktop; do
  report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
  grep -v ' hint: ' <<<"$report" | grep -q . && fail "desktop-file-validate: $report"
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  [[ -x $prefix/games/${exec_line%% *} ]] || fail "$(basename "$entry") starts $exec_line, which is not installed"
done
# A world file (*.ppw) is of the type both entries open, and each is handed the file.
for entry in invalid.poronpa.Poronpa invalid.poronpa.MapDesign; do
  grep -qx 'MimeType=application/x-poronpa-world;' "$prefix/share/applications/$entry.desktop" ||
    fail "$entry.desktop does not open world files"
  grep -q '^Exec=.* %f$' "$prefix/share/applications/$entry.desktop" || fail "$entry.desktop is not handed the file"
done
mkdir -p "$work/mime/packages"
cp "$prefix/share/mime/packages/poronpa.xml" "$work/mime/packages/"
XDG_DATA_HOME=$work update-mime-database "$work/mime" 2>"$work/mime.txt" || fail "update-mime-database: $(cat "$work/mime.txt")"
[[ ! -s $work/mime.txt ]] || fail "update-mime-database: $(cat "$work/mime.txt")"
grep -qx '50:application/x-poronpa-world:\*.ppw' "$work/mime/globs2" || fail "*.ppw is not a world file: $(cat "$work/mime/globs2")"
# The metainfo with the desktop entry and icons it refers to.
appstreamcli validate-tree --no-net "$root" >"$work/appstream.txt" 2>&1 ||
  fail "appstreamcli validate-tree: $(cat "$work/appstream.txt")"
for page in "$prefix"/share/man/man6/*.6.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
done
echo "ok: validators"

# --help and --version on standard output, status 0, nothing else; no display needed.
for program in poronpa mapdesign poronpa-sim; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/games/$program" --version 2>"$work/err") ||
    fail "$program --version ended with status $?"
  [[ $out == "$program $version" && ! -s $work/err ]] || fail "$program --version printed: $out $(cat "$work/err")"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/games/$program" --help 2>"$work/err") ||
    fail "$program --help ended with status $?"
  [[ $out == "Usage: $program "* && ! -s $work/err ]] || fail "$program --help printed: $out $(cat "$work/err")"
done
echo "ok: --help and --version"

# A player with a fresh home runs the installed simulator; the tree may not be written to.
keep_from_player "$prefix"
snapshot() { find "$prefix" -printf '%P %s %T@ %m\n' | sort; }
before=$(snapshot)
home=$(player_home "$work/home")
keys='40 right
10 right+space
30 -'
shipped=$(as_player "$home" "$prefix/games/poronpa-sim" --map "$data/mapdata.dat" --input - <<<"$keys")
played=$(as_player "$home" "$prefix/games/poronpa-sim" --input - <<<"$keys" 2>"$work/err") ||
  fail "the installed simulator ended with status $?: $(cat "$work/err")"
[[ $played == "$shipped" && ! -s $work/err ]] || fail "the installed simulator did not play the shipped world: $played"

mkdir -p "$home/.local/share/poronpa"
head -c 1000 "$data/mapdata.dat" >"$home/.local/share/poronpa/mapdata.dat"
give_to_player "$home"
played=$(as_player "$home" "$prefix/games/poronpa-sim" --input - <<<"$keys" 2>"$work/err") ||
  fail "with a damaged map of the player's the simulator ended with status $?: $(cat "$work/err")"
[[ $played == "$shipped" ]] || fail "with a damaged map of the player's the shipped world was not played: $played"
grep -qF "$home/.local/share/poronpa/mapdata.dat" "$work/err" || fail "the damaged map is not named: $(cat "$work/err")"
[[ $(stat -c %s "$home/.local/share/poronpa/mapdata.dat") == 1000 ]] || fail "the player's map changed"
# The installed world's check takes over the route shipped beside it and keeps its own among the
# player's files, never in the tree.
report=$(as_player "$home" "$prefix/games/mapdesign" --check "$data/mapdata.dat" --budget 120 2>"$work/err") ||
  fail "the installed world was not checked finishable: $report $(cat "$work/err")"
[[ -s $home/.local/share/poronpa/mapdata-route.replay ]] || fail "the check kept no route among the player's files: $report"
[[ $(snapshot) == "$before" ]] || fail "something was written into the installed tree"
echo "ok: the installed simulator and the world's check as a player"
