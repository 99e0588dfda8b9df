#!/usr/bin/env bash
# The reading language in the real program. Stored as "2001", the cover shows
# the English title and plays its English recording. From the Russian default,
# a tap on the menu's English button stores "2001" and plays the cover's
# English recording, and the next panel is English.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
if [ ! -e "${LUMO_ASSETS:-assets}/QRB_p1_cn.mp3" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi

# Stored English.
mkdir -p "$work/english/lumo-book"
echo '{"Lan": "2001"}' > "$work/english/lumo-book/defaults.json"
printf 'wait 2\ndump %s/english.json\n' "$work" > "$work/english.txt"
XDG_CONFIG_HOME=$work/english "$program" --headless --log-events --script "$work/english.txt" \
  > "$work/english.log" || fail "English run exited with $?"

# The default, Russian: look at the cover, then tap the English button where
# the dump says it is on screen.
export XDG_CONFIG_HOME=$work/russian
printf 'wait 2\ndump %s/cover.json\n' "$work" > "$work/look.txt"
"$program" --headless --script "$work/look.txt" || fail "first look exited with $?"
button=$(python3 - "$work" <<'PY'
import json, sys

work = sys.argv[1]


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


world = json.load(open(f"{work}/cover.json"))["world"]
button = [n for n in nodes(world) if n["name"] == "menu-btn2"]
assert len(button) == 1 and button[0]["visible"] and button[0]["tag"] == 2001, button
assert button[0].get("screenRect"), f"menu-btn2 is not on screen: {button[0]}"
x, y, w, h = button[0]["screenRect"]
assert 512 < x + w / 2 < 1024 and 384 < y + h / 2 < 768, (x, y, w, h)  # right of the Russian one, low
print(round(x + w / 2), round(y + h / 2))
PY
) || fail "could not place the English button"

cat > "$work/switch.txt" <<SCRIPT
wait 2
tap $button
wait 2
dump $work/switched.json
drag 512 650 512 350 0.3
wait 3.5
screenshot $work/page2_en.png
SCRIPT
"$program" --headless --log-events --script "$work/switch.txt" > "$work/switch.log" ||
  fail "switching run exited with $?"

python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]
FRAME = 1 / 60 + 1e-6


def events(name):
    return [(float(t), c, text) for t, c, text in
            (line.split(" ", 2) for line in open(f"{work}/{name}.log").read().splitlines())]


def one(log, category, prefix):
    hits = [t for t, c, text in log if c == category and text.startswith(prefix)]
    assert len(hits) == 1, (category, prefix, hits)
    return hits[0]


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


def node(state, name):
    found = [n for n in nodes(state["world"]) if n["name"] == name]
    assert len(found) == 1, (name, found)
    return found[0]


# Stored English: the English title, its recording 1.5 s in (0.5 s sinking,
# 1.0 s after the rocking starts), the menu showing English selected.
state = json.load(open(f"{work}/english.json"))
assert state["book"]["language"] == 2001, state["book"]
assert node(state, "s1layer5-cn")["visible"] and not node(state, "s1layer3-cn")["visible"]
assert node(state, "menu-btn2-highlighted")["visible"] and not node(state, "menu-btn2")["visible"]
assert node(state, "chinese")["visible"] and node(state, "english-default")["visible"]
start = one(events("english"), "sound", "start main QRB_p1_cn")
assert abs(start - 1.5) <= 2 * FRAME, start

# The switch: stored and played within a frame of the title's 0.5 s rise.
log = events("switch")
changing = one(log, "language", "changing to 2001")
changed = one(log, "language", "changed to 2001")
stored = one(log, "language", "stored Lan=2001")
played = one(log, "sound", "start main QRB_p1_cn")
assert abs(changed - changing - 0.5) <= 2 * FRAME, (changing, changed)
assert changed == stored == played, (changed, stored, played)
defaults = json.load(open(f"{work}/russian/lumo-book/defaults.json"))
assert defaults["Lan"] == "2001", defaults
state = json.load(open(f"{work}/switched.json"))
assert state["book"]["language"] == 2001
assert not node(state, "s1layer3-cn")["visible"]
assert node(state, "menu-btn2-highlighted")["visible"] and node(state, "menu-btn1")["visible"]
assert not node(state, "menu-btn2")["visible"] and not node(state, "english")["visible"]

# Page 2 then reads in English.
settle = one(log, "page", "settled 2")
one(log, "aside", "shown s2Aside lang=2001")
assert abs(one(log, "sound", "start main QRB_p2_cn") - settle - 1.5) <= 2 * FRAME
assert not [t for t, c, text in log if text.startswith("start main QRB_p1_ru")]
print(f"ok: change took {changed - changing:.2f} s; English panel on page 2")
PY
echo "language menu: ok"
