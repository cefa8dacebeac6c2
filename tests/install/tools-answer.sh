#!/usr/bin/env bash
# Every tool of the build answers --help and --version as the game's programs do: on standard
# output, status 0, nothing on standard error, without a display. Arguments a tool cannot take
# are refused with its usage on standard error and status 2, not misread.
#   tools-answer.sh VERSION TOOL...
set -euo pipefail
version=$1
shift
(($# > 0)) || { echo "FAIL: no tools given" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
declare -A path
for tool in "$@"; do
  name=$(basename "$tool")
  path[$name]=$tool
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tool" --version 2>"$work/err") || fail "$name --version ended with status $?"
  [[ $out == "$name $version" && ! -s $work/err ]] || fail "$name --version printed: $out $(cat "$work/err")"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tool" --help 2>"$work/err") || fail "$name --help ended with status $?"
  [[ $out == "Usage: $name "* && ! -s $work/err ]] || fail "$name --help printed: $out $(cat "$work/err")"
done

# A mistyped option is not a folder to fill, a half-number not a number, and a value that
# cannot be measured (no channels) not one to loop on. Run in a scratch folder so that a tool
# that misreads its arguments writes nothing into the build.
refused=(
  "poronpa-sfxgen --verbose"
  "poronpa-contact --map mapdata.dat"
  "poronpa-worldpng mapdata.dat --scale 2"
  "poronpa-worldpng mapdata.dat pictures 2x"
  "poronpa-mapc compile --force world.dat"
  "poronpa-soak --frames 1e6"
  "poronpa-soak --seed -1"
  "poronpa-loudness --raw 0 0 sound.raw"
  "poronpa-loudness --seams --raw 2 44100 sound.raw 1x"
  "poronpa-route --map m.dat --plan p --out o.keys --expansions 10x"
  "bench_startup poronpa 10x"
)
cd "$work"
head -c 8000 /dev/zero >sound.raw
checked=0
for case in "${refused[@]}"; do
  read -r -a args <<<"$case"
  tool=${path[${args[0]}]:-}
  [[ -n $tool ]] || continue
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 20 "$tool" "${args[@]:1}" >out 2>err || status=$?
  [[ $status == 2 && ! -s out ]] && grep -q "^Usage: ${args[0]} " err ||
    fail "$case: status $status, printed: $(cat out err)"
  checked=$((checked + 1))
done
echo "ok: $# tools answer --help and --version, $checked bad calls refused"
