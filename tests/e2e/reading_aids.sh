#!/usr/bin/env bash
# The two reading aids in the real program. Words lit: about two seconds into
# page 2's narration the dumps show the lit word moving on as the recording's
# word timings say, in Russian (--follow-words) and in English (stored in the
# preferences), and the screenshot shows it in a warm colour. Read by myself:
# page 2 settles silent with its repeat button showing, and a tap on the
# button reads "QRB_p1_ru"; H switches words lit on there and stores it.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-assets}
if [ ! -e "$assets/QRB_p1_ru.words" ] || [ ! -e "$assets/QRB_p2_cn.words" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi
turn='drag 512 650 512 350 0.3'

# Dumps from 1.5 s to 3 s into the narration (it starts 2.85 s after the drag
# ends), a screenshot with a word lit, and a dump once the recording is over.
listen=$(python3 -c "print(round($(soxi -D "$assets/QRB_p1_ru.mp3") + 1, 2))")
cat > "$work/follow.txt" <<SCRIPT
wait 2.5
$turn
wait 4.35
dump $work/follow1.json
wait 0.5
dump $work/follow2.json
screenshot $work/lit.png
wait 0.5
dump $work/follow3.json
wait 0.5
dump $work/follow4.json
wait $listen
dump $work/over.json
screenshot $work/over.png
SCRIPT
XDG_CONFIG_HOME=$work/ru "$program" --headless --follow-words --log-events \
  --script "$work/follow.txt" > "$work/follow.log" || fail "Russian run exited with $?"

mkdir -p "$work/en/lumo-book"
echo '{"Lan": "2001", "FollowWords": "on"}' > "$work/en/lumo-book/defaults.json"
printf 'wait 2.5\n%s\nwait 4.85\ndump %s\nscreenshot %s\n' "$turn" "$work/english.json" \
  "$work/english.png" > "$work/english.txt"
XDG_CONFIG_HOME=$work/en "$program" --headless --log-events --script "$work/english.txt" \
  > "$work/english.log" || fail "English run exited with $?"

# Read by myself: where the repeat button shows on the settled page.
printf 'wait 2.5\n%s\nwait 4\ndump %s\n' "$turn" "$work/silent.json" > "$work/silent.txt"
XDG_CONFIG_HOME=$work/alone "$program" --headless --read-myself --log-events \
  --script "$work/silent.txt" > "$work/silent.log" || fail "read-by-myself run exited with $?"
read -r repeat_x repeat_y < <(python3 - "$work/silent.json" <<'PY'
import json, sys
def nodes(n):
    yield n
    for c in n["children"]:
        yield from nodes(c)
button = [n for n in nodes(json.load(open(sys.argv[1]))["world"]) if n["tag"] == 4000]
assert len(button) == 1 and button[0]["visible"] and button[0]["screenRect"], button
x, y, w, h = button[0]["screenRect"]
print(f"{x + w / 2:.0f} {y + h / 2:.0f}")
PY
) || fail "no repeat button on the silent page"

cat > "$work/tap.txt" <<SCRIPT
wait 2.5
$turn
wait 4
key H
tap $repeat_x $repeat_y
wait 0.1
dump $work/tapped.json
wait 2
dump $work/reading.json
SCRIPT
XDG_CONFIG_HOME=$work/alone "$program" --headless --read-myself --log-events \
  --script "$work/tap.txt" > "$work/tap.log" || fail "tap run exited with $?"

PYTHONPATH=$(dirname "$0")/lib python3 - "$work" "$assets" <<'PY' || exit 1
import json, sys

import screenshot

work, assets = sys.argv[1], sys.argv[2]
FRAME = 1 / 60


def load(name):
    return json.load(open(f"{work}/{name}.json"))


def log(name):
    return [line.split(" ", 2) for line in open(f"{work}/{name}.log").read().splitlines()]


def started(events, recording):
    hits = [float(t) for t, c, text in events if c == "sound" and text == "start main " + recording]
    assert len(hits) == 1, (recording, hits)
    return hits[0]


def starts(recording):
    return [float(line.split("\t")[0]) for line in open(f"{assets}/{recording}.words")]


def expected(words, at):
    """The words that may be lit `at` seconds in: the last one started, or
    the one before it when its start fell inside the dump's frame."""
    def last(t):
        return max([i for i, s in enumerate(words) if s <= t + 1e-6], default=-1)
    return {last(at - FRAME), last(at)}


def follows(state, recording, start):
    at = state["director"]["time"] - start
    lit = state["book"]["litWordIndex"]
    assert lit in expected(starts(recording), at), (recording, at, lit, expected(starts(recording), at))
    return at, lit


def warm(path):
    """Pixels of the warm lit-word colour in the panel band."""
    w, h, bpp, rows = screenshot.read(path)
    return sum(1 for y in range(640, 760) for x in range(40, 1000)
               if rows[y][x * bpp] > 200 and 140 < rows[y][x * bpp + 1] < 225
               and rows[y][x * bpp + 2] < 120)


# Words lit, in Russian.
start = started(log("follow"), "QRB_p1_ru")
seen = [follows(load(f"follow{i}"), "QRB_p1_ru", start) for i in range(1, 5)]
assert 1.4 < seen[0][0] < 1.6 and 2.9 < seen[-1][0] < 3.1, seen
lits = [lit for _, lit in seen]
assert lits == sorted(lits) and lits[-1] > lits[0] >= 0, f"the lit word does not move on: {seen}"
assert load("follow2")["desktop"]["followWords"] is True
over = load("over")
assert over["sound"]["main"] == "" and over["book"]["litWordIndex"] == -1, over["book"]
lit_pixels, over_pixels = warm(f"{work}/lit.png"), warm(f"{work}/over.png")
assert lit_pixels > 150 and over_pixels == 0, (lit_pixels, over_pixels)

# Words lit, in English, switched on by the stored preference.
english = load("english")
assert english["book"]["language"] == 2001 and english["desktop"]["followWords"] is True
en_at, en_lit = follows(english, "QRB_p2_cn", started(log("english"), "QRB_p2_cn"))
assert 1.9 < en_at < 2.1 and en_lit >= 0, (en_at, en_lit)
english_pixels = warm(f"{work}/english.png")
assert english_pixels > 150, english_pixels

# Read by myself: silent, the button showing, the option not stored.
silent_log = log("silent")
spoken = [text for _, c, text in silent_log
          if c == "narration" or (c == "sound" and text.startswith("start main"))]
assert not spoken, f"the page read itself: {spoken}"
assert ["aside", "read by myself s2Aside"] in [[c, text] for _, c, text in silent_log]
silent = load("silent")
assert silent["sound"]["main"] == "" and silent["desktop"]["readMyself"] is True, silent["sound"]
assert silent["book"]["litWordIndex"] == -1
try:
    stored = json.load(open(f"{work}/alone/lumo-book/defaults.json"))
except FileNotFoundError:
    stored = {}
assert "ReadMyself" not in stored, stored

# The tap reads page 2's narration, and H (pressed before it) lights its words.
tap_log = log("tap")
tapped_at = load("tapped")["director"]["time"]
start = started(tap_log, "QRB_p1_ru")
assert 0 <= tapped_at - start <= 0.1 + 2 * FRAME, (start, tapped_at)
assert ["narration", "started QRB_p1_ru"] in [[c, text] for _, c, text in tap_log]
assert load("tapped")["sound"]["main"] == "QRB_p1_ru"
reading = load("reading")
at, lit = follows(reading, "QRB_p1_ru", start)
assert lit >= 0, (at, lit)
stored = json.load(open(f"{work}/alone/lumo-book/defaults.json"))
assert stored.get("FollowWords") == "on" and "ReadMyself" not in stored, stored

print(f"ok: Russian lit words {lits} at {[round(a, 2) for a, _ in seen]} s, English word "
      f"{en_lit} at {en_at:.2f} s; {lit_pixels} warm pixels lit, {over_pixels} after; read by myself silent, "
      f"tap read QRB_p1_ru")
PY
echo "reading aids: ok"
