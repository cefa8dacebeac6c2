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

# Status 0, the JSON of a route and the replay kept: the shipped world beside the program.
world="$(dirname "$mapdesign")/mapdata.dat"
if [ -f "$world" ]; then
    cp "$world" "$work/shipped.ppw"
    "$mapdesign" --check "$work/shipped.ppw" --json > "$work/shipped.json"
    status=$?
    [ "$status" = 0 ] || fail "the shipped world: status $status, not 0: $(cat "$work/shipped.json")"
    python3 -m json.tool "$work/shipped.json" > /dev/null || fail "the shipped world's report is no JSON"
    replay="$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1])).get("replay", ""))' "$work/shipped.json")"
    [ -f "$replay" ] || fail "the route was not kept as a replay: '$replay'"
    case "$replay" in "$work/data/poronpa/worlds/shipped-"*) ;; *) fail "the route is not among the world's files: $replay" ;; esac
    "$(dirname "$mapdesign")/poronpa-sim" --map "$work/shipped.ppw" --replay "$replay" --check > /dev/null \
        || fail "the kept route does not replay to its end line"
fi
exit $((failures > 0))
