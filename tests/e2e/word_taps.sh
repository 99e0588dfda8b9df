#!/usr/bin/env bash
# Tap a word: on page 2, once its narration has been heard out, three words
# of the panel are tapped in each language (Russian, and English from the
# preferences). Each plays from its start in the recording's `.words` file to
# the next word's, 50 ms wider either side, is logged as "word played N TEXT"
# and is lit while it plays, where the dump's `panel.words` says it is; the
# light goes when the word ends. A tap on the panel's empty corner plays no word.
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

run() {  # NAME CONFIG SCRIPT
  XDG_CONFIG_HOME=$work/$2 "$program" --headless --log-events --script "$3" \
    > "$work/$1.log" 2> "$work/$1.err" || fail "$1 exited with $?: $(tail -3 "$work/$1.err")"
}

for lang in ru en; do
  recording=QRB_p1_ru
  mkdir -p "$work/$lang/lumo-book"
  if [ "$lang" = en ]; then
    recording=QRB_p2_cn
    echo '{"Lan": "2001"}' > "$work/$lang/lumo-book/defaults.json"
  fi
  listen=$(python3 -c "print(round($(soxi -D "$assets/$recording.mp3") + 3.5, 2))")
  prefix="wait 2.5
$turn
wait $listen"
  printf '%s\ndump %s\n' "$prefix" "$work/$lang-survey.json" > "$work/$lang-survey.txt"
  run "$lang-survey" "$lang" "$work/$lang-survey.txt"
  # Three words: the first, one in the middle and the last; and the panel's corner.
  python3 - "$work/$lang-survey.json" > "$work/$lang-taps" <<'PY' || fail "$lang: no words to tap"
import json, sys
state = json.load(open(sys.argv[1]))
words = state["panel"]["words"]
assert len(words) > 10, words
for w in (words[0], words[len(words) // 2], words[-1]):
    x, y, width, height = w["rect"]
    print(w["index"], round(x + width / 2), round(y + height / 2))
def nodes(n):
    yield n
    for c in n["children"]:
        yield from nodes(c)
panel = [n for n in nodes(state["world"]) if n["name"] == "aside_bg"][0]["screenRect"]
print(-1, round(panel[0] + 8), round(panel[1] + panel[3] - 6))
PY
  {
    echo "$prefix"
    while read -r index x y; do
      echo "tap $x $y"
      echo "wait 0.1"
      echo "dump $work/$lang-tap$index.json"
      [ "$index" -ge 0 ] && [ ! -e "$work/$lang-shot" ] && echo "screenshot $work/$lang-lit.png" &&
        touch "$work/$lang-shot"
      echo "wait 2.2"
      echo "dump $work/$lang-after$index.json"
    done < "$work/$lang-taps"
  } > "$work/$lang-taps.txt"
  run "$lang-taps" "$lang" "$work/$lang-taps.txt"
done

PYTHONPATH=$(dirname "$0")/lib python3 - "$work" "$assets" <<'PY' || exit 1
import json, sys

import screenshot

work, assets = sys.argv[1], sys.argv[2]
EDGE = 0.05


def warm_inside(path, rect):
    """Warm lit-word pixels inside and outside `rect` in the panel's band."""
    w, h, bpp, rows = screenshot.read(path)
    x0, y0, rw, rh = rect
    inside = outside = 0
    for y in range(560, 768):
        for x in range(0, 1024):
            p = rows[y][x * bpp:x * bpp + 3]
            if p[0] > 200 and 140 < p[1] < 225 and p[2] < 120:
                if x0 - 2 <= x <= x0 + rw + 2 and y0 - 2 <= y <= y0 + rh + 2:
                    inside += 1
                else:
                    outside += 1
    return inside, outside


report = []
for lang, recording in (("ru", "QRB_p1_ru"), ("en", "QRB_p2_cn")):
    starts = [float(line.split("\t")[0]) for line in open(f"{assets}/{recording}.words")]
    survey = json.load(open(f"{work}/{lang}-survey.json"))
    words = {w["index"]: w for w in survey["panel"]["words"]}
    assert len(words) == len(starts), (lang, len(words), len(starts))
    assert survey["sound"]["main"] == "" and survey["book"]["litWordIndex"] == -1
    taps = [int(line.split()[0]) for line in open(f"{work}/{lang}-taps")]
    events = [line.split(" ", 2) for line in open(f"{work}/{lang}-taps.log").read().splitlines()]
    played = [text for _, c, text in events if c == "word"]
    expected = [f"played {i} {words[i]['text']}" for i in taps if i >= 0]
    assert played == expected, (lang, played, expected)
    parts = [text.split() for _, c, text in events
             if c == "sound" and text.startswith(f"start main {recording} part")]
    assert len(parts) == 3, (lang, parts)
    for i, part in zip([i for i in taps if i >= 0], parts):
        begin, end = float(part[4]), float(part[5])
        assert abs(begin - max(0.0, starts[i] - EDGE)) < 1e-3, (lang, i, begin, starts[i])
        if i + 1 < len(starts):
            assert abs(end - (starts[i + 1] + EDGE)) < 1e-3, (lang, i, end, starts[i + 1])
        tapped = json.load(open(f"{work}/{lang}-tap{i}.json"))
        assert tapped["book"]["litWordIndex"] == i, (lang, i, tapped["book"]["litWordIndex"])
        assert tapped["sound"]["main"] == recording, tapped["sound"]
        after = json.load(open(f"{work}/{lang}-after{i}.json"))
        assert after["book"]["litWordIndex"] == -1 and after["sound"]["main"] == "", after["book"]
    # The corner of the panel holds no word: no part of the narration plays.
    corner = json.load(open(f"{work}/{lang}-tap-1.json"))
    assert corner["book"]["litWordIndex"] == -1 and corner["sound"]["main"] != recording, corner["sound"]
    first = taps[0]
    inside, outside = warm_inside(f"{work}/{lang}-lit.png", words[first]["rect"])
    assert inside > 30 and outside < inside / 10, (lang, inside, outside)
    report.append(f"{lang}: {', '.join(words[i]['text'] for i in taps if i >= 0)} "
                  f"({inside} warm pixels on the first)")
print("ok: " + "; ".join(report))
PY
echo "word taps: ok"
