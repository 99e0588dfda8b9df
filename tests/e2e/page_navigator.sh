#!/usr/bin/env bash
# The page navigator in the real program. G on the cover opens the strip of
# every page over the dimmed page, page 1 marked, each picture drawn where the
# dump says; nothing under it answers a key (Space, M) or a drag; the wheel
# brings page 9 into sight and a tap on it closes the strip and jumps there
# through the turn lock, and page 9 reads its narration. On page 9 the button
# beside the home button opens it again with page 9 marked; Left and Enter go
# back to page 8; Escape, G and a tap beside the strip close it with no
# change; a page chosen while a page turns is gone to once the turn settles.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-assets}
if [ ! -e "$assets/thumbs/page09.png" ] || [ ! -e "$assets/QRB_p8_ru.mp3" ]; then
  echo "SKIP: this build has no pictures of the pages or no recordings"
  exit 0
fi
lib=$(dirname "$0")/lib

run() {  # NAME: runs $work/NAME.txt, its log in $work/NAME.log
  "$program" --headless --log-events --script "$work/$1.txt" > "$work/$1.log" 2> "$work/$1.err" ||
    fail "$1: exited with $?: $(tail -3 "$work/$1.err")"
}
centre() {  # DUMP PYTHON-EXPRESSION-OF-d-GIVING-A-RECT
  python3 - "$1" "$2" <<'PY'
import json, sys
sys.path.insert(0, __import__("os").environ["LIB"])
import views
d = json.load(open(sys.argv[1]))
x, y, w, h = eval(sys.argv[2])
print(f"{x + w / 2:.0f} {y + h / 2:.0f}")
PY
}
export LIB=$lib

# The strip opened on the cover; what lies under it does nothing; page 9 in sight.
opening="wait 2.5
key G
wait 0.2
dump $work/open.json
screenshot $work/open.png
key Space
key M
drag 512 650 512 300 0.3
wait 0.5
wheel 5
wait 0.1
dump $work/scrolled.json
screenshot $work/scrolled.png"
printf '%s\n' "$opening" > "$work/find.txt"
run find
read -r nine_x nine_y < <(centre "$work/scrolled.json" \
  '{t["page"]: t["rect"] for t in d["navigator"]["thumbs"]}[9]') ||
  fail "page 9 is not in sight after the wheel"

# The tap on page 9, then the navigator's button on page 9.
printf '%s\ntap %s %s\nwait 0.2\ndump %s\nwait 8\ndump %s\n' "$opening" "$nine_x" "$nine_y" \
  "$work/turning.json" "$work/nine.json" > "$work/jump.txt"
run jump
read -r button_x button_y < <(centre "$work/nine.json" \
  'views.find_node(d["world"], "pages-btn")["screenRect"]') || fail "no navigator button on page 9"

cat > "$work/again.txt" <<SCRIPT
$(cat "$work/jump.txt")
tap $button_x $button_y
wait 0.2
dump $work/again.json
key Left
key Enter
wait 0.2
dump $work/back.json
wait 3
key G
key Escape
key G
key G
key G
tap 512 60
wait 0.2
dump $work/closed.json
key Right
wait 0.3
key G
key Left
key Enter
wait 0.1
dump $work/waiting.json
wait 4
dump $work/after.json
SCRIPT
run again

python3 - "$work" "$assets" <<'PY' || exit 1
import json, sys

sys.path.insert(0, __import__("os").environ["LIB"])
import screenshot
import views

work, assets = sys.argv[1], sys.argv[2]
load = lambda name: json.load(open(f"{work}/{name}.json"))


def log(name):
    return [line.split(" ", 2) for line in open(f"{work}/{name}.log").read().splitlines()]


def lines(name, category):
    return [(float(t), text) for t, c, text in log(name) if c == category]


def check(ok, what):
    if not ok:
        print("FAIL:", what)
        sys.exit(1)


opened = load("open")
nav = opened["navigator"]
rects = {t["page"]: t["rect"] for t in nav["thumbs"]}
check(nav["open"] and sorted(rects) == list(range(1, 19)), f"the strip of 18 pages: {nav}")
check(nav["marked"] == 1 and rects[1] == [40, 282, 224, 168], f"page 1 marked at the start: {nav}")
check(rects[9] is None and rects[5] is None, "pages past the picture's edge have no rect")

# Each picture is drawn where the dump says: the screenshot there is the page's picture.
shot = screenshot.read(f"{work}/scrolled.png")
scrolled = {t["page"]: t["rect"] for t in load("scrolled")["navigator"]["thumbs"]}


def at(image, x, y):
    """The colour at (x, y), origin top left as scripts tap."""
    _w, _h, bpp, rows = image
    return rows[y][bpp * x:bpp * x + 3]


def difference(rect, page):
    """Mean difference between the screenshot inside `rect` and page `page`'s picture."""
    thumb = screenshot.read(f"{assets}/thumbs/page{page:02d}.png")
    x0, y0, w, h = (int(v) for v in rect)
    total = count = 0
    for y in range(4, h - 4, 6):
        for x in range(4, w - 4, 6):
            a, b = at(shot, x0 + x, y0 + y), at(thumb, x, y)
            total += sum(abs(a[i] - b[i]) for i in range(3)) / 3
            count += 1
    return total / count


check(scrolled[9] is not None, "page 9 in sight after the wheel")
here, there = difference(scrolled[9], 9), difference(scrolled[9], 3)
check(here < 12 and there > 2 * here, f"page 9's picture where its rect is: {here:.1f} vs {there:.1f}")

# Under the open strip: no turn, no switch, no touch of the book.
find = log("find")
check(not [l for l in find if l[1] == "turn"], f"a turn under the open strip: {find}")
check(load("scrolled")["desktop"]["music"], "M switched the music under the strip")
check(load("scrolled")["book"]["page"] == 1, "the page changed under the strip")

# The jump: closed, through the turn lock, page 9 settles and reads.
turning = load("turning")
check(not turning["navigator"]["open"] and turning["navigator"]["thumbs"] == [], "closed by the tap")
check(turning["book"]["page"] == 9 and turning["book"]["lockDrag"], f"jumping: {turning['book']}")
nav_lines = [text for _t, text in lines("jump", "navigator")]
check(nav_lines == ["opened", "closed", "jump 9"], f"the navigator's log: {nav_lines}")
settled = [t for t, text in lines("jump", "page") if text == "settled 9"]
started = [t for t, text in lines("jump", "narration") if text == "started QRB_p8_ru"]
check(settled and started and started[0] > settled[0], "page 9 settles and reads its narration")
nine = load("nine")
check(nine["book"]["page"] == 9 and views.find_node(nine["world"], "home-btn")["visible"],
      "the home button on page 9 after the jump")

# Again from page 9's button: page 9 marked in the middle; Left, Enter: page 8.
again = load("again")["navigator"]
mid = {t["page"]: t["rect"] for t in again["thumbs"]}[9]
check(again["open"] and again["marked"] == 9 and abs(mid[0] + mid[2] / 2 - 512) < 1,
      f"opened on page 9 by its button: {again}")
check(load("back")["book"]["page"] == 8, "Left and Enter went to page 8")
texts = [text for _t, text in lines("again", "navigator")]
expected = ["opened", "closed", "jump 9", "opened", "closed", "jump 8"]
expected += ["opened", "closed"] * 3 + ["opened", "closed", "jump 8"]
check(texts == expected, f"the navigator's log: {texts}")
closed = load("closed")
check(not closed["navigator"]["open"] and closed["book"]["page"] == 8,
      "Escape, G and a tap beside the strip close it with no change")

# A page chosen during a turn: the turn to 9 settles, then the jump to 8 is made.
waiting = load("waiting")
check(waiting["book"]["page"] == 9 and not waiting["navigator"]["open"], "chosen during the turn")
after = [(t, text) for t, text in lines("again", "page")]
last_two = [text for _t, text in after[-2:]]
check(last_two == ["settled 9", "settled 8"], f"the jump waited for the turn: {after}")
check(load("after")["book"]["page"] == 8, "on page 8 after the waiting jump")
print("page navigator: ok")
PY
