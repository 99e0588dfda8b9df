#!/usr/bin/env bash
# --mute starts silent without storing it: the music loops unheard and a
# narration still runs to its end and reports it, so the book goes on as if it
# had been heard. With a preferences file that cannot be written, the switches
# still work for the session and the program warns once.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
recording=$(ls "${LUMO_ASSETS:-assets}"/QRB_p1_ru.mp3 2>/dev/null || true)
if [ -z "$recording" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi

# Muted: the demonstration plays page 2's narration over the music.
printf 'wait 0.5\ndump %s/early.json\nwait 30\ndump %s/late.json\n' "$work" "$work" > "$work/mute.txt"
XDG_CONFIG_HOME=$work/config "$program" --headless --mute --log-events --demo narration \
  --script "$work/mute.txt" > "$work/mute.log" || fail "muted run exited with $?"

# Unwritable: the configuration folder is a file.
touch "$work/not-a-folder"
printf 'wait 0.1\nkey M\nkey N\nkey M\nwait 0.1\ndump %s/unwritable.json\n' "$work" > "$work/rw.txt"
XDG_CONFIG_HOME=$work/not-a-folder "$program" --headless --script "$work/rw.txt" \
  2> "$work/rw.err" || fail "unwritable run exited with $?"

python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]
load = lambda name: json.load(open(f"{work}/{name}.json"))
log = [l.split(" ", 2) for l in open(f"{work}/mute.log").read().splitlines() if l]

early = load("early")
assert early["desktop"]["music"] is False and early["desktop"]["voices"] is False, early["desktop"]
assert early["desktop"]["volumes"] == {"main": 0.0, "background": 0.0, "special": None}, early
assert early["sound"]["main"] == "QRB_p1_ru" and early["sound"]["background"] == "background"
ends = [t for t, c, text in log if c == "notification" and text == "asidedidfinishnotification isAside=1"]
assert len(ends) == 1, ends
late = load("late")
assert late["sound"] == {"main": "", "background": "background", "special": ""}, late["sound"]
try:
    stored = json.load(open(f"{work}/config/lumo-book/defaults.json"))
except FileNotFoundError:
    stored = {}
assert "Music" not in stored and "Voices" not in stored, stored

rw = load("unwritable")["desktop"]
assert rw["music"] is True and rw["voices"] is False, rw
err = open(f"{work}/rw.err").read()
assert err.count("cannot write the preferences file") == 1, err
print(f"ok: muted narration ended at {float(ends[0]):.2f} s; one warning when unwritable")
PY
echo "sound switches: ok"
