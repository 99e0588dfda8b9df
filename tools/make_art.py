#!/usr/bin/env python3
"""Writes the SVG source of every picture of the book into assets/art/.

Usage: make_art.py [--only NAME ...]
Also writes assets/art/manifest.tsv (name, width, height), which the build reads
to render each SVG at exactly its size.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_controls  # noqa: E402
import art_table  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART = os.path.join(ROOT, "assets", "art")


def builders():
    import art_pages

    table = dict(art_controls.controls())
    table.update(art_pages.pictures())
    return table


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", nargs="*", default=None)
    args = parser.parse_args()
    images = art_table.all_images()
    table = builders()
    missing = sorted(set(images) - set(table))
    if missing:
        sys.exit("no drawing for: " + ", ".join(missing))
    os.makedirs(ART, exist_ok=True)
    for name, (w, h, _kind) in sorted(images.items()):
        if args.only and name not in args.only:
            continue
        canvas = table[name](w, h)
        assert canvas.px == (w, h), name
        text = canvas.svg()
        path = os.path.join(ART, name + ".svg")
        # Leave unchanged sources untouched so the build renders only what changed.
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                if f.read() == text:
                    continue
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
    with open(os.path.join(ART, "manifest.tsv"), "w", encoding="utf-8") as f:
        for name, (w, h, _kind) in sorted(images.items()):
            f.write("%s\t%d\t%d\n" % (name, w, h))


if __name__ == "__main__":
    main()
