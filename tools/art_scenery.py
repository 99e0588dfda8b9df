"""Scenery pieces: skies, hills, trees, bushes, houses, water and ground textures.

Everything stands on a base line (y of its foot) in the canvas' drawing space.
"""

import math

from art_draw import darker, lighter, mix, smooth_path, star_points, wobble_circle
import art_cast

SKIES = {
    "morning": [(0, "#7ec4ec"), (0.6, "#bfe6f5"), (1, "#fde9c4")],
    "day": [(0, "#5fb2e0"), (0.65, "#a9dcf2"), (1, "#e4f4f8")],
    "afternoon": [(0, "#6fb6e0"), (0.6, "#bde2ef"), (1, "#fbe3b0")],
    "sunset": [(0, "#6d6fb8"), (0.45, "#e98f8a"), (0.8, "#f8b870"), (1, "#fde0a0")],
    "dusk": [(0, "#2f3f7a"), (0.5, "#7a6aa8"), (0.85, "#e59a8e"), (1, "#f6c28e")],
    "night": [(0, "#101936"), (0.6, "#233463"), (1, "#3b4f82")],
}

# Colour scale and offset per time of day, applied to whole pictures.
LIGHT = {
    "day": None,
    "morning": ((1.02, 1.0, 0.96), (0, 0, 0)),
    "afternoon": ((1.04, 0.98, 0.88), (0.01, 0, 0)),
    "forest": ((0.82, 0.92, 0.86), (0, 0.01, 0.02)),
    "indoor": ((1.04, 0.95, 0.84), (0.02, 0.01, 0)),
    "burrow": ((1.0, 0.88, 0.72), (0.03, 0.01, 0)),
    "sunset": ((1.03, 0.9, 0.86), (0.04, 0.01, 0.03)),
    "dusk": ((0.78, 0.72, 0.92), (0.03, 0.02, 0.06)),
    "night": ((0.5, 0.56, 0.8), (0.02, 0.03, 0.08)),
}


def light(c, mood, strength=1.0, from_now=False):
    t = LIGHT.get(mood)
    if not t:
        return
    scale, offset = t
    c.tint(tuple(1 + (v - 1) * strength for v in scale), tuple(v * strength for v in offset), from_now)


def sky(c, mood, bottom):
    c.rect(0, 0, c.width, bottom + 2, c.linear(SKIES[mood]), outline=False)


def stars_field(c, n, top, bottom, r=3.0):
    rng = c.rng
    for _ in range(n):
        x, y = rng.uniform(10, c.width - 10), rng.uniform(top, bottom)
        k = rng.uniform(0.5, 1.3)
        if rng.random() < 0.3:
            c.poly(star_points(x, y, r * 2 * k, r * 0.8 * k), "#fff4c0", outline=False)
        else:
            c.circle(x, y, r * 0.6 * k, "#fff8dc", outline=False, opacity=0.9)


def sun(c, x, y, r, colour="#ffe27a"):
    c.circle(x, y, r * 1.8, c.radial([(0, colour, 0.6), (1, colour, 0)]), outline=False)
    c.circle(x, y, r, colour, outline=darker(colour, 0.15), width=3)


def moon(c, x, y, r):
    c.circle(x, y, r * 2.2, c.radial([(0, "#fff6d0", 0.5), (1, "#fff6d0", 0)]), outline=False)
    c.path("M %.1f,%.1f A %.1f,%.1f 0 1 0 %.1f,%.1f A %.1f,%.1f 0 1 1 %.1f,%.1f Z"
           % (x, y - r, r, r, x + r * 0.3, y + r * 0.95, r * 0.8, r * 0.8, x, y - r), "#fff3c2",
           outline="#e0c46a", width=3)


def cloud(c, x, y, w, colour="#ffffff", opacity=0.9):
    h = w * 0.32
    pts = []
    bumps = 7
    for i in range(bumps + 1):
        t = i / bumps
        pts.append((x - w / 2 + w * t, y - h * (0.45 + 0.55 * math.sin(math.pi * t)) * (0.8 + 0.2 * ((i * 7) % 3) / 2)))
    pts += [(x + w / 2, y), (x - w / 2, y)]
    c.blob(pts, colour, outline=False, opacity=opacity)


def hills(c, base, amp, colour, seed_phase=0.0, n=5, bottom=None):
    """A smooth band of hills whose tops waver around y = base."""
    w = c.width
    pts = []
    for i in range(n * 4 + 1):
        x = -40 + (w + 80) * i / (n * 4)
        y = base - amp * (0.5 + 0.5 * math.sin(i * math.pi / 2 + seed_phase) * math.cos(i * 0.7 + seed_phase))
        pts.append((x, y))
    bottom = c.height + 5 if bottom is None else bottom
    d = smooth_path(pts, closed=False) + " L %.1f,%.1f L -40,%.1f Z" % (w + 40, bottom, bottom)
    c.path(d, colour, outline=False)


def treeline(c, base, height, colour, pointy=False, step=38):
    """A far row of tree tops."""
    rng = c.rng
    x = -20
    while x < c.width + 40:
        h = height * rng.uniform(0.7, 1.2)
        if pointy:
            c.poly([(x - step * 0.6, base + 2), (x, base - h), (x + step * 0.6, base + 2)], colour, outline=False)
        else:
            c.ellipse(x, base - h * 0.5, step * 0.75, h * 0.6, colour, outline=False)
        x += step * rng.uniform(0.6, 1.0)
    c.rect(-5, base, c.width + 10, 6, colour, outline=False)


def canopy(c, x, y, rx, ry, leaf, rng, lumps=9):
    c.blob(wobble_circle(x, y, rx, ry, lumps * 2, rng, 0.06), leaf, outline=darker(leaf, 0.3), width=c.line * 1.2)
    for _ in range(lumps // 2):
        a = rng.uniform(0, 2 * math.pi)
        c.ellipse(x + rx * 0.45 * math.cos(a), y + ry * 0.4 * math.sin(a) - ry * 0.1, rx * 0.32, ry * 0.26,
                  lighter(leaf, 0.18), outline=False, opacity=0.8)


def tree(c, x, base, h, leaf="leaf", trunk="bark", w=None, apples=0):
    w = w or h * 0.7
    tw = max(8, w * 0.13)
    c.blob([(x - tw, base), (x - tw * 0.6, base - h * 0.55), (x + tw * 0.6, base - h * 0.55), (x + tw, base),
            (x + tw * 1.7, base + 2), (x - tw * 1.7, base + 2)], trunk, outline=darker(trunk), width=c.line)
    canopy(c, x, base - h * 0.62, w / 2, h * 0.38, leaf, c.rng)
    for _ in range(apples):
        c.circle(x + c.rng.uniform(-w * 0.35, w * 0.35), base - h * c.rng.uniform(0.45, 0.8), h * 0.025, "red")


def birch(c, x, base, h, leaf="leaf_light"):
    tw = max(8, h * 0.045)
    c.rect(x - tw, base - h * 0.75, tw * 2, h * 0.75 + 2, "#f4f1e8", outline="#8a8478", width=c.line, r=tw * 0.6)
    rng = c.rng
    for _ in range(int(h / 25)):
        y = base - rng.uniform(10, h * 0.7)
        c.rect(x - tw + rng.uniform(0, tw), y, rng.uniform(tw * 0.6, tw * 1.2), 4, "#3d3a36", outline=False, r=2)
    canopy(c, x, base - h * 0.78, h * 0.3, h * 0.26, leaf, rng)
    canopy(c, x + h * 0.12, base - h * 0.62, h * 0.2, h * 0.16, leaf, rng, 7)
    canopy(c, x - h * 0.14, base - h * 0.6, h * 0.18, h * 0.15, leaf, rng, 7)


def fir(c, x, base, h, colour="#3f7d4e"):
    c.rect(x - h * 0.04, base - h * 0.2, h * 0.08, h * 0.2 + 2, "bark_dark", outline=False)
    tiers = 4
    for i in range(tiers):
        t = i / tiers
        top = base - h * (0.35 + 0.65 * (i + 1) / tiers)
        bot = base - h * (0.12 + 0.6 * t)
        wid = h * 0.34 * (1 - t * 0.55)
        c.poly([(x - wid, bot), (x, top), (x + wid, bot)], mix(colour, "#2a5a3a", t * 0.3), outline=darker(colour, 0.3),
               width=c.line)


def bush(c, x, base, w, h, leaf="leaf", berries=None, n=0):
    rng = c.rng
    pts = wobble_circle(x, base - h * 0.5, w / 2, h / 2, 18, rng, 0.1)
    pts = [(px, min(py, base)) for px, py in pts]
    c.blob(pts, leaf, outline=darker(leaf, 0.3), width=c.line)
    for _ in range(4):
        c.ellipse(x + rng.uniform(-w * 0.3, w * 0.3), base - h * rng.uniform(0.5, 0.8), w * 0.14, h * 0.1,
                  lighter(leaf, 0.2), outline=False, opacity=0.7)
    for _ in range(n):
        bx, by = x + rng.uniform(-w * 0.38, w * 0.38), base - h * rng.uniform(0.15, 0.85)
        r = max(3, h * 0.022)
        for k in range(3):
            c.circle(bx + (k - 1) * r * 0.9, by + (k % 2) * r * 0.8, r, berries, outline=darker(berries, 0.35),
                     width=max(1, r * 0.3))


def grass(c, x0, x1, base, h, colour="grass", density=1.0):
    """A strip of pointed grass blades standing on the base line."""
    rng = c.rng
    x = x0
    dark = darker(colour, 0.25)
    while x < x1:
        bh = h * rng.uniform(0.5, 1.0)
        lean = rng.uniform(-0.3, 0.3) * bh
        wid = h * rng.uniform(0.07, 0.12)
        c.poly([(x - wid, base + 1), (x + lean, base - bh), (x + wid, base + 1)],
               rng.choice([colour, lighter(colour, 0.15), dark]), outline=False)
        x += wid * rng.uniform(0.8, 1.6) / density


def flower(c, x, base, h, petal="pink", centre="yellow"):
    c.line_([(x, base), (x, base - h)], "leaf", max(2, h * 0.06))
    c.ellipse(x + h * 0.12, base - h * 0.4, h * 0.12, h * 0.05, "leaf", outline=False, rotate=-30)
    r = h * 0.12
    for k in range(5):
        a = k * 2 * math.pi / 5
        c.circle(x + r * math.cos(a), base - h + r * math.sin(a), r * 0.75, petal, outline=darker(petal, 0.25),
                 width=max(1, r * 0.15))
    c.circle(x, base - h, r * 0.55, centre, outline=False)


def mushroom(c, x, base, h, cap="red"):
    c.blob([(x - h * 0.14, base), (x - h * 0.1, base - h * 0.55), (x + h * 0.1, base - h * 0.55), (x + h * 0.14, base)],
           "#f6ecd6", outline="#b8a888", width=c.line)
    c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f Q %.1f,%.1f %.1f,%.1f Z"
           % (x - h * 0.5, base - h * 0.5, x, base - h * 1.25, x + h * 0.5, base - h * 0.5, x, base - h * 0.4,
              x - h * 0.5, base - h * 0.5), cap, outline=darker(cap), width=c.line)
    for dx, dy, r in ((-0.2, -0.72, 0.07), (0.15, -0.8, 0.06), (0.28, -0.6, 0.05), (-0.35, -0.57, 0.045)):
        c.circle(x + h * dx, base + h * dy, h * r, "#ffffff", outline=False)


def stone(c, x, base, w, h, colour="stone"):
    pts = wobble_circle(x, base - h * 0.45, w / 2, h * 0.55, 12, c.rng, 0.08)
    pts = [(px, min(py, base)) for px, py in pts]
    c.blob(pts, colour, outline=darker(colour, 0.3), width=c.line)
    c.ellipse(x - w * 0.15, base - h * 0.7, w * 0.18, h * 0.12, lighter(colour, 0.3), outline=False, opacity=0.7)


def reeds(c, x, base, h, n=5, spread=None):
    rng = c.rng
    spread = spread or h * 0.4
    for i in range(n):
        rx = x + rng.uniform(-spread, spread)
        rh = h * rng.uniform(0.7, 1.0)
        lean = rng.uniform(-0.08, 0.08) * rh
        c.line_([(rx, base), (rx + lean, base - rh)], "#6f9a3a", max(3, h * 0.025))
        if i % 2 == 0:
            c.rect(rx + lean - h * 0.025, base - rh - h * 0.02, h * 0.05, h * 0.16, "#8a5a3b", outline=darker("#8a5a3b"),
                   width=c.line * 0.6, r=h * 0.025)
        c.poly([(rx - h * 0.02, base), (rx + rng.uniform(-0.25, 0.25) * h, base - rh * 0.6), (rx + h * 0.02, base)],
               "#7fae48", outline=False)


def lily_pad(c, x, y, r, flower_=False):
    c.path("M %.1f,%.1f L %.1f,%.1f A %.1f,%.1f 0 1 1 %.1f,%.1f Z"
           % (x, y, x + r * 0.2, y - r * 0.35, r, r * 0.35, x + r * 0.45, y - r * 0.3), "#5fa848", outline="#3f7a34",
           width=c.line * 0.8)
    if flower_:
        for k in range(6):
            a = math.pi + k * math.pi / 5
            c.ellipse(x + r * 0.2 * math.cos(a), y - r * 0.2 + r * 0.12 * math.sin(a), r * 0.12, r * 0.22, "#f8c8d8",
                      outline="#d888a8", width=1.2, rotate=math.degrees(a) + 90)
        c.circle(x, y - r * 0.22, r * 0.08, "yellow", outline=False)


def log(c, x0, x1, base, r, colour="wood", hollow=False):
    c.rect(x0, base - 2 * r, x1 - x0, 2 * r, colour, outline=darker(colour), width=c.line, r=r * 0.3)
    rng = c.rng
    for _ in range(int((x1 - x0) / (r * 0.8))):
        yy = base - r * rng.uniform(0.3, 1.7)
        xx = rng.uniform(x0 + r, x1 - r)
        c.line_([(xx, yy), (xx + r * rng.uniform(0.5, 1.2), yy)], darker(colour, 0.2), max(2, r * 0.06))
    end = x1
    c.ellipse(end, base - r, r * 0.45, r, lighter(colour, 0.2) if not hollow else "#3a2418", outline=darker(colour),
              width=c.line)
    if not hollow:
        c.ellipse(end, base - r, r * 0.25, r * 0.6, "none", outline=darker(colour, 0.15), width=max(1.5, r * 0.05))
    else:
        c.ellipse(end, base - r, r * 0.36, r * 0.82, "#24160e", outline=False)


def round_house(c, x, base, w, h, lit=False):
    """The foxes' house: a round-doored cottage under a warm thatch roof."""
    wall = "#f3dfb8"
    c.rect(x - w * 0.42, base - h * 0.55, w * 0.84, h * 0.55, wall, outline=darker(wall, 0.4), width=c.line * 1.2,
           r=h * 0.04)
    c.rect(x + w * 0.18, base - h * 0.98, w * 0.09, h * 0.3, "#b5654a", outline=darker("#b5654a"), width=c.line)
    roof = [(x - w * 0.52, base - h * 0.5), (x - w * 0.3, base - h * 0.88), (x, base - h * 1.0),
            (x + w * 0.3, base - h * 0.88), (x + w * 0.52, base - h * 0.5)]
    c.blob(roof, "#d9a04e", outline="#8a5a2b", width=c.line * 1.2)
    for k in range(7):
        xx = x - w * 0.4 + k * w * 0.13
        c.line_([(xx, base - h * 0.55), (xx + w * 0.03, base - h * 0.78)], "#b5813a", c.line)
    door_r = w * 0.11
    c.path("M %.1f,%.1f V %.1f A %.1f,%.1f 0 0 1 %.1f,%.1f V %.1f Z"
           % (x - door_r, base, base - h * 0.28, door_r, door_r, x + door_r, base - h * 0.28, base), "#4f9a45",
           outline=darker("#4f9a45"), width=c.line * 1.2)
    c.circle(x + door_r * 0.55, base - h * 0.18, door_r * 0.1, "yellow", outline=False)
    win = "#ffe9a0" if lit else "#a9dcf2"
    for side in (-1, 1):
        wx = x + side * w * 0.27
        c.circle(wx, base - h * 0.33, w * 0.075, win, outline="#8a5a2b", width=c.line * 1.2)
        c.line_([(wx - w * 0.075, base - h * 0.33), (wx + w * 0.075, base - h * 0.33)], "#8a5a2b", c.line * 0.8)
        c.line_([(wx, base - h * 0.33 - w * 0.075), (wx, base - h * 0.33 + w * 0.075)], "#8a5a2b", c.line * 0.8)
    c.rect(x - w * 0.2, base - 6, w * 0.4, 8, "wood", outline="wood_dark", width=c.line * 0.8, r=3)
    return [(x + side * w * 0.27, base - h * 0.33, w * 0.075) for side in (-1, 1)]


def lit_window(c, x, y, r):
    c.circle(x, y, r * 2.2, c.radial([(0, "#ffe9a0", 0.7), (1, "#ffe9a0", 0)]), outline=False)
    c.circle(x, y, r, "#ffe28a", outline="#8a5a2b", width=c.line * 1.2)
    c.line_([(x - r, y), (x + r, y)], "#8a5a2b", c.line * 0.8)
    c.line_([(x, y - r), (x, y + r)], "#8a5a2b", c.line * 0.8)


def log_cabin(c, x, base, w, h):
    rows = 7
    rh = h * 0.6 / rows
    for i in range(rows):
        y = base - (i + 1) * rh
        c.rect(x - w / 2, y, w, rh, "#b27a45", outline="#6e4424", width=c.line, r=rh / 2)
        for side in (-1, 1):
            c.circle(x + side * w / 2, y + rh / 2, rh * 0.5, "#e0b27a", outline="#6e4424", width=c.line)
    c.poly([(x - w * 0.6, base - h * 0.58), (x, base - h), (x + w * 0.6, base - h * 0.58)], "#8a4a30",
           outline="#5a2e1c", width=c.line * 1.2)
    c.rect(x - w * 0.12, base - h * 0.38, w * 0.24, h * 0.38, "#7a4a28", outline="#4a2a14", width=c.line, r=6)
    c.rect(x + w * 0.22, base - h * 0.45, w * 0.16, w * 0.14, "#a9dcf2", outline="#4a2a14", width=c.line, r=4)


def beehive(c, x, base, h):
    c.rect(x - h * 0.05, base - h * 0.35, h * 0.1, h * 0.35, "wood_dark", outline=False)
    for i in range(4):
        w = h * (0.42 - abs(i - 1.2) * 0.06)
        y = base - h * 0.35 - (i + 1) * h * 0.15
        c.rect(x - w / 2, y, w, h * 0.16, "#f2c24a", outline="#a8781a", width=c.line, r=h * 0.07)
    c.ellipse(x, base - h * 0.5, h * 0.05, h * 0.035, "#5a3a1a", outline=False)
    for dx, dy in ((0.3, -0.9), (0.42, -0.75), (-0.3, -0.95)):
        bx, by = x + h * dx, base + h * dy
        c.ellipse(bx, by, h * 0.04, h * 0.03, "#f7d154", outline=BLACKISH, width=1.5)
        c.ellipse(bx - h * 0.01, by - h * 0.035, h * 0.025, h * 0.018, "#ffffff", outline=False, opacity=0.8)


BLACKISH = "#33261f"


def sunflower(c, x, base, h):
    c.line_([(x, base), (x, base - h * 0.85)], "#5e9a36", h * 0.035)
    for side, yy in ((-1, 0.45), (1, 0.6), (-1, 0.7)):
        c.ellipse(x + side * h * 0.09, base - h * yy, h * 0.1, h * 0.04, "#6aa83e", outline="#3f7a2a",
                  width=c.line * 0.8, rotate=side * -25)
    cx, cy, r = x, base - h * 0.87, h * 0.12
    for k in range(14):
        a = k * 2 * math.pi / 14
        c.ellipse(cx + r * 1.05 * math.cos(a), cy + r * 1.05 * math.sin(a), r * 0.55, r * 0.22, "#f7c52a",
                  outline="#c99418", width=c.line * 0.7, rotate=math.degrees(a))
    c.circle(cx, cy, r * 0.75, "#7a4a20", outline="#4a2a10", width=c.line)


def fern(c, x, base, h):
    rng = c.rng
    for k in range(7):
        ang = -70 + k * 23
        a = math.radians(ang)
        length = h * (0.75 + 0.25 * (1 - abs(k - 3) / 3))
        tip = (x + length * math.sin(a), base - length * math.cos(a) * 0.95)
        mid = (x + length * 0.5 * math.sin(a) * 0.8, base - length * 0.55)
        c.line_([(x, base), mid, tip], "#3f7a34", max(3, h * 0.012), smooth=True)
        for i in range(1, 9):
            t = i / 9.0
            px = x + (tip[0] - x) * t
            py = base + (tip[1] - base) * t
            leaf = h * 0.06 * (1 - t * 0.7)
            for s in (-1, 1):
                c.ellipse(px + s * leaf * 0.8, py, leaf, leaf * 0.35, rng.choice(["#5e9a36", "#6aa83e"]),
                          outline=False, rotate=ang + s * 40)


def signpost(c, x, base, h):
    c.rect(x - h * 0.04, base - h, h * 0.08, h, "wood", outline="wood_dark", width=c.line, r=4)
    for dy, side in ((0.86, 1), (0.66, -1)):
        y = base - h * dy
        w = h * 0.42
        pts = ([(x, y - h * 0.06), (x + side * w, y - h * 0.06), (x + side * (w + h * 0.08), y), (x + side * w, y + h * 0.06),
                (x, y + h * 0.06)])
        c.poly(pts, "#d9a86a", outline="wood_dark", width=c.line)
        # Worn-away letters: faint smudges only.
        for k in range(3):
            c.rect(x + side * (h * 0.08 + k * h * 0.1) - (h * 0.07 if side < 0 else 0), y - h * 0.015, h * 0.06, h * 0.03,
                   "#b88a50", outline=False, r=h * 0.015, opacity=0.6)


def bridge(c, x, base, w, h):
    c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (x - w / 2, base - h * 0.3, x, base - h * 0.75, x + w / 2, base - h * 0.3),
           "none", outline="#8a5a2b", width=h * 0.16)
    c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (x - w / 2, base - h * 0.3, x, base - h * 0.75, x + w / 2, base - h * 0.3),
           "none", outline="#c98f55", width=h * 0.1)
    for k in range(7):
        t = k / 6.0
        px = x - w / 2 + w * t
        py = base - h * 0.3 - h * 0.45 * (1 - (2 * t - 1) ** 2)
        c.line_([(px, py), (px, py - h * 0.35)], "#8a5a2b", h * 0.05)
    c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (x - w / 2, base - h * 0.65, x, base - h * 1.1, x + w / 2, base - h * 0.65),
           "none", outline="#8a5a2b", width=h * 0.06)
    for side in (-1, 1):
        c.line_([(x + side * w / 2, base), (x + side * w / 2, base - h * 0.7)], "#6e4424", h * 0.07)


def water_band(c, x0, x1, top, bottom, colour="water"):
    c.rect(x0, top, x1 - x0, bottom - top, c.linear([(0, lighter(colour, 0.15)), (1, darker(colour, 0.15))]),
           outline=False)
    rng = c.rng
    for _ in range(int((x1 - x0) * (bottom - top) / 4000) + 3):
        wx, wy = rng.uniform(x0, x1), rng.uniform(top + 4, bottom - 4)
        ww = rng.uniform(20, 60)
        c.path("M %.1f,%.1f q %.1f,-5 %.1f,0 q %.1f,5 %.1f,0" % (wx, wy, ww / 4, ww / 2, ww / 4, ww / 2), "none",
               outline="#ffffff", width=2.5, opacity=0.55)


def glow_star(c, x, y, r, wink=False):
    art_cast.star(c, x, y, r, wink=wink)
