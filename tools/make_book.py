#!/usr/bin/env python3
"""Makes a book folder (docs/BOOK-FORMAT.md) from a book's sources.

Usage: make_book.py --source books/NAME --out FOLDER --work DIR --program LUMO_BOOK
                    --assets ASSETS [--speak-words SPEAK_WORDS] [--jobs N]

books/NAME holds the book's sources: book.json (its texts, layout, titles and
ending), drawings.py (its pictures, for make_art.py --drawings) and
voices.json (its figures' voices, for make_audio.py --voices). The folder gets
book.json, pictures/ (every picture rendered from its SVG source, and the
page navigator's thumbs/, each page composed in front of the program's
backdrop from ASSETS), and recordings/ (narration with word timings,
dialogue). Each step does only what changed: the SVG sources are rewritten
only when they differ, a picture is rendered again only when its source or size
changed, a page's thumbnail only when one of its pictures did, and the
recordings keep make_audio's manifest of hashes in DIR.
"""

import argparse
import os
import shutil
import subprocess
import sys

TOOLS = os.path.dirname(os.path.abspath(__file__))


def copy_if_changed(source, target):
    with open(source, "rb") as f:
        content = f.read()
    if os.path.exists(target):
        with open(target, "rb") as f:
            if f.read() == content:
                return
    with open(target, "wb") as f:
        f.write(content)


def read_manifest(path):
    """name -> (width, height) in pixels."""
    sizes = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            name, w, h = line.rstrip("\n").split("\t")
            sizes[name] = (int(w), int(h))
    return sizes


def render_pictures(art, pictures):
    """Renders each SVG whose picture is missing, older, or of another size; removes
    pictures no source makes any more. Returns how many were rendered."""
    sizes = read_manifest(os.path.join(art, "manifest.tsv"))
    stamp = os.path.join(art, "rendered.tsv")
    rendered = read_manifest(stamp) if os.path.exists(stamp) else {}
    os.makedirs(pictures, exist_ok=True)
    count = 0
    for name, (w, h) in sorted(sizes.items()):
        svg, png = os.path.join(art, name + ".svg"), os.path.join(pictures, name + ".png")
        if (os.path.exists(png) and rendered.get(name) == (w, h)
                and os.path.getmtime(png) >= os.path.getmtime(svg)):
            continue
        subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-o", png, svg], check=True)
        count += 1
    for file in os.listdir(pictures):
        if file.endswith(".png") and file[:-4] not in sizes:
            os.remove(os.path.join(pictures, file))
    with open(stamp, "w", encoding="utf-8") as f:
        f.write("".join("%s\t%d\t%d\n" % (n, w, h) for n, (w, h) in sorted(sizes.items())))
    return count


def make_thumbs(content, pictures, backdrop, compose):
    """The navigator's pictures of the pages whose pictures are newer than them;
    the pages with a title once more in English. Returns how many were drawn."""
    sys.path.insert(0, TOOLS)
    import art_table
    import contact_sheet
    import make_thumbs as thumbs

    art_table.use_content(content)
    # The composer takes every picture from one folder: the book's and the backdrop.
    os.makedirs(compose, exist_ok=True)
    for file in os.listdir(pictures):
        if file.endswith(".png"):
            link = os.path.join(compose, file)
            if not os.path.lexists(link):
                os.symlink(os.path.abspath(os.path.join(pictures, file)), link)
    copy_if_changed(backdrop, os.path.join(compose, "layer_bg.png"))
    out = os.path.join(pictures, "thumbs")
    os.makedirs(out, exist_ok=True)
    count = 0
    for page in range(1, art_table.page_count() + 1):
        layers = art_table.page_layers(page)
        newest = max(os.path.getmtime(os.path.join(pictures, layer.name + ".png")) for layer in layers)
        for english in (False, True) if any(layer.kind == "title" for layer in layers) else (False,):
            path = os.path.join(out, thumbs.thumb_name(page, english))
            if os.path.exists(path) and os.path.getmtime(path) >= newest:
                continue
            contact_sheet.page_sheet(compose, page, path, english=english, label=False,
                                     size=(thumbs.THUMB_W, thumbs.THUMB_H))
            count += 1
    return count


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, help="the book's sources (books/NAME)")
    parser.add_argument("--out", required=True, help="the book folder to make")
    parser.add_argument("--work", required=True, help="a folder for the intermediate files")
    parser.add_argument("--program", required=True, help="lumo-book, to read the book's layout")
    parser.add_argument("--assets", required=True, help="the program's pictures (its backdrop)")
    parser.add_argument("--speak-words", help="the word timer for Russian narrations")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--cache", help="make_audio's recordings kept by their hash")
    args = parser.parse_args()
    for tool in ("rsvg-convert",):
        if not shutil.which(tool):
            sys.exit("make_book: %s is not installed" % tool)
    os.makedirs(args.out, exist_ok=True)
    os.makedirs(args.work, exist_ok=True)
    copy_if_changed(os.path.join(args.source, "book.json"), os.path.join(args.out, "book.json"))

    # The program reads the book as it will when it opens the folder, and
    # exports its layout and texts for the art and voice tools.
    content = os.path.join(args.work, "content")
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    subprocess.run([args.program, "--book", args.out, "--export-content", content], check=True, env=env)

    art = os.path.join(args.work, "art")
    subprocess.run([sys.executable, os.path.join(TOOLS, "make_art.py"), "--content", content,
                    "--drawings", os.path.join(args.source, "drawings.py"), "--out", art], check=True)
    pictures = os.path.join(args.out, "pictures")
    rendered = render_pictures(art, pictures)
    drawn = make_thumbs(content, pictures, os.path.join(args.assets, "layer_bg.png"),
                        os.path.join(args.work, "compose"))
    print("make_book: %d pictures rendered, %d page thumbnails drawn" % (rendered, drawn))

    audio = [sys.executable, os.path.join(TOOLS, "make_audio.py"), "--content", content,
             "--out", os.path.join(args.out, "recordings"), "--manifest", os.path.join(args.work, "audio.json"),
             "--voices", os.path.join(args.source, "voices.json"), "--no-music", "--jobs", str(args.jobs)]
    if args.speak_words:
        audio += ["--speak-words", args.speak_words]
    if args.cache:
        audio += ["--cache", args.cache]
    subprocess.run(audio, check=True)


if __name__ == "__main__":
    try:
        main()
    except subprocess.CalledProcessError as e:
        sys.exit("make_book: %s failed with status %d" % (os.path.basename(e.cmd[0]) if e.cmd[0] != sys.executable
                                                          else os.path.basename(e.cmd[1]), e.returncode))
