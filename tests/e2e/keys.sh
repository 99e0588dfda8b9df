#!/usr/bin/env bash
# The book's keys and the wheel in the real program, through the script's
# `key`, `hold` and `wheel`: each turns pages through the same request and lock
# as a drag (a held key turns once per turn), Home jumps to the cover only
# where the home button is shown, Escape on the book does nothing, M and N
# switch the sound, store it beside "Lan" and say so in a notice that fades.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }

cat > "$work/s.txt" <<SCRIPT
wait 1
key Home
key Right
wait 0.2
key Right
key Left
wait 1.5
dump $work/page2.json
hold PageDown 2.2
wait 1.6
dump $work/page4.json
key Home
wait 1.8
dump $work/home.json
key Escape
key Left
key Home
wait 0.1
dump $work/cover.json
wheel 3
wait 1.7
dump $work/wheel.json
screenshot $work/before.png
key M
wait 0.2
screenshot $work/notice.png
dump $work/music_off.json
key N
wait 2.5
dump $work/faded.json
SCRIPT
"$program" --headless --log-events --script "$work/s.txt" > "$work/log.txt" 2> "$work/err.txt" ||
  fail "scripted run exited with $?"
PYTHONPATH=$(dirname "$0")/lib python3 - "$work" <<'PY' || exit 1
import json, sys

import screenshot

work = sys.argv[1]
load = lambda name: json.load(open(f"{work}/{name}.json"))
log = [line.split(" ", 2) for line in open(f"{work}/log.txt").read().splitlines()]
FRAME = 1 / 60 + 1e-6


def at(category, prefix):
    return [round(float(t), 3) for t, c, text in log if c == category and text.startswith(prefix)]


def on_page(name, page):
    state = load(name)
    book = state["book"]
    assert book["page"] == page and book["curGroundName"] == f"ground{page}", (name, book)
    assert not book["lockDrag"], (name, book)
    return state


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


def has(state, name):
    return any(n["name"] == name for n in nodes(state["world"]))


# Home on the cover, the second Right and the Left during the turn: never
# requested. The held Page Down: one turn at once, the next by a repeat as soon
# as that one settled, none after the key is let go. Left on the cover is
# requested and refused there, as a drag down would be; the wheel's three
# notches request one turn.
requested = at("turn", "requested")
settled = at("page", "settled")
close = lambda a, b: abs(a - b) <= 2 * FRAME
assert len(requested) == 5 and len(settled) == 5, (requested, settled)
expected = [1.0, 2.7, settled[1], 8.3, 8.4]
assert all(close(a, b) for a, b in zip(requested, expected)), (requested, expected)
assert all(close(s, r + 1.5) for s, r in zip(settled, [1.0, 2.7, requested[2], 6.5, 8.4])), settled
assert at("turn", "refused back on page 1") == [8.3], at("turn", "refused")
on_page("page2", 2)
assert has(on_page("page4", 4), "home-btn")

# Home: the jump to the cover, as the home button's tap; the cover has no home button.
home = on_page("home", 1)
assert not has(home, "home-btn"), "the cover shows no home button"
on_page("cover", 1)
on_page("wheel", 2)

# M: music off, stored, the notice on screen; N a moment later; both gone after fading.
off = load("music_off")["desktop"]
assert off["music"] is False and off["voices"] is True, off
assert off["volumes"]["background"] == 0, off
assert off["notice"]["showing"] and off["notice"]["text"] == "Музыка выключена", off
faded = load("faded")["desktop"]
assert faded["voices"] is False and not faded["notice"]["showing"], faded
assert faded["notice"]["text"] == "Голоса выключены", faded
assert load("faded")["sound"]["background"] == "background", "music off must not stop it"
stored = json.load(open(f"{work}/config/lumo-book/defaults.json"))
# The wheel's turn left the reader on page 2, kept as the place to continue at.
assert stored == {"Lan": "2000", "Music": "off", "Voices": "off", "Page": "2"}, stored
assert at("sound", "music off") and at("sound", "voices off"), "switches not logged"
assert "Lumo Book" in faded["title"] and "Рыжик и звёздочка" in faded["title"], faded["title"]

# The notice: a dark box with light letters, where the dump puts it.
x, y, w, h = (round(v) for v in off["notice"]["rect"])
W, H, bpp, before = screenshot.read(f"{work}/before.png")
_, _, _, after = screenshot.read(f"{work}/notice.png")
top = H - (y + h)
box = [(r, c) for r in range(top + 2, top + h - 2, 2) for c in range(x + 2, x + w - 2, 2)]
light = lambda rows, r, c: sum(rows[r][c * bpp:c * bpp + 3]) / 3
mean_before = sum(light(before, r, c) for r, c in box) / len(box)
mean_after = sum(light(after, r, c) for r, c in box) / len(box)
letters = sum(1 for r, c in box if light(after, r, c) > 200)
assert mean_after < mean_before * 0.85, (mean_before, mean_after)
assert letters > len(box) // 50, letters
print(f"ok: {len(at('turn', 'requested'))} turns requested; notice {w}x{h} darkened "
      f"{mean_before:.0f} -> {mean_after:.0f} with {letters} letter samples")
PY
echo "keys: ok"
