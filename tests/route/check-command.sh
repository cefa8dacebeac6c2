#!/bin/bash
# mapdesign --check on the command line, without a display: its exit statuses (0 the ending
# reached, 1 not, 2 a file that is no whole world), its JSON read by a JSON reader, and the route
# kept as a replay among the world's files.
set -u
mapdesign="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" HOME="$work"
unset DISPLAY WAYLAND_DISPLAY
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A world of tile 0 everywhere: no viewing spot, so never finishable.
head -c 62500 /dev/zero > "$work/empty.ppw"
"$mapdesign" --check "$work/empty.ppw" --budget 5 --json > "$work/empty.json"
status=$?
[ "$status" = 1 ] || fail "an empty world: status $status, not 1"
python3 -m json.tool "$work/empty.json" > /dev/null || fail "an empty world's report is no JSON: $(cat "$work/empty.json")"
grep -q '"finishable": false' "$work/empty.json" || fail "an empty world reported finishable"
grep -q 'no viewing spot' "$work/empty.json" || fail "the report does not say the world has no viewing spot"

# Files that are no whole world: named on one line, status 2, nothing written.
head -c 62499 /dev/zero > "$work/short.ppw"
for bad in "$work/short.ppw" "$work/missing.ppw" "$work"; do
    "$mapdesign" --check "$bad" > "$work/out" 2> "$work/err"
    status=$?
    [ "$status" = 2 ] || fail "$bad: status $status, not 2"
    [ "$(wc -l < "$work/err")" = 1 ] && grep -qF "$bad" "$work/err" || fail "$bad: not named in one line: $(cat "$work/err")"
done
"$mapdesign" --check "$work/empty.ppw" --budget soon > /dev/null 2>&1
[ "$?" = 2 ] || fail "a budget that is no number was taken"
[ ! -e "$work/data/poronpa/worlds" ] || [ -z "$(find "$work/data/poronpa/worlds" -name '*.replay')" ] || fail "a route was kept for a world never finished"

# Status 0, the JSON of a route and the replay kept: the route tests' smallest journey (a floor
# east to the pampas grass, a ladder up to the dumplings and the viewing spot), byte 250*x + y
# holding cell (x, y).
python3 - "$work/journey.ppw" <<'PY'
import sys
cells = bytearray(62500)
def put(ax, ay, c, r, tile): cells[250 * (ax * 50 + c) + ay * 50 + r] = tile
for ax in (2, 3, 4):
    for c in range(50):
        put(ax, 4, c, 48, 96); put(ax, 4, c, 49, 96)
for r in range(1, 48): put(2, 4, 1, r, 96)
for c in range(50): put(2, 1, c, 30, 96)
for y in range(50 + 29, 4 * 50 + 48): cells[250 * 110 + y] = 40
put(2, 1, 30, 29, 55); put(2, 1, 40, 30, 142); put(4, 4, 20, 47, 55)
open(sys.argv[1], 'wb').write(cells)
PY
"$mapdesign" --check "$work/journey.ppw" --json > "$work/journey.json"
status=$?
[ "$status" = 0 ] || fail "the journey: status $status, not 0: $(cat "$work/journey.json")"
python3 -m json.tool "$work/journey.json" > /dev/null || fail "the journey's report is no JSON"
replay="$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1])).get("replay", ""))' "$work/journey.json")"
[ -f "$replay" ] || fail "the route was not kept as a replay: '$replay'"
# Among the player's files: beside the program when it runs from its build folder, else in the data folder.
case "$replay" in */worlds/journey-*/journey-route.replay) ;; *) fail "the route is not among the world's files: $replay" ;; esac
"$(dirname "$mapdesign")/poronpa-sim" --map "$work/journey.ppw" --replay "$replay" --check > /dev/null \
    || fail "the kept route does not replay to its end line"
"$mapdesign" --check "$work/journey.ppw" > "$work/again.txt" || fail "the journey checked again: status $?"
grep -q "with hints" "$work/again.txt" || fail "the check again did not take over the route it kept: $(cat "$work/again.txt")"
[ -f "$replay" ] && rm -r "$(dirname "$replay")"
exit $((failures > 0))
