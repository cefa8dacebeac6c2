#!/usr/bin/env bash
# Runs a command as an ordinary user (nobody) when the tests run as the superuser, for whom
# permissions do not stop a write. Exit status 77 (skipped) where there is no need or no way.
#   as-player.sh COMMAND [ARG]...
set -euo pipefail
if ((EUID != 0)); then
  echo "skipped: the tests already run as an ordinary user"
  exit 77
fi
if ! command -v setpriv >/dev/null || ! id nobody >/dev/null 2>&1; then
  echo "skipped: no setpriv or no user nobody to run as"
  exit 77
fi
exec setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env HOME=/nonexistent "$@"
