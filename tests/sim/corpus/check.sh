#!/usr/bin/env bash
# Replays every case of cases.txt through the simulator and compares what it prints (the trace,
# the messages on standard error and a digest of the save file it leaves) with the recordings in
# expected/. The recordings were made before the engine was restructured; the map they ran on is
# kept here too, so changes to the shipped world do not touch this check.
#   check.sh SIMULATOR            compare
#   check.sh SIMULATOR --record   write expected/ anew (only when behaviour is meant to change)
set -euo pipefail
sim=$1
mode=${2:-compare}
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work=$(mktemp -d "${TMPDIR:-/tmp}/poronpa-corpus-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$here/expected"

failures=0
save_dir=""
while IFS='|' read -r name script args save; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  if [[ "$save" != chain || -z "$save_dir" ]]; then
    save_dir=$(mktemp -d "$work/save-XXXXXX")
  fi
  out="$work/$name.out"
  # shellcheck disable=SC2086 # the arguments are words by design
  status=0
  "$sim" --map "$here/mapdata.dat" --save "$save_dir/savedata.dat" --input "$here/$script" --trace $args \
    >"$out" 2>"$work/$name.err" || status=$?
  {
    echo "# status $status"
    sed 's/^/# stderr: /' "$work/$name.err"
    if [[ -f "$save_dir/savedata.dat" ]]; then
      echo "# save $(sha256sum <"$save_dir/savedata.dat" | cut -d' ' -f1)"
    fi
  } >>"$out"
  expected="$here/expected/$name.trace.gz"
  if [[ "$mode" == --record ]]; then
    gzip -9n <"$out" >"$expected"
  elif ! zcmp -s "$expected" "$out"; then
    echo "corpus: $name differs from its recording (simulator arguments: $args, script $script):"
    diff <(zcat "$expected") "$out" | head -8
    failures=$((failures + 1))
  fi
done <"$here/cases.txt"

if ((failures)); then
  echo "corpus: $failures case(s) differ"
  exit 1
fi
echo "corpus: every case matches its recording"
