#!/usr/bin/env bash
# Page 2's narration panel in the real program: it arrives 0.5 s after the page
# settles, its recording starts 1.0 s later, and when the recording has ended
# the repeat button shows and one figure carries the dialogue hint.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }
recording=${LUMO_ASSETS:-assets}/QRB_p1_ru.mp3
if [ ! -e "$recording" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi
# Long enough for page 2's recording to end after the screenshot, no longer.
listen=$(python3 -c "print(round($(soxi -D "$recording") + 0.5, 2))")

# A forward turn: the finger goes up 300 points in 0.3 s.
turn='drag 512 650 512 350 0.3'

cat > "$work/read.txt" <<SCRIPT
wait 2.5
$turn
wait 3
screenshot $work/panel.png
dump $work/panel.json
wait $listen
dump $work/finished.json
SCRIPT
"$program" --headless --log-events --script "$work/read.txt" > "$work/read.log" ||
  fail "reading run exited with $?"

PYTHONPATH=$(dirname "$0")/lib python3 - "$work" <<'PY' || exit 1
import json, sys

import screenshot

work = sys.argv[1]
FRAME = 1 / 60 + 1e-6


def events(name):
    out = []
    for line in open(f"{work}/{name}.log").read().splitlines():
        t, category, text = line.split(" ", 2)
        out.append((float(t), category, text))
    return out


def times(log, category, prefix):
    return [t for t, c, text in log if c == category and text.startswith(prefix)]


def one(log, category, prefix):
    hits = times(log, category, prefix)
    assert len(hits) == 1, (category, prefix, hits)
    return hits[0]


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


def named(tree, name):
    return [n for n in nodes(tree) if n["name"] == name]


log = events("read")
settle = one(log, "page", "settled 2")
shown = one(log, "aside", "shown s2Aside lang=2000")
start = one(log, "sound", "start main QRB_p1_ru")
assert abs(shown - settle - 0.5) <= FRAME, (settle, shown)
assert abs(start - settle - 1.5) <= 2 * FRAME, (settle, start)
assert one(log, "narration", "started QRB_p1_ru") == start
end = one(log, "sound", "end main QRB_p1_ru")
assert one(log, "narration", "finished") == end
assert end - start > 3, (start, end)

world = json.load(open(f"{work}/panel.json"))["world"]
panel = named(world, "aside_bg")
assert len(panel) == 1 and panel[0]["visible"], panel
assert abs(panel[0]["location"][1] - (60 + 132 - 110)) < 0.01 or \
    abs(panel[0]["location"][1] - (60 + 132.5 - 110)) < 0.01, panel[0]["location"]
repeat = named(world, "aside_repeat_highlighted")
assert len(repeat) == 1 and not repeat[0]["visible"] and repeat[0]["tag"] == 4000, repeat
assert named(world, "s2Aside"), "no text billboard"
assert not named(world, "hint_dialogue")

state = json.load(open(f"{work}/finished.json"))
world = state["world"]
assert named(world, "aside_repeat_highlighted")[0]["visible"]
hints = named(world, "hint_dialogue")
assert len(hints) == 1, hints
ground = named(world, "ground2")[0]
carriers = [c["name"] for c in ground["children"] if named(c, "hint_dialogue")]
assert len(carriers) == 1 and carriers[0].endswith("-t"), carriers
assert state["book"]["animationAllowed"]

# The panel is on screen: a dark band across the bottom with light text in it.
w, h, bpp, rows = screenshot.read(f"{work}/panel.png")
band = [tuple(rows[y][x * bpp:x * bpp + 3]) for y in range(650, 750, 2) for x in range(60, 960, 2)]
light = sum(1 for p in band if min(p) > 200) / len(band)
dark = sum(1 for p in band if max(p) < 100) / len(band)
assert 0.03 < light < 0.4, f"text covers {light:.0%} of the panel"
assert dark > 0.4, f"the panel's ground is only {dark:.0%} of the band"

print(f"ok: panel {shown - settle:.2f} s and recording {start - settle:.2f} s after the settle, "
      f"recording of {end - start:.1f} s, hint on {carriers[0]}")
PY
echo "narration panel: ok"
