#!/usr/bin/env python3
"""The application icon after the build.

Usage: test_icon.py ICON_DIR SIZE...
Each lumo-book-SIZE.png is a valid PNG of SIZE x SIZE with transparent corners
(the rounded square) and an opaque middle, and the committed SVG is what
tools/make_icon.py writes today.
"""

import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, HERE)

import check_images  # noqa: E402


def problems_of(path, size):
    if not os.path.exists(path):
        return ["missing"]
    try:
        w, h, alpha = check_images.decode(path)
    except Exception as e:  # noqa: BLE001 - any decoding failure is the finding
        return ["not a valid PNG: %s" % e]
    if (w, h) != (size, size):
        return ["is %d x %d" % (w, h)]
    if alpha is None:
        return ["has no transparency"]
    found = []
    if any(alpha[y][x] > 32 for y in (0, h - 1) for x in (0, w - 1)):
        found.append("corners are not transparent")
    if alpha[h // 2][w // 2] != 255 or alpha[h // 4][w // 4] != 255:
        found.append("the middle is not opaque")
    return found


def source_problems():
    with tempfile.TemporaryDirectory() as tmp:
        fresh = os.path.join(tmp, "lumo-book.svg")
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_icon.py"), fresh], check=True)
        committed = os.path.join(ROOT, "assets", "icon", "lumo-book.svg")
        if open(fresh, encoding="utf-8").read() != open(committed, encoding="utf-8").read():
            return ["assets/icon/lumo-book.svg is stale: run tools/make_icon.py and commit it"]
    return []


def main(argv):
    folder, sizes = argv[1], [int(s) for s in argv[2:]]
    if not sizes:
        sys.exit("usage: test_icon.py ICON_DIR SIZE...")
    found = source_problems()
    for size in sizes:
        name = "lumo-book-%d.png" % size
        found += ["%s %s" % (name, p) for p in problems_of(os.path.join(folder, name), size)]
    for line in found:
        print("FAIL:", line)
    if found:
        sys.exit(1)
    print("icon: %d sizes ok" % len(sizes))


if __name__ == "__main__":
    main(sys.argv)
