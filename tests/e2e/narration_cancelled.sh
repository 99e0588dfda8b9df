#!/usr/bin/env bash
# Turns that come early in the real program: a turn within 0.5 s of a page's
# settle cancels its panel, one within 1.5 s its recording; the next page's
# panel and recording then run their course.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }
if [ ! -e "${LUMO_ASSETS:-assets}/QRB_p3_ru.mp3" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi

# A forward turn: the finger goes up 300 points in 0.3 s.
turn='drag 512 650 512 350 0.3'
# Page 2 settles, then within 0.5 s a turn to page 3; page 3 settles, and
# 1.0 s later a turn to page 4, whose panel and recording run their course.
cat > "$work/hurry.txt" <<SCRIPT
wait 2.5
$turn
wait 1.4
$turn
wait 2.2
$turn
wait 4
SCRIPT
"$program" --headless --log-events --script "$work/hurry.txt" > "$work/hurry.log" ||
  fail "hurried run exited with $?"

python3 - "$work" <<'PY' || exit 1
import sys

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


log = events("hurry")
settles = {int(text.split()[1]): t for t, c, text in log if c == "page" and text.startswith("settled")}
requests = times(log, "turn", "requested forward")
assert sorted(settles) == [2, 3, 4], settles
left2 = min(t for t in requests if t > settles[2])
left3 = min(t for t in requests if t > settles[3])
assert left2 - settles[2] < 0.5, (settles, requests)
assert 0.5 < left3 - settles[3] < 1.5, (settles, requests)
# Page 2: no panel at all. Page 3: a panel, gone at the turn, no recording.
assert not times(log, "aside", "shown s2Aside")
assert one(log, "aside", "shown s3Aside") < left3
assert abs(one(log, "aside", "dismissed s3Aside") - left3) <= FRAME
assert not times(log, "sound", "start main QRB_p1_ru")
assert not times(log, "sound", "start main QRB_p2_ru")
# Page 4 goes on as usual.
assert abs(one(log, "sound", "start main QRB_p3_ru") - settles[4] - 1.5) <= 2 * FRAME
print(f"ok: turned {left2 - settles[2]:.2f} s and {left3 - settles[3]:.2f} s after a settle")
PY
echo "narration cancelled: ok"
