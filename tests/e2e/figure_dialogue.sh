#!/usr/bin/env bash
# A tap on a figure where the dump says it is drawn makes it speak one of its
# own lines; a second quick tap changes nothing, and a short drag that starts
# on a figure plays nothing.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }
lib=$(dirname "$0")/lib

printf 'wait 2\ndump %s\n' "$work/cover.json" > "$work/look.txt"
"$program" --headless --script "$work/look.txt" || fail "first run exited with $?"

# The fox and the bear of the cover, each where nothing touchable covers its middle.
read -r fox_x fox_y bear_x bear_y < <(python3 - "$work/cover.json" <<'PY'
import json, sys
world = json.load(open(sys.argv[1]))["world"]
nodes = []
def walk(n):
    nodes.append(n)
    for c in n["children"]:
        walk(c)
walk(world)
touchable = [n for n in nodes if n["touchEnabled"] and n["screenRect"]]
def middle(name):
    n = next(n for n in nodes if n["name"] == name)
    assert n["touchEnabled"] and n["screenRect"], n
    x, y, w, h = n["screenRect"]
    cx, cy = x + w / 2, y + h / 2
    inside = lambda r: r[0] <= cx <= r[0] + r[2] and r[1] <= cy <= r[1] + r[3]
    others = [o["name"] for o in touchable if o is not n and inside(o["screenRect"])]
    assert not others, f"{name} is covered at its middle by {others}"
    return f"{cx:.0f} {cy:.0f}"
print(middle("s1layer2l-t"), middle("s1layer2r-t"))
PY
) || fail "no figures to tap on the cover"

cat > "$work/s.txt" <<SCRIPT
wait 2
drag $bear_x $bear_y $bear_x $((bear_y - 60)) 0.3
wait 0.5
dump $work/dragged.json
down $fox_x $fox_y
wait 0.1
up $fox_x $fox_y
wait 0.2
dump $work/tapped.json
down $bear_x $bear_y
wait 0.1
up $bear_x $bear_y
wait 0.2
down $fox_x $fox_y
wait 0.1
up $fox_x $fox_y
wait 0.2
dump $work/again.json
SCRIPT
"$program" --headless --script "$work/s.txt" --log-events > "$work/log.txt" ||
  fail "scripted run exited with $?"
python3 - "$work" <<'PY' || exit 1
import json, re, sys

work = sys.argv[1]
load = lambda name: json.load(open(f"{work}/{name}.json"))
log = [line.split(" ", 2) for line in open(f"{work}/log.txt").read().splitlines()]
spoken = [(float(t), text.split()[-1]) for t, c, text in log if c == "sound" and text.startswith("start main")]

dragged, tapped, again = load("dragged"), load("tapped"), load("again")
drag_time = dragged["director"]["time"]
assert not [s for s in spoken if s[0] <= drag_time], f"the drag made a figure speak: {spoken}"
assert dragged["book"]["page"] == 1 and dragged["book"]["animationAllowed"], dragged["book"]

assert len(spoken) == 1, spoken
assert re.fullmatch(r"dialogue_cover_r[1-4]_ru", spoken[0][1]), spoken
assert tapped["book"]["normalElementInTouch"] == "s1layer2l-t", tapped["book"]
assert not tapped["book"]["animationAllowed"], tapped["book"]
assert tapped["sound"]["main"] == spoken[0][1], tapped["sound"]
# The later taps, on the bear and the fox again, start nothing new.
assert again["sound"]["main"] == spoken[0][1], again["sound"]
PY
echo "figure dialogue: ok"
