#!/usr/bin/env bash
# A page at rest does no GL work: its frames are logged as not drawn, and a
# screenshot then is the last drawn picture, byte for byte the picture a run
# drawing every frame shows. A change after the rest (the navigator's view, a
# turn) draws again.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }

# Page 2 while its narration is read, words not lit: once the panel has slid
# in, nothing on the page moves until the narration ends.
script() {
  cat <<SCRIPT
wait 2
key Right
wait 8
screenshot $work/$1-rest.png
wait 2
screenshot $work/$1-later.png
dump $work/$1-rest.json
key G
wait 1
screenshot $work/$1-open.png
key Escape
wait 1
key Right
wait 3
dump $work/$1-turned.json
SCRIPT
}
script skip > "$work/skip.txt"
script every > "$work/every.txt"
"$program" --headless --script "$work/skip.txt" --frame-log "$work/skip.csv" ||
  fail "run skipping unchanged frames exited with $?"
"$program" --headless --draw-every-frame --script "$work/every.txt" --frame-log "$work/every.csv" ||
  fail "run drawing every frame exited with $?"
"$program" --help | grep -q -- "--draw-every-frame" || fail "--help does not list --draw-every-frame"

python3 - "$work" <<'PY' || exit 1
import csv, json, sys

work = sys.argv[1]
def frames(name):
    with open(f"{work}/{name}.csv") as f:
        return [(int(r["frame"]), float(r["time"]), r["drew"]) for r in csv.DictReader(f)]
def shot(name):
    return open(f"{work}/{name}.png", "rb").read()

skip, every = frames("skip"), frames("every")
assert all(d == "1" for _, _, d in every), "--draw-every-frame skipped a frame"
rest_at = 10.0  # the first screenshot
resting = [d for _, t, d in skip if rest_at - 3.0 < t <= rest_at + 2.0]
assert resting and all(d == "0" for d in resting), f"a resting page drew: {resting.count('1')} of {len(resting)}"

assert shot("skip-rest") == shot("every-rest"), "a kept picture differs from a drawn one"
assert shot("skip-later") == shot("skip-rest"), "the kept picture changed while resting"
assert shot("skip-open") == shot("every-open"), "the navigator's picture differs from a drawn one"
assert shot("skip-open") != shot("skip-rest"), "the navigator did not show"

after = [d for _, t, d in skip if t > rest_at + 2.0]
assert after.count("1") > 10, "nothing drew after the rest"
rest, turned = (json.load(open(f"{work}/skip-{n}.json"))["director"] for n in ("rest", "turned"))
assert rest["framesRendered"] < rest["framesDrawn"], rest
assert turned["framesRendered"] > rest["framesRendered"], (rest, turned)
PY
echo "rest keeps the picture: ok"
