#!/usr/bin/env bash
# Every tool of the build answers --help and --version as the game's programs do: on standard
# output, status 0, nothing on standard error, without a display.
#   tools-answer.sh VERSION TOOL...
set -euo pipefail
version=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in "$@"; do
  name=$(basename "$tool")
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tool" --version 2>"$work/err") || fail "$name --version ended with status $?"
  [[ $out == "$name $version" && ! -s $work/err ]] || fail "$name --version printed: $out $(cat "$work/err")"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tool" --help 2>"$work/err") || fail "$name --help ended with status $?"
  [[ $out == "Usage: $name "* && ! -s $work/err ]] || fail "$name --help printed: $out $(cat "$work/err")"
done
echo "ok: $# tools answer --help and --version"
