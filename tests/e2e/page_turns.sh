#!/usr/bin/env bash
# Dragging turns pages: 250 points up on the cover turns once to page 2, 200
# points down turns back, and a drag down on the cover is refused by the
# book's first page. The event log tells each request, refusal and settle.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }

cat > "$work/s.txt" <<SCRIPT
wait 1
drag 512 650 512 400 0.5
wait 2
dump $work/page2.json
drag 512 400 512 600 0.4
wait 2
dump $work/back.json
drag 512 400 512 600 0.4
wait 0.5
dump $work/bound.json
SCRIPT
"$program" --headless --script "$work/s.txt" --log-events > "$work/log.txt" ||
  fail "scripted run exited with $?"
PYTHONPATH=$(dirname "$0")/lib python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]
load = lambda name: json.load(open(f"{work}/{name}.json"))
log = [line.split(" ", 2) for line in open(f"{work}/log.txt").read().splitlines()]
turns = [(float(t), c, text) for t, c, text in log if c in ("turn", "page")]

def grounds(state):
    return [c["name"] for c in state["world"]["children"] if c["name"].startswith("ground")]

def expect_page(state, page):
    book = state["book"]
    assert book["page"] == page and book["curGroundName"] == f"ground{page}", book
    assert not book["lockDrag"] and book["canAccelerometer"], book
    assert grounds(state) == [f"ground{page}"], grounds(state)

page2 = load("page2")
expect_page(page2, 2)
touchable = page2["book"]["curTouchSet"]
assert touchable and all(name.startswith("s2") for name in touchable), touchable
back = load("back")
expect_page(back, 1)
ground1 = next(c for c in back["world"]["children"] if c["name"] == "ground1")
# After a backward turn the page rests 5 above its record.
assert abs(ground1["location"][1] - 35) < 1e-3, ground1["location"]
expect_page(load("bound"), 1)

texts = [text for _, _, text in turns]
expected = [
    "requested forward from page 1",
    "refused forward on page 2: locked",   # the drag's second 120 points, during the turn
    "settled 2",
    "requested back from page 2",
    "settled 1",
    "requested back from page 1",
    "refused back on page 1: no page there",
]
assert texts == expected, texts
# A turn settles 1.5 s after its request.
times = {text: t for t, _, text in turns}
assert abs(times["settled 2"] - times["requested forward from page 1"] - 1.5) < 0.05, turns
PY
echo "page turns: ok"
