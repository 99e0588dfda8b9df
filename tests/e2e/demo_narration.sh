#!/usr/bin/env bash
# The real program plays page 2's Russian narration (QRB_p1_ru: the Russian
# numbering starts at the first story page) headless: its start and its end are
# logged, the end at the recording's length in virtual time, followed by the
# narration-finished notification; the music keeps looping.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
recording=$(ls "${LUMO_ASSETS:-assets}"/QRB_p1_ru.mp3 2>/dev/null || true)
if [ -z "$recording" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi
printf 'wait 30\ndump %s/state.json\n' "$work" > "$work/s.txt"
"$program" --headless --log-events --demo narration --script "$work/s.txt" > "$work/events.txt" ||
  { echo "FAIL: run exited $?"; exit 1; }
python3 - "$work" "$recording" <<'PY'
import json, subprocess, sys
work, recording = sys.argv[1], sys.argv[2]
lines = [l.split(" ", 2) for l in open(f"{work}/events.txt").read().splitlines() if l]
def when(category, text):
    hits = [float(t) for t, c, rest in lines if c == category and rest == text]
    assert len(hits) == 1, (category, text, lines)
    return hits[0]
start = when("sound", "start main QRB_p1_ru")
end = when("sound", "end main QRB_p1_ru")
note = when("notification", "asidedidfinishnotification isAside=1")
length = float(subprocess.run(["soxi", "-D", recording], capture_output=True, text=True).stdout)
# The end comes on the first frame after the decoded length; the file's
# nominal length also counts the encoder's padding (some 50 ms).
assert length - 0.05 <= end - start <= length + 0.1, (start, end, length)
assert note == end, (note, end)
sound = json.load(open(f"{work}/state.json"))["sound"]
assert sound == {"main": "", "background": "background", "special": ""}, sound
print(f"ok: narration of {length:.2f} s ended after {end - start:.2f} s")
PY
