#!/usr/bin/env bash
# The real program, headless: timing, dump, screenshot and error exits.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }

cat > "$work/s.txt" <<SCRIPT
wait 2
dump $work/state.json
screenshot $work/shot.png
SCRIPT
"$program" --headless --script "$work/s.txt" || fail "scripted run exited with $?"
PYTHONPATH=$(dirname "$0")/lib python3 - "$work/state.json" "$work/shot.png" <<'PY' || exit 1
import json, sys

import screenshot
state = json.load(open(sys.argv[1]))
d = state["director"]
assert d["framesDrawn"] == 120, d
assert abs(d["time"] - 2.0) < 1e-9, d
assert d["orientation"] == 3, d
w, h, bpp, rows = screenshot.read(sys.argv[2])
assert (w, h) == (1024, 768), (w, h)
# The frame is opaque everywhere.
assert bpp == 4 and all(row[3::4] == bytes([255]) * w for row in rows[::64]), "transparent pixels"
PY

# A malformed script stops before anything runs, naming the line.
printf 'wait 1\nfly 3\n' > "$work/bad.txt"
out=$("$program" --headless --script "$work/bad.txt" 2>&1); rc=$?
[ $rc -eq 2 ] || fail "malformed script gave $rc"
echo "$out" | grep -q "line 2" || fail "message does not name the line: $out"

out=$("$program" --no-such-flag 2>&1); rc=$?
[ $rc -eq 2 ] || fail "unknown flag gave $rc"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --frames 1 2>&1); rc=$?
[ $rc -eq 2 ] || fail "no display gave $rc: $out"
[ "$(echo "$out" | wc -l)" -eq 1 ] || fail "no display should say one line: $out"

"$program" --headless --frames 30 || fail "--frames run failed"
"$program" --version | grep -q "lumo-book" || fail "--version"
echo "ok"
