#!/usr/bin/env bash
# Assets that went missing or were damaged: over a copy of the assets with a
# ground, a layer (a figure), a control image, every narration, every dialogue
# and the music removed, then cut in half, then replaced by garbage, the book
# reads to page 3 and back, figures tapped on the way. Each bad file the book
# reaches for is named in exactly one warning, however often it is asked for,
# and nothing else is logged. With the credits layout cut in half the ending
# page's credits button gives the book back, twice, with one warning.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state
fail() { echo "FAIL: $*"; exit 1; }
lib=$(cd "$(dirname "$0")/lib" && pwd)
source "$lib/exit_checks.sh"
assets=${LUMO_ASSETS:-$(dirname "$program")/assets}
[ -e "$assets/ground2.png" ] || fail "no built assets in $assets"
if [ ! -e "$assets/background.mp3" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi

# The program looks for assets beside itself before the source tree's
# hand-made ones, so a link to it beside the damaged copy reads only that.
unset LUMO_ASSETS
mkdir -p "$work/book"
ln "$program" "$work/book/reader" 2> /dev/null || cp "$program" "$work/book/reader"
damaged_files() {
  (cd "$work/book/assets" && ls ground2.png s2layer1-t.png home_iPad_normal.png background.mp3 \
    QRB_*.mp3 dialogue_*_ru.mp3)
}

# Cover figures, page 2's two figures (where the dumps say they stand).
figures_cover="tap 384 492
wait 0.3
tap 640 436
wait 0.3"
figures_page2="tap 436 433
wait 0.3
tap 832 488
wait 0.3
tap 436 433
wait 0.3"
there_and_back() {
  cat <<SCRIPT
wait 1
$figures_cover
drag 512 600 512 400 0.3
wait 3.5
dump $work/page2.json
$figures_page2
drag 512 600 512 400 0.3
wait 1.8
dump $work/page3.json
drag 512 400 512 600 0.3
wait 3.5
$figures_page2
drag 512 400 512 600 0.3
wait 3
$figures_cover
dump $work/cover.json
SCRIPT
}
to_the_credits() {
  for _ in $(seq 17); do printf 'drag 512 600 512 400 0.3\nwait 1.6\n'; done
  printf 'wait 1\ndump %s/end.json\n' "$work"
  for n in 1 2; do printf 'tap 512 716\nwait 0.5\ndump %s/credits%s.json\n' "$work" "$n"; done
  printf 'drag 512 400 512 600 0.3\nwait 2\ndump %s/back.json\n' "$work"
}

for mode in removed truncated garbage; do
  rm -rf "$work/book/assets" "$work"/*.json
  # A real copy: the assets folder may be a link to a build that others share.
  cp -rL "$assets" "$work/book/assets"
  damaged_files > "$work/damaged.txt"
  if [ "$mode" = truncated ]; then
    # The layout is a hand-made asset; the copy beside the program comes first.
    cp "$lib/../../../assets/CreditsView.json" "$work/book/assets/" || fail "no credits layout"
    echo CreditsView.json >> "$work/damaged.txt"
  fi
  sed "s|^|$work/book/assets/|" "$work/damaged.txt" | xargs python3 "$lib/damage.py" "$mode" ||
    fail "$mode: cannot damage the copy"
  { there_and_back; [ "$mode" = truncated ] && to_the_credits; } > "$work/s.txt"
  export XDG_CONFIG_HOME=$work/config-$mode
  "$work/book/reader" --headless --log-events --script "$work/s.txt" \
    > "$work/$mode.log" 2> "$work/$mode.err"
  clean_exit "$mode" $? "$work/$mode.log" "$work/$mode.err"
  PYTHONPATH=$lib python3 - "$work" "$mode" <<'PY' || exit 1
import json, os, re, sys
from collections import Counter

from views import contains, find_node

work, mode = sys.argv[1:]
damaged = set(open(f"{work}/damaged.txt").read().split())
events = [line.split(" ", 2) for line in open(f"{work}/{mode}.log").read().splitlines()]
warnings = open(f"{work}/{mode}.err").read().splitlines()
load = lambda name: json.load(open(f"{work}/{name}.json"))

# Every line on stderr names one damaged file, and no file twice.
named = Counter()
for line in warnings:
    words = set(os.path.basename(w) for w in re.split(r"[\s:]+", line))
    # A resource may be named without its extension ("layout CreditsView").
    hits = {d for d in damaged if d in words or os.path.splitext(d)[0] in words}
    assert len(hits) == 1, f"{mode}: a line that names {sorted(hits) or 'no damaged file'}: {line}"
    named[hits.pop()] += 1
again = [name for name, n in named.items() if n > 1]
assert not again, f"{mode}: named more than once: {again}\n" + "\n".join(warnings)
for certain in ("ground2.png", "s2layer1-t.png", "home_iPad_normal.png", "background.mp3"):
    assert named[certain] == 1, f"{mode}: {certain} was used but not named once:\n" + "\n".join(warnings)
kinds = lambda prefix: [n for n in named if n.startswith(prefix)]
assert kinds("QRB_"), f"{mode}: no narration was tried"
assert kinds("dialogue_"), f"{mode}: no dialogue was tried"

# The taps were aimed at the figures, and the book read there and back.
page2 = load("page2")
for name, point in (("s2layer1-t", (436, 433)), ("s2layer2-t", (832, 488))):
    node = find_node(page2["world"], name)
    assert node and node["screenRect"] and contains(node["screenRect"], *point), (name, node)
settled = [int(text.split()[1]) for _, c, text in events if c == "page"]
expected = [2, 3, 2, 1] + (list(range(2, 19)) + [17] if mode == "truncated" else [])
assert settled == expected, f"{mode}: pages settled {settled}"
assert load("page3")["book"]["page"] == 3
cover = load("cover")["book"]
assert cover["page"] == 1 and not cover["lockDrag"], cover

if mode == "truncated":
    button = find_node(load("end")["world"], "menu-end2")
    assert button and contains(button["screenRect"], 512, 716), button
    for n in (1, 2):
        state = load(f"credits{n}")
        assert not state["book"]["lockDrag"], f"credits request {n} kept the book locked"
        assert find_node(state["world"], "menu-end2")["touchEnabled"], n
    assert named["CreditsView.json"] == 1, f"the damaged layout was not named once: {warnings}"
    assert load("back")["book"]["page"] == 17
PY
  [ $? -eq 0 ] || exit 1
  echo "$mode: ok ($(wc -l < "$work/$mode.err") warnings)"
done
echo "damaged assets: ok"
