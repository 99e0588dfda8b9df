#!/usr/bin/env bash
# The real program moves and fades a colour layer as its actions say, frame by
# frame in virtual time: positions and opacity at known times, and the pixels.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config

# The scene enters on the first frame; its actions start on the second, whose
# step counts no time, so at 0.5 s (30 frames) they have run 28/60 s.
cat > "$work/s.txt" <<SCRIPT
wait 0.5
dump $work/t05.json
screenshot $work/t05.png
wait 0.6
dump $work/t1.json
wait 1.5
dump $work/t2.json
SCRIPT
"$program" --headless --demo actions --script "$work/s.txt" || { echo "FAIL: run exited $?"; exit 1; }
PYTHONPATH=$(dirname "$0")/lib python3 - "$work" <<'PY'
import json, sys

import screenshot
work = sys.argv[1]
def square(name, tag):
    scene = json.load(open(f"{work}/{name}.json"))["scene"]
    layer = scene["children"][0]
    return next(c for c in layer["children"] if c["tag"] == tag)
def near(a, b, tol):
    return abs(a - b) <= tol
s05, s1 = square("t05", 1), square("t1", 1)
# x = 100 + 500 * 28/60, opacity 255 * (1 - 28/60) = 136 (135 after rounding down).
assert near(s05["position"][0], 333.33, 0.5) and s05["position"][1] == 300, s05
assert near(s05["opacity"], 136, 1), s05
assert s1["position"] == [600, 300] and s1["opacity"] == 0, s1
r1, r2 = square("t1", 2), square("t2", 2)
assert near(r1["rotation"], 96, 0.5), r1  # 180 * (64/60) / 2
assert r2["rotation"] == 180, r2

# The screenshot (upright, origin top-left) shows the grey square at x 333..433, y 300..400 from the bottom.
image = screenshot.read(f"{work}/t05.png")
inside, outside = screenshot.pixel(image, 400, 350), screenshot.pixel(image, 200, 350)
assert all(near(v, 135, 4) for v in inside[:3]), inside
assert outside[:3] == (0, 0, 0), outside
print("ok")
PY
