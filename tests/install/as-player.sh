#!/usr/bin/env bash
# Runs a test program as an ordinary user (nobody) when the tests run as the superuser, for whom
# permissions do not stop a write. Exit status 77 (skipped) where there is no need or no way.
#   as-player.sh PROGRAM [ARG]...
# The build may lie where only its owner may enter (a home of mode 0700, a folder from mktemp -d),
# so the program runs from a copy in a fresh folder the player can reach, with a temporary folder
# the player may write to, and the leak checker's suppressions copied beside it.
set -euo pipefail
if ((EUID != 0)); then
  echo "skipped: the tests already run as an ordinary user"
  exit 77
fi
if ! command -v setpriv >/dev/null || ! id nobody >/dev/null 2>&1; then
  echo "skipped: no setpriv or no user nobody to run as"
  exit 77
fi
as_player() { setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env HOME=/nonexistent "$@"; }

# A temporary folder the player may enter and write in: the usual one, or else /tmp.
base=
for candidate in "${TMPDIR:-}" /tmp; do
  if [[ -n $candidate && -d $candidate ]] && as_player test -w "$candidate" -a -x "$candidate"; then
    base=$candidate
    break
  fi
done
if [[ -z $base ]]; then
  echo "skipped: no temporary folder the user nobody may write in"
  exit 77
fi

copy=$(mktemp -d "$base/poronpa-as-player-XXXXXX")
trap 'rm -rf "$copy"' EXIT
chmod 0755 "$copy"
program="$copy/$(basename "$1")"
cp "$1" "$program"
chmod 0755 "$program"
shift
if ! as_player test -x "$program"; then
  echo "skipped: the user nobody may not run a program from $base (mounted noexec?)"
  exit 77
fi

# The leak checker reads its suppressions file at the start; the original may be out of reach.
if [[ ${LSAN_OPTIONS:-} =~ (^|:)suppressions=([^:]*) ]]; then
  suppressions=${BASH_REMATCH[2]}
  if [[ -r $suppressions ]]; then
    cp "$suppressions" "$copy/lsan.supp"
    chmod 0644 "$copy/lsan.supp"
    LSAN_OPTIONS=${LSAN_OPTIONS/suppressions=$suppressions/suppressions=$copy/lsan.supp}
  fi
fi

cd "$copy"
as_player env TMPDIR="$base" "$program" "$@"
