#!/usr/bin/env python3
"""The screenshots software centres show: the cover and two story pages in each
language, taken through the real program headless the way the tour reads the
book (tools/tour.py), for packaging/screenshots/.

Usage: make_screenshots.py --program LUMO_BOOK [OUT_DIR]

Writes OUT_DIR/cover-LANG.png and OUT_DIR/page-NN-LANG.png (1024 x 768, RGB),
the names the AppStream metadata gives them. The program's frames carry the
alpha that blending left in the frame buffer, which the screen never shows
(a viewer would show the narration panel see-through); the shots keep the
colours alone, packed tighter, small enough to publish and to keep in the
repository.
"""

import argparse
import json
import os
import struct
import subprocess
import sys
import tempfile
import zlib

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import png_pixels  # noqa: E402
import tour  # noqa: E402

# The cover once its title has settled and before the help hint dims it (at 2 s).
COVER_SETTLED = 1.5
# Ryzhik and Pugovka at the porch; Ryzhik crossing the stream.
PAGES = (2, 5)


def script_for(out, language):
    lines = ["wait %.1f" % COVER_SETTLED, "screenshot %s" % shot(out, "cover", language)]
    for p in range(2, max(PAGES) + 1):
        lines += [tour.PAGE_TURN, "wait %.1f" % tour.SETTLE_AND_PANEL]
        if p in PAGES:
            lines.append("screenshot %s" % shot(out, "page-%02d" % p, language))
    return "\n".join(lines) + "\n"


def shot(out, name, language):
    return os.path.join(out, "%s-%s.png" % (name, language))


def run_language(program, out, language):
    with tempfile.TemporaryDirectory(prefix="lumo-screenshots-") as home:
        config = os.path.join(home, "config", "lumo-book")
        os.makedirs(config)
        with open(os.path.join(config, "defaults.json"), "w") as f:
            json.dump({"Lan": tour.LANGUAGES[language]}, f)
        script = os.path.join(home, "screenshots.txt")
        with open(script, "w") as f:
            f.write(script_for(out, language))
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_STATE_HOME=os.path.join(home, "state"))
        done = subprocess.run([program, "--headless", "--script", script], env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if done.returncode != 0:
            sys.exit("screenshots: the %s run exited with %d:\n%s" % (language, done.returncode, done.stderr[-2000:]))


def write_rgb(path, picture):
    """Rewrites a picture as RGB, each row with the filter that packs it best."""
    rows = [bytes(row[i] for i in range(len(row)) if i % picture.channels < 3) for row in picture.rows]
    raw, prev = bytearray(), bytes(len(rows[0]))
    for row in rows:
        raw += min((bytes([kind]) + line for kind, line in filtered(row, prev)), key=weight)
        prev = row
    header = struct.pack(">IIBBBBB", picture.width, picture.height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        for kind, body in ((b"IHDR", header), (b"IDAT", zlib.compress(bytes(raw), 9)), (b"IEND", b"")):
            f.write(struct.pack(">I", len(body)) + kind + body)
            f.write(struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def filtered(row, prev, bpp=3):
    left = bytes(bpp) + row[:-bpp]
    yield 0, row
    yield 1, bytes((a - b) & 0xFF for a, b in zip(row, left))
    yield 2, bytes((a - b) & 0xFF for a, b in zip(row, prev))


def weight(line):
    # The usual heuristic: the smallest sum of the bytes read as signed.
    return sum(b if b < 128 else 256 - b for b in line[1:])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("out", nargs="?", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                               "..", "packaging", "screenshots"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for language in tour.LANGUAGES:
        print("screenshots: %s" % language, flush=True)
        run_language(args.program, args.out, language)
    for name in sorted(os.listdir(args.out)):
        if name.endswith(".png"):
            path = os.path.join(args.out, name)
            write_rgb(path, png_pixels.read(path))
            print("screenshots: %s, %d KiB" % (name, os.path.getsize(path) // 1024))


if __name__ == "__main__":
    main()
