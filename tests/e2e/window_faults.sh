#!/usr/bin/env bash
# What a window goes through besides reading: it loses the focus in the middle
# of a turn and gets it back, the clock is set back an hour and forward a day
# while pages turn and talk, and it is closed during a turn and during a
# narration, by the script and by SIGTERM. Every time the book goes on (or
# ends cleanly, giving back every engine object), the turn lock is released
# and the stored language stays "2001".
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state
fail() { echo "FAIL: $*"; exit 1; }
lib=$(dirname "$0")/lib
source "$lib/exit_checks.sh"

# Each run starts from English stored.
english() {
  mkdir -p "$work/$1/lumo-book"
  echo '{"Lan": "2001"}' > "$work/$1/lumo-book/defaults.json"
  echo "$work/$1"
}

# Run 1: focus and clock while pages turn and talk, then a close mid-turn.
cat > "$work/focus.txt" <<SCRIPT
wait 1
drag 512 600 512 400 0.3
wait 0.5
focus out
wait 2
dump $work/paused.json
drag 512 600 512 400 0.3
focus in
wait 1.6
dump $work/resumed.json
clock -3600
wait 1.2
dump $work/narrating.json
clock 3600
wait 0.5
dump $work/still.json
drag 512 600 512 400 0.3
wait 0.5
clock 86400
wait 0.2
clock -86400
wait 1.3
dump $work/page3.json
drag 512 600 512 400 0.3
wait 0.5
dump $work/closing.json
quit
SCRIPT
config=$(english focus)
XDG_CONFIG_HOME=$config "$program" --headless --log-events --script "$work/focus.txt" \
  > "$work/focus.log" 2> "$work/focus.err"
clean_exit "focus and clock" $? "$work/focus.log" "$work/focus.err"
language_kept "focus and clock" "$config" 2001

PYTHONPATH=$lib python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]
load = lambda name: json.load(open(f"{work}/{name}.json"))
log = [line.split(" ", 2) for line in open(f"{work}/focus.log").read().splitlines()]
grounds = lambda state: [c["name"] for c in state["world"]["children"] if c["name"].startswith("ground")]

paused = load("paused")
assert paused["director"]["paused"], "losing the focus pauses the book"
assert paused["book"]["page"] == 2 and paused["book"]["lockDrag"], paused["book"]
assert grounds(paused) == ["ground1", "ground2"], f"the turn waits half done: {grounds(paused)}"

resumed = load("resumed")
assert not resumed["director"]["paused"]
assert resumed["book"]["page"] == 2 and not resumed["book"]["lockDrag"], resumed["book"]
assert grounds(resumed) == ["ground2"], grounds(resumed)
# The drag made while the window had no focus did not turn a second page.
requests = [text for _, c, text in log if c == "turn" and text.startswith("requested")]
assert len(requests) == 3, requests

# Set back an hour, the narration still starts a second after its panel.
narration = load("narrating")["sound"]["main"]
assert narration.startswith("QRB"), f"no narration after the clock went back: {narration!r}"
assert load("still")["sound"]["main"] == narration, "a clock set forward ended the narration"

page3 = load("page3")
assert page3["book"]["page"] == 3 and not page3["book"]["lockDrag"], page3["book"]
assert grounds(page3) == ["ground3"], grounds(page3)
assert load("closing")["book"]["lockDrag"], "the close was meant to come mid-turn"

settled = [int(text.split()[1]) for _, c, text in log if c == "page"]
assert settled == [2, 3], settled
asides = [text for _, c, text in log if c == "aside" and text.startswith("shown")]
assert asides and all("lang=2001" in a for a in asides), asides
PY
[ $? -eq 0 ] || exit 1

# Run 2: the script closes the book while a narration plays.
printf 'wait 1\ndrag 512 600 512 400 0.3\nwait 4.5\ndump %s/talking.json\nquit\n' "$work" \
  > "$work/talking.txt"
config=$(english talking)
XDG_CONFIG_HOME=$config "$program" --headless --log-events --script "$work/talking.txt" \
  > "$work/talking.log" 2> "$work/talking.err"
clean_exit "quit while narrating" $? "$work/talking.log" "$work/talking.err"
language_kept "quit while narrating" "$config" 2001
python3 -c 'import json, sys; s = json.load(open(sys.argv[1]))["sound"]["main"]; assert s.startswith("QRB"), s' \
  "$work/talking.json" || fail "no narration playing when the script closed the book"

# Run 3: SIGTERM as soon as a turn starts. Should the signal be slow to come,
# the lost focus holds the turn half done until it does.
printf 'wait 1\ndrag 512 600 512 400 0.3\nwait 0.5\nfocus out\nwait 600\n' > "$work/term-turn.txt"
config=$(english term-turn)
status=$(XDG_CONFIG_HOME=$config signal_when " turn requested" TERM "$work/term-turn.log" \
  "$work/term-turn.err" "$program" --headless --log-events --script "$work/term-turn.txt")
clean_exit "SIGTERM mid-turn" "$status" "$work/term-turn.log" "$work/term-turn.err"
language_kept "SIGTERM mid-turn" "$config" 2001
grep -q " page settled" "$work/term-turn.log" && fail "SIGTERM came after the turn had settled"

# Run 4: SIGTERM while the narration plays. Every frame draws, so that the
# virtual clock does not race through the narration before the signal comes.
printf 'wait 1\ndrag 512 600 512 400 0.3\nwait 600\n' > "$work/term-talk.txt"
config=$(english term-talk)
status=$(XDG_CONFIG_HOME=$config signal_when " narration started" TERM "$work/term-talk.log" \
  "$work/term-talk.err" "$program" --headless --draw-every-frame --log-events \
  --script "$work/term-talk.txt")
clean_exit "SIGTERM while narrating" "$status" "$work/term-talk.log" "$work/term-talk.err"
language_kept "SIGTERM while narrating" "$config" 2001
grep -q " sound end main" "$work/term-talk.log" && fail "SIGTERM came after the narration had ended"

echo "window faults: ok"
