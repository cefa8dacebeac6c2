#!/usr/bin/env bash
# Runs a command in a virtual X server of its own. The server takes a free display number itself
# and tells which: xvfb-run -a looks for a free number before it starts the server, so two runs
# started together can take the same number, and a test then works another test's windows.
#   in-xvfb.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGS...]
set -euo pipefail
screen=$1
shift
dir=$(mktemp -d)
server=
cleanup() {
  [[ -n $server ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT

# The clients show the server's key, which it reads at its start whatever its number.
export XAUTHORITY=$dir/Xauthority
cookie=$(mcookie)
xauth -q -f "$XAUTHORITY" add :0 . "$cookie" 2>/dev/null
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -auth "$XAUTHORITY" 3>"$dir/display" 2>"$dir/server.log" &
server=$!
if ! read -r -t 60 number <"$dir/display"; then
  echo "in-xvfb.sh: no X server started" >&2
  cat "$dir/server.log" >&2
  exit 1
fi
xauth -q add ":$number" . "$cookie"
status=0
DISPLAY=:$number "$@" || status=$?
exit "$status"
