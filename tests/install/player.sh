# Helpers to run an installed program as a player would: an ordinary user with a home of their
# own, to whom the installed files are not writable. Run by the superuser, the player is nobody;
# run by anybody else, that user, with the installed files made read-only. Sourced by the tests.

if ((EUID == 0)) && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
  player_switch=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
  player_owner=nobody:$(id -g nobody)
else
  ((EUID == 0)) && echo "note: no user to switch to; the installed files are played as the superuser"
  player_switch=()
  player_owner=
fi

# The installed files are the system's: not the player's to write.
keep_from_player() {
  [[ -n $player_owner ]] || chmod -R a-w "$1"
}

give_to_player() {
  [[ -z $player_owner ]] || chown -R "$player_owner" "$1"
}

# A fresh home folder for the player; prints its path.
player_home() {
  mkdir -p "$1"
  give_to_player "$1"
  echo "$1"
}

# The environment of a fresh session, keeping what a sanitized build needs to report its findings.
#   as_player HOME [NAME=VALUE]... PROGRAM [ARG]...
as_player() {
  local home=$1 kept=() name
  shift
  for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
    [[ -n ${!name:-} ]] && kept+=("$name=${!name}")
  done
  "${player_switch[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "${kept[@]}" "$@"
}
