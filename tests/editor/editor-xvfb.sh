# What the real-window tests of the editor share: a fresh program folder in $work (removed at the
# end with the program), pictures in $shots, and the editor started there with its palette moved
# aside. The program reads and writes mapdata.dat beside itself.
#   source tests/editor/editor-xvfb.sh <mapdesign> <x11probe> [shots]   (then start_editor)
set -euo pipefail

program="$1"
probe="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../support/xwindow.sh"
work="$(mktemp -d)"
shots="${3:-$work/shots}"
mkdir -p "$shots"
rm -f "$shots"/*.ppm
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Waits for a visible window whose name matches, other than $2.
window() {
  local deadline=$((SECONDS + patience))
  while ((SECONDS < deadline)); do
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [[ "$w" != "${2:-}" ]] && { echo "$w"; return; }
    done
    sleep 0.05
  done
  fail "no window named $1"
}
gone() { ! xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -qx "$2"; }

# Starts the editor on $work/mapdata.dat; its window is $main, the palette's $parts, moved to the
# right of it. Canvas pixel (x, y) lies at (20 + x, 12 + y) of the editor's client area; palette
# pixel (x, y) at (2 + x, 2 + y) of the palette's.
start_editor() {
  cp "$program" "$work/mapdesign"
  "$work/mapdesign" & pid=$!
  main="$(window '^mapdata - MapDesign$')"
  parts="$(window '^Parts$')"
  xdotool windowmove "$parts" 560 0
  at_its_place() { [[ $(xdotool getwindowgeometry "$parts") == *"Position: 560,0 "* ]]; }
  wait_for "$patience" at_its_place || fail "the palette did not move aside"
}
