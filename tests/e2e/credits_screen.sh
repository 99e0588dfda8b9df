#!/usr/bin/env bash
# The credits screen in the real program, the way a reader gets there: drag to
# the last page, tap "menu-end2" where it is seen, close with the back button
# tapped at its frame or with Escape; the book is given back (menu and
# dragging work again).
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
fail() { echo "FAIL: $*"; exit 1; }
lib=$(dirname "$0")/lib

# Seventeen forward turns from the cover to the ending page.
to_the_end() {
  echo "wait 2.5"
  for _ in $(seq 17); do
    echo "drag 512 600 512 380 0.2"
    echo "wait 1.8"
  done
  echo "wait 1"
}

# Run 1: where the credits button stands on the ending page.
{ to_the_end; echo "dump $work/end.json"; } > "$work/first.txt"
"$program" --headless --script "$work/first.txt" > /dev/null || fail "first run exited with $?"
read -r mx my < <(PYTHONPATH=$lib python3 - "$work/end.json" <<'PY'
import json, sys
from views import find_node, centre
state = json.load(open(sys.argv[1]))
assert state["book"]["page"] == 18, state["book"]
button = find_node(state["world"], "menu-end2")
assert button and button["touchEnabled"], "no touchable menu-end2 on the ending page"
# Each node names the picture it shows: the Russian reading's labels, the
# page's own layers; the world itself shows none.
pictures = {name: find_node(state["world"], name)["texture"]
            for name in ("text_replay_cn", "text_moreapps_ru", "menu-end2", "s18layer4")}
assert pictures == {"text_replay_cn": "text_replay_ru.png", "text_moreapps_ru": "text_moreapps_ru.png",
                    "menu-end2": "menu-end-btn.png", "s18layer4": "s18layer4.png"}, pictures
assert state["world"]["texture"] is None, state["world"]["texture"]
print(*[round(v) for v in centre(button["screenRect"])])
PY
) || fail "the ending page has no credits button"

# The back button's place, from the layout as the program turns and centres
# it; run 2 checks that the dump's frame agrees before trusting the tap.
read -r bx by < <(PYTHONPATH=$lib python3 - "$(dirname "$0")/../../assets/CreditsView.json" <<'PY'
import json, sys
from views import back_button_centre
print(*[round(v) for v in back_button_centre(json.load(open(sys.argv[1])))])
PY
)

# Run 2: open the credits, ask again (the dimming takes the tap), close them,
# then open them once more, press Home and Left (which the credits screen
# ignores) and close it with Escape, and turn back a page.
{
  to_the_end
  echo "tap $mx $my"
  echo "wait 0.5"
  echo "tap $mx $my"
  echo "wait 0.5"
  echo "dump $work/open.json"
  echo "screenshot $work/credits.png"
  echo "tap $bx $by"
  echo "wait 0.5"
  echo "dump $work/closed.json"
  echo "tap $mx $my"
  echo "wait 0.5"
  echo "dump $work/again.json"
  echo "key Home"
  echo "key Left"
  echo "wait 0.5"
  echo "key Escape"
  echo "wait 0.5"
  echo "drag 512 300 512 560 0.2"
  echo "wait 2"
  echo "dump $work/back.json"
} > "$work/second.txt"
"$program" --headless --log-events --script "$work/second.txt" > "$work/events.txt" ||
  fail "second run exited with $?"
[ -n "${LUMO_KEEP_SCREENSHOT:-}" ] && cp "$work/credits.png" "$LUMO_KEEP_SCREENSHOT"

PYTHONPATH=$lib python3 - "$work" "$mx" "$my" "$bx" "$by" <<'PY' || exit 1
import json, os, sys
import screenshot
from views import find_view, find_node, contains

work, mx, my, bx, by = sys.argv[1], *map(float, sys.argv[2:])
load = lambda name: json.load(open(os.path.join(work, name)))
opened, closed, again, back = (load(n) for n in ("open.json", "closed.json", "again.json", "back.json"))

views = opened["views"]
dims, cards = find_view(views, 1000, all=True), find_view(views, 1001, all=True)
assert len(dims) == 1 and len(cards) == 1, "one dimming view and one card, not %d and %d" % (len(dims), len(cards))
assert dims[0]["frame"] == [0, 0, 1024, 768] and dims[0]["alpha"] == 0.5, dims[0]
card = cards[0]
cx, cy = card["frame"][0] + card["frame"][2] / 2, card["frame"][1] + card["frame"][3] / 2
assert abs(cx - 512) < 1 and abs(cy - 384) < 1, "card not centred: %s" % card["frame"]
assert opened["book"]["lockDrag"], "dragging not locked under the credits"
assert not find_node(opened["world"], "menu-end2")["touchEnabled"]
buttons = [v for v in card["children"] if v["class"] == "UIButton"]
assert len(buttons) == 1 and contains(buttons[0]["frame"], bx, by), \
    "tap (%s, %s) is not on the back button %s" % (bx, by, buttons and buttons[0]["frame"])
assert buttons[0]["image"] == "credits_back.png", "not the Russian back button: %s" % buttons[0]["image"]
assert [v["class"] for v in card["children"]].count("UIWebView") == 1

for state in (closed, back):
    assert not find_view(state["views"], 1000, all=True) and not find_view(state["views"], 1001, all=True)
assert not closed["book"]["lockDrag"] and find_node(closed["world"], "menu-end2")["touchEnabled"]
assert find_view(again["views"], 1001, all=True), "menu-end2 does not open the credits again"
assert back["book"]["page"] == 17, "dragging does not work after the credits: %s" % back["book"]

events = open(os.path.join(work, "events.txt")).read().splitlines()
finished = [e for e in events if "creditsdidfinishnotification" in e]
requests = [e for e in events if "lmShouldShowCredits" in e]
assert len(finished) == 2 and len(requests) == 2, (finished, requests)
assert float(requests[0].split()[0]) < float(finished[0].split()[0]) < float(requests[1].split()[0])

# The picture: dimmed book around a bright card, text on the page.
w, h, bpp, rows = screenshot.read(os.path.join(work, "credits.png"))
px = lambda x, y: tuple(rows[y][x * bpp:x * bpp + 3])
corner = px(20, 20)
assert max(corner) < 140, "the book around the card is not dimmed: %s" % (corner,)
paper = px(int(cx + 200), int(cy + 200))
assert min(paper) > 200, "the web page's paper is not bright: %s" % (paper,)
PY
echo "credits screen: ok"
