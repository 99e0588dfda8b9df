"""The book's characters, each drawn in its own frame: origin between the feet,
y growing downwards (so the figure stands at negative y), about 100 units tall
for Ryzhik. Callers place them with a transform.
"""

import math

from art_draw import darker, lighter, star_points

FOX = "#f07a2a"
FOX_DARK = "#b8521a"
WHITE = "#fffaf2"
BLACK = "#33261f"
SCARF = "#4f9a45"
BEAR = "#8a5533"
BEAR_TAN = "#e2b786"
SHIRT = "#e2574c"
HAMSTER = "#e8b872"
GOOSE = "#fbe58a"
BEAK = "#f29a3f"
TIT_YELLOW = "#f7d84a"
TIT_WING = "#7d97b5"
APRON = "#fdfdf8"
STAR = "#ffe27a"
OUTLINE = 2.6


def shine(c, x, y, rx, ry, rotate=-25):
    """A soft light patch on a round shape: the gentle shading of the book's style."""
    c.ellipse(x, y, rx, ry, "#ffffff", outline=False, opacity=0.22, rotate=rotate)


def limb(c, x, y, angle, length, width, fill, end=None, end_r=None):
    """A rounded limb from (x, y); angle 0 hangs down, 90 points right, 180 up."""
    a = math.radians(angle)
    ex, ey = x + length * math.sin(a), y + length * math.cos(a)
    c.line_([(x, y), (ex, ey)], darker(fill), width + 2 * OUTLINE)
    c.line_([(x, y), (ex, ey)], fill, width)
    if end:
        c.circle(ex, ey, end_r or width * 0.62, end, outline=darker(end, 0.3), width=OUTLINE * 0.8)
    return ex, ey


def eye(c, x, y, r, look=(0, 0), closed=False, sleepy=False):
    if closed:
        c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (x - r, y, x, y + r * 0.9, x + r, y), "none",
               outline=BLACK, width=OUTLINE)
        return
    if sleepy:
        c.ellipse(x, y + r * 0.2, r * 0.85, r * 0.55, BLACK, outline=False)
        c.path("M %.1f,%.1f H %.1f" % (x - r, y - r * 0.15, x + r), "none", outline=BLACK, width=OUTLINE)
        return
    c.ellipse(x + look[0], y + look[1], r * 0.82, r, BLACK, outline=False)
    c.circle(x + look[0] - r * 0.3, y + look[1] - r * 0.4, r * 0.33, "#ffffff", outline=False)


def mouth(c, x, y, w, kind="smile"):
    if kind == "smile":
        c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (x - w, y, x, y + w, x + w, y), "none", outline=BLACK,
               width=OUTLINE * 0.9)
    elif kind == "open":
        c.ellipse(x, y + w * 0.4, w * 0.7, w * 0.8, "#c0403a", outline=BLACK, width=OUTLINE * 0.9)
    elif kind == "yawn":
        c.ellipse(x, y + w * 0.8, w * 1.1, w * 1.5, "#a8332e", outline=BLACK, width=OUTLINE * 0.9)
        c.ellipse(x, y + w * 1.6, w * 0.6, w * 0.5, "#f08a8a", outline=False)


def star(c, x, y, r, face=True, glow=True, wink=False):
    """The little star: pale gold, softly glowing, with a sleepy kind face."""
    if glow:
        c.circle(x, y, r * 2.2, c.radial([(0, "#fff6c0", 0.85), (0.5, "#ffe27a", 0.35), (1, "#ffe27a", 0)]),
                 outline=False)
    c.blob(star_points(x, y, r, r * 0.5), STAR, outline="#d9a520", width=max(1.5, r / 12))
    if face:
        e = r * 0.16
        if wink:
            eye(c, x - r * 0.2, y - r * 0.02, e, closed=True)
            c.circle(x + r * 0.2, y - r * 0.04, e * 0.8, BLACK, outline=False)
        else:
            eye(c, x - r * 0.2, y - r * 0.02, e, closed=True)
            eye(c, x + r * 0.2, y - r * 0.02, e, closed=True)
        mouth(c, x, y + r * 0.18, r * 0.1)
        c.circle(x - r * 0.36, y + r * 0.14, r * 0.08, "#f6a38a", outline=False, opacity=0.8)
        c.circle(x + r * 0.36, y + r * 0.14, r * 0.08, "#f6a38a", outline=False, opacity=0.8)


def basket(c, x, y, s=1.0):
    """Ryzhik's wicker basket of pies, hanging from (x, y)."""
    c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (x - 11 * s, y + 12 * s, x, y - 8 * s, x + 11 * s, y + 12 * s),
           "none", outline="#8a5a2b", width=3 * s)
    c.ellipse(x - 5 * s, y + 11 * s, 6 * s, 4 * s, "#e0a050", outline="#a0642a", width=1.5 * s)
    c.ellipse(x + 5 * s, y + 10 * s, 6 * s, 4 * s, "#d8964a", outline="#a0642a", width=1.5 * s)
    c.path("M %.1f,%.1f L %.1f,%.1f Q %.1f,%.1f %.1f,%.1f L %.1f,%.1f Z"
           % (x - 14 * s, y + 11 * s, x - 10 * s, y + 26 * s, x, y + 29 * s, x + 10 * s, y + 26 * s, x + 14 * s, y + 11 * s),
           "#d9a35c", outline="#8a5a2b", width=2 * s)
    for k in (-7, 0, 7):
        c.line_([(x + k * s, y + 12 * s), (x + k * s * 0.8, y + 27 * s)], "#a8733a", 1.2 * s)
    c.line_([(x - 12 * s, y + 18 * s), (x + 12 * s, y + 18 * s)], "#a8733a", 1.2 * s)


def fox_head(c, x, y, r, look=(0, 0), tilt=0, eyes="open", mouth_kind="smile", adult=False, cobweb=False):
    c.group("rotate(%.1f %.1f %.1f)" % (tilt, x, y))
    for side in (-1, 1):
        ear = [(x + side * r * 0.35, y - r * 0.7), (x + side * r * 0.95, y - r * 1.55), (x + side * r * 1.0, y - r * 0.35)]
        c.poly(ear, FOX, outline=FOX_DARK, width=OUTLINE)
        inner = [(x + side * r * 0.55, y - r * 0.65), (x + side * r * 0.9, y - r * 1.3), (x + side * r * 0.9, y - r * 0.5)]
        c.poly(inner, BLACK, outline=False)
    head = [(x - r * 1.05, y - r * 0.1), (x - r * 0.7, y - r * 0.85), (x, y - r * 1.0), (x + r * 0.7, y - r * 0.85),
            (x + r * 1.05, y - r * 0.1), (x + r * 0.75, y + r * 0.55), (x, y + r * 0.8), (x - r * 0.75, y + r * 0.55)]
    c.blob(head, FOX, outline=FOX_DARK, width=OUTLINE)
    shine(c, x - r * 0.45, y - r * 0.55, r * 0.3, r * 0.16)
    c.blob([(x - r * 0.95, y + r * 0.05), (x - r * 0.3, y + r * 0.15), (x, y + r * 0.35), (x + r * 0.3, y + r * 0.15),
            (x + r * 0.95, y + r * 0.05), (x + r * 0.6, y + r * 0.6), (x, y + r * 0.82), (x - r * 0.6, y + r * 0.6)],
           WHITE, outline=False)
    ey = y - r * 0.12
    if eyes == "closed":
        eye(c, x - r * 0.4, ey, r * 0.2, closed=True)
        eye(c, x + r * 0.4, ey, r * 0.2, closed=True)
    else:
        er = r * (0.2 if adult else 0.25)
        eye(c, x - r * 0.4, ey, er, look, sleepy=eyes == "sleepy")
        eye(c, x + r * 0.4, ey, er, look, sleepy=eyes == "sleepy")
    c.ellipse(x, y + r * 0.3, r * 0.16, r * 0.12, BLACK, outline=False)
    mouth(c, x, y + r * 0.48, r * 0.16, mouth_kind)
    if cobweb:
        for side in (-1, 1):
            bx, by = x + side * r * 0.8, y - r * 1.1
            for k in range(3):
                c.path("M %.1f,%.1f Q %.1f,%.1f %.1f,%.1f" % (bx - r * 0.35, by + k * r * 0.15, bx, by + r * 0.15 + k * r * 0.2,
                                                          bx + r * 0.35, by + k * r * 0.15), "none", outline="#ffffff",
                       width=OUTLINE * 0.6)
            c.line_([(bx, by - r * 0.2), (bx, by + r * 0.6)], "#ffffff", OUTLINE * 0.5)
    c.end()


def ryzhik(c, arms=(25, 25), look=(0, 0), tilt=0, basket_side=0, hop=False, eyes="open",
           mouth_kind="smile", cobweb=False):
    """Ryzhik the fox cub; arms are angles of the left and right arm (0 hangs down)."""
    # Tail behind, curling up to the right with its white tip.
    c.blob([(8, -16), (30, -22), (44, -40), (46, -58), (38, -62), (30, -48), (12, -32)], FOX, outline=FOX_DARK,
           width=OUTLINE)
    c.blob([(38, -48), (44, -44), (47, -58), (39, -63), (35, -56)], WHITE, outline=FOX_DARK, width=OUTLINE * 0.8)
    lift = 7 if hop else 0
    for side in (-1, 1):
        c.rect(side * 8 - 4.5, -18 - lift, 9, 15, FOX, outline=FOX_DARK, width=OUTLINE, r=4)
        c.ellipse(side * 9, -3 - lift, 7, 4.5, BLACK, outline=False)
    c.blob([(-14, -40), (0, -46), (14, -40), (16, -22), (10, -10), (-10, -10), (-16, -22)], FOX, outline=FOX_DARK,
           width=OUTLINE)
    c.ellipse(0, -26, 8.5, 12, WHITE, outline=False)
    shine(c, -9, -34, 3.5, 6, 15)
    hands = [None, None]
    # Raised arms are drawn over the head, lowered ones under the scarf.
    for i, (side, angle) in enumerate(((-1, arms[0]), (1, arms[1]))):
        if angle <= 100:
            # An arm held out sideways is reaching for something: a little longer.
            length = 24 if angle >= 70 else 18
            hands[i] = limb(c, side * 12, -38, side * angle, length, 7, FOX, BLACK, 4.2)
    held = hands[0] if basket_side < 0 else hands[1]
    if basket_side and held:
        basket(c, held[0], held[1], 0.9)
    c.rect(-15, -49, 30, 8, SCARF, outline=darker(SCARF), width=OUTLINE, r=4)
    c.rect(6, -44, 7, 14, SCARF, outline=darker(SCARF), width=OUTLINE, r=3)
    for k in (-9, -3, 3, 9):
        c.line_([(k, -48), (k, -42.5)], lighter(SCARF), 1.2)
    fox_head(c, 0, -66, 20, look, tilt, eyes, mouth_kind, cobweb=cobweb)
    for i, (side, angle) in enumerate(((-1, arms[0]), (1, arms[1]))):
        if angle > 100:
            hands[i] = limb(c, side * 13, -40, side * angle, 24, 7, FOX, BLACK, 4.2)
    if basket_side and not held:
        hx, hy = hands[0] if basket_side < 0 else hands[1]
        basket(c, hx, hy - 6, 0.9)
    return hands


def mama(c, arms=(20, 20), look=(0, 0)):
    """Mama fox: tall, slender, in a white apron with little blue flowers."""
    c.blob([(10, -30), (34, -40), (46, -70), (42, -92), (34, -88), (30, -62), (12, -48)], FOX, outline=FOX_DARK,
           width=OUTLINE)
    c.blob([(40, -78), (46, -72), (43, -92), (34, -90), (33, -82)], WHITE, outline=FOX_DARK, width=OUTLINE * 0.8)
    for side in (-1, 1):
        c.rect(side * 9 - 4.5, -40, 9, 37, FOX, outline=FOX_DARK, width=OUTLINE, r=4)
        c.ellipse(side * 10, -3, 7.5, 4.5, BLACK, outline=False)
    c.blob([(-15, -118), (0, -124), (15, -118), (20, -70), (22, -36), (0, -32), (-22, -36), (-20, -70)], FOX,
           outline=FOX_DARK, width=OUTLINE)
    c.ellipse(0, -100, 9, 14, WHITE, outline=False)
    c.blob([(-16, -92), (16, -92), (21, -40), (0, -34), (-21, -40)], APRON, outline="#b9c6d8", width=OUTLINE)
    c.rect(-17, -96, 34, 6, APRON, outline="#b9c6d8", width=OUTLINE * 0.8, r=3)
    for fx, fy in ((-9, -78), (6, -70), (-4, -56), (10, -50), (-12, -46), (2, -84)):
        for k in range(5):
            a = k * 2 * math.pi / 5
            c.circle(fx + 2.2 * math.cos(a), fy + 2.2 * math.sin(a), 1.6, "#6a9be0", outline=False)
        c.circle(fx, fy, 1.2, "#f7d154", outline=False)
    for side, angle in ((-1, arms[0]), (1, arms[1])):
        limb(c, side * 14, -114, side * angle, 38, 8, FOX, BLACK, 4.5)
    fox_head(c, 0, -140, 19, look, adult=True)


def bear_head(c, x, y, r, look=(0, 0), eyes="open", mouth_kind="smile", tilt=0):
    c.group("rotate(%.1f %.1f %.1f)" % (tilt, x, y))
    for side in (-1, 1):
        c.circle(x + side * r * 0.78, y - r * 0.72, r * 0.36, BEAR, outline=darker(BEAR), width=OUTLINE)
        c.circle(x + side * r * 0.78, y - r * 0.72, r * 0.18, BEAR_TAN, outline=False)
    c.blob([(x - r, y), (x - r * 0.8, y - r * 0.75), (x, y - r * 0.98), (x + r * 0.8, y - r * 0.75), (x + r, y),
            (x + r * 0.75, y + r * 0.7), (x, y + r * 0.9), (x - r * 0.75, y + r * 0.7)], BEAR, outline=darker(BEAR),
           width=OUTLINE)
    shine(c, x - r * 0.45, y - r * 0.5, r * 0.28, r * 0.15)
    c.ellipse(x, y + r * 0.35, r * 0.45, r * 0.36, BEAR_TAN, outline=False)
    if eyes == "closed":
        eye(c, x - r * 0.38, y - r * 0.12, r * 0.16, closed=True)
        eye(c, x + r * 0.38, y - r * 0.12, r * 0.16, closed=True)
    else:
        eye(c, x - r * 0.38, y - r * 0.12, r * 0.18, look, sleepy=eyes == "sleepy")
        eye(c, x + r * 0.38, y - r * 0.12, r * 0.18, look, sleepy=eyes == "sleepy")
    c.ellipse(x, y + r * 0.22, r * 0.15, r * 0.11, BLACK, outline=False)
    mouth(c, x, y + r * 0.42, r * 0.14, mouth_kind)
    c.end()


def bublik(c, arms=(30, 30), look=(0, 0), sitting=False, eyes="open", mouth_kind="smile", tilt=0,
           honey=False, berries=False):
    """Bublik the bear cub in his red T-shirt; about twice Ryzhik's height."""
    if sitting:
        body_top, body_bottom = -110, -10
    else:
        for side in (-1, 1):
            c.rect(side * 15 - 11, -40, 22, 40, BEAR, outline=darker(BEAR), width=OUTLINE, r=10)
            c.ellipse(side * 16, -5, 13, 6, darker(BEAR, 0.15), outline=False)
        body_top, body_bottom = -120, -30
    c.blob([(-34, body_top + 22), (0, body_top), (34, body_top + 22), (42, (body_top + body_bottom) / 2 + 10),
            (30, body_bottom), (-30, body_bottom), (-42, (body_top + body_bottom) / 2 + 10)], BEAR,
           outline=darker(BEAR), width=OUTLINE)
    c.blob([(-31, body_top + 20), (0, body_top + 4), (31, body_top + 20), (37, body_top + 58), (0, body_top + 66),
            (-37, body_top + 58)], SHIRT, outline=darker(SHIRT), width=OUTLINE)
    shine(c, -16, body_top + 24, 10, 6, -15)
    c.ellipse(0, body_bottom - 14, 16, 12, BEAR_TAN, outline=False)
    if sitting:
        for side in (-1, 1):
            c.ellipse(side * 26, -12, 16, 13, BEAR, outline=darker(BEAR), width=OUTLINE)
            c.ellipse(side * 30, -11, 8, 8, BEAR_TAN, outline=False)
    hands = []
    for side, angle in ((-1, arms[0]), (1, arms[1])):
        hands.append(limb(c, side * 30, body_top + 22, side * angle, 34, 15, BEAR,
                          BEAR_TAN, 8))
    if honey:
        hx, hy = hands[1]
        c.blob([(hx - 14, hy - 10), (hx + 14, hy - 10), (hx + 17, hy + 10), (hx + 10, hy + 22), (hx - 10, hy + 22),
                (hx - 17, hy + 10)], "#d9864a", outline="#8a4a20", width=OUTLINE)
        c.rect(hx - 15, hy - 14, 30, 7, "#f5e6c8", outline="#8a4a20", width=OUTLINE * 0.8, r=3)
        c.path("M %.1f,%.1f q 4,10 8,0 q 3,6 6,0" % (hx - 10, hy - 8), "#f7c23a", outline="#c98f2a",
               width=OUTLINE * 0.7)
        c.text(hx, hy + 12, "МЁД", 7, "#fff3d6")
    if berries:
        for hx, hy in hands:
            for k in range(3):
                c.circle(hx - 4 + k * 4, hy - 8 - (k % 2) * 3, 3.2, "#d23a4e", outline="#8a1f2e", width=1)
    bear_head(c, 0, body_top - 22, 30, look, eyes, mouth_kind, tilt)
    return hands


def pugovka(c, look=(2, 0), open_beak=False):
    """Pugovka the titmouse, round as a button, standing on (0, 0)."""
    for side in (-1, 1):
        c.line_([(side * 4, -8), (side * 5, 0)], "#6b5a4a", 2)
    c.blob([(22, -24), (34, -20), (33, -16), (20, -18)], TIT_WING, outline=darker(TIT_WING), width=OUTLINE * 0.7)
    c.circle(0, -20, 16, TIT_YELLOW, outline=darker(TIT_YELLOW), width=OUTLINE * 0.8)
    c.line_([(0, -26), (0, -8)], BLACK, 4)
    c.blob([(6, -30), (18, -22), (16, -10), (6, -14)], TIT_WING, outline=darker(TIT_WING), width=OUTLINE * 0.7)
    c.path("M -14,-26 A 16,16 0 0 1 14,-28 L 10,-24 Q 0,-30 -10,-22 Z", BLACK, outline=False)
    c.ellipse(-4, -23, 6, 4, "#ffffff", outline=False)
    c.ellipse(8, -23, 4.5, 3.5, "#ffffff", outline=False)
    c.circle(1 + look[0] * 0.5, -24, 2.2, BLACK, outline=False)
    c.circle(0.4 + look[0] * 0.5, -24.8, 0.7, "#ffffff", outline=False)
    beak = [(-13, -24), (-20, -22), (-13, -20)] if not open_beak else [(-13, -25), (-21, -26), (-14, -22), (-20, -19), (-13, -20)]
    c.poly(beak, "#4a4038", outline=False)


def homa(c, arms=(20, 20), look=(0, 0), eyes="open", mouth_kind="smile"):
    """Homa the hamster: round, golden, puffy cheeks, small brown waistcoat."""
    for side in (-1, 1):
        c.ellipse(side * 10, -4, 8, 5, "#f4a0a8", outline="#c07078", width=OUTLINE * 0.8)
    c.blob([(-24, -50), (0, -62), (24, -50), (28, -22), (16, -6), (-16, -6), (-28, -22)], HAMSTER,
           outline=darker(HAMSTER), width=OUTLINE)
    c.ellipse(0, -26, 15, 18, WHITE, outline=False)
    c.blob([(-24, -50), (-10, -54), (-12, -20), (-26, -24)], "#8a5a3b", outline=darker("#8a5a3b"), width=OUTLINE)
    c.blob([(24, -50), (10, -54), (12, -20), (26, -24)], "#8a5a3b", outline=darker("#8a5a3b"), width=OUTLINE)
    c.circle(-11, -42, 1.6, "#f7d154", outline=False)
    c.circle(-11, -33, 1.6, "#f7d154", outline=False)
    for side, angle in ((-1, arms[0]), (1, arms[1])):
        limb(c, side * 20, -46, side * angle, 15, 6.5, HAMSTER, "#f4a0a8", 3.6)
    x, y, r = 0, -72, 20
    for side in (-1, 1):
        c.circle(x + side * 14, y - 16, 7, HAMSTER, outline=darker(HAMSTER), width=OUTLINE)
        c.circle(x + side * 14, y - 16, 3.8, "#f4a0a8", outline=False)
    c.blob([(x - 24, y + 4), (x - 16, y - 16), (x, y - 21), (x + 16, y - 16), (x + 24, y + 4), (x + 14, y + 17),
            (x, y + 19), (x - 14, y + 17)], HAMSTER, outline=darker(HAMSTER), width=OUTLINE)
    shine(c, x - 9, y - 12, 6, 3.5)
    for side in (-1, 1):
        c.ellipse(x + side * 13, y + 8, 10, 8, WHITE, outline=False)
    eye(c, x - 8, y - 3, 4, look, closed=eyes == "closed")
    eye(c, x + 8, y - 3, 4, look, closed=eyes == "closed")
    c.ellipse(x, y + 5, 3.2, 2.4, "#f08aa0", outline=False)
    mouth(c, x, y + 9, 3, mouth_kind)


def gosha(c, wings="down", look=(0, 0), eyes="open", sitting=False, mouth_open=False):
    """Gosha the gosling: fluffy pale-yellow down, orange beak and feet."""
    if not sitting:
        for side in (-1, 1):
            c.line_([(side * 8, -22), (side * 9, -5)], BEAK, 3.5)
            c.poly([(side * 9 - 8, -1), (side * 9 + 8, -1), (side * 9, -8)], BEAK, outline=darker(BEAK),
                   width=OUTLINE * 0.8)
    base = -4 if sitting else -18
    c.blob([(-26, base - 22), (-10, base - 40), (14, base - 38), (28, base - 18), (18, base), (-18, base)], GOOSE,
           outline=darker(GOOSE, 0.3), width=OUTLINE)
    if sitting:
        for side in (-1, 1):
            c.ellipse(side * 12, base + 1, 9, 4, BEAK, outline=darker(BEAK), width=OUTLINE * 0.8)
    for side in (-1, 1):
        if wings == "up":
            pts = [(side * 20, base - 26), (side * 40, base - 52), (side * 44, base - 40), (side * 30, base - 18)]
        else:
            pts = [(side * 20, base - 30), (side * 32, base - 20), (side * 28, base - 8), (side * 16, base - 14)]
        c.blob(pts, lighter(GOOSE, 0.15), outline=darker(GOOSE, 0.3), width=OUTLINE)
    x, y = 0, base - 50
    c.circle(x, y, 17, GOOSE, outline=darker(GOOSE, 0.3), width=OUTLINE)
    shine(c, x - 7, y - 9, 5, 3)
    for k in (-5, 0, 5):
        c.line_([(x + k, y - 16), (x + k * 1.6, y - 24)], darker(GOOSE, 0.25), 2.2)
    if mouth_open:
        c.poly([(x - 7, y + 3), (x + 7, y + 3), (x, y + 13)], BEAK, outline=darker(BEAK), width=OUTLINE * 0.8)
        c.poly([(x - 6, y + 1), (x + 6, y + 1), (x, y - 3)], BEAK, outline=darker(BEAK), width=OUTLINE * 0.8)
    else:
        c.ellipse(x, y + 4, 8, 4.5, BEAK, outline=darker(BEAK), width=OUTLINE * 0.8)
    state = "closed" if eyes == "closed" else None
    if eyes == "sleepy":
        eye(c, x - 7, y - 4, 3.4, sleepy=True)
        eye(c, x + 7, y - 4, 3.4, sleepy=True)
    else:
        eye(c, x - 7, y - 4, 3.6, look, closed=state == "closed")
        eye(c, x + 7, y - 4, 3.6, look, closed=state == "closed")
    c.circle(x - 12, y + 3, 2.5, "#f6a38a", outline=False, opacity=0.7)
    c.circle(x + 12, y + 3, 2.5, "#f6a38a", outline=False, opacity=0.7)


def bublik_asleep(c):
    """Bublik curled up on his side, head on his paw, fast asleep; lies along +x."""
    for side in (0, 1):
        c.ellipse(118 - side * 14, -18 - side * 8, 26, 16, BEAR, outline=darker(BEAR), width=OUTLINE)
        c.ellipse(132 - side * 14, -18 - side * 8, 9, 11, BEAR_TAN, outline=False)
    c.blob([(10, -10), (30, -62), (80, -74), (125, -56), (140, -24), (110, -4), (40, -2)], BEAR,
           outline=darker(BEAR), width=OUTLINE)
    c.blob([(20, -12), (36, -58), (78, -68), (100, -60), (92, -20), (50, -6)], SHIRT, outline=darker(SHIRT),
           width=OUTLINE)
    limb(c, 30, -40, 60, 30, 15, BEAR, BEAR_TAN, 8)
    c.ellipse(-2, -12, 24, 10, BEAR_TAN, outline=darker(BEAR_TAN), width=OUTLINE)
    bear_head(c, -6, -40, 30, eyes="closed", tilt=-18)


def ryzhik_lying(c):
    """Ryzhik on his back in the grass, head to the left, looking up at the sky."""
    c.blob([(40, -14), (62, -20), (84, -34), (92, -30), (80, -14), (58, -4)], FOX, outline=FOX_DARK, width=OUTLINE)
    c.blob([(84, -34), (92, -30), (96, -40), (88, -44)], WHITE, outline=FOX_DARK, width=OUTLINE * 0.8)
    for dx, lift in ((34, 18), (44, 10)):
        limb(c, dx, -14, 180 - lift * 4, 18, 8, FOX, BLACK, 4.6)
    c.blob([(-20, -6), (-18, -28), (10, -34), (40, -28), (46, -10), (20, -2)], FOX, outline=FOX_DARK, width=OUTLINE)
    c.ellipse(10, -26, 20, 7, WHITE, outline=False)
    limb(c, 8, -28, 150, 16, 7, FOX, BLACK, 4.2)
    c.rect(-24, -34, 9, 30, SCARF, outline=darker(SCARF), width=OUTLINE, r=4)
    fox_head(c, -40, -22, 20, look=(1, -4), tilt=-70, mouth_kind="smile")
    limb(c, -12, -26, 200, 22, 7, FOX, BLACK, 4.2)
