"""Grounds: the floor of each page, lying flat and seen steeply from the camera.

A ground is drawn on 1024 x 2000 layout pixels over 480 x 833 world units (and
rendered with half the rows: art_resolution); its top row is the far edge. In the drawing space a circle is a circle lying on the ground, which the
camera, 70 units above it, sees flattened. Things standing up from the ground
(grass blades) are drawn d / 70 times taller at depth d so that they still read as
upright. Rows of about 760 (the foot of the background) to 1800 (the bottom of the
screen) are what the reader sees.
"""

import math

from art_draw import col, darker, lighter

ROWS = 2000
HALF_DEPTH = 833.3333 / 2


def depth(row):
    """Distance from the camera (along the view) of a ground row."""
    return 450.0 + (HALF_DEPTH - row * 833.3333 / ROWS)


def stretch(row):
    return depth(row) / 70.0


def spot(c, x, row, r, fill, opacity=None, outline=False):
    """A round patch lying flat on the ground."""
    c.circle(x, row, r, fill, outline=outline, opacity=opacity)


def scatter(c, count, colours, r_range, rows=(700, 1950), opacity=None):
    rng = c.rng
    for _ in range(count):
        # Uniform in depth, so far rows are not crowded.
        row = rng.uniform(*rows)
        spot(c, rng.uniform(0, c.width), row, rng.uniform(*r_range), rng.choice(colours), opacity)


def tufts(c, count, colour, size, rows=(700, 1950)):
    """Grass tufts lying on the ground: short strokes pointing away from the camera."""
    rng = c.rng
    strokes = []
    for _ in range(count):
        row = rng.uniform(*rows)
        x = rng.uniform(0, c.width)
        k = stretch(row)
        for dx in (-size * 0.6, 0, size * 0.6):
            strokes.append("M%.1f,%.1f L%.1f,%.1f" % (x + dx, row, x + dx * 1.6, row - size * k * 0.9))
    # One path for all the blades keeps the source small.
    c.add('<path d="%s" fill="none" stroke="%s" stroke-width="%.1f" stroke-linecap="round"/>'
          % (" ".join(strokes), col(colour), max(2.0, size * 0.35)))


def base(c, far, near):
    c.rect(0, 0, c.width, ROWS, c.linear([(0, far), (0.38, far), (1, near)]), outline=False)


def path_band(c, xs, width, colour):
    """A path of constant width (so it narrows with distance), through (row, x) points."""
    left = [(x - width / 2, row) for row, x in xs]
    right = [(x + width / 2, row) for row, x in reversed(xs)]
    pts = left + right
    c.poly(pts, colour, outline=darker(colour, 0.2), width=6)


def flowers(c, count, colours, rows=(900, 1950)):
    rng = c.rng
    for _ in range(count):
        row = rng.uniform(*rows)
        x = rng.uniform(10, c.width - 10)
        r = rng.uniform(9, 16)
        colour = rng.choice(colours)
        for k in range(5):
            a = k * 2 * math.pi / 5
            spot(c, x + r * math.cos(a), row + r * math.sin(a), r * 0.7, colour)
        spot(c, x, row, r * 0.5, "#f7d154")


def meadow(c, far="#9ccc62", near="#6fae3e", flowers_=True, path=None, path_colour="path"):
    base(c, far, near)
    scatter(c, 90, [lighter(near, 0.08), darker(near, 0.05)], (20, 60), opacity=0.5)
    tufts(c, 260, darker(near, 0.25), 9)
    tufts(c, 160, lighter(far, 0.2), 7)
    if flowers_:
        flowers(c, 70, ["#ffffff", "#f4a6b8", "#f7d154", "#9b7bc8"])
    if path:
        path_band(c, path, 150, path_colour)


def forest_floor(c):
    base(c, "#7aa84e", "#557f34")
    scatter(c, 120, ["#8a6a3a", "#6f8f3a", "#9a7a42"], (8, 20), opacity=0.45)
    tufts(c, 220, "#3f6a2a", 9)
    rng = c.rng
    for _ in range(60):
        row = rng.uniform(800, 1950)
        x = rng.uniform(0, c.width)
        c.ellipse(x, row, 14, 7, rng.choice(["#d9862a", "#c9a23a", "#b5522a"]), outline=False,
                  rotate=rng.uniform(0, 180))


def floorboards(c):
    width = 96
    x = 0
    i = 0
    rng = c.rng
    while x < c.width:
        colour = ["#c98f55", "#bf854c", "#d19a60"][i % 3]
        c.rect(x, 0, width, ROWS, colour, outline=False)
        c.line_([(x, 0), (x, ROWS)], "#8a5a2b", 4)
        row = rng.uniform(0, 500)
        while row < ROWS:
            c.line_([(x, row), (x + width, row)], "#8a5a2b", 3)
            row += rng.uniform(500, 900)
        x += width
        i += 1
    # A round rag rug in the middle of the kitchen.
    centre = 1280
    for r, colour in ((260, "#d2574c"), (210, "#f2c46a"), (160, "#5f95c8"), (110, "#f2c46a"), (55, "#d2574c")):
        spot(c, c.width / 2, centre, r, colour, outline=darker(colour, 0.3))


def earth_floor(c):
    base(c, "#a87a4c", "#8a5e36")
    scatter(c, 160, ["#7a5230", "#b88a5a", "#6e4a2a"], (6, 20))
    rng = c.rng
    for _ in range(120):
        row = rng.uniform(800, 1950)
        x = rng.uniform(0, c.width)
        a = rng.uniform(0, math.pi)
        c.line_([(x, row), (x + 26 * math.cos(a), row + 26 * math.sin(a))], "#e6c870", 3)


def water(c, rows, colour="#5fb2d8"):
    top, bottom = rows
    c.rect(0, top, c.width, bottom - top, c.linear([(0, lighter(colour, 0.1)), (1, darker(colour, 0.1))]),
           outline=False)
    rng = c.rng
    for _ in range(int((bottom - top) / 6)):
        row = rng.uniform(top + 10, bottom - 10)
        x = rng.uniform(0, c.width)
        w = rng.uniform(30, 90)
        c.line_([(x, row), (x + w, row)], "#ffffff", 4, opacity=0.45)


def shore(c, water_rows, sand_rows, grass_far="#8cc152", grass_near="#6fae3e"):
    meadow(c, grass_far, grass_near, flowers_=False)
    c.rect(0, sand_rows[0], c.width, sand_rows[1] - sand_rows[0], "#e8d4a0", outline=False)
    scatter(c, 40, ["#c8b080", "#f4e4b8"], (6, 14), rows=sand_rows)
    water(c, water_rows)
