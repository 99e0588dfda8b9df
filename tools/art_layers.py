"""The upright picture layers of every page: scenery flats and the figures."""

import math

import art_cast as cast
import art_scenery as sc
from art_draw import darker, lighter, star_points
from art_pages import canvas, figure, light_figure, light_scenery, shadow


def layer(fn):
    LAYER_BUILDERS[fn.__name__.replace("_t", "-t")] = fn
    return fn


LAYER_BUILDERS = {}


def grass_front(c, h, colour="grass", flowers=12):
    W, H = c.width, c.height
    sc.grass(c, 20, W - 20, H - 2, h, colour, 1.4)
    rng = c.rng
    for _ in range(flowers):
        # Flowers stay clear of the middle, where the figures stand behind.
        x = rng.choice([rng.uniform(40, W * 0.3), rng.uniform(W * 0.7, W - 40)])
        sc.flower(c, x, H - rng.uniform(4, 20), h * rng.uniform(0.8, 1.3), rng.choice(["pink", "#ffffff", "yellow", "purple"]))


# --- page 1: the cover, a hill at dusk ----------------------------------------

@layer
def s1layer1(w, h):
    c = canvas("s1layer1", w, h)
    light_scenery(c)
    grass_front(c, 80, flowers=14)
    return c


@layer
def s1layer2l_t(w, h):
    c = canvas("s1layer2l-t", w, h)
    light_figure(c)
    shadow(c, 130, h - 8, 150)
    figure(c, cast.ryzhik, 120, h - 10, 2.9, arms=(20, 160), look=(1, -3), tilt=-8)
    return c


@layer
def s1layer2r_t(w, h):
    c = canvas("s1layer2r-t", w, h)
    light_figure(c)
    shadow(c, c.width / 2, h - 8, 260)
    figure(c, cast.bublik, c.width / 2, h - 12, 2.6, arms=(20, 45), look=(-2, -4), tilt=6)
    return c


@layer
def s1layer4(w, h):
    c = canvas("s1layer4", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    c.path("M 20,%.1f Q %.1f,%.1f %.1f,%.1f Z" % (H, W / 2, H - 300, W - 20, H), "#8cc152", outline="#5e9a36",
           width=6)
    sc.tree(c, W * 0.76, H - 130, 440, "leaf", w=360)
    sc.bush(c, W * 0.18, H - 40, 150, 90, "leaf_light")
    sc.bush(c, W * 0.3, H - 70, 110, 70, "leaf")
    sc.grass(c, 60, W - 60, H - 2, 40, "grass_dark", 0.8)
    return c


# --- page 2: morning outside the foxes' house ----------------------------------

@layer
def s2layer1_t(w, h):
    c = canvas("s2layer1-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    # The porch: three boards and two steps under Ryzhik's feet.
    c.rect(50, H - 70, W - 100, 40, "wood", outline="wood_dark", width=5, r=8)
    c.rect(90, H - 34, W - 180, 32, "#b27a45", outline="wood_dark", width=5, r=6)
    for k in range(1, 6):
        x = 50 + k * (W - 100) / 6
        c.line_([(x, H - 68), (x, H - 32)], "wood_dark", 3)
    figure(c, cast.ryzhik, W / 2 - 20, H - 66, 4.2, arms=(25, 150), look=(2, 0), mouth_kind="open")
    return c


@layer
def s2layer2_t(w, h):
    c = canvas("s2layer2-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    # A young tree's forked branch, with Pugovka perched on the side twig.
    c.path("M %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f" % (W * 0.7, H - 2, W * 0.66, H * 0.6, W * 0.74, H * 0.4,
                                                         W * 0.8, 14), "none", outline="bark_dark", width=22)
    c.path("M %.1f,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f" % (W * 0.7, H - 2, W * 0.66, H * 0.6, W * 0.74, H * 0.4,
                                                         W * 0.8, 14), "none", outline="bark", width=15)
    c.line_([(W * 0.7, H * 0.58), (W * 0.12, H * 0.52)], "bark_dark", 14)
    c.line_([(W * 0.7, H * 0.58), (W * 0.12, H * 0.52)], "bark", 8)
    for x, y in ((W * 0.2, H * 0.46), (W * 0.84, H * 0.18), (W * 0.62, H * 0.3), (W * 0.9, H * 0.4)):
        c.ellipse(x, y, 18, 9, "leaf_light", outline="leaf_dark", width=2.5, rotate=-25)
    figure(c, cast.pugovka, W * 0.38, H * 0.54, 2.4, open_beak=True)
    return c


@layer
def s2layer3(w, h):
    c = canvas("s2layer3", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.tree(c, W * 0.1, H, 620, "leaf", w=320)
    sc.tree(c, W * 0.9, H, 560, "leaf_light", w=300, apples=6)
    sc.round_house(c, W * 0.5, H - 4, 560, 520)
    sc.bush(c, W * 0.26, H, 170, 110, "leaf")
    sc.bush(c, W * 0.74, H, 150, 100, "leaf_light")
    for k in range(9):
        sc.flower(c, W * (0.22 + k * 0.07), H - 4, 60, ["pink", "yellow", "#ffffff"][k % 3])
    return c


# --- page 3: the foxes' kitchen -------------------------------------------------

@layer
def s3layer1(w, h):
    c = canvas("s3layer1", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    top = 200
    for x in (110, W - 110):
        c.rect(x - 16, top, 32, H - top, "#b27a45", outline="#6e4424", width=5, r=6)
    c.rect(50, top - 20, W - 100, 50, "#ffffff", outline="#b9c6d8", width=5, r=12)
    for k in range(0, int(W - 120), 60):
        c.rect(60 + k, top - 18, 30, 46, "#e2574c", outline=False, opacity=0.35)
    c.path("M 50,%d Q %.1f,%d %.1f,%d" % (top + 30, W / 2, top + 70, W - 50, top + 30), "#ffffff", outline="#b9c6d8",
           width=5)
    # Pies on the left, clear of Ryzhik, who stands behind the right half.
    for x in (0.12, 0.3, 0.47):
        px = W * x
        c.ellipse(px, top - 22, 80, 14, "#ffffff", outline="#b9c6d8", width=4)
        c.path("M %.1f,%d Q %.1f,%d %.1f,%d Z" % (px - 62, top - 26, px, top - 90, px + 62, top - 26), "#e0a050",
               outline="#9a5a24", width=5)
        for k in (-30, 0, 30):
            c.line_([(px + k, top - 60), (px + k + 10, top - 45)], "#9a5a24", 4)
    jx = W * 0.9
    c.rect(jx - 36, top - 110, 72, 90, "#6cc3e0", outline="#3f93c0", width=5, r=20)
    c.rect(jx - 28, top - 124, 56, 18, "#6cc3e0", outline="#3f93c0", width=5, r=8)
    for k in range(4):
        c.circle(jx - 110 + k * 22, top - 30 + (k % 2) * 8, 12, "red", outline=darker("red"), width=3)
    return c


@layer
def s3layer2l_t(w, h):
    c = canvas("s3layer2l-t", w, h)
    light_figure(c)
    figure(c, cast.mama, c.width * 0.44, h - 10, 3.55, arms=(30, 120), look=(2, 1))
    return c


@layer
def s3layer2r_t(w, h):
    c = canvas("s3layer2r-t", w, h)
    light_figure(c)
    figure(c, cast.ryzhik, c.width * 0.42, h - 14, 3.2, arms=(150, 25), look=(-2, -1), basket_side=1,
           mouth_kind="open")
    return c


@layer
def s3layer3(w, h):
    c = canvas("s3layer3", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    # A whitewashed stove with its warm mouth, and a pot on top.
    sx, sw = W * 0.55, 560
    c.rect(sx - sw / 2, H - 520, sw, 520, "#f7f2e6", outline="#b9a888", width=7, r=30)
    for y in range(int(H - 500), int(H - 20), 60):
        c.line_([(sx - sw / 2 + 10, y), (sx + sw / 2 - 10, y)], "#e6ddc8", 3)
    c.path("M %.1f,%.1f V %.1f A 90,90 0 0 1 %.1f,%.1f V %.1f Z" % (sx - 110, H - 150, H - 260, sx + 70, H - 260,
                                                                    H - 150), "#3a2418", outline="#b9a888", width=7)
    c.ellipse(sx - 20, H - 190, 60, 36, c.radial([(0, "#ffd060"), (1, "#e2574c")]), outline=False)
    c.rect(sx + sw / 2 - 90, H - 720, 70, 210, "#f7f2e6", outline="#b9a888", width=7, r=10)
    c.rect(sx - 120, H - 600, 170, 90, "#5a5a62", outline="#2a2a30", width=6, r=30)
    c.rect(sx - 135, H - 612, 200, 24, "#6a6a72", outline="#2a2a30", width=6, r=10)
    for k in range(3):
        c.path("M %.1f,%.1f q -14,-30 0,-60 q 14,-30 0,-60" % (sx - 70 + k * 50, H - 630), "none", outline="#ffffff",
               width=6, opacity=0.6)
    # The cupboard with plates.
    cx = W * 0.14
    c.rect(cx - 120, H - 600, 240, 600, "#b27a45", outline="#6e4424", width=7, r=12)
    for y in (H - 460, H - 330):
        c.rect(cx - 105, y, 210, 14, "#8a5a2b", outline=False)
    for k in range(3):
        for y in (H - 520, H - 390):
            c.circle(cx - 65 + k * 65, y, 30, "#ffffff", outline="#5f95c8", width=6)
    c.rect(cx - 105, H - 300, 210, 280, "#c98f55", outline="#6e4424", width=5, r=8)
    c.circle(cx, H - 160, 10, "yellow", outline="#6e4424", width=3)
    return c


# --- page 4: Bublik's cabin and beehive ------------------------------------------

@layer
def s4layer1(w, h):
    c = canvas("s4layer1", w, h)
    light_scenery(c)
    sc.sunflower(c, c.width * 0.5, h - 2, h - 60)
    sc.grass(c, c.width * 0.2, c.width * 0.8, h - 2, 70, "grass_dark")
    return c


@layer
def s4layer2l_t(w, h):
    c = canvas("s4layer2l-t", w, h)
    light_figure(c)
    shadow(c, c.width / 2, h - 8, 280)
    figure(c, cast.bublik, c.width / 2, h - 12, 2.75, arms=(25, 40), look=(2, 0), honey=True)
    return c


@layer
def s4layer2r_t(w, h):
    c = canvas("s4layer2r-t", w, h)
    light_figure(c)
    shadow(c, c.width * 0.45, h - 8, 150)
    figure(c, cast.ryzhik, c.width * 0.45, h - 10, 3.0, arms=(25, 25), look=(-2, 0), basket_side=-1)
    return c


@layer
def s4layer3(w, h):
    c = canvas("s4layer3", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.fir(c, W * 0.08, H, 720)
    sc.fir(c, W * 0.93, H, 660, "#4f8a58")
    sc.log_cabin(c, W * 0.42, H - 2, 520, 560)
    sc.beehive(c, W * 0.76, H - 2, 300)
    sc.bush(c, W * 0.2, H, 140, 90, "leaf_light")
    sc.grass(c, 40, W - 40, H - 2, 40, "grass", 0.6)
    return c


# --- page 5: the stream ----------------------------------------------------------

@layer
def s5layer1(w, h):
    c = canvas("s5layer1", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    c.path("M 0,%.1f Q %.1f,%.1f %.1f,%.1f L %.1f,%.1f L 0,%.1f Z" % (H - 100, W / 2, H - 130, W, H - 100, W, H, H),
           c.linear([(0, "#8fd3ec"), (1, "#3f93c0")]), outline="#3f93c0", width=6)
    for k in range(12):
        x, y = c.rng.uniform(40, W - 40), c.rng.uniform(H - 90, H - 20)
        c.path("M %.1f,%.1f q 15,-8 30,0 q 15,8 30,0" % (x, y), "none", outline="#ffffff", width=5, opacity=0.6)
    for x, s in ((0.22, 0.9), (0.4, 1.0), (0.6, 0.95), (0.78, 0.9)):
        sc.stone(c, W * x, H - 30, 130 * s, 55 * s)
    sc.reeds(c, 90, H - 40, 380, 7, 60)
    sc.reeds(c, W - 90, H - 40, 420, 7, 60)
    return c


@layer
def s5layer2_t(w, h):
    c = canvas("s5layer2-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    sc.stone(c, W / 2, H - 4, 170, 60)
    figure(c, cast.ryzhik, W * 0.45, H - 80, 2.0, arms=(120, 120), look=(2, 0), hop=True, mouth_kind="open",
           basket_side=1)
    return c


@layer
def s5layer3(w, h):
    c = canvas("s5layer3", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.tree(c, W * 0.12, H - 4, 560, "leaf", w=250)
    sc.tree(c, W * 0.88, H - 4, 600, "leaf_light", w=260)
    sc.water_band(c, W * 0.2, W * 0.8, H - 60, H - 4, "#6cc3e0")
    sc.bridge(c, W / 2, H - 20, 520, 260)
    return c


# --- page 6: raspberry bushes ----------------------------------------------------

@layer
def s6layer1(w, h):
    c = canvas("s6layer1", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.bush(c, W * 0.14, H, 300, 360, "leaf", "#d23a4e", 14)
    sc.bush(c, W * 0.86, H, 320, 380, "leaf_light", "#d23a4e", 14)
    sc.bush(c, W * 0.5, H, 360, 110, "leaf", "#d23a4e", 5)
    return c


@layer
def s6layer2_t(w, h):
    c = canvas("s6layer2-t", w, h)
    light_figure(c)
    shadow(c, c.width / 2, h - 6, 300)
    figure(c, cast.bublik, c.width / 2, h - 10, 1.9, sitting=True, arms=(150, 60), berries=True,
           mouth_kind="open", look=(0, -1))
    return c


@layer
def s6layer3(w, h):
    c = canvas("s6layer3", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.tree(c, W * 0.2, H, 600, "leaf", w=330)
    sc.tree(c, W * 0.82, H, 540, "leaf_light", w=300)
    sc.bush(c, W * 0.5, H, 380, 260, "leaf_dark", "#d23a4e", 12)
    return c


# --- page 7: the old oak -----------------------------------------------------------

@layer
def s7layer1(w, h):
    c = canvas("s7layer1", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    for dx, lift in ((-200, 10), (-120, 30), (150, 25), (210, 5)):
        c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (W / 2 + dx * 0.4, H - 80, W / 2 + dx * 0.8, H - 30 - lift,
                                                   W / 2 + dx, H - 4), "none", outline="bark_dark", width=34)
        c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (W / 2 + dx * 0.4, H - 80, W / 2 + dx * 0.8, H - 30 - lift,
                                                   W / 2 + dx, H - 4), "none", outline="bark", width=22)
    c.rect(W / 2 - 110, H - 190, 220, 180, "bark", outline="bark_dark", width=8, r=20)
    c.ellipse(W / 2, H - 190, 110, 34, "#e0b27a", outline="bark_dark", width=8)
    for r in (80, 52, 26):
        c.ellipse(W / 2, H - 190, r, r * 0.3, "none", outline="#b5814a", width=4)
    sc.mushroom(c, W / 2 + 170, H - 4, 110, "orange")
    sc.mushroom(c, W / 2 - 190, H - 4, 80)
    return c


@layer
def s7layer2(w, h):
    c = canvas("s7layer2", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.bush(c, W * 0.12, H, 240, 260, "leaf")
    sc.bush(c, W * 0.3, H, 200, 170, "leaf_light")
    sc.bush(c, W * 0.78, H, 230, 220, "leaf")
    sc.bush(c, W * 0.92, H, 160, 300, "leaf_dark")
    return c


@layer
def s7layer3_t(w, h):
    c = canvas("s7layer3-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    tx = W * 0.3
    c.blob([(tx - 70, H - 2), (tx - 45, H - 300), (tx - 55, H - 480), (tx + 55, H - 480), (tx + 45, H - 300),
            (tx + 70, H - 2), (tx + 110, H + 2), (tx - 110, H + 2)], "bark", outline="bark_dark", width=7)
    c.ellipse(tx + 10, H - 200, 18, 28, "#3a2418", outline="bark_dark", width=5)
    # The long branch Bublik holds on to.
    c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (tx + 30, H - 420, W * 0.6, H - 470, W * 0.9, H - 450), "none",
           outline="bark_dark", width=44)
    c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (tx + 30, H - 420, W * 0.6, H - 470, W * 0.9, H - 450), "none",
           outline="bark", width=32)
    sc.canopy(c, tx, H - 520, 260, 130, "leaf", c.rng, 11)
    sc.canopy(c, W * 0.82, H - 530, 150, 90, "leaf_light", c.rng)
    for k in range(8):
        x = c.rng.uniform(tx - 200, W * 0.9)
        c.ellipse(x, H - c.rng.uniform(470, 560), 9, 12, "#b5813a", outline="#6e4424", width=3)
    figure(c, cast.bublik, W * 0.74, H - 215, 1.5, arms=(170, 170), look=(0, 2), mouth_kind="open")
    return c


# --- page 8: the deep forest and the hollow log ------------------------------------

@layer
def s8layer1(w, h):
    c = canvas("s8layer1", w, h)
    light_scenery(c)
    sc.fern(c, c.width / 2, h - 4, h * 0.9)
    return c


@layer
def s8layer2_t(w, h):
    c = canvas("s8layer2-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    # Drawn facing right and mirrored: the hollow end opens to the left, clear of the fern.
    c.group("translate(%.1f,0) scale(-1,1)" % W)
    sc.log(c, 60, W * 0.66, H - 6, 130, "#9a6a42", hollow=True)
    moss = [(90, H - 262), (220, H - 270), (340, H - 264)]
    for x, y in moss:
        c.ellipse(x, y, 70, 14, "#6aa83e", outline=False)
    # Ryzhik crawling out of the hollow end, cobwebs on his ears.
    ex = W * 0.66
    for side in (-1, 1):
        cast.limb(c, ex + 30 + side * 18, H - 70, 60, 45, 18, cast.FOX, cast.BLACK, 11)
    cast.fox_head(c, ex + 30, H - 120, 46, look=(3, 1), mouth_kind="open", cobweb=True)
    c.end()
    return c


@layer
def s8layer3(w, h):
    c = canvas("s8layer3", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    for x, hh, colour in ((0.1, 660, "#3f6e48"), (0.35, 600, "#467a50"), (0.66, 640, "#3f6e48"), (0.9, 620, "#4a7e52")):
        sc.fir(c, W * x, H - 2, hh, colour)
    for x in (0.22, 0.52, 0.8):
        sc.mushroom(c, W * x, H - 4, 60, "orange")
    return c


# --- page 9: the fork in the path ------------------------------------------------

@layer
def s9layer2(w, h):
    c = canvas("s9layer2", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.bush(c, W * 0.07, H, 200, 420, "leaf")
    sc.bush(c, W * 0.15, H, 180, 240, "leaf_light")
    sc.bush(c, W * 0.86, H, 200, 280, "leaf_light")
    sc.bush(c, W * 0.94, H, 180, 440, "leaf")
    sc.stone(c, W * 0.26, H - 2, 110, 55)
    sc.stone(c, W * 0.76, H - 2, 90, 50)
    return c


@layer
def s9layer3_t(w, h):
    c = canvas("s9layer3-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    sc.signpost(c, W * 0.4, H - 4, 380)
    shadow(c, W * 0.7, H - 6, 130)
    figure(c, cast.ryzhik, W * 0.7, H - 8, 2.2, arms=(130, 25), look=(-3, -3), basket_side=1)
    for k, (x, y) in enumerate(((0.76, 0.3), (0.83, 0.24), (0.9, 0.3))):
        c.text(W * x, H * y, "?", 44 + k * 8, "#ffffff", outline="#6b4530", width=6)
    return c


# --- page 10: the sunny meadow and the birch ----------------------------------------

@layer
def s10layer1(w, h):
    c = canvas("s10layer1", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.grass(c, 20, W * 0.3, H - 2, 380, "grass", 1.2)
    sc.grass(c, W * 0.7, W - 20, H - 2, 400, "grass", 1.2)
    sc.grass(c, W * 0.3, W * 0.7, H - 2, 110, "grass_light", 1.0)
    for k in range(12):
        x = c.rng.choice([c.rng.uniform(40, W * 0.3), c.rng.uniform(W * 0.7, W - 40)])
        sc.flower(c, x, H - 4, c.rng.uniform(130, 230), c.rng.choice(["pink", "#ffffff", "yellow", "purple"]))
    return c


@layer
def s10layer2_t(w, h):
    c = canvas("s10layer2-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    sc.birch(c, W * 0.36, H - 4, H - 120)
    # A bank of tall grass and flowers round the birch and the bear: the picture is
    # drawn where a tap on it lands.
    sc.bush(c, W * 0.2, H - 4, 300, 230, "leaf_light")
    sc.bush(c, W * 0.82, H - 4, 280, 260, "leaf")
    shadow(c, W * 0.6, H - 6, 260)
    figure(c, cast.bublik, W * 0.6, H - 10, 2.2, sitting=True, arms=(160, 160), eyes="closed", mouth_kind="yawn")
    sc.grass(c, 20, W - 20, H - 2, 90, "grass", 1.4)
    for k in range(9):
        x = c.rng.choice([c.rng.uniform(40, W * 0.42), c.rng.uniform(W * 0.78, W - 40)])
        sc.flower(c, x, H - 4, c.rng.uniform(90, 150), c.rng.choice(["pink", "#ffffff", "yellow", "purple"]))
    return c


# --- page 11: Bublik asleep, Homa in his burrow -------------------------------------

@layer
def s11layer1(w, h):
    c = canvas("s11layer1", w, h)
    light_scenery(c)
    sc.mushroom(c, c.width * 0.8, h - 4, h * 0.45)
    sc.mushroom(c, c.width * 0.93, h - 4, h * 0.2, "orange")
    sc.grass(c, c.width * 0.6, c.width - 20, h - 2, 70, "grass_dark")
    return c


@layer
def s11layer2(w, h):
    c = canvas("s11layer2", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.birch(c, W * 0.84, H - 4, H - 40)
    figure(c, cast.bublik_asleep, W * 0.5, H - 30, 1.9)
    for k, (x, y, s) in enumerate(((0.5, 0.6, 44), (0.56, 0.5, 56), (0.63, 0.38, 70))):
        c.text(W * x, H * y, "Z", s, "#ffffff", outline="#5a3d8e", width=6)
    sc.grass(c, 20, W - 20, H - 2, 60, "grass", 0.8)
    return c


@layer
def s11layer4_t(w, h):
    c = canvas("s11layer4-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    # The mound, its dark hole, Homa, then the mound's front lip over his lower half.
    c.ellipse(W / 2, H - 86, 130, 80, "#a8784a", outline="#6e4424", width=6)
    c.ellipse(W / 2, H - 120, 90, 36, "#3a2414", outline="#6e4424", width=5)
    figure(c, cast.homa, W / 2, H - 30, 2.4, arms=(100, 150), look=(0, 0), mouth_kind="open")
    c.path("M %.1f,%.1f A 130,80 0 0 0 %.1f,%.1f L %.1f,%.1f A 90,36 0 0 1 %.1f,%.1f Z"
           % (W / 2 - 130, H - 86, W / 2 + 130, H - 86, W / 2 + 90, H - 120, W / 2 - 90, H - 120), "#a8784a",
           outline="#6e4424", width=6)
    sc.grass(c, W / 2 - 120, W / 2 + 120, H - 4, 40, "grass", 1.0)
    return c


# --- page 12: inside Homa's burrow ----------------------------------------------------

@layer
def s12layer1(w, h):
    c = canvas("s12layer1", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    # An earthen arch: rounded outside, the round opening of the burrow inside.
    r = 110
    outer = ("M %.1f,%.1f V %.1f Q 0,0 %.1f,0 H %.1f Q %.1f,0 %.1f,%.1f V %.1f Z"
             % (6, H, r, r, W - r, W - 6, W - 6, r, H))
    d = (outer + " M %.1f,%.1f A %.1f,%.1f 0 1 0 %.1f,%.1f A %.1f,%.1f 0 1 0 %.1f,%.1f Z"
         % (W / 2 - W * 0.38, H * 0.55, W * 0.38, H * 0.5, W / 2 + W * 0.38, H * 0.55, W * 0.38, H * 0.5,
            W / 2 - W * 0.38, H * 0.55))
    c.add('<path d="%s" fill-rule="evenodd" fill="#7a5232" stroke="#4a2e18" stroke-width="10"/>' % d)
    rng = c.rng
    for _ in range(40):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        if ((x - W / 2) / (W * 0.4)) ** 2 + ((y - H * 0.55) / (H * 0.52)) ** 2 > 1:
            c.ellipse(x, y, rng.uniform(8, 22), rng.uniform(6, 14), rng.choice(["#6e4a2a", "#a8784a", "#5a3a22"]),
                      outline=False)
    for x in (0.3, 0.45, 0.62, 0.74):
        c.line_([(W * x, H * 0.08), (W * x + 20, H * 0.2), (W * x - 10, H * 0.3)], "#d8b27a", 9, smooth=True)
    return c


@layer
def s12layer2_t(w, h):
    c = canvas("s12layer2-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    for x, y, s, colour in ((0.14, 0, 1.0, "#d8c098"), (0.3, 0, 0.85, "#c8b088"), (0.2, -190, 0.7, "#e0c8a0")):
        sx, sy = W * x, H - 6 + y
        c.blob([(sx - 80 * s, sy), (sx - 95 * s, sy - 110 * s), (sx - 60 * s, sy - 200 * s), (sx - 30 * s, sy - 220 * s),
                (sx + 30 * s, sy - 220 * s), (sx + 60 * s, sy - 200 * s), (sx + 95 * s, sy - 110 * s),
                (sx + 80 * s, sy)], colour, outline="#8a6a48", width=6)
        c.line_([(sx - 40 * s, sy - 205 * s), (sx + 40 * s, sy - 205 * s)], "#8a6a48", 8)
        for k in range(5):
            c.ellipse(sx - 40 * s + k * 20 * s, sy - 225 * s, 12 * s, 9 * s, "#b5763a", outline="#6e4424", width=3)
    shadow(c, W * 0.64, H - 6, 240)
    figure(c, cast.homa, W * 0.64, H - 10, 4.4, arms=(30, 95), look=(3, 0), mouth_kind="open")
    return c


# --- page 13: the pond at sunset ------------------------------------------------------

@layer
def s13layer2(w, h):
    c = canvas("s13layer2", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    # Kept low: the friends stand on the far bank, behind it.
    c.ellipse(W / 2, H - 44, W * 0.45, 40, c.linear([(0, "#8fd3ec"), (1, "#3f93c0")]), outline="#3f7a34", width=8)
    for k in range(10):
        x, y = c.rng.uniform(W * 0.15, W * 0.85), c.rng.uniform(H - 70, H - 20)
        c.path("M %.1f,%.1f q 15,-6 30,0 q 15,6 30,0" % (x, y), "none", outline="#ffffff", width=4, opacity=0.6)
    for x, y, r, f in ((0.3, -34, 36, True), (0.66, -58, 30, False), (0.75, -26, 38, True)):
        sc.lily_pad(c, W * x, H + y, r, f)
    sc.lily_pad(c, W / 2, H - 44, 60)
    cast.star(c, W / 2, H - 84, 40)
    sc.reeds(c, W * 0.06, H - 30, 520, 9, 70)
    sc.reeds(c, W * 0.94, H - 30, 560, 9, 70)
    return c


@layer
def s13layer3_t(w, h):
    c = canvas("s13layer3-t", w, h)
    light_figure(c)
    shadow(c, c.width * 0.45, h - 6, 140)
    figure(c, cast.ryzhik, c.width * 0.42, h - 8, 1.8, arms=(110, 110), look=(2, 2), mouth_kind="open")
    return c


@layer
def s13layer4l_t(w, h):
    c = canvas("s13layer4l-t", w, h)
    light_figure(c)
    # Reeds behind Gosha reach up his tall picture.
    sc.reeds(c, c.width * 0.5, h - 40, h - 60, 6, c.width * 0.8)
    shadow(c, c.width / 2, h - 6, 200)
    figure(c, cast.gosha, c.width / 2, h - 6, 2.2, wings="down", look=(2, 1))
    return c


@layer
def s13layer4r_t(w, h):
    c = canvas("s13layer4r-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    c.rect(W / 2 - 80, H - 140, 160, 136, "bark", outline="bark_dark", width=6, r=14)
    c.ellipse(W / 2, H - 140, 80, 22, "#e0b27a", outline="bark_dark", width=6)
    figure(c, cast.homa, W / 2, H - 145, 2.0, arms=(20, 150), look=(-2, 1))
    return c


# --- page 14: the shore at dusk -------------------------------------------------------

@layer
def s14layer1(w, h):
    c = canvas("s14layer1", w, h)
    light_scenery(c)
    # The layer stands in the middle of the view: reeds only at its right end.
    sc.reeds(c, c.width * 0.9, h - 4, h * 0.6, 6, c.width * 0.06)
    return c


@layer
def s14layer2_t(w, h):
    c = canvas("s14layer2-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f L %.1f,%.1f Z" % (W * 0.55, H - 4, W * 0.75, H - 120, W - 30, H - 110,
                                                              W - 30, H - 4), c.linear([(0, "#8fd3ec"), (1, "#3f93c0")]),
           outline="#3f93c0", width=5)
    c.path("M 30,%.1f Q %.1f,%.1f %.1f,%.1f L %.1f,%.1f Z" % (H - 4, W * 0.3, H - 90, W * 0.62, H - 4, W * 0.62, H - 4),
           "#e8d4a0", outline="#b8a070", width=5)
    # Reeds and a willow bush on the bank behind Ryzhik fill the picture's left.
    sc.bush(c, W * 0.22, H - 40, 400, 380, "leaf")
    sc.reeds(c, W * 0.08, H - 40, 440, 5, 60)
    figure(c, cast.ryzhik, W * 0.45, H - 40, 3.2, rotate=16, arms=(40, 80), look=(3, 2))
    sc.reeds(c, W * 0.84, H - 60, 380, 5, 28)
    # The little star afloat, just out of reach.
    sc.lily_pad(c, W * 0.72, H - 50, 44)
    cast.star(c, W * 0.72, H - 96, 36)
    return c


@layer
def s14layer3_t(w, h):
    c = canvas("s14layer3-t", w, h)
    light_figure(c)
    shadow(c, c.width / 2, h - 6, 160)
    figure(c, cast.gosha, c.width / 2, h - 8, 2.6, wings="up", mouth_open=True, look=(-2, 0))
    return c


# --- page 15: the log across the pond -------------------------------------------------

@layer
def s15layer1(w, h):
    c = canvas("s15layer1", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.stone(c, W * 0.45, H - 2, 300, 150, "#9a9890")
    c.blob([(W * 0.3, H - 130), (W * 0.45, H - 150), (W * 0.6, H - 138), (W * 0.5, H - 118)], "#6aa83e",
           outline="#3f7a34", width=4)
    sc.lily_pad(c, W * 0.82, H - 10, 50, True)
    sc.lily_pad(c, W * 0.12, H - 8, 40, True)
    return c


@layer
def s15layer2_t(w, h):
    c = canvas("s15layer2-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    sc.log(c, 30, W * 0.74, H - 20, 56, "#9a6a42")
    figure(c, cast.bublik, W * 0.4, H - 160, 1.75, rotate=84, arms=(172, 178), look=(0, -2), mouth_kind="open")
    sc.lily_pad(c, W * 0.9, H - 20, 60)
    cast.star(c, W * 0.9, H - 80, 44)
    return c


@layer
def s15layer3(w, h):
    c = canvas("s15layer3", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.water_band(c, -10, W + 10, H - 60, H, "#6cc3e0")
    # The far bank's grassy hump Ryzhik stands on, its crest just above the top of
    # the log's picture in front, where a tap still finds him.
    c.path("M 150,%.1f Q 383,77 616,%.1f Z" % (H - 58, H - 58), "#7fae48", outline="#4f7a30", width=6)
    sc.grass(c, 340, 426, 320, 22, "grass", 0.8)
    sc.reeds(c, W * 0.06, H - 50, 240, 6, 40)
    sc.reeds(c, W * 0.93, H - 50, 260, 6, 40)
    return c


@layer
def s15layer4_t(w, h):
    c = canvas("s15layer4-t", w, h)
    light_figure(c)
    # Ryzhik cheers from the far bank's hump (the scenery's), above the log in front.
    W, H = c.width, c.height
    figure(c, cast.ryzhik, W * 0.45, H - 8, 1.9, arms=(100, 100), look=(3, -1), mouth_kind="open")
    return c


# --- page 16: the hill top at night ----------------------------------------------------

@layer
def s16layer1l_t(w, h):
    c = canvas("s16layer1l-t", w, h)
    light_figure(c)
    shadow(c, c.width / 2, h - 6, 280)
    figure(c, cast.gosha, c.width / 2, h - 8, 3.3, wings="up", look=(2, -2), mouth_open=True)
    return c


@layer
def s16layer1r_t(w, h):
    c = canvas("s16layer1r-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    figure(c, cast.ryzhik, W * 0.44, H - 8, 2.45, arms=(168, 168), look=(0, -3), mouth_kind="open")
    cast.star(c, W * 0.44, H - 8 - 2.45 * 125, 40)
    return c


@layer
def s16layer2(w, h):
    c = canvas("s16layer2", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    # The hill top; its starry sky is the background's, above it.
    c.path("M 0,%.1f Q %.1f,%.1f %.1f,%.1f L %.1f,%.1f L 0,%.1f Z" % (H - 40, W / 2, H - 150, W, H - 40, W, H, H),
           "#6fae3e", outline="#3f7a34", width=6)
    sc.grass(c, 10, W - 10, H - 2, 44, "grass", 0.7)
    for k in range(7):
        sc.flower(c, c.rng.uniform(W * 0.1, W * 0.9), H - 6, c.rng.uniform(40, 70), c.rng.choice(["#ffffff", "blue"]))
    return c


@layer
def s16layer3_t(w, h):
    c = canvas("s16layer3-t", w, h)
    light_figure(c)
    shadow(c, c.width / 2, h - 6, 180)
    figure(c, cast.homa, c.width / 2, h - 8, 1.9, arms=(150, 30), look=(-2, -2), mouth_kind="open")
    return c


# --- page 17: late night on the hill ---------------------------------------------------

@layer
def s17layer2_t(w, h):
    c = canvas("s17layer2-t", w, h)
    light_figure(c)
    W, H = c.width, c.height
    # Ryzhik lies on a low grassy knoll that fills his wide picture, below Gosha's feet.
    c.path("M 20,%.1f C %.1f,%.1f %.1f,%.1f %.1f,%.1f L %.1f,%.1f Z"
           % (H - 2, W * 0.2, H * 0.5, W * 0.8, H * 0.5, W - 20, H - 2, W - 20, H - 2), "grass_dark",
           outline=False)
    # The hill rises to the picture's top behind him, where Gosha sits clear of
    # this picture's plane, which takes every tap below its top.
    c.path("M 40,%.1f C 120,60 240,8 360,8 C 480,8 600,80 760,%.1f Z" % (H - 2, H - 2), "grass_dark", outline=False)
    figure(c, cast.ryzhik_lying, W * 0.6, H - 30, 3.4)
    sc.grass(c, 40, W - 40, H - 2, 50, "grass", 1.0)
    for k in range(10):
        sc.flower(c, c.rng.uniform(60, W - 60), H - 6, c.rng.uniform(50, 90), c.rng.choice(["#ffffff", "pink", "yellow"]))
    return c


@layer
def s17layer3_t(w, h):
    c = canvas("s17layer3-t", w, h)
    light_figure(c)
    # Gosha lies on his back on the hill top, looking up at the star: lying, he
    # fills the low strip above Ryzhik's picture that a tap on him can reach.
    figure(c, cast.gosha, c.width / 2 + 60, h * 0.6, 2.4, rotate=-90, look=(2, -2))
    return c


# --- page 18: home at night -------------------------------------------------------------

@layer
def s18layer4(w, h):
    c = canvas("s18layer4", w, h)
    light_scenery(c)
    W, H = c.width, c.height
    sc.tree(c, W * 0.1, H, 480, "leaf", w=220)
    sc.tree(c, W * 0.9, H, 440, "leaf_light", w=220)
    windows = sc.round_house(c, W / 2, H - 4, 470, 440, lit=True)
    lx, ly = W / 2 + 215, H - 150
    c.line_([(lx, H - 4), (lx, ly)], "bark_dark", 8)
    sc.bush(c, W * 0.25, H, 130, 80, "leaf")
    sc.bush(c, W * 0.75, H, 120, 70, "leaf_light")
    # Lamplight keeps its warm colour in the night.
    c.tint_stop()
    for x, y, r in windows:
        sc.lit_window(c, x, y, r)
    c.circle(lx, ly - 30, 70, c.radial([(0, "#ffe9a0", 0.8), (1, "#ffe9a0", 0)]), outline=False)
    c.rect(lx - 18, ly - 50, 36, 44, "#ffe28a", outline="#6e4424", width=5, r=6)
    return c
