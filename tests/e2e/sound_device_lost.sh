#!/usr/bin/env bash
# The sound card goes away and comes back in the real program. While it is
# gone the book reads on unheard: a figure's line keeps the figures busy for
# its length and then frees them, the narration lights its words and ends
# when its recording would have, read-to-me turns the page 2 s later, the
# turn lock frees. When it is back the music is heard again at once, the
# narration cut off ends unheard, and the next page's narration is heard.
# Each way is logged once.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-assets}
if [ ! -e "$assets/QRB_p2_ru.mp3" ] || ! command -v soxi > /dev/null; then
  echo "SKIP: this build has no recordings (or soxi is missing)"
  exit 0
fi
run() {  # NAME [OPTIONS...]: runs $work/NAME.txt, its log in $work/NAME.log
  local name=$1
  shift
  "$program" --headless --log-events "$@" --script "$work/$name.txt" > "$work/$name.log" \
    2> "$work/$name.err" || fail "$name: exited with $?: $(tail -3 "$work/$name.err")"
}

# The fox of the cover, where nothing touchable covers its middle.
printf 'wait 2\ndump %s\n' "$work/cover.json" > "$work/look.txt"
run look
read -r fox_x fox_y < <(python3 - "$work/cover.json" <<'PY'
import json, sys
nodes = []
def walk(n):
    nodes.append(n)
    for c in n["children"]:
        walk(c)
walk(json.load(open(sys.argv[1]))["world"])
fox = next(n for n in nodes if n["name"] == "s1layer2l-t")
x, y, w, h = fox["screenRect"]
print(f"{x + w / 2:.0f} {y + h / 2:.0f}")
PY
) || fail "no fox on the cover"

# The figures: the device goes, the fox speaks unheard, the figures are busy
# while it does and free after; a turn; the device comes back.
cat > "$work/figures.txt" <<SCRIPT
wait 1
sound-device lost
tap $fox_x $fox_y
wait 0.3
dump $work/busy.json
wait 8
dump $work/free.json
key Right
wait 2.5
dump $work/turned.json
sound-device back
wait 0.1
dump $work/back.json
SCRIPT
run figures

# Read to me, words followed: the device goes 0.5 s into page 2's narration
# and comes back 3.6 s into page 3's; page 4's narration is looked at 1 s in.
cat > "$work/reading.txt" <<SCRIPT
wait 7.5
sound-device lost
wait 4
dump $work/words1.json
wait 3
dump $work/words2.json
wait 15
sound-device back
wait 0.1
dump $work/cutoff.json
wait 17.9
dump $work/heard.json
SCRIPT
run reading --auto-play --follow-words

python3 - "$work" "$(soxi -D "$assets/QRB_p1_ru.mp3")" "$(soxi -D "$assets/QRB_p2_ru.mp3")" <<'PY' ||
import json, sys

work, p1, p2 = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
FRAME = 1 / 60 + 1e-6


def dump(name):
    return json.load(open(f"{work}/{name}.json"))


def events(name):
    out = []
    for line in open(f"{work}/{name}.log").read().splitlines():
        t, category, text = line.split(" ", 2)
        out.append((float(t), f"{category} {text}"))
    return out


def at(log, prefix):
    found = [t for t, text in log if text.startswith(prefix)]
    assert len(found) == 1, f"{prefix!r} logged {len(found)} times"
    return found[0]


def check(ok, what):
    if not ok:
        print(f"FAIL: {what}")
        sys.exit(1)


for name in ("figures", "reading"):
    log = events(name)
    at(log, "sound device lost")
    at(log, "sound device back")

busy, free, turned, back = (dump(n) for n in ("busy", "free", "turned", "back"))
line = busy["sound"]["main"]
check(line.startswith("dialogue") and busy["desktop"]["soundDevice"] == "lost" and
      busy["desktop"]["heard"] == {"main": False, "background": False, "special": False},
      f"the fox's line is not playing unheard: {busy['sound']} {busy['desktop']['heard']}")
check(not busy["book"]["animationAllowed"], "the figures are not busy while the fox speaks")
check(not free["sound"]["main"] and free["book"]["animationAllowed"],
      f"the figures are still busy after the line: {free['sound']} {free['book']['animationAllowed']}")
figures = events("figures")
started, ended = at(figures, f"sound start main {line}"), at(figures, f"sound end main {line}")
check(ended - started > 0.5, f"the line ended {ended - started:.3f} s after it started")
check(turned["book"]["page"] == 2 and not turned["book"]["lockDrag"],
      f"no turn while the device was gone: page {turned['book']['page']}")
check(back["desktop"]["soundDevice"] == "present" and back["desktop"]["heard"]["background"],
      f"the music is not heard again: {back['desktop']}")

reading = events("reading")
start1, end1 = at(reading, "sound start main QRB_p1_ru"), at(reading, "sound end main QRB_p1_ru")
check(abs(end1 - start1 - p1) < 0.1, f"page 2's narration lasted {end1 - start1:.3f} s of {p1:.3f}")
turn = at(reading, "turn requested forward from page 2 (auto)")
check(abs(turn - end1 - 2.0) <= FRAME, f"read-to-me turned {turn - end1:.3f} s after the end")
words1, words2 = dump("words1"), dump("words2")
check(words1["desktop"]["heard"]["main"] is False and words1["sound"]["main"] == "QRB_p1_ru",
      "page 2's narration is not playing unheard")
check(0 <= words1["book"]["litWordIndex"] < words2["book"]["litWordIndex"],
      f"the lit word stays: {words1['book']['litWordIndex']}, {words2['book']['litWordIndex']}")
cutoff, heard = dump("cutoff"), dump("heard")
check(cutoff["sound"]["main"] == "QRB_p2_ru" and not cutoff["desktop"]["heard"]["main"] and
      cutoff["desktop"]["heard"]["background"],
      f"back mid page 3: {cutoff['sound']} {cutoff['desktop']['heard']}")
start2, end2 = at(reading, "sound start main QRB_p2_ru"), at(reading, "sound end main QRB_p2_ru")
check(abs(end2 - start2 - p2) < 0.1, f"page 3's narration lasted {end2 - start2:.3f} s of {p2:.3f}")
check(heard["book"]["page"] == 4 and heard["sound"]["main"] == "QRB_p3_ru" and
      heard["desktop"]["heard"]["main"] and not heard["book"]["lockDrag"],
      f"page 4's narration is not heard: {heard['book']['page']} {heard['sound']} "
      f"{heard['desktop']['heard']}")
PY
  exit 1
grep -q "exit live objects 0" "$work/reading.log" || fail "objects left alive"
echo "PASS"
