#!/usr/bin/env bash
# Pictures and recordings too large for the book, in a copy of the assets: an
# 8192 x 8192 all-zero PNG (about 260 KB on disk, 256 MiB decoded) in place of
# a figure of page 2, and six minutes of silence in place of the music. Each
# is refused with one warning naming the file and the limit, however often it
# is asked for; the book reads to page 3 and back as with a missing file, and
# on page 2 it holds no more memory than with the book's own picture.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state
fail() { echo "FAIL: $*"; exit 1; }
lib=$(cd "$(dirname "$0")/lib" && pwd)
source "$lib/exit_checks.sh"
assets=${LUMO_ASSETS:-$(dirname "$program")/assets}
[ -e "$assets/s2layer1-t.png" ] || fail "no built assets in $assets"

# The program looks for assets beside itself before the source tree's
# hand-made ones, so a link to it beside the copy reads only that.
unset LUMO_ASSETS
mkdir -p "$work/book"
ln "$program" "$work/book/reader" 2> /dev/null || cp "$program" "$work/book/reader"

# Page 2, page 3, page 2 again: the figure is asked for on both visits.
cat > "$work/s.txt" <<SCRIPT
wait 1
drag 512 600 512 400 0.3
wait 3.5
dump $work/page2.json
drag 512 600 512 400 0.3
wait 1.8
drag 512 400 512 600 0.3
wait 3.5
dump $work/again.json
SCRIPT

oversize() {
  python3 - "$work/book/assets" <<'PY'
import os, struct, sys, zlib

assets = sys.argv[1]

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

side = 8192
deflate = zlib.compressobj(9)
row = bytes(1 + side * 4)  # filter byte, then RGBA zeros
idat = b"".join(deflate.compress(row) for _ in range(side)) + deflate.flush()
with open(os.path.join(assets, "s2layer1-t.png"), "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0))
              + chunk(b"IDAT", idat) + chunk(b"IEND", b""))

# Six minutes of the smallest silent mp3 frames: MPEG-1 layer III, 32 kbit/s, mono.
music = os.path.join(assets, "background.mp3")
if os.path.exists(music):
    frame = b"\xff\xfb\x10\xc0" + bytes(100)
    with open(music, "wb") as out:
        out.write(frame * (360 * 44100 // 1152 + 1))
PY
}

for mode in own oversized; do
  rm -rf "$work/book/assets" "$work/page2.json" "$work/again.json"
  # A real copy: the assets folder may be a link to a build that others share.
  cp -rL "$assets" "$work/book/assets"
  [ "$mode" = oversized ] && { oversize || fail "cannot write the oversized files"; }
  export XDG_CONFIG_HOME=$work/config-$mode
  "$work/book/reader" --headless --log-events --script "$work/s.txt" \
    > "$work/$mode.log" 2> "$work/$mode.err"
  clean_exit "$mode" $? "$work/$mode.log" "$work/$mode.err"
  for name in page2 again; do cp "$work/$name.json" "$work/$mode-$name.json"; done
done

python3 - "$work" "$assets" <<'PY' || exit 1
import json, os, sys

work, assets = sys.argv[1:]
load = lambda name: json.load(open(f"{work}/{name}.json"))
for mode in ("own", "oversized"):
    events = [line.split(" ", 2) for line in open(f"{work}/{mode}.log").read().splitlines()]
    settled = [int(text.split()[1]) for _, c, text in events if c == "page"]
    assert settled == [2, 3, 2], f"{mode}: pages settled {settled}"
    for name in ("page2", "again"):
        assert load(f"{mode}-{name}")["book"]["page"] == 2, (mode, name)

own = open(f"{work}/own.err").read().splitlines()
assert not own, f"the book's own assets gave warnings: {own}"
warnings = open(f"{work}/oversized.err").read().splitlines()
expected = {"s2layer1-t.png": "over the limit of 4096 pixels a side"}
if os.path.exists(os.path.join(assets, "background.mp3")):
    expected["background.mp3"] = "over the limit of 5 min 0 s"
for name, limit in expected.items():
    said = [line for line in warnings if name in line]
    assert len(said) == 1 and limit in said[0], f"{name}: {said}"
assert len(warnings) == len(expected), "\n".join(warnings)

# The refused picture costs nothing: page 2 holds what it holds with the
# book's own 1024-pixel figure, give or take the allocator (it would be
# 256 MiB more as a texture).
mib = 1 << 20
for name in ("page2", "again"):
    normal = load(f"own-{name}")["process"]["rssBytes"]
    oversized = load(f"oversized-{name}")["process"]["rssBytes"]
    print(f"{name}: {normal / mib:.0f} MiB with the book's picture, {oversized / mib:.0f} MiB"
          " with the oversized one")
    assert oversized < normal + 24 * mib, f"{name}: {oversized / mib:.0f} MiB"
PY
[ $? -eq 0 ] || exit 1
echo "oversized assets: ok"
