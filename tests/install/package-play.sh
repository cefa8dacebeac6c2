#!/usr/bin/env bash
# The Debian package: CPack builds it, its dependencies resolve on a Debian machine with nothing
# installed, and the game unpacked into a scratch root and started from there by a player with a
# fresh home continues a saved game and saves it again through the real keys. The save lands in
# that home; nothing is written into the installed folders.
#   package-play.sh BUILD_DIR X11PROBE   (run it inside xvfb-run)
set -euo pipefail
build=$1
probe=$2
here=$(dirname "${BASH_SOURCE[0]}")
title="ポロンパ　ぽぷらん Ver 0.94"

for tool in cpack dpkg-deb apt-get xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: no $tool here to build, check or drive the package"
    exit 77
  fi
done
source "$here/player.sh"
source "$here/../support/xwindow.sh"

work=$(mktemp -d)
pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
failure_log=$work/stderr.txt

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack could not build the package"
deb=$(echo "$work"/package/*.deb)
[[ -f $deb ]] || fail "no package built"
echo "ok: built $(basename "$deb"), $(stat -c %s "$deb") bytes"

# What the game opens at run time, beyond the libraries it links.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libsdl2-mixer-2.0-0 qt6-qpa-plugins qt6-translations-l10n timgm6mb-soundfont \
  fonts-ipafont-gothic fonts-ipafont-mincho; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "the package does not depend on $needed: $depends"
done
# The dependencies resolve from the archive for a machine with nothing installed yet.
if [[ $(apt-cache policy libc6 2>/dev/null) == *"Candidate: "[0-9]* ]]; then
  : >"$work/no-packages"
  apt-get install --simulate -o Dir::State::status="$work/no-packages" "$deb" >"$work/apt.txt" 2>&1 ||
    fail "the dependencies do not resolve on a fresh machine: $(tail -5 "$work/apt.txt")"
  echo "ok: installing on a fresh machine would bring $(grep -c '^Inst ' "$work/apt.txt") packages"
else
  echo "skipped: the dependencies on a fresh machine (no package lists here; apt-get update first)"
fi

root=$work/root
dpkg-deb -x "$deb" "$root"
keep_from_player "$root"
installed() { find "$root" -printf '%P %s %T@ %m\n' | sort; }
before=$(installed)

# A saved game with the diary held, made by the installed simulator in the player's folder.
home=$(player_home "$work/home")
folder=$home/.local/share/poronpa
counter() { od -An -tu2 -N2 "$folder/savedata.dat" 2>/dev/null | tr -d ' '; }
as_player "$home" mkdir -p "$folder"
as_player "$home" "$root/usr/games/poronpa-sim" --items 4 --save "$folder/savedata.dat" --input - <<<'5 -
5 s' >/dev/null || fail "the simulator could not prepare a save"
[[ $(counter) == 1 ]] || fail "the prepared save file holds no save"

# What a desktop session gives a player: the display with its key, a runtime folder.
[[ -n ${XAUTHORITY:-} ]] && cp "$XAUTHORITY" "$home/.Xauthority"
mkdir -m 700 "$home/.runtime"
give_to_player "$home"
as_player "$home" DISPLAY="$DISPLAY" XAUTHORITY="$home/.Xauthority" XDG_RUNTIME_DIR="$home/.runtime" SDL_AUDIODRIVER=dummy \
  "$root/usr/games/poronpa" 2>"$work/stderr.txt" &
pid=$!
window=$("$probe" wait "$title" 30000) || fail "no game window"
xdotool windowfocus --sync "$window"
# L on the title continues the latest save; S saves while the diary is held, once the play loop
# reads the keys, so it is pressed until the save counter moves.
press l
saved() { [[ $(counter) == 2 ]]; }
deadline=$((SECONDS + 30))
until saved; do
  ((SECONDS < deadline)) || fail "S did not save the game"
  press s
  wait_for 1 saved || true
done
echo "ok: saved in $folder"

"$probe" close "$window"
wait_for 30 ended "$pid" || fail "the game did not end after its window closed"
status=0
wait "$pid" || status=$?
pid=
((status == 0)) || fail "the game ended with status $status"

grep -q '^BGM=1' "$folder/zembo.ini" || fail "no settings in $folder"
[[ $(installed) == "$before" ]] || fail "something was written into the installed folders"
! grep -q . "$work/stderr.txt" || fail "the game reported a problem"
echo "ok: played from the package as a player with a fresh home"
