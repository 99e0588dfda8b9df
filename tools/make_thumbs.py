#!/usr/bin/env python3
"""The page navigator's small pictures of the book's pages.

Usage: make_thumbs.py [--content DIR] ASSETS_DIR OUT_DIR PAGE [--english]

Writes OUT_DIR/pageNN.png (pageNN_en.png with --english: the page with its
English title, for the pages that show one), THUMB_W x THUMB_H pixels: the page
composed from the built pictures in ASSETS_DIR as the book's camera and lamp
show it (contact_sheet's page composition), scaled down whole. DIR is the
program's content export, as for the contact sheets. One page a call, so that
the build redraws only the pages whose pictures changed.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_table  # noqa: E402
import contact_sheet  # noqa: E402

# The navigator draws them at this size, pixel for pixel (src/book/lumoNavigatorStrip.h).
THUMB_W, THUMB_H = 224, 168


def thumb_name(page, english):
    return "page%02d%s.png" % (page, "_en" if english else "")


def write_thumb(assets, out_dir, page, english):
    if not 1 <= page <= art_table.page_count():
        raise art_table.ContentError("the book has no page %d" % page)
    if english and not any(layer.kind == "title" for layer in art_table.page_layers(page)):
        raise art_table.ContentError("page %d shows no title, so it has no English picture" % page)
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, thumb_name(page, english))
    contact_sheet.page_sheet(assets, page, path, english=english, label=False, size=(THUMB_W, THUMB_H))
    return path


def main(argv):
    parser = argparse.ArgumentParser(description="The page navigator's pictures of the pages.")
    art_table.add_content_argument(parser)
    parser.add_argument("assets")
    parser.add_argument("out")
    parser.add_argument("page", type=int)
    parser.add_argument("--english", action="store_true", help="the page with its English title")
    args = parser.parse_args(argv[1:])
    art_table.use_content_argument(args)
    try:
        write_thumb(args.assets, args.out, args.page, args.english)
    except art_table.ContentError as e:
        sys.exit("make_thumbs: %s" % e)


if __name__ == "__main__":
    main(sys.argv)
