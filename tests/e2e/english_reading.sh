#!/usr/bin/env bash
# The book in English from cover to end. Read page by page, a tap on a figure
# of every page that has figures plays one of its English lines; the ending
# menu shows its English labels. A line cut short by a turn or by the home
# button leaves the figures ready to speak again. From the Russian cover, a tap
# on "English" brings the English title in within a second.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
if [ ! -e "${LUMO_ASSETS:-assets}/dialogue_cover_r1_cn.mp3" ]; then
  echo "SKIP: this build has no English dialogue"
  exit 0
fi
mkdir -p "$work/english/lumo-book" "$work/russian"
echo '{"Lan": "2001"}' > "$work/english/lumo-book/defaults.json"

# The same reading twice (virtual time makes the two alike frame by frame):
# first only looked at, then with a tap on a figure of each page where the
# first reading saw it.
reading() {  # $1: a file of "page x y" taps, or nothing
  echo "wait 2.5"
  for page in $(seq 1 18); do
    [ "$page" -gt 1 ] && printf 'drag 512 600 512 400 0.1\nwait 1.65\n'
    if [ -z "${1:-}" ]; then
      echo "dump $work/look$page.json"
    else
      tap=$(awk -v p="$page" '$1 == p { print $2, $3 }' "$1")
      [ -n "$tap" ] && printf 'tap %s\nwait 0.2\n' "$tap"
      echo "dump $work/tapped$page.json"
    fi
    echo "wait 0.3"
  done
}
export XDG_CONFIG_HOME=$work/english
reading > "$work/look.txt"
"$program" --headless --script "$work/look.txt" || fail "looking run exited with $?"

python3 - "$work" > "$work/taps.txt" <<'PY' || fail "no figures to tap"
import json, sys

work = sys.argv[1]


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


for page in range(1, 19):
    state = json.load(open(f"{work}/look{page}.json"))
    assert state["book"]["page"] == page, (page, state["book"]["page"])
    every = list(nodes(state["world"]))
    touchable = [n for n in every if n["touchEnabled"] and n["screenRect"] and n["visible"]]
    for figure in (n for n in every if n["name"].endswith("-t") and n["screenRect"]):
        x, y, w, h = figure["screenRect"]
        cx, cy = x + w / 2, y + h / 2
        inside = lambda r: r[0] <= cx <= r[0] + r[2] and r[1] <= cy <= r[1] + r[3]
        if 0 < cx < 1024 and 0 < cy < 768 and not any(
                o is not figure and inside(o["screenRect"]) for o in touchable):
            print(page, round(cx), round(cy))
            break
PY
[ "$(wc -l < "$work/taps.txt")" -ge 12 ] || fail "figures found on too few pages: $(cat "$work/taps.txt")"
reading "$work/taps.txt" > "$work/tap.txt"
"$program" --headless --log-events --script "$work/tap.txt" > "$work/tap.log" ||
  fail "tapping run exited with $?"

python3 - "$work" <<'PY' || exit 1
import json, re, sys

work = sys.argv[1]
taps = [line.split() for line in open(f"{work}/taps.txt")]
log = [line.split(" ", 2) for line in open(f"{work}/tap.log").read().splitlines()]
spoken = [(float(t), text.split()[-1]) for t, c, text in log
          if c == "sound" and text.startswith("start main") and "dialogue_" in text]
for page, _, _ in taps:
    state = json.load(open(f"{work}/tapped{page}.json"))
    at = state["director"]["time"]
    lines = [name for t, name in spoken if at - 0.3 <= t <= at]
    assert len(lines) == 1, f"page {page}: a tap at {at} started {lines}"
    assert re.fullmatch(r"dialogue_\w+_cn", lines[0]), f"page {page} spoke {lines[0]}"
assert all(name.endswith("_cn") for _, name in spoken), spoken


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


end = {n["name"]: n for n in nodes(json.load(open(f"{work}/tapped18.json"))["world"])}
assert end["text_replay_cn"]["texture"] == "text_replay_cn.png", end["text_replay_cn"]
assert end["text_moreapps_ru"]["texture"] == "text_moreapps_cn.png", end["text_moreapps_ru"]
print(f"{len(taps)} pages: every tap spoke English")
PY

# A line cut short: a figure of page 2 tapped, then home at once; on the cover
# a figure speaks at the first tap. The same after a turn cuts a line.
read -r page p2x p2y < <(awk '$1 == 2' "$work/taps.txt")
read -r page p3x p3y < <(awk '$1 == 3' "$work/taps.txt")
read -r page c1x c1y < <(awk '$1 == 1' "$work/taps.txt")
home=$(python3 - "$work/look2.json" <<'PY'
import json, sys


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


home = next(n for n in nodes(json.load(open(sys.argv[1]))["world"]) if n["name"] == "home-btn")
x, y, w, h = home["screenRect"]
print(round(x + w / 2), round(y + h / 2))
PY
) || fail "no home button on page 2"
cat > "$work/cut.txt" <<SCRIPT
wait 2.5
drag 512 600 512 400 0.1
wait 1.65
tap $p2x $p2y
wait 0.2
drag 512 600 512 400 0.1
wait 1.65
tap $p3x $p3y
wait 0.2
dump $work/after_turn.json
tap $home
wait 3
tap $c1x $c1y
wait 0.2
dump $work/after_home.json
SCRIPT
"$program" --headless --log-events --script "$work/cut.txt" > "$work/cut.log" ||
  fail "cutting run exited with $?"
python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]
log = open(f"{work}/cut.log").read().splitlines()
started = [line for line in log if " start main dialogue_" in line]
assert len(started) == 3, f"expected a line on page 2, page 3 and the cover: {started}"
for name in ("after_turn", "after_home"):
    state = json.load(open(f"{work}/{name}.json"))
    assert state["sound"]["main"].startswith("dialogue_"), (name, state["sound"])
print("figures speak again after a line is cut short by a turn and by home")
PY

# From the Russian cover, "English" brings its title in within a second.
export XDG_CONFIG_HOME=$work/russian
printf 'wait 2\ndump %s/ru_cover.json\n' "$work" > "$work/ru_look.txt"
"$program" --headless --script "$work/ru_look.txt" || fail "Russian look exited with $?"
button=$(python3 - "$work/ru_cover.json" <<'PY'
import json, sys


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


button = next(n for n in nodes(json.load(open(sys.argv[1]))["world"]) if n["name"] == "menu-btn2")
x, y, w, h = button["screenRect"]
print(round(x + w / 2), round(y + h / 2))
PY
) || fail "no English button on the Russian cover"
printf 'wait 2\ntap %s\nwait 1\ndump %s/switched.json\nscreenshot %s/switched.png\nwait 1\ndump %s/rested.json\n' \
  "$button" "$work" "$work" "$work" > "$work/switch.txt"
"$program" --headless --script "$work/switch.txt" || fail "switching run exited with $?"
python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]


def nodes(tree):
    yield tree
    for child in tree.get("children", []):
        yield from nodes(child)


for name in ("switched", "rested"):
    state = json.load(open(f"{work}/{name}.json"))
    titles = {n["name"]: n for n in nodes(state["world"]) if n["name"] in ("s1layer3-cn", "s1layer5-cn")}
    english, russian = titles["s1layer5-cn"], titles["s1layer3-cn"]
    assert english["visible"] and english["screenRect"], (name, english)
    assert not russian["visible"], (name, russian)
    assert state["book"]["language"] == 2001, state["book"]
print("the English title stands on the cover after the change")
PY
