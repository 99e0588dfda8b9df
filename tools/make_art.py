#!/usr/bin/env python3
"""Writes the SVG source of every picture of the book into assets/art/.

Usage: make_art.py --content DIR [--only NAME ...] [--plain OUT]
                   [--drawings FILE --out ART]
DIR is the program's content export (lumo-book --export-content DIR, or the
build folder's art-content after a build; `ninja art_sources` runs both), the
source of every layer's name, size and placing. Also writes
assets/art/manifest.tsv (name, width, height), which the build reads to render
each SVG at the pixel size art_resolution gives it.

Every picture is drawn in colours the book's lamp can show where the picture
stands, then lifted to make up for the lamp (art_stage), so that the lit page
shows the colours as drawn. --plain OUT writes the pictures as drawn, without
the lift, into OUT instead: the reference the tour measures the lit pages
against.

A book other than the built-in one brings its own drawings: --drawings FILE is
a Python file whose pictures() gives name -> builder(width, height) for every
picture of its layout and its LABELS (name -> (width, height, control whose
plane it stands on): the ending menu's labels); the program's controls are not
drawn again. --out ART writes the SVG sources and the manifest there instead
of assets/art/.
"""

import argparse
import importlib.util
import os
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_controls  # noqa: E402
import art_resolution  # noqa: E402
import art_stage  # noqa: E402
import art_table  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART = os.path.join(ROOT, "assets", "art")
FITS = os.path.join(ART, "fit.tsv")

# The drawings of a book other than the built-in one (--drawings), or None.
_book_drawings = None


def use_drawings(path):
    """Draws the book whose drawings module is at `path` from now on: its pictures
    and its labels instead of the built-in book's and the program's controls."""
    global _book_drawings
    spec = importlib.util.spec_from_file_location("book_drawings", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    _book_drawings = module
    art_table.use_controls({name: (w, h) for name, (w, h, _plane) in module.LABELS.items()})
    art_stage.use_control_planes({name: plane for name, (_w, _h, plane) in module.LABELS.items()})


def builders(lit=True, fitted=True):
    """name -> builder(width, height) of every picture, as the book shows it: figures
    enlarged to fill their pictures, colours lifted for the lamp."""
    if _book_drawings:
        table = dict(_book_drawings.pictures())
        fits = {}
    else:
        import art_pages

        table = dict(art_controls.controls())
        table.update(art_pages.pictures())
        fits = read_fits() if fitted else {}

    def finished(name, build):
        def run(w, h):
            canvas = build(w, h)
            if name in fits:
                canvas.fit = (fits[name], room(name, w, h))
            canvas.lamp = art_stage.share(name)
            canvas.lifted = lit
            return canvas
        return run

    return {name: finished(name, build) for name, build in table.items()}


def room(name, w, h, margin=3):
    """Where a figure may be enlarged to: what the reader sees of its picture, and
    clear of the picture's top and sides, so that the figure stands free."""
    left, top, right, bottom = art_stage.unhidden_box(name)
    return max(left, margin), max(top, margin), min(right, w - margin), min(bottom, h)


def read_fits():
    """name -> the unenlarged drawing's extent in pixels, from assets/art/fit.tsv."""
    fits = {}
    if os.path.exists(FITS):
        with open(FITS, encoding="utf-8") as f:
            for line in f:
                name, *box = line.split()
                fits[name] = tuple(float(v) for v in box)
    return fits


def measure_figures(only):
    """Renders every figure as drawn and records its extent, so that the figure can be
    enlarged to fill its picture: where a reader sees it is then where a tap finds it."""
    import tempfile

    import png_pixels

    images = art_table.all_images()
    table = builders(lit=False, fitted=False)
    fits = read_fits()
    with tempfile.TemporaryDirectory() as tmp:
        for name, (w, h, kind) in sorted(images.items()):
            if kind != "figure" or (only and name not in only):
                continue
            svg, png = os.path.join(tmp, name + ".svg"), os.path.join(tmp, name + ".png")
            with open(svg, "w", encoding="utf-8") as f:
                f.write(table[name](w, h).svg())
            subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-o", png, svg], check=True)
            fits[name] = drawn_extent(png_pixels.read(png))
    write_if_changed(FITS, "".join("%s\t%s\n" % (n, "\t".join("%d" % v for v in box))
                                   for n, box in sorted(fits.items()) if box))


def drawn_extent(picture, threshold=0):
    """(left, top, right, bottom) of every pixel drawn at all, or None."""
    xs, ys = [], []
    for y in range(picture.height):
        row = [x for x in range(picture.width) if picture.alpha(x, y) > threshold]
        if row:
            xs += (row[0], row[-1] + 1)
            ys.append(y)
    if not ys:
        return None
    return min(xs), min(ys), max(xs), max(ys) + 1


def write_if_changed(path, text):
    """Leaves an unchanged file untouched, so the build renders and reconfigures only for changes."""
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def manifest_text(sizes):
    return "".join("%s\t%d\t%d\n" % (name, w, h) for name, (w, h) in sorted(sizes.items()))


def main():
    parser = argparse.ArgumentParser()
    art_table.add_content_argument(parser)
    parser.add_argument("--only", nargs="*", default=None)
    parser.add_argument("--plain", help="write the pictures as drawn, unlifted, into this folder")
    parser.add_argument("--measure-figures", action="store_true",
                        help="record how far each figure's drawing reaches (assets/art/fit.tsv)")
    parser.add_argument("--drawings", help="a book's own drawings (a Python file), not the built-in book's")
    parser.add_argument("--out", help="the folder for the SVG sources and manifest (default assets/art)")
    args = parser.parse_args()
    art_table.use_content_argument(args)
    if args.drawings:
        use_drawings(args.drawings)
    art_dir = os.path.abspath(args.out) if args.out else ART
    try:
        if args.measure_figures:
            measure_figures(args.only)
        elif args.plain:
            write_plain(args.plain, args.only)
        else:
            write_sources(args.only, art_dir)
    except art_table.ContentError as e:
        sys.exit("make_art: %s" % e)


def write_sources(only, art_dir=ART):
    images = art_table.all_images()
    table = builders()
    missing = sorted(set(images) - set(table))
    if missing:
        sys.exit("no drawing for: " + ", ".join(missing))
    os.makedirs(art_dir, exist_ok=True)
    for name, (w, h, _kind) in sorted(images.items()):
        if only and name not in only:
            continue
        canvas = table[name](w, h)
        assert canvas.px == (w, h), name
        write_if_changed(os.path.join(art_dir, name + ".svg"), canvas.svg())
    write_if_changed(os.path.join(art_dir, "manifest.tsv"), manifest_text(art_resolution.pixel_sizes()))
    if not only:
        # A layer the book no longer names leaves no source behind to be rendered.
        for file in sorted(os.listdir(art_dir)):
            if file.endswith(".svg") and file[:-4] not in images:
                os.remove(os.path.join(art_dir, file))


def write_plain(out, only):
    """The pictures' sources as drawn, without the lamp's lift; returns their names."""
    images = art_table.all_images()
    table = builders(lit=False)
    os.makedirs(out, exist_ok=True)
    names = [name for name in sorted(images) if name in table and (not only or name in only)]
    for name in names:
        w, h, _kind = images[name]
        write_if_changed(os.path.join(out, name + ".svg"), table[name](w, h).svg())
    return names


if __name__ == "__main__":
    main()
