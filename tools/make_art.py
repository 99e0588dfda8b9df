#!/usr/bin/env python3
"""Writes the SVG source of every picture of the book into assets/art/.

Usage: make_art.py --content DIR [--only NAME ...]
DIR is the program's content export (lumo-book --export-content DIR, or the
build folder's art-content after a build; `ninja art_sources` runs both), the
source of every layer's name, size and placing. Also writes
assets/art/manifest.tsv (name, width, height), which the build reads to render
each SVG at exactly its size.
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


def write_if_changed(path, text):
    """Leaves an unchanged file untouched, so the build renders and reconfigures only for changes."""
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def manifest_text(images):
    return "".join("%s\t%d\t%d\n" % (name, w, h) for name, (w, h, _kind) in sorted(images.items()))


def main():
    parser = argparse.ArgumentParser()
    art_table.add_content_argument(parser)
    parser.add_argument("--only", nargs="*", default=None)
    args = parser.parse_args()
    art_table.use_content_argument(args)
    try:
        write_sources(args.only)
    except art_table.ContentError as e:
        sys.exit("make_art: %s" % e)


def write_sources(only):
    images = art_table.all_images()
    table = builders()
    missing = sorted(set(images) - set(table))
    if missing:
        sys.exit("no drawing for: " + ", ".join(missing))
    os.makedirs(ART, exist_ok=True)
    for name, (w, h, _kind) in sorted(images.items()):
        if only and name not in only:
            continue
        canvas = table[name](w, h)
        assert canvas.px == (w, h), name
        write_if_changed(os.path.join(ART, name + ".svg"), canvas.svg())
    write_if_changed(os.path.join(ART, "manifest.tsv"), manifest_text(images))
    if not only:
        # A layer the book no longer names leaves no source behind to be rendered.
        for file in sorted(os.listdir(ART)):
            if file.endswith(".svg") and file[:-4] not in images:
                os.remove(os.path.join(ART, file))


if __name__ == "__main__":
    main()
