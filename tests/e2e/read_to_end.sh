#!/usr/bin/env bash
# The book read from the cover to the ending page by dragging, one turn a
# drag: every page settles alone on stage, the ending page refuses a further
# turn, and a drag down goes back to the page before it.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }

{
  # A quick drag requests its turn 0.07 s in; the turn settles 1.5 s later.
  echo "wait 1"
  for page in $(seq 2 18); do
    echo "drag 512 600 512 400 0.1"
    echo "wait 1.55"
    case $page in
      2 | 9) printf 'dump %s\nscreenshot %s\n' "$work/page$page.json" "$work/page$page.png" ;;
      # A second later the closing title has sunk into view.
      18) printf 'wait 1\ndump %s\nscreenshot %s\n' "$work/page$page.json" "$work/page$page.png" ;;
    esac
  done
  echo "drag 512 600 512 400 0.1"
  echo "wait 0.2"
  echo "dump $work/bound.json"
  echo "drag 512 400 512 600 0.1"
  echo "wait 1.55"
  echo "dump $work/page17.json"
} > "$work/s.txt"
"$program" --headless --script "$work/s.txt" --log-events > "$work/log.txt" ||
  fail "scripted run exited with $?"
PYTHONPATH=$(dirname "$0")/lib python3 - "$work" <<'PY' || exit 1
import json, sys

import screenshot

work = sys.argv[1]
load = lambda name: json.load(open(f"{work}/{name}.json"))
log = [line.split(" ", 2) for line in open(f"{work}/log.txt").read().splitlines()]
settled = [int(text.split()[1]) for _, c, text in log if c == "page"]
assert settled == list(range(2, 19)) + [17], settled

for page in (2, 9, 18, 17):
    state = load(f"page{page}")
    book = state["book"]
    assert book["page"] == page and not book["lockDrag"], book
    grounds = [c["name"] for c in state["world"]["children"] if c["name"].startswith("ground")]
    assert grounds == [f"ground{page}"], grounds
bound = load("bound")["book"]
assert bound["page"] == 18 and not bound["lockDrag"] and bound["canAccelerometer"], bound
assert any(text == "refused forward on page 18: no page there" for _, c, text in log if c == "turn")

means = {}
for page in (2, 9, 18):
    w, h, bpp, rows = screenshot.read(f"{work}/page{page}.png")
    assert (w, h) == (1024, 768), (w, h)
    px = [tuple(rows[y][x * bpp:x * bpp + 3]) for y in range(0, h, 8) for x in range(0, w, 8)]
    lit = sum(1 for p in px if max(p) > 10) / len(px)
    colours = len(set((r >> 4, g >> 4, b >> 4) for r, g, b in px))
    assert lit > 0.9 and colours > 40, f"page {page}: {lit:.0%} lit, {colours} colours"
    means[page] = tuple(sum(p[i] for p in px) / len(px) for i in range(3))
# Three different pictures, not one page drawn three times.
pairs = [(a, b) for a in means for b in means if a < b]
assert all(max(abs(x - y) for x, y in zip(means[a], means[b])) > 3 for a, b in pairs), means
PY
echo "read to the end: ok"
