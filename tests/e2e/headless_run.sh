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
python3 - "$work/state.json" "$work/shot.png" <<'PY' || exit 1
import json, struct, sys, zlib
state = json.load(open(sys.argv[1]))
d = state["director"]
assert d["framesDrawn"] == 120, d
assert abs(d["time"] - 2.0) < 1e-9, d
assert d["orientation"] == 3, d
data = open(sys.argv[2], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
w, h = struct.unpack(">II", data[16:24])
assert (w, h) == (1024, 768), (w, h)
# Inflate the image data and check at least one pixel row decodes.
pos, idat = 8, b""
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    if kind == b"IDAT":
        idat += data[pos + 8:pos + 8 + length]
    pos += 12 + length
raw = zlib.decompress(idat)
assert len(raw) == h * (1 + 4 * w), len(raw)
# The frame is opaque. In the first row every filter leaves the first pixel
# as stored (there is nothing left of it or above it), so its alpha is 255.
row = raw[1:1 + 4 * w]
assert raw[0] in (0, 1, 2, 3, 4), raw[0]
assert row[3] == 255, row[:4]
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
nd its pictures and sounds says where it looked.
mkdir "$work/alone"
cp "$program" "$work/alone/lumo-book"
out=$(LUMO_ASSETS=$work/none "$work/alone/lumo-book" --headless --frames 1 2>&1); rc=$?
if [ -d "$(dirname "$program")/../assets" ] || [ -n "${LUMO_SOURCE_DIR:-}" ]; then
  : # the source tree's assets folder is always found by a build from source
else
  [ $rc -eq 2 ] || fail "missing assets gave $rc"
fi
"$program" --version | grep -q "lumo-book" || fail "--version"
echo "ok"
