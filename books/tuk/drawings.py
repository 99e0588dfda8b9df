"""The pictures of "Tuk and the Maple Leaf", for tools/make_art.py --drawings.

An autumn day in the forest: Tuk the hedgehog finds a big red maple leaf,
keeps Pugovka the titmouse and Homa the hamster dry under it in the rain, and
the three watch the rainbow. Drawn with the project's art kit, in the style of
the built-in book; figures stand on the bottom of their pictures.
"""

import math

import art_cast as cast
import art_controls
import art_grounds as gr
import art_scenery as sc
import art_table
from art_draw import darker, lighter
from art_pages import HORIZON, canvas, figure, shadow, title_text

# Time of day of every page: lights skies, scenery and (more gently) figures.
MOOD = {1: "afternoon", 2: "morning", 3: "day", 4: "day", 5: "afternoon", 6: "dusk"}
RAINY = {3, 4}

QUILLS = "#7a5638"
QUILL_TIPS = "#c9a27a"
FACE = "#f1d3a8"
MAPLE = "#d9452b"
MAPLE_LIGHT = "#f08a3c"
AUTUMN = ["#e0782a", "#d9452b", "#f2b233", "#c9552a"]

# The ending menu's labels: name -> (width, height, the program's label whose place they take).
LABELS = {
    "tuk_again_ru": (84, 19, "text_replay_ru"),
    "tuk_again_en": (84, 19, "text_replay_cn"),
    "tuk_about_ru": (131, 19, "text_moreapps_ru"),
    "tuk_about_en": (131, 19, "text_moreapps_cn"),
}
LABEL_WORDS = {"tuk_again_ru": "Сначала", "tuk_again_en": "From the start",
               "tuk_about_ru": "О книжке", "tuk_about_en": "About the book"}


def mood(c):
    return MOOD[c.page]


def lit_figure(c):
    sc.light(c, mood(c), 0.45)
    if c.page in RAINY:
        sc.light(c, "forest", 0.3)


def lit_scenery(c):
    sc.light(c, mood(c), 1.0)
    if c.page in RAINY:
        sc.light(c, "forest", 0.6)


# --- the cast ----------------------------------------------------------------

def maple_leaf(c, x, y, r, rotate=0, colour=MAPLE):
    """A five-lobed maple leaf centred on (x, y), its stalk pointing down."""
    points = []
    for i in range(15):
        a = math.radians(rotate - 90 + i * 24)
        k = (1.0, 0.55, 0.7)[i % 3]
        if i in (6, 9):  # the two lower lobes are shorter
            k *= 0.8
        points.append((x + r * k * math.cos(a), y + r * k * math.sin(a)))
    c.blob(points, colour, outline=darker(colour, 0.3), width=cast.OUTLINE)
    for i in (0, 3, 6, 9, 12):
        a = math.radians(rotate - 90 + i * 24)
        c.line_([(x, y), (x + r * 0.8 * math.cos(a), y + r * 0.8 * math.sin(a))], lighter(colour, 0.3), 1.6)
    a = math.radians(rotate + 90)
    c.line_([(x, y), (x + r * 0.9 * math.cos(a), y + r * 0.9 * math.sin(a))], darker(colour, 0.35), 2.4)


def tuk(c, arms=(30, 30), look=(0, 0), leaf="none", eyes="open", mouth_kind="smile"):
    """Tuk the hedgehog, seen from the front, standing on (0, 0). leaf: "none",
    "held" (in his right paw, beside him) or "over" (held up over his head)."""
    # Quills: a spiky crown around his head and body.
    spikes = []
    for i in range(34):
        a = math.radians(-200 + i * (220 / 33))
        r = 50 if i % 2 == 0 else 38
        spikes.append((r * 1.05 * math.cos(a), -50 + r * math.sin(a)))
    spikes += [(40, -12), (-40, -12)]
    c.poly(spikes, QUILLS, outline=darker(QUILLS, 0.3), width=cast.OUTLINE)
    for i in range(0, 34, 4):
        a = math.radians(-200 + i * (220 / 33))
        c.line_([(40 * math.cos(a), -50 + 30 * math.sin(a)), (48 * math.cos(a), -50 + 45 * math.sin(a))],
                QUILL_TIPS, 2)
    for side in (-1, 1):
        c.ellipse(side * 11, -4, 9, 5, darker(FACE, 0.45), outline=darker(FACE, 0.6), width=cast.OUTLINE * 0.8)
    c.blob([(-24, -42), (0, -50), (24, -42), (26, -20), (16, -8), (-16, -8), (-26, -20)], FACE,
           outline=darker(FACE, 0.3), width=cast.OUTLINE)
    c.ellipse(0, -26, 13, 14, lighter(FACE, 0.35), outline=False)
    hands = []
    for side, angle in ((-1, arms[0]), (1, arms[1])):
        hands.append(cast.limb(c, side * 20, -36, side * angle, 17, 6.5, FACE, darker(FACE, 0.45), 3.8))
    if leaf == "held":
        hx, hy = hands[1]
        maple_leaf(c, hx + 8, hy - 26, 24, rotate=15)
    # Head: a round face with a pointed snout.
    x, y = 0, -66
    for side in (-1, 1):
        c.circle(x + side * 17, y - 14, 6, FACE, outline=darker(FACE, 0.3), width=cast.OUTLINE)
        c.circle(x + side * 17, y - 14, 3, "#e9a2a0", outline=False)
    c.blob([(x - 22, y + 2), (x - 15, y - 17), (x, y - 21), (x + 15, y - 17), (x + 22, y + 2), (x + 12, y + 16),
            (x, y + 19), (x - 12, y + 16)], FACE, outline=darker(FACE, 0.3), width=cast.OUTLINE)
    cast.shine(c, x - 9, y - 11, 6, 3.5)
    c.ellipse(x, y + 9, 8, 6, lighter(FACE, 0.3), outline=False)
    cast.eye(c, x - 8, y - 3, 3.6, look, closed=eyes == "closed")
    cast.eye(c, x + 8, y - 3, 3.6, look, closed=eyes == "closed")
    c.circle(x, y + 7, 3.6, cast.BLACK, outline=False)
    c.circle(x - 1, y + 6, 1.1, "#ffffff", outline=False)
    c.circle(x - 14, y + 5, 3, "#f6a38a", outline=False, opacity=0.7)
    c.circle(x + 14, y + 5, 3, "#f6a38a", outline=False, opacity=0.7)
    cast.mouth(c, x, y + 13, 3.5, mouth_kind)
    if leaf == "over":
        # The stalk in his raised right paw, the leaf spread over his head like an umbrella.
        hx, hy = hands[1]
        c.line_([(hx, hy), (hx - 10, hy - 40)], darker(MAPLE, 0.35), 3)
        maple_leaf(c, 2, -122, 44, rotate=0, colour=MAPLE)
    return hands


def raindrops(c, count, top, bottom, colour="#8fc4e8"):
    rng = c.rng
    for _ in range(count):
        x, y = rng.uniform(0, c.width), rng.uniform(top, bottom)
        c.line_([(x, y), (x - 4, y + 16)], colour, 2.4, opacity=0.75)


def fallen_leaves(c, count, top, bottom):
    rng = c.rng
    for _ in range(count):
        c.ellipse(rng.uniform(10, c.width - 10), rng.uniform(top, bottom), 9, 5, rng.choice(AUTUMN),
                  outline=False, rotate=rng.uniform(0, 180))


def maple_tree(c, x, base, h):
    """A maple in autumn: a broad crown of orange and red."""
    sc.tree(c, x, base, h, leaf="#e0782a", w=h * 0.9)
    rng = c.rng
    for _ in range(26):
        sc.canopy(c, x + rng.uniform(-h * 0.33, h * 0.33), base - h * rng.uniform(0.5, 0.85), h * 0.09, h * 0.07,
                  rng.choice(AUTUMN), rng, 6)


# --- grounds and backgrounds -------------------------------------------------

def ground(p):
    def build(w, h):
        c = canvas("ground%d" % p, w, h)
        if p in RAINY:
            gr.meadow(c, "#8fb860", "#628f3a", flowers_=False)
            for _ in range(18):
                c.ellipse(c.rng.uniform(0, c.width), c.rng.uniform(900, 1900), 60, 14, "#9cc8dc", outline=False,
                          opacity=0.6)
        else:
            gr.meadow(c, "#b3c763", "#7d9e3e", flowers_=p == 5,
                      path=[(2000, 560), (1500, 600), (1100, 580), (700, 576)] if p in (2, 6) else None)
        scatter_leaves(c)
        sc.light(c, "day" if mood(c) != "dusk" else "dusk")
        return c

    return build


def scatter_leaves(c):
    rng = c.rng
    for _ in range(90):
        c.ellipse(rng.uniform(0, c.width), rng.uniform(700, 1950), 12, 6, rng.choice(AUTUMN), outline=False,
                  rotate=rng.uniform(0, 180))


def rainbow(c, x, y, r):
    for k, colour in enumerate(["#e2574c", "#f29a3f", "#f7d154", "#8cc152", "#4d8fd6", "#9b7bc8"]):
        c.path("M %.1f,%.1f A %.1f,%.1f 0 0 1 %.1f,%.1f" % (x - r + k * 14, y, r - k * 14, r - k * 14,
                                                             x + r - k * 14, y),
               "none", outline=colour, width=14, opacity=0.8)


def background(p):
    def build(w, h):
        c = canvas("background%d" % p, w, h)
        rainy = p in RAINY
        sc.sky(c, "dusk" if p == 6 else ("day" if not rainy else "night"), HORIZON)
        if rainy:
            c.rect(0, 0, c.width, HORIZON + 2, "#9aa8b8", outline=False, opacity=0.85)
            for k in range(6):
                sc.cloud(c, 90 + k * 170, 120 + (k % 2) * 60, 260, "#7f8a99", opacity=0.95)
        elif p == 6:
            sc.stars_field(c, 20, 20, HORIZON - 200)
            sc.moon(c, c.width * 0.8, 130, 40)
        else:
            for _k in range(3):
                sc.cloud(c, c.rng.uniform(80, c.width - 80), c.rng.uniform(90, 300), c.rng.uniform(140, 240))
            sc.sun(c, c.width * (0.18 if p == 2 else 0.82), 150, 46, "#ffd27a")
        if p == 5:
            rainbow(c, c.width * 0.5, HORIZON + 40, 380)
        sc.light(c, mood(c), from_now=True)
        sc.hills(c, HORIZON - 70, 60, "#c9b46a", 1.0, bottom=c.height)
        sc.hills(c, HORIZON - 25, 45, "#a9b55a", 2.3, bottom=c.height)
        sc.treeline(c, HORIZON + 10, 90, "#c8772e")
        sc.treeline(c, HORIZON + 40, 70, "#a3602a", step=30)
        c.rect(-5, HORIZON + 40, c.width + 10, c.height, c.linear([(0, "#a9b55a"), (1, "#b3c763")]), outline=False)
        if rainy:
            raindrops(c, 160, 0, c.height)
        return c

    return build


# --- the layers --------------------------------------------------------------

def grass_strip(name, rainy=False):
    def build(w, h):
        c = canvas(name, w, h)
        lit_scenery(c)
        sc.grass(c, 20, c.width - 20, h - 2, 70, "#8fae48", 1.4)
        fallen_leaves(c, 40, h - 40, h - 6)
        if rainy:
            raindrops(c, 40, 0, h - 20)
        return c

    return build


def figure_layer(name, draw, size=2.6, x=None, **kw):
    def build(w, h):
        c = canvas(name, w, h)
        lit_figure(c)
        cx = c.width / 2 if x is None else x * c.width
        shadow(c, cx, h - 8, 150 * size / 2.6)
        figure(c, draw, cx, h - 10, size, **kw)
        if c.page in RAINY:
            raindrops(c, 30, 0, h * 0.25)
        return c

    return build


def maple_scenery(name, house=False):
    def build(w, h):
        c = canvas(name, w, h)
        lit_scenery(c)
        if house:
            sc.round_house(c, c.width * 0.62, h - 10, 330, 300, lit=True)
            maple_tree(c, c.width * 0.2, h - 10, 460)
        else:
            maple_tree(c, c.width * 0.55, h - 10, 560)
            for k in range(7):
                maple_leaf(c, c.width * (0.25 + 0.08 * k), 120 + 45 * (k % 3), 14, rotate=40 * k,
                           colour=AUTUMN[k % 4])
        return c

    return build


def bushes(name, rain=True):
    def build(w, h):
        c = canvas(name, w, h)
        lit_scenery(c)
        for k, x in enumerate((0.12, 0.33, 0.7, 0.9)):
            sc.bush(c, c.width * x, h - 10, 240, 170 + 30 * (k % 2), "#5f8f3a", berries="#d9452b", n=5)
        sc.fir(c, c.width * 0.52, h - 10, 420, "#44704a")
        if rain:
            raindrops(c, 90, 0, h - 10)
        return c

    return build


def title(name, size, outline, star_leaf=True):
    def build(w, h):
        c = canvas(name, w, h)
        import art_pages

        top, bottom = art_pages.seen_rows(name)
        words = art_table.titles()[name][1]
        if c.page == 1:
            first, _space, rest = words.partition(" ")
            title_text(c, [(first, None, 1.0)], size, top + size * 0.85, outline=outline)
            title_text(c, [(rest, c.width - 120, 1.0)], size * 0.7, bottom - 24, outline="#8a3b1c")
            maple_leaf(c, 90, top + 50, 30, rotate=-20)
            maple_leaf(c, c.width - 90, top + 46, 24, rotate=25, colour=MAPLE_LIGHT)
        else:
            maple_leaf(c, c.width / 2, top + 90, 46, rotate=10)
            title_text(c, [(words, None, 1.0)], size, bottom - 26, outline=outline)
        return c

    return build


def label(name):
    w, h, _plane = LABELS[name]
    size = 17 if w < 100 else 16
    return lambda w, h: art_controls.label(w, h, LABEL_WORDS[name], size, "#ffffff", art_controls.BROWN,
                                           fit=w - 4, seed=name)


def pictures():
    table = {
        "s1layer1": grass_strip("s1layer1"),
        "s1layer2-t": figure_layer("s1layer2-t", tuk, arms=(25, 150), leaf="over", look=(1, -2)),
        "s1layer3-cn": title("s1layer3-cn", 88, "#d2572a"),
        "s1layer5-cn": title("s1layer5-cn", 92, "#d2572a"),
        "s1layer4": maple_scenery("s1layer4"),
        "s2layer1": grass_strip("s2layer1"),
        "s2layer2-t": figure_layer("s2layer2-t", tuk, arms=(20, 60), leaf="held", look=(2, -1)),
        "s2layer3": maple_scenery("s2layer3"),
        "s3layer1": grass_strip("s3layer1", rainy=True),
        "s3layer2l-t": figure_layer("s3layer2l-t", tuk, arms=(25, 150), leaf="over", look=(2, 0)),
        "s3layer2r-t": figure_layer("s3layer2r-t", cast.pugovka, size=3.4, look=(-2, 0), open_beak=True),
        "s3layer3": bushes("s3layer3"),
        "s4layer1": grass_strip("s4layer1", rainy=True),
        "s4layer2l-t": figure_layer("s4layer2l-t", tuk, arms=(25, 150), leaf="over", look=(2, 0)),
        "s4layer2r-t": figure_layer("s4layer2r-t", cast.homa, size=2.4, arms=(40, 20), look=(-2, 0)),
        "s4layer3": bushes("s4layer3"),
        "s5layer1": grass_strip("s5layer1"),
        "s5layer2l-t": figure_layer("s5layer2l-t", tuk, arms=(150, 150), leaf="none", look=(0, -2)),
        "s5layer2r-t": figure_layer("s5layer2r-t", cast.homa, size=2.4, arms=(60, 30), look=(-2, 0),
                                    mouth_kind="open"),
        "s5layer3-t": figure_layer("s5layer3-t", cast.pugovka, size=3.4, look=(2, 0), open_beak=True),
        "s6layer1": grass_strip("s6layer1"),
        "s6layer2-t": figure_layer("s6layer2-t", tuk, arms=(20, 150), leaf="held", look=(1, 0)),
        "s6layer3-cn": title("s6layer3-cn", 96, "#5a3d8e"),
        "s6layer5-cn": title("s6layer5-cn", 84, "#5a3d8e"),
        "s6layer4": maple_scenery("s6layer4", house=True),
    }
    for p in range(1, art_table.page_count() + 1):
        table["ground%d" % p] = ground(p)
        table["background%d" % p] = background(p)
    for name in LABELS:
        table[name] = label(name)
    return table
