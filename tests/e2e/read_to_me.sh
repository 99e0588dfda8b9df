#!/usr/bin/env bash
# Read to me in the real program. With --auto-play and nothing else the book
# reads itself from the cover to the ending page (with short recordings put
# in the narrations' place, so that the whole book reads in a minute and a
# half): the Russian cover, which has
# no narration, turns 4.0 s after it is shown, every story page 2.0 s after its
# narration has ended, each turn logged "(auto)", and the ending page stays;
# the place is cleared there and the option is not stored. In English the
# cover turns 2.0 s after its narration. A touch after page 2's narration
# pauses the turning there; the repeat button's reading starts it again. The
# key A switches it off, says so and stores it.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-assets}
if [ ! -e "$assets/QRB_p16_ru.mp3" ] || [ ! -e "$assets/QRB_p1_cn.mp3" ] || ! command -v soxi > /dev/null; then
  echo "SKIP: this build has no recordings (or soxi is missing)"
  exit 0
fi
export LIB=$(dirname "$0")/lib
run() {  # NAME CONFIG [OPTIONS...]: runs $work/NAME.txt, its log in $work/NAME.log
  local name=$1 config=$2
  shift 2
  XDG_CONFIG_HOME=$work/$config "$program" --headless --log-events "$@" \
    --script "$work/$name.txt" > "$work/$name.log" 2> "$work/$name.err" ||
    fail "$name: exited with $?: $(tail -3 "$work/$name.err")"
}
length() { soxi -D "$assets/$1.mp3"; }

# The whole book: the cover's 4 s and its turn, then for each of the 16 story
# pages the panel's 1.5 s, the narration, 2 s and the turn's 1.5 s. A quarter
# of a second of tone stands for each narration (taken before the built ones).
short=$work/short
mkdir -p "$short"
tone=${LUMO_SOURCE_DIR:-$(dirname "$0")/../..}/tests/platform/audio/tone_quarter.mp3
for p in $(seq 1 16); do cp "$tone" "$short/QRB_p${p}_ru.mp3"; done
whole=$(python3 -c "print(round(5.5 + 16 * (3.5 + 1.5 + $(soxi -D "$tone")) + 3, 2))")
printf 'wait %s\ndump %s\n' "$whole" "$work/end.json" > "$work/whole.txt"
LUMO_ASSETS=$short run whole ru --auto-play

# English: the cover reads its title's narration, then turns.
english_wait=$(python3 -c "print(round(1.5 + $(length QRB_p1_cn) + 2 + 1.6, 2))")
mkdir -p "$work/en/lumo-book"
echo '{"Lan": "2001"}' > "$work/en/lumo-book/defaults.json"
printf 'wait %s\n' "$english_wait" > "$work/english.txt"
run english en --auto-play

# The pause: a tap half a second after page 2's narration; then the repeat button.
heard=$(python3 -c "print(round(7.0 + $(length QRB_p1_ru) + 0.5, 2))")
printf 'wait %s\ntap 512 100\nwait 6\ndump %s\n' "$heard" "$work/paused.json" > "$work/pause.txt"
run pause pause --auto-play
read -r rx ry < <(python3 - "$work/paused.json" <<'PY'
import json, sys
def nodes(n):
    yield n
    for c in n["children"]:
        yield from nodes(c)
button = [n for n in nodes(json.load(open(sys.argv[1]))["world"]) if n["tag"] == 4000]
x, y, w, h = button[0]["screenRect"]
print(f"{x + w / 2:.0f} {y + h / 2:.0f}")
PY
) || fail "no repeat button on paused page 2"
again=$(python3 -c "print(round($(length QRB_p1_ru) + 2 + 0.5, 2))")
printf '%s\ntap %s %s\nwait %s\nkey A\nwait 0.2\ndump %s\nwait 20\ndump %s\n' \
  "$(cat "$work/pause.txt")" "$rx" "$ry" "$again" "$work/switched.json" "$work/stays.json" \
  > "$work/resume.txt"
rm -rf "$work/pause"
run resume pause --auto-play

python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]
FRAME = 1 / 60 + 1e-6


def log(name):
    return [line.split(" ", 2) for line in open(f"{work}/{name}.log").read().splitlines()]


def check(ok, what):
    if not ok:
        print("FAIL:", what)
        sys.exit(1)


# The whole book, turned by read to me alone.
whole = log("whole")
turns = [(float(t), text) for t, c, text in whole if c == "turn"]
expected = [f"requested forward from page {p} (auto)" for p in range(1, 18)]
check([text for _t, text in turns] == expected, f"the turns: {turns}")
check(abs(turns[0][0] - 4.0) <= FRAME, f"the Russian cover turned at {turns[0][0]}, not 4.0 s")
ends = [float(t) for t, c, text in whole if c == "narration" and text == "finished"]
check(len(ends) == 16, f"{len(ends)} narrations heard, not 16")
for (at, _text), end in zip(turns[1:], ends):
    check(abs(at - (end + 2.0)) <= FRAME, f"a turn at {at}, not 2.0 s after the narration's end {end}")
settled = [(float(t), text) for t, c, text in whole if c == "page"]
check(settled[-1][1] == "settled 18", f"the reading ended on {settled[-1]}")
end = json.load(open(f"{work}/end.json"))
check(end["book"]["page"] == 18 and end["desktop"]["autoPlay"], end["book"])
check(not any("autoTurnDue" in str(c["selector"]) for c in end["pendingCalls"]),
      "a turn is still waiting on the ending page")
stored = json.load(open(f"{work}/ru/lumo-book/defaults.json"))
check("Page" not in stored and "AutoPlay" not in stored, f"stored: {stored}")
print(f"read to me: the book read to its end in {settled[-1][0]:.3f} s (virtual)")

# English: the cover's narration, then 2.0 s.
english = log("english")
cover_end = [float(t) for t, c, text in english if c == "narration" and text == "finished"]
auto = [float(t) for t, c, text in english if c == "turn"]
started = [text for _t, c, text in english if c == "narration" and text.startswith("started")]
check(started[:1] == ["started QRB_p1_cn"] and cover_end and auto, f"the English cover: {english}")
check(abs(auto[0] - (cover_end[0] + 2.0)) <= FRAME, f"the English cover turned at {auto[0]}")

# Paused by a touch; the repeat goes on; A switches it off.
paused = json.load(open(f"{work}/paused.json"))
check(paused["book"]["page"] == 2, f"the touch did not hold page 2: {paused['book']['page']}")
resume = log("resume")
auto = [(float(t), text) for t, c, text in resume if c == "turn"]
check([text for _t, text in auto] == expected[:2], f"turns around the pause: {auto}")
taps = [float(t) for t, c, text in resume if c == "narration" and text == "started QRB_p1_ru"]
ends = [float(t) for t, c, text in resume if c == "narration" and text == "finished"]
repeat_end = [t for t in ends if t > taps[-1]][:1] if len(taps) == 2 else []
check(repeat_end, f"the repeat was not heard: {resume}")
check(abs(auto[1][0] - (repeat_end[0] + 2.0)) <= FRAME, f"turned at {auto[1][0]} after the repeat")
switched = json.load(open(f"{work}/switched.json"))
check(not switched["desktop"]["autoPlay"], "A did not switch read to me off")
check(switched["desktop"]["notice"]["text"] == "Листаю страницы сам", switched["desktop"]["notice"])
stays = json.load(open(f"{work}/stays.json"))
check(stays["book"]["page"] == 3, f"turned on with read to me off: {stays['book']['page']}")
stored = json.load(open(f"{work}/pause/lumo-book/defaults.json"))
check(stored.get("AutoPlay") == "off", f"A stored {stored}")
print("read to me: ok")
PY
