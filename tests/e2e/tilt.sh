#!/usr/bin/env bash
# Tilting moves the page only while the device changes attitude, by at most
# 3 degrees either way about x and less than 20 about y; a turn locks the
# tilt, and the next page arrives with the tilt the reader left.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }

# Samples go in faster than the device's 60 a second; the filter counts samples, not time.
accel() { echo "accel $1 $2 $3"; }
{
  echo "wait 1"
  # Held still at an angle until the filter has settled, then once more.
  for i in $(seq 150); do accel 0.2 -0.7 -0.7; done
  echo "dump $work/still1.json"
  for i in $(seq 60); do accel 0.2 -0.7 -0.7; done
  echo "dump $work/still2.json"
  # Shaken about x: a second one way, a second the other, three times over.
  for round in 1 2 3; do
    for i in $(seq 60); do accel 1.2 -0.7 -0.7; done
    echo "dump $work/shake_up$round.json"
    for i in $(seq 60); do accel -0.8 -0.7 -0.7; done
    echo "dump $work/shake_down$round.json"
  done
  # Turned steadily about y, far past the band.
  for y in $(LC_ALL=C seq -0.6 0.1 14.4); do accel 0.2 "$y" -0.7; done
  echo "dump $work/turned.json"
  # During a page turn the samples are ignored.
  echo "drag 512 600 512 400 0.3"
  for i in $(seq 30); do accel -1 -2 0; accel 1 2 0; done
  echo "wait 1.5"
  echo "dump $work/page2.json"
} > "$work/s.txt"
"$program" --headless --script "$work/s.txt" || fail "scripted run exited with $?"
python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]
load = lambda name: json.load(open(f"{work}/{name}.json"))

def ground(state):
    name = state["book"]["curGroundName"]
    return next(c for c in state["world"]["children"] if c["name"] == name)["rotation"]

still1, still2 = ground(load("still1")), ground(load("still2"))
assert still1 == still2, (still1, still2)

xs = [ground(load(f"shake_{way}{r}"))[0] for r in (1, 2, 3) for way in ("up", "down")]
assert all(-93.001 <= x <= -86.999 for x in xs), xs
assert min(xs) < -92 and max(xs) > -88, f"the shake hardly moved the page: {xs}"

turned = load("turned")
y = ground(turned)[1]
assert -20 < y < 20 and abs(y) > 19, y
assert turned["book"]["rotation"] == ground(turned), turned["book"]

page2 = load("page2")
assert page2["book"]["page"] == 2 and not page2["book"]["lockDrag"], page2["book"]
# The new page keeps the tilt left before the turn, untouched by the samples during it.
assert ground(page2) == ground(turned), (ground(page2), ground(turned))
PY
echo "tilt: ok"
