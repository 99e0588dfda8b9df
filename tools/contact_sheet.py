#!/usr/bin/env python3
"""Contact sheets for reviewing the book's pictures at a glance.

Usage: contact_sheet.py [--content DIR] ASSETS_DIR OUT_DIR [PAGE ...]

DIR is the program's content export (lumo-book --export-content DIR; default
$LUMO_CONTENT): the pages' layers, their placing and the narration shown on the
panel come from it.

Writes OUT_DIR/pageNN.png (and page01_en.png, page18_en.png for the English
titles): the page's layers composed as the book's camera sees them (perspective
camera at (0, 100, 450), 45 degree field of view zoomed by 0.7 across the
screen's long side, 1024 x 768), the ground foreshortened strip by strip, then
the backdrop, background and upright layers painted far to near, each darkened
by the share of light the book's lamp gives it (the built pictures are lifted
to make up for the lamp), so that the sheet shows the colours as drawn and as
the reader sees them. The pages through the real program are tools/tour.py's
sheet. OUT_DIR/controls.png shows every control, the two
menus and the narration panel assembled as they stand; credits.png the credits
page; overview.png every page sheet as a thumbnail. Naming pages redraws only
their sheets.
"""

import argparse
import base64
import math
import os
import struct
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_stage  # noqa: E402
import art_table  # noqa: E402

SCREEN_W, SCREEN_H = 1024, 768
CAMERA = (0.0, 100.0, 450.0)
# The device is a portrait screen turned to landscape: the camera's field of view
# is its portrait height, which the reader sees as the page's width.
FOCAL = (SCREEN_W / 2.0) / (math.tan(math.radians(22.5)) / 0.7)
UNIT_W, UNIT_H = 0.46875, 0.41666666
GROUND_Y = 30.0


class Sheet:
    """A sheet of pictures. With `shaded`, each picture is darkened by the share of
    light the book's lamp gives it (art_stage): the built pictures are lifted to
    make up for the lamp, and shaded they show as the reader sees them."""

    def __init__(self, assets, width, height, background="#303030", shaded=False):
        self.assets = assets
        self.width, self.height = width, height
        self.shaded = shaded
        self.defs, self.body, self.loaded, self.shades = [], [], {}, {}
        self.body.append('<rect width="%d" height="%d" fill="%s"/>' % (width, height, background))

    def shade_of(self, name):
        """The filter that darkens a picture by its lamp's share, or None."""
        share = art_stage.share(name) if self.shaded else None
        if share is None:
            return None
        key = "%.4f" % share
        if key not in self.shades:
            fid = "s%d" % len(self.shades)
            self.defs.append('<filter id="%s" color-interpolation-filters="sRGB"><feColorMatrix type="matrix" '
                             'values="%s 0 0 0 0 0 %s 0 0 0 0 0 %s 0 0 0 0 0 1 0"/></filter>' % (fid, key, key, key))
            self.shades[key] = fid
        return self.shades[key]

    def image_id(self, name):
        if name not in self.loaded:
            with open(os.path.join(self.assets, name + ".png"), "rb") as f:
                png = f.read()
            data = base64.b64encode(png).decode("ascii")
            known = art_table.all_images().get(name)
            # A picture the book being drawn does not make (the program's backdrop
            # behind another book) is placed at its own size.
            w, h = known[:2] if known else struct.unpack(">II", png[16:24])
            iid = "i%d" % len(self.loaded)
            self.defs.append(
                '<image id="%s" width="%d" height="%d" preserveAspectRatio="none" '
                'href="data:image/png;base64,%s"/>' % (iid, w, h, data)
            )
            self.loaded[name] = (iid, w, h)
        return self.loaded[name]

    def place(self, name, x, y, w, h, src=None):
        """Draws the image (or its src = (x, y, w, h) region) into the box."""
        iid, iw, ih = self.image_id(name)
        sx, sy, sw, sh = src or (0, 0, iw, ih)
        shade = self.shade_of(name)
        self.body.append(
            '<svg x="%.2f" y="%.2f" width="%.2f" height="%.2f" viewBox="%.3f %.3f %.3f %.3f" '
            'preserveAspectRatio="none"><use href="#%s"%s/></svg>'
            % (x, y, w, h, sx, sy, sw, sh, iid, ' filter="url(#%s)"' % shade if shade else "")
        )

    def text(self, x, y, s, size=14, fill="#ffffff", anchor="start"):
        s = s.replace("&", "&amp;").replace("<", "&lt;")
        self.body.append(
            '<text x="%.1f" y="%.1f" font-family="DejaVu Sans" font-size="%d" fill="%s" '
            'text-anchor="%s">%s</text>' % (x, y, size, fill, anchor, s)
        )

    def rect(self, x, y, w, h, stroke="#888888"):
        self.body.append(
            '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="none" stroke="%s"/>' % (x, y, w, h, stroke)
        )

    def write(self, path, size=None):
        """Renders the sheet to the PNG `path`, scaled to `size` (width, height) when given."""
        svg = (
            '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            'width="%d" height="%d">\n<defs>%s</defs>\n%s\n</svg>\n'
            % (self.width, self.height, "\n".join(self.defs), "\n".join(self.body))
        )
        tmp = path[:-4] + ".svg"
        with open(tmp, "w", encoding="utf-8") as f:
            f.write(svg)
        scale = ["-w", str(size[0]), "-h", str(size[1])] if size else []
        subprocess.run(["rsvg-convert", *scale, "-o", path, tmp], check=True)
        os.remove(tmp)


def project(x, y, z):
    d = CAMERA[2] - z
    return SCREEN_W / 2.0 + (x - CAMERA[0]) * FOCAL / d, SCREEN_H / 2.0 - (y - CAMERA[1]) * FOCAL / d, d


def upright(sheet, name, left, right, bottom, top, z):
    x0, y0, _ = project(left, top, z)
    x1, y1, _ = project(right, bottom, z)
    sheet.place(name, x0, y0, x1 - x0, y1 - y0)


def ground(sheet, layer):
    """The flat ground, cut into strips, each scaled for its own depth."""
    w = layer.width * UNIT_W * layer.scale[0]
    h = layer.height * UNIT_H * layer.scale[1]
    rows = layer.height
    strips = 120
    for i in range(strips):
        # Strips are finer near the camera, where the ground is seen large.
        r0 = rows * (i / strips) ** 0.6
        r1 = rows * ((i + 1) / strips) ** 0.6
        yl0, yl1 = h / 2 - r0 / rows * h, h / 2 - r1 / rows * h
        _, s0, d0 = project(0, GROUND_Y, -yl0)
        _, s1, d1 = project(0, GROUND_Y, -yl1)
        if d1 <= 1 or s0 > SCREEN_H:
            continue
        half = (w / 2.0) * FOCAL / ((d0 + d1) / 2.0)
        sheet.place(layer.name, SCREEN_W / 2.0 - half, s0, 2 * half, max(s1 - s0, 0.5) + 0.6,
                    (0, r0, layer.width, r1 - r0))


def page_sheet(assets, p, out, english=False, label=True, shaded=True, size=None):
    sheet = Sheet(assets, SCREEN_W, SCREEN_H, "#000000", shaded)
    # The backdrop: 1440 x 960 plane, bottom centre at (-100, -100, -400).
    upright(sheet, "layer_bg", -820, 620, -100, 860, -400)
    layers = art_table.page_layers(p)
    titles = art_table.titles()
    drop = 90 if p == 1 else 130
    standing = []
    for layer in layers:
        if layer.kind == "ground":
            ground(sheet, layer)
            continue
        if layer.kind == "title" and (titles[layer.name][0] == "en") != english:
            continue
        lx, ly, lz = layer.location
        if layer.kind == "title":
            lz -= drop
        w = layer.width * UNIT_W * layer.scale[0]
        h = layer.height * UNIT_H * layer.scale[1]
        # Ground frame -> world: (x, y, z) -> (x, 30 + z, -y).
        standing.append((-ly, layer.name, lx - w / 2, lx + w / 2, GROUND_Y + lz, GROUND_Y + lz + h))
    for z, name, left, right, bottom, top in sorted(standing):
        upright(sheet, name, left, right, bottom, top, z)
    if label:
        sheet.body.append('<rect x="4" y="744" width="%d" height="20" rx="4" fill="#000000" opacity="0.55"/>'
                          % (70 if not english else 170))
        sheet.text(10, 760, "page %d%s" % (p, " (English titles)" if english else ""), 13, "#ffffff")
    sheet.write(out, size)


def assembled(sheet, parts, ox, oy, scale):
    """Draws nodes given as (name, f, x, y[, pivot width]), children after parents.

    Each picture stands on a plane of its pixel size times f. Locations are
    relative to the parent's origin, which is its bottom centre.
    """
    for name, f, x, y, *pivot in parts:
        a, b = art_table.CONTROLS[name]
        w, h = a * UNIT_W * f * scale, b * UNIT_H * f * scale
        px = (pivot[0] if pivot else a) * UNIT_W * f * 0.5 * scale
        sheet.place(name, ox + x * scale - px, oy - y * scale - h, w, h)


def language_menu(english_chosen):
    """The language menu with one language's button lit and its label in the chosen style."""
    lit, unlit = "menu-btn-highlighted", "menu-btn"
    return [
        ("menu-lan", 0.3, 0, 0),
        (lit if english_chosen else unlit, 0.3, -14, 7.5),
        (unlit if english_chosen else lit, 0.3, 14, 7.5),
        ("english" if english_chosen else "english_default", 0.255, -14, 9.6),
        ("chinese_default" if english_chosen else "chinese", 0.255, 13.5, 9.4),
    ]


def first_narration():
    """The words of the first Russian recording the export lists: the first story page's narration."""
    folder = art_table.content_dir()
    with open(os.path.join(folder, "recordings.tsv"), encoding="utf-8") as f:
        for row in f:
            cells = row.rstrip("\n").split("\t")
            if len(cells) == 3 and cells[1] == "ru":
                with open(os.path.join(folder, cells[2]), encoding="utf-8") as text:
                    return " ".join(text.read().split())
    return ""


def wrapped(text, width, most):
    """Words into at most `most` lines of about `width` letters, the last cut short with an ellipsis."""
    lines = [""]
    for word in text.split():
        if lines[-1] and len(lines[-1]) + 1 + len(word) > width:
            lines.append("")
        lines[-1] = (lines[-1] + " " + word).strip()
    if len(lines) > most:
        lines = lines[:most]
        lines[-1] += " …"
    return lines


def controls_sheet(assets, out):
    sheet = Sheet(assets, 1400, 1420, shaded=True)
    x, y, row_h = 20, 40, 0
    sheet.text(20, 24, "controls and hints (twice their pixel size)", 16)
    for name, (w, h) in art_table.CONTROLS.items():
        if name.startswith("credits") or name == "layer_bg":
            continue
        k = 2 if w < 300 else 1
        if x + w * k > 1380:
            x, y, row_h = 20, y + row_h + 30, 0
        sheet.place(name, x, y, w * k, h * k)
        sheet.rect(x, y, w * k, h * k, "#555555")
        sheet.text(x, y + h * k + 14, name, 11, "#cccccc")
        x += w * k + 24
        row_h = max(row_h, h * k)
    y += row_h + 50
    sheet.text(20, y, "ending menu, language menu and narration panel as the book stands them", 16)
    s = 12.0
    assembled(sheet, [
        ("menu-end", 0.255, 0, 0),
        ("menu-end-btn", 0.204, 0, 22),
        ("menu-end-btn", 0.204, 0, 13),
        ("text_replay_ru", 0.21, 0, 25, 96),
        ("text_moreapps_ru", 0.25, -2, 16.2, 96),
    ], 320, y + 420, s)
    assembled(sheet, language_menu(True), 1010, y + 170, 8.0)
    assembled(sheet, language_menu(False), 1010, y + 330, 8.0)
    # Narration panel: a centred plane at 0.15 of its pixel size, repeat button
    # at 0.1 of its size, (21, 5) from the panel's centre.
    panel, button = art_table.CONTROLS["aside_bg"], art_table.CONTROLS["aside_repeat_highlighted"]
    pw, ph = panel[0] * UNIT_W * 0.15 * s, panel[1] * UNIT_H * 0.15 * s
    px0, py0 = 700 - pw / 2, y + 470
    sheet.place("aside_bg", px0, py0, pw, ph)
    bw, bh = button[0] * UNIT_W * 0.1 * s, button[1] * UNIT_H * 0.1 * s
    sheet.place("aside_repeat_highlighted", 700 + 21 * s - bw / 2, py0 + ph / 2 - 5 * s - bh / 2, bw, bh)
    for i, line in enumerate(wrapped(first_narration(), 66, 2)):
        sheet.text(px0 + 40, py0 + ph / 2 - 8 + 26 * i, line, 20)
    sheet.write(out)


def credits_sheet(assets, out):
    """The 463 x 721 credits page: title, content picture, the web view's place, back button."""
    sheet = Sheet(assets, 463 + 40, 721 + 40, "#202020")
    sheet.rect(20, 20, 463, 721)
    for name, x, y in (("credits_title", 20, 30), ("credits_content", 20, 160)):
        sheet.place(name, x, y, *art_table.CONTROLS[name])
    sheet.text(251, 520, "(web view)", 14, "#888888", "middle")
    back = art_table.CONTROLS["credits_back"]
    sheet.place("credits_back", 20 + (463 - back[0]) / 2, 680, *back)
    sheet.write(out)


def overview_sheet(out_dir, out):
    """All eighteen page sheets as thumbnails, six to a row."""
    sheet = Sheet(out_dir, 6 * 330 + 10, 3 * 260 + 10, "#202020")
    for p in range(1, art_table.page_count() + 1):
        path = os.path.join(out_dir, "page%02d.png" % p)
        with open(path, "rb") as f:
            data = base64.b64encode(f.read()).decode("ascii")
        x, y = 10 + ((p - 1) % 6) * 330, 10 + ((p - 1) // 6) * 260
        sheet.body.append('<image x="%d" y="%d" width="320" height="240" href="data:image/png;base64,%s"/>'
                          % (x, y, data))
        sheet.text(x + 6, y + 234, str(p), 16)
    sheet.write(out)


def main(argv):
    parser = argparse.ArgumentParser(description="Contact sheets of the book's pictures.")
    art_table.add_content_argument(parser)
    parser.add_argument("assets")
    parser.add_argument("out")
    parser.add_argument("pages", nargs="*", type=int)
    args = parser.parse_args(argv[1:])
    art_table.use_content_argument(args)
    try:
        write_sheets(args.assets, args.out, set(args.pages))
    except art_table.ContentError as e:
        sys.exit("contact_sheet: %s" % e)


def write_sheets(assets, out, only):
    os.makedirs(out, exist_ok=True)
    for p in range(1, art_table.page_count() + 1):
        if only and p not in only:
            continue
        page_sheet(assets, p, os.path.join(out, "page%02d.png" % p))
        if any(layer.kind == "title" for layer in art_table.page_layers(p)):
            page_sheet(assets, p, os.path.join(out, "page%02d_en.png" % p), english=True)
    if not only:
        controls_sheet(assets, os.path.join(out, "controls.png"))
        credits_sheet(assets, os.path.join(out, "credits.png"))
        overview_sheet(out, os.path.join(out, "overview.png"))


if __name__ == "__main__":
    main(sys.argv)
