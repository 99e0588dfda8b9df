"""The pictures of the eighteen pages: grounds, backgrounds, scenery, figures and
titles, named by their layer identifiers."""

import math

import art_cast as cast
import art_grounds as gr
import art_scenery as sc
import art_table
from art_draw import Canvas, darker, lighter, star_points

UNIT_RATIO = 0.41666666 / 0.46875

# Time of day of every page: lights skies, scenery and (more gently) figures.
MOOD = {1: "dusk", 2: "morning", 3: "indoor", 4: "morning", 5: "day", 6: "day", 7: "day", 8: "forest",
        9: "afternoon", 10: "day", 11: "afternoon", 12: "burrow", 13: "sunset", 14: "dusk", 15: "dusk",
        16: "night", 17: "night", 18: "night"}

def canvas(name, w, h):
    """A canvas whose drawing space looks undistorted once the layer stands in the book."""
    layer = art_table.layer_named(name)
    sx, sy = layer.scale
    c = Canvas(w, h, name, squeeze=UNIT_RATIO * sy / sx)
    c.page = layer.page
    return c


def figure(c, fn, x, base, s, flip=False, rotate=0, **kw):
    c.group("translate(%.2f,%.2f) rotate(%.1f) scale(%.3f,%.3f)" % (x, base, rotate, -s if flip else s, s))
    result = fn(c, **kw)
    c.end()
    return result


def shadow(c, x, base, w):
    c.ellipse(x, base - w * 0.04, w / 2, w * 0.07, "#000000", outline=False, opacity=0.18)


def light_figure(c):
    sc.light(c, MOOD[c.page], 0.45)


def light_scenery(c):
    sc.light(c, MOOD[c.page], 1.0)


# --- grounds -----------------------------------------------------------------

def ground(p):
    def build(w, h):
        c = canvas("ground%d" % p, w, h)
        mood = MOOD[p]
        if p == 3:
            gr.floorboards(c)
        elif p == 12:
            gr.earth_floor(c)
        elif p in (6, 7, 8):
            gr.forest_floor(c)
        elif p == 5:
            gr.meadow(c)
            gr.water(c, (1250, 1450))
        elif p == 9:
            gr.meadow(c, "#a6cf6a", "#78b044", path=[(2000, 576), (1400, 570), (1100, 420), (700, 260)])
            gr.path_band(c, [(1400, 580), (1100, 740), (700, 900)], 150, "path")
        elif p == 2:
            gr.meadow(c, path=[(2000, 560), (1500, 600), (1100, 580), (700, 576)])
        elif p == 18:
            gr.meadow(c, flowers_=False, path=[(2000, 500), (1500, 560), (1100, 600), (700, 576)])
        elif p == 13:
            gr.shore(c, (0, 1000), (1000, 1090))
        elif p == 14:
            gr.shore(c, (0, 1200), (1200, 1300))
        elif p == 15:
            gr.meadow(c, flowers_=False)
            c.rect(0, 1480, c.width, 90, "#e8d4a0", outline=False)
            gr.water(c, (1180, 1480))
        elif p == 4:
            gr.meadow(c, "#9ccc62", "#6fae3e", path=[(2000, 700), (1500, 640), (1100, 520), (700, 470)])
        else:
            gr.meadow(c)
        sc.light(c, "day" if mood in ("indoor", "burrow") else mood)
        if mood in ("indoor", "burrow"):
            sc.light(c, mood)
        return c

    return build


# --- backgrounds ---------------------------------------------------------------

HORIZON = 554


def far_country(c, mood, hills=True, forest=False, pointy=False, water_=False):
    sky_mood = {"forest": "day", "afternoon": "afternoon"}.get(mood, mood)
    sc.sky(c, sky_mood, HORIZON)
    if mood in ("night", "dusk"):
        sc.stars_field(c, 70 if mood == "night" else 18, 20, HORIZON - 160)
    if mood in ("day", "morning", "afternoon"):
        for k in range(4):
            sc.cloud(c, c.rng.uniform(80, c.width - 80), c.rng.uniform(90, 330), c.rng.uniform(140, 260))
    sc.light(c, mood, from_now=True)
    if hills:
        sc.hills(c, HORIZON - 70, 60, "#a8cf8e", 1.0, bottom=c.height)
        sc.hills(c, HORIZON - 25, 45, "#93c46f", 2.3, bottom=c.height)
    if forest:
        sc.treeline(c, HORIZON + 10, 90, "#5e9a56", pointy=pointy)
        sc.treeline(c, HORIZON + 40, 70, "#4f8a48", pointy=pointy, step=30)
    if water_:
        sc.water_band(c, -10, c.width + 10, HORIZON + 20, HORIZON + 90, "#7ab8d8")
    c.rect(-5, HORIZON + (90 if water_ else 40), c.width + 10, c.height, c.linear([(0, "#93c46f"), (1, "#9ccc62")]),
           outline=False)


def background(p):
    def build(w, h):
        c = canvas("background%d" % p, w, h)
        mood = MOOD[p]
        if p == 3:
            kitchen_wall(c)
        elif p == 12:
            burrow_wall(c)
        elif p == 8:
            deep_forest(c)
        else:
            far_country(c, mood, forest=p in (2, 4, 6, 7, 9), pointy=p in (4, 9), water_=p in (13, 14, 15))
            if p == 1:
                sc.sun(c, c.width * 0.8, HORIZON - 10, 40, "#ffd08a")
            if p == 2:
                sc.sun(c, c.width * 0.15, 260, 50)
            if p in (5, 6, 7, 10):
                sc.sun(c, c.width * 0.82, 120, 48)
            if p in (9, 11):
                sc.sun(c, c.width * 0.75, 200, 48, "#ffd27a")
            if p == 13:
                sc.sun(c, c.width * 0.5, HORIZON - 20, 70, "#ffb060")
            if p in (16, 18):
                sc.moon(c, c.width * 0.78, 120, 44)
            if p == 17:
                sc.glow_star(c, c.width * 0.62, 170, 44, wink=True)
            if p in (10, 11):
                for x in (0.12, 0.3, 0.88):
                    sc.tree(c, c.width * x, HORIZON + 35, 130, "leaf_light")
        return c

    return build


def kitchen_wall(c):
    sc.light(c, "indoor")
    c.rect(0, 0, c.width, c.height, "#f6e2b0", outline=False)
    for y in range(30, 560, 70):
        for x in range(30 + (35 if (y // 70) % 2 else 0), int(c.width), 70):
            c.circle(x, y, 6, "#e9c98a", outline=False)
    c.rect(0, 560, c.width, 162, "#c98f55", outline="#8a5a2b", width=6)
    for x in range(0, int(c.width), 60):
        c.line_([(x, 566), (x, 722)], "#a8733a", 3)
    # Window with the morning forest outside.
    wx, wy, ww, wh = c.width * 0.56, 120, 300, 260
    c.rect(wx, wy, ww, wh, c.linear([(0, "#8fd0f0"), (1, "#d8f0f8")]), outline="#8a5a2b", width=14, r=10)
    c.ellipse(wx + ww * 0.3, wy + wh - 40, 90, 60, "#6fae3e", outline=False)
    c.ellipse(wx + ww * 0.75, wy + wh - 30, 110, 50, "#8cc152", outline=False)
    sc.sun(c, wx + ww * 0.75, wy + 70, 28)
    c.rect(wx + ww / 2 - 6, wy, 12, wh, "#8a5a2b", outline=False)
    c.rect(wx, wy + wh / 2 - 6, ww, 12, "#8a5a2b", outline=False)
    c.rect(wx - 30, wy + wh - 4, ww + 60, 22, "#b27a45", outline="#6e4424", width=4, r=6)
    for side in (-1, 1):
        cx = wx + ww / 2 + side * (ww / 2 + 30)
        c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f L %.1f,%.1f Z"
               % (cx - 30, wy - 20, cx + side * 10, wy + wh / 2, cx - side * 20, wy + wh + 10, cx + 30, wy - 20),
               "#e2574c", outline="#a83a32", width=4)
    # Shelf with jars and a clock.
    sx = c.width * 0.12
    c.rect(sx, 250, 330, 18, "#b27a45", outline="#6e4424", width=4, r=4)
    for k, colour in enumerate(["#f29a3f", "#e2574c", "#f7d154", "#8cc152"]):
        jx = sx + 30 + k * 75
        c.rect(jx, 180, 50, 70, lighter(colour, 0.3), outline=darker(colour), width=4, r=10)
        c.rect(jx - 4, 172, 58, 16, "#ffffff", outline="#b9a888", width=3, r=5)
    c.circle(sx + 160, 110, 46, "#fff6e0", outline="#8a5a2b", width=8)
    c.line_([(sx + 160, 110), (sx + 160, 80)], "#3d2b24", 5)
    c.line_([(sx + 160, 110), (sx + 180, 118)], "#3d2b24", 5)


def burrow_wall(c):
    sc.light(c, "burrow")
    c.rect(0, 0, c.width, c.height, c.linear([(0, "#7a5232"), (1, "#a8784a")]), outline=False)
    rng = c.rng
    for _ in range(70):
        c.ellipse(rng.uniform(0, c.width), rng.uniform(0, 700), rng.uniform(8, 22), rng.uniform(6, 14),
                  rng.choice(["#6e4a2a", "#b88a5a", "#8a6038"]), outline=False, opacity=0.8)
    for _ in range(10):
        x = rng.uniform(0, c.width)
        c.line_([(x, 0), (x + rng.uniform(-30, 30), rng.uniform(60, 160)), (x + rng.uniform(-40, 40), rng.uniform(160, 240))],
                "#d8b27a", 7, smooth=True)
    # A dark round tunnel to the left and shelves of the pantry.
    c.ellipse(c.width * 0.14, 520, 120, 150, "#3a2414", outline="#5a3a22", width=14)
    for y in (260, 420):
        c.rect(c.width * 0.38, y, c.width * 0.5, 20, "#c98f55", outline="#6e4424", width=4, r=5)
        for k in range(7):
            x = c.width * 0.4 + k * c.width * 0.065
            if k % 3 == 0:
                c.rect(x, y - 74, 48, 74, "#f4e4c0", outline="#a8886a", width=4, r=10)
                c.rect(x + 4, y - 40, 40, 34, "#f7c23a", outline=False, r=6)
            else:
                for j in range(3):
                    c.ellipse(x + 10 + j * 14, y - 14 - (j % 2) * 16, 14, 12, "#b5763a", outline="#6e4424", width=3)
    # A lantern glow.
    lx, ly = c.width * 0.93, 170
    c.circle(lx, ly, 160, c.radial([(0, "#ffe9a0", 0.7), (1, "#ffe9a0", 0)]), outline=False)
    c.rect(lx - 24, ly - 34, 48, 68, "#ffe9a0", outline="#6e4424", width=6, r=8)
    c.line_([(lx, ly - 34), (lx, 0)], "#6e4424", 5)


def deep_forest(c):
    sc.light(c, "forest")
    c.rect(0, 0, c.width, c.height, c.linear([(0, "#8fbf8a"), (0.7, "#5e8f5a"), (1, "#4f7a48")]), outline=False)
    rng = c.rng
    for k in range(14):
        x = rng.uniform(0, c.width)
        w = rng.uniform(30, 70)
        c.rect(x, -10, w, 740, "#4a6a42", outline=False, opacity=0.6)
    for k in range(4):
        x = rng.uniform(100, c.width - 100)
        c.poly([(x, 0), (x + 160, 0), (x + 360, 722), (x + 200, 722)], "#fff8c8", outline=False, opacity=0.16)
    for k in range(8):
        sc.fir(c, rng.uniform(0, c.width), HORIZON + 150, rng.uniform(380, 520), "#3f6e48")
    sc.grass(c, 0, c.width, 722, 50, "#4f7a40", 0.6)


# --- titles ------------------------------------------------------------------

def title_text(c, lines, size, top, colour="#ffffff", outline="#d2572a"):
    y = top
    for text, fit, k in lines:
        if not text:
            continue
        # Keep clear of the edges: the shadow and the outline need room too.
        fit = min(fit or c.width, c.width - 60)
        c.group(opacity=0.25)
        c.text(c.width / 2 + 6, y + 6, text, size * k, "#000000", fit=fit, weight="bold")
        c.end()
        c.text(c.width / 2, y, text, size * k, colour, outline=outline, width=size * k * 0.16, fit=fit)
        y += size * k * 1.15


def title_stars(c, spots):
    for x, y, r in spots:
        c.poly(star_points(x, y, r, r * 0.45), "#ffe27a", outline="#d9a520", width=3)


def title_words(name):
    """The title's words as the book holds them: the name, then the rest."""
    words = art_table.titles()[name][1].split(" ", 1)
    return words[0], words[1] if len(words) > 1 else ""


def seen_rows(name, margin=12):
    """The picture's rows that stay on screen once the title has sunk into place,
    in the canvas' drawing space, kept `margin` screen pixels clear of the edges."""
    import art_stage

    _left, top, _right, bottom = art_stage.visible_box(name, margin)
    return top, bottom


def s1_title_ru(w, h):
    c = canvas("s1layer3-cn", w, h)
    top, bottom = seen_rows("s1layer3-cn")
    name, rest = title_words("s1layer3-cn")
    # Two lines filling the rows the reader sees, the little star beside the second.
    title_stars(c, [(90, top + 40, 22), (c.width - 100, top + 34, 18), (c.width - 150, top + 74, 11)])
    title_text(c, [(name, None, 1.0)], 90, top + 72)
    title_text(c, [(rest, c.width - 260, 1.0)], 74, bottom - 24, outline="#5a3d8e")
    cast.star(c, c.width - 105, bottom - 52, 32)
    return c


def s1_title_en(w, h):
    c = canvas("s1layer5-cn", w, h)
    top, bottom = seen_rows("s1layer5-cn")
    title_stars(c, [(64, top + 40, 20), (c.width - 70, top + 34, 17)])
    name, rest = title_words("s1layer5-cn")
    title_text(c, [(name, None, 1.0)], 96, top + 78)
    title_text(c, [(rest, None, 1.0)], 56, bottom - 22, outline="#5a3d8e")
    return c


def s18_title_ru(w, h):
    c = canvas("s18layer2-cn", w, h)
    top, bottom = seen_rows("s18layer2-cn")
    cast.star(c, c.width / 2, top + 100, 44)
    title_text(c, [(art_table.titles()["s18layer2-cn"][1], None, 1.0)], 96, bottom - 26, outline="#5a3d8e")
    return c


def s18_title_en(w, h):
    c = canvas("s18layer3-cn", w, h)
    top, bottom = seen_rows("s18layer3-cn")
    cast.star(c, c.width / 2, top + 100, 44, wink=True)
    title_text(c, [(art_table.titles()["s18layer3-cn"][1], None, 1.0)], 84, bottom - 24, outline="#5a3d8e")
    return c


def titles():
    return {"s1layer3-cn": s1_title_ru, "s1layer5-cn": s1_title_en, "s18layer2-cn": s18_title_ru,
            "s18layer3-cn": s18_title_en}


def pictures():
    """name -> builder(width, height) for every page picture."""
    import art_layers

    table = dict(titles())
    table.update(art_layers.LAYER_BUILDERS)
    for p in range(1, art_table.page_count() + 1):
        table["ground%d" % p] = ground(p)
        table["background%d" % p] = background(p)
    return table
