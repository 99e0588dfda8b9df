#!/usr/bin/env python3
"""Checks every picture the book names after the build.

Usage: check_images.py ASSETS_DIR [--content DIR | --program LUMO_BOOK]

For each image of the picture table (tools/art_table.py, which reads the layers
from the program's content export DIR, default $LUMO_CONTENT): the file exists,
is a well-formed PNG (signature, chunk CRCs, IHDR, IDAT that inflates to exactly
the expected byte count, IEND) of exactly the pixel size tools/art_resolution.py
gives it, and has visible
pixels. Grounds, backgrounds and the backdrop must be fully opaque; figures and
titles must stand free, with transparent top row and side columns. The committed
manifest, which the build renders from, must list the same pictures at the same
sizes. With --program, the content is exported afresh into a temporary folder and
its layer sizes as the program reads them (layers.tsv) must match the picture
table; every title picture must carry the words of its title.
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile
import zlib

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))

import art_resolution  # noqa: E402
import art_table  # noqa: E402

ART = os.path.join(HERE, "..", "..", "assets", "art")

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


class PngError(Exception):
    pass


def read_chunks(data):
    if not data.startswith(SIGNATURE):
        raise PngError("not a PNG signature")
    pos = len(SIGNATURE)
    while pos < len(data):
        if pos + 8 > len(data):
            raise PngError("truncated chunk header")
        length, kind = struct.unpack(">I4s", data[pos : pos + 8])
        body = data[pos + 8 : pos + 8 + length]
        if len(body) != length or pos + 12 + length > len(data):
            raise PngError("truncated %r chunk" % kind)
        (crc,) = struct.unpack(">I", data[pos + 8 + length : pos + 12 + length])
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            raise PngError("bad CRC in %r chunk" % kind)
        yield kind, body
        pos += 12 + length
        if kind == b"IEND":
            return
    raise PngError("no IEND chunk")


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def constant_rows(width):
    """Filtered alpha bytes of a row of constant alpha v under a row of the same v."""
    table = {}
    for v in (0, 255):
        tail = bytes(width - 1)
        table[v] = {
            0: bytes([v]) * width,
            1: bytes([v]) + tail,
            2: bytes(width),
            3: bytes([(v - v // 2) & 255]) + tail,
            4: bytes(width),
        }
    return table


def unfilter_alpha(kind, cur, prev):
    """Reconstructs one row of alpha bytes; PNG filters work channel by channel."""
    n = len(cur)
    out = bytearray(cur)
    if kind == 0:
        return out
    if kind == 1:
        for i in range(1, n):
            out[i] = (out[i] + out[i - 1]) & 255
    elif kind == 2:
        for i in range(n):
            out[i] = (out[i] + prev[i]) & 255
    elif kind == 3:
        out[0] = (out[0] + prev[0] // 2) & 255
        for i in range(1, n):
            out[i] = (out[i] + (out[i - 1] + prev[i]) // 2) & 255
    elif kind == 4:
        out[0] = (out[0] + prev[0]) & 255
        for i in range(1, n):
            out[i] = (out[i] + paeth(out[i - 1], prev[i], prev[i - 1])) & 255
    else:
        raise PngError("unknown filter type %d" % kind)
    return out


def decode(path):
    """Returns (width, height, alpha rows); alpha is None for images without alpha."""
    with open(path, "rb") as f:
        data = f.read()
    header, idat, seen = None, [], []
    for kind, body in read_chunks(data):
        seen.append(kind)
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
    if not seen or seen[0] != b"IHDR" or header is None:
        raise PngError("IHDR is not the first chunk")
    width, height, depth, ctype, _comp, _filt, interlace = header
    if width == 0 or height == 0:
        raise PngError("empty image")
    if ctype not in CHANNELS or depth != 8 or interlace != 0:
        raise PngError("unsupported format: colour type %d, depth %d, interlace %d" % (ctype, depth, interlace))
    raw = zlib.decompress(b"".join(idat))
    bpp = CHANNELS[ctype]
    stride = width * bpp + 1
    if len(raw) != stride * height:
        raise PngError("pixel data is %d bytes, expected %d" % (len(raw), stride * height))
    if ctype not in (4, 6):
        return width, height, None
    consts = constant_rows(width)
    rows = []
    prev = bytes(width)
    prev_const = 0
    for y in range(height):
        kind = raw[y * stride]
        row = raw[y * stride + 1 + bpp - 1 : (y + 1) * stride : bpp]
        if prev_const is not None and kind in consts[prev_const] and row == consts[prev_const][kind]:
            cur = prev
        else:
            cur = bytes(unfilter_alpha(kind, row, prev))
            prev_const = cur[0] if cur.count(cur[0]) == width and cur[0] in (0, 255) else None
        rows.append(cur)
        prev = cur
    return width, height, rows


def problems_of(path, width, height, kind):
    if not os.path.exists(path):
        return ["missing"]
    try:
        w, h, alpha = decode(path)
    except (PngError, zlib.error, struct.error) as e:
        return ["not a valid PNG: %s" % e]
    if (w, h) != (width, height):
        return ["is %d x %d, expected %d x %d" % (w, h, width, height)]
    if alpha is None:
        return [] if kind in ("ground", "background", "backdrop") else ["has no transparency"]
    found = []
    visible = sum(len(r) - r.count(0) for r in alpha)
    if visible == 0:
        found.append("has no visible pixels")
    elif visible < w * h // 100:
        found.append("is nearly empty (%d visible pixels)" % visible)
    if kind in ("ground", "background", "backdrop"):
        seethrough = sum(len(r) - r.count(255) for r in alpha)
        if seethrough:
            found.append("has %d see-through pixels, expected none" % seethrough)
    if kind in ("figure", "title"):
        edge = alpha[0].count(0) != w or any(r[0] or r[-1] for r in alpha)
        if edge:
            found.append("touches the top or side edges: a figure needs a transparent margin")
        if sum(r.count(0) for r in alpha) < w * h // 10:
            found.append("is less than a tenth transparent: not a cut-out")
    if kind == "scenery" and sum(r.count(0) for r in alpha) < w * h // 20:
        found.append("is less than a twentieth transparent: scenery must let the page behind show")
    return found


def tsv_rows(path, fields):
    """The tab-separated rows of a file that have at least `fields` cells."""
    with open(path, encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f]
    return [row for row in rows if len(row) >= fields]


def cross_check(images, tsv):
    found = []
    for _page, name, w, h in (row[:4] for row in tsv_rows(tsv, 4) if row[2].isdigit()):
        w, h = int(w), int(h)
        if name not in images:
            found.append("%s: named by the program, missing from the picture table" % name)
        elif images[name][:2] != (w, h):
            found.append("%s: program says %d x %d, picture table %d x %d" % (name, w, h, *images[name][:2]))
    return found


def title_check(tsv, art_dir):
    """Each title picture's source carries every word of the program's title text."""
    found = []
    for name, _language, text in (row[:3] for row in tsv_rows(tsv, 3)):
        path = os.path.join(art_dir, name + ".svg")
        if not os.path.exists(path):
            found.append("%s: title picture has no source" % name)
            continue
        with open(path, encoding="utf-8") as g:
            source = g.read()
        missing = [word for word in text.split() if ">%s" % word not in source and " %s" % word not in source]
        if missing:
            found.append("%s: title picture lacks %s" % (name, ", ".join(missing)))
    return found


def manifest_check(images, path):
    """The committed manifest, which the build renders from, lists every picture at
    its pixel size (name -> (width, height, kind))."""
    manifest = {row[0]: (int(row[1]), int(row[2])) for row in tsv_rows(path, 3)
                if row[1].isdigit() and row[2].isdigit()}
    found = []
    for name in sorted(set(images) | set(manifest)):
        if name not in manifest:
            found.append("%s: missing from the manifest" % name)
        elif name not in images:
            found.append("%s: in the manifest, not named by the content" % name)
        elif manifest[name] != images[name][:2]:
            found.append("%s: manifest says %d x %d, expected %d x %d" % (name, *manifest[name], *images[name][:2]))
    return found


def export_checks(out, images):
    """The layer sizes and titles of a fresh export, read the way the program reads them."""
    layers, titles = os.path.join(out, "layers.tsv"), os.path.join(out, "titles.tsv")
    if not os.path.exists(layers):
        return ["content export wrote no layers.tsv"]
    found = cross_check(images, layers)
    named = {row[1] for row in tsv_rows(layers, 4)}
    layer_names = {n for n, (_w, _h, kind) in images.items() if kind not in ("control", "backdrop")}
    found += ["%s: in the picture table, not named by the program" % n for n in sorted(layer_names - named)]
    if os.path.exists(titles):
        found += title_check(titles, ART)
    return found


def all_checks(assets, export=None):
    try:
        images = art_table.all_images()
    except art_table.ContentError as e:
        return 0, ["content: %s" % e]
    rendered = {name: (*art_resolution.pixel_size(name, w, h, kind), kind)
                for name, (w, h, kind) in images.items()}
    failures = []
    for name, (w, h, kind) in sorted(rendered.items()):
        for p in problems_of(os.path.join(assets, name + ".png"), w, h, kind):
            failures.append("%s.png %s" % (name, p))
    failures += manifest_check(rendered, os.path.join(ART, "manifest.tsv"))
    if export:
        failures += export_checks(export, images)
    return len(images), failures


def main(argv):
    parser = argparse.ArgumentParser(description="Checks the book's rendered pictures.")
    parser.add_argument("assets")
    art_table.add_content_argument(parser)
    parser.add_argument("--program", help="lumo-book, to export its content afresh and check against it")
    args = parser.parse_args(argv[1:])
    if args.program:
        with tempfile.TemporaryDirectory() as out:
            run = subprocess.run([args.program, "--export-content", out], capture_output=True, text=True,
                                 timeout=120)
            if run.returncode != 0:
                count, failures = 0, ["content export failed (%d): %s" % (run.returncode, run.stderr.strip()[-400:])]
            else:
                art_table.use_content(out)
                count, failures = all_checks(args.assets, out)
    else:
        art_table.use_content_argument(args)
        count, failures = all_checks(args.assets)
    for f in failures:
        print("FAIL " + f)
    print("%d images checked%s, %d problems"
          % (count, " against the program's content" if args.program else "", len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
