# Helpers for the tests that drive a real program in a virtual X server. They wait for what they
# need (a window, a file, a picture, the end of a process) with a deadline instead of sleeping for
# a fixed time, so a busy machine makes them slower, not wrong; and they press keys and buttons as
# a person does: down, a tenth of a second, up.
#   source tests/support/xwindow.sh   (needs xdotool; $probe names the x11probe for the pictures)

# Ends the test with a message, after the name of the part under way when $step holds one; the
# program's standard error follows when $failure_log names a file that holds some.
fail() {
  echo "FAIL: ${step:+$step: }$*" >&2
  if [[ -n ${failure_log:-} && -s $failure_log ]]; then
    sed 's/^/  | /' "$failure_log" >&2
  fi
  exit 1
}

# The deadline of every wait, in seconds.
patience=${PORONPA_TEST_PATIENCE:-30}

# Runs the command after $1 until it succeeds, for at most $1 seconds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

press() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
}

# click WINDOW X Y: the left button at (X, Y) of the window.
click() {
  xdotool mousemove --window "$1" "$2" "$3" mousedown 1
  sleep 0.1
  xdotool mouseup 1
}

# shows WINDOW NAME CONDITION...: takes a picture of the window as $shots/NAME.ppm and evaluates
# the condition on it; for wait_for.
shows() {
  local window=$1 name=$2
  shift 2
  "$probe" shot "$window" "$shots/$name.ppm" && eval "$*"
}

# The pictures by NAME under $shots: pixel NAME X Y prints the pixel as RRGGBB; differing A B X Y
# W H [BX BY] prints how many pixels of the rectangle differ (with BX BY, A's rectangle at (X, Y)
# against B's at (BX, BY)).
pixel() { "$probe" pixel "$shots/$1.ppm" "$2" "$3"; }
differing() { "$probe" differ "$shots/$1.ppm" "$shots/$2.ppm" "${@:3}"; }

# drawn WINDOW NAME: for wait_for; the picture $shots/NAME.ppm of the window holds more than one
# colour (a window not painted yet is all black here) and a second picture agrees with it.
drawn() {
  local size width height
  size=$("$probe" size "$1") && width=${size%x*} && height=${size#*x} &&
    "$probe" shot "$1" "$shots/$2.ppm" && "$probe" shot "$1" "$shots/$2-again.ppm" &&
    (($(differing "$2" "$2-again" 0 0 "$width" "$height") == 0)) &&
    (($("$probe" count "$shots/$2.ppm" 0 0 "$width" "$height" "$(pixel "$2" 0 0)") < width * height))
}

ended() { ! kill -0 "$1" 2>/dev/null; }

# await_end MESSAGE: waits for the program $pid to end, failing with MESSAGE when it does not
# within the deadline; its exit status lands in $status.
await_end() {
  wait_for "$patience" ended "$pid" || fail "$1"
  status=0
  wait "$pid" || status=$?
  pid=
}

# Presses the key until the window titled $2 opens; prints its id. A key pressed while the program
# is too busy to look may go unseen, as it would for a person, who presses it again.
press_until_window() {
  local key=$1 title=$2 deadline=$((SECONDS + patience)) found
  while ((SECONDS < deadline)); do
    press "$key"
    if found=$("$probe" wait "$title" 3000 2>/dev/null); then
      echo "$found"
      return 0
    fi
  done
  return 1
}
