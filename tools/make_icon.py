#!/usr/bin/env python3
"""Writes the application icon's source, assets/icon/lumo-book.svg.

Drawn with the book's own kit and cast: Ryzhik's face under the little star
on the night sky of the book's last pages, on a rounded square. The build
renders it to PNG at every size the desktop asks for (cmake/assets_icon.cmake).
Usage: make_icon.py [OUTPUT]
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_cast  # noqa: E402
from art_draw import Canvas, star_points  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIZE = 256


def draw():
    c = Canvas(SIZE, SIZE, "icon")
    sky = c.linear([(0, "night_high"), (1, "night")])
    c.rect(8, 8, 240, 240, sky, outline="#1c2547", width=6, r=44)
    for x, y, r in ((48, 58, 3), (82, 34, 2), (200, 160, 2.5), (40, 132, 2), (214, 208, 2)):
        c.blob(star_points(x, y, r * 2, r), "#fff6c0", outline=False, opacity=0.8)
    art_cast.star(c, 194, 58, 26)
    # The face is most of the icon, so that it still reads at 16 pixels.
    art_cast.fox_head(c, 110, 170, 60, look=(4, -3), tilt=-8)
    return c.svg()


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets", "icon", "lumo-book.svg")
    text = draw()
    if os.path.exists(out) and open(out, encoding="utf-8").read() == text:
        return
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
