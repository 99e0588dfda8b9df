#!/usr/bin/env bash
# The program opens on the book's cover: ground, background and figures on
# screen, the first page's state in the dump.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }

cat > "$work/s.txt" <<SCRIPT
wait 2
dump $work/state.json
screenshot $work/cover.png
SCRIPT
"$program" --headless --script "$work/s.txt" || fail "scripted run exited with $?"
PYTHONPATH=$(dirname "$0")/lib python3 - "$work/state.json" "$work/cover.png" <<'PY' || exit 1
import json, sys

import screenshot

state = json.load(open(sys.argv[1]))
book, world = state["book"], state["world"]
assert book["page"] == 1 and book["language"] == 2000, book
assert book["curGroundName"] == "ground1", book
assert not book["lockDrag"], book
assert [c["name"] for c in world["children"]][:3] == ["Camera", "ground1", "layer_bg"], world
layers = {c["name"]: c for c in world["children"][1]["children"]}
assert layers["s1layer2l-t"]["touchEnabled"] and not layers["background1"]["touchEnabled"], layers
assert layers["s1layer3-cn"]["visible"] and not layers["s1layer5-cn"]["visible"], layers

w, h, bpp, rows = screenshot.read(sys.argv[2])
assert (w, h) == (1024, 768), (w, h)

def region(x0, y0, x1, y1):
    """Pixels of a box, origin top-left."""
    return [tuple(rows[y][x * bpp:x * bpp + 3]) for y in range(y0, y1, 4) for x in range(x0, x1, 4)]

def check(name, box):
    px = region(*box)
    lit = sum(1 for p in px if max(p) > 10) / len(px)
    assert lit > 0.95, f"{name}: only {lit:.0%} of the region is lit"
    colours = len(set((r >> 4, g >> 4, b >> 4) for r, g, b in px))
    assert colours >= 8, f"{name}: a flat region ({colours} colours)"
    return px

# The language menu stands over the middle of the bottom: the ground is
# measured above it.
ground = check("ground", (20, 560, 1000, 650))
background = check("background", (160, 200, 860, 460))
figures = check("figures", (300, 300, 760, 600))
# The pictures differ from one another: not one colour over the whole page.
mean = lambda px: tuple(sum(p[i] for p in px) / len(px) for i in range(3))
assert max(abs(a - b) for a, b in zip(mean(ground), mean(background))) > 15, (mean(ground), mean(background))
PY
echo "book cover: ok"
