"""Controls, hints, the backdrop and the credits page pictures."""

import math

from art_draw import Canvas, mix, star_points, wobble_circle

BROWN = "#6b4530"
CREAM = "#fff3d6"
ORANGE = "#f29a3f"
GOLD = "#f7d154"

# Controls are stretched like every plane of the book: design pixels are 0.46875
# world units wide and 0.41666 tall.
SQUEEZE = 0.41666666 / 0.46875


def board(w, h, seed):
    """A canvas whose drawing space spans the whole plane (panels, bars)."""
    return Canvas(w, h, seed, squeeze=SQUEEZE)


class icon:
    """A canvas for a w x h design drawn centred, so that round stays round."""

    def __init__(self, w, h, seed):
        self.c = Canvas(w, h, seed, squeeze=SQUEEZE)
        self.c.group("translate(%.3f,0)" % ((self.c.width - w) / 2.0))

    def __enter__(self):
        return self.c

    def __exit__(self, *exc):
        self.c.end()


def pill(c, x, y, w, h, fill, outline=BROWN, shine=True, line=None):
    r = h / 2.0
    line = line or max(1.5, h / 12.0)
    c.rect(x + line * 0.6, y + line * 1.2, w, h, "#000000", outline=False, r=r, opacity=0.18)
    c.rect(x, y, w, h, fill, outline=outline, width=line, r=r)
    if shine:
        c.rect(x + r * 0.6, y + h * 0.14, w - r * 1.2, h * 0.28, "#ffffff", outline=False, r=h * 0.14, opacity=0.45)


def layer_bg(w, h):
    """Behind every page: the book's warm caramel board, with faint stars and
    leaves, so that it suits the morning pages and the night ones alike. The lamp
    leaves the backdrop little more than half its brightness, so it is drawn in
    deep tones that the lamp can show as they are, not in pale ones it would grey."""
    c = board(w, h, "layer_bg")
    w = c.width
    c.rect(0, 0, w, h, c.radial([(0, "#a27c55"), (0.7, "#93704b"), (1, "#7c5c3c")], cx=0.55, cy=0.6, r=0.75),
           outline=False)
    rng = c.rng
    for _ in range(46):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if rng.random() < 0.5:
            r = rng.uniform(8, 16)
            c.poly(star_points(x, y, r, r * 0.45, rot=rng.uniform(-100, -80)), "#b8925e", outline=False, opacity=0.8)
        else:
            r = rng.uniform(10, 18)
            c.ellipse(x, y, r, r * 0.45, "#8a8452", outline=False, opacity=0.7, rotate=rng.uniform(0, 180))
    for k in range(6):
        y = 120 + k * 110
        c.path("M -20,%d q %.1f,-30 %.1f,0 t %.1f,0 t %.1f,0 t %.1f,0" % (y, w / 8, w / 4, w / 4, w / 4, w / 4),
               "none", outline="#ad8a5e", width=3, opacity=0.6)
    return c


def on_screen(name, w, margin):
    """The part of a control's picture the reader sees, in its canvas' drawing space."""
    import art_stage

    left, top, right, bottom = art_stage.visible_box(name, margin)
    return left / SQUEEZE, top, right / SQUEEZE, bottom


def aside_bg(w, h):
    """The narration panel: white text sits on it, so it is dark and calm. The
    panel is wider than the screen where it stands: its frame is drawn round the
    part the reader sees."""
    c = board(w, h, "aside_bg")
    # The text's last line comes close to the screen's bottom: the frame keeps to the edge.
    x0, y0, x1, y1 = on_screen("aside_bg", w, 3)
    c.rect(x0 + 2, y0 + 4, x1 - x0 - 4, y1 - y0 - 4, "#000000", outline=False, r=30, opacity=0.25)
    c.rect(x0, y0 + 2, x1 - x0 - 4, y1 - y0 - 4, c.linear([(0, "#5a3d6e", 0.94), (1, "#3b2850", 0.94)]),
           outline="#f7d9a0", width=5, r=30)
    for x in (x0 + 22, x1 - 28):
        c.poly(star_points(x, (y0 + y1) / 2.0, 9, 4), GOLD, outline="#c98f2a", width=1.5)
    return c


def aside_repeat(w, h):
    with icon(w, h, "aside_repeat") as c:
        c.circle(16, 16, 14.5, GOLD, outline=BROWN, width=2)
        c.path("M 22.5,11 A 8,8 0 1 0 24,17", "none", outline=BROWN, width=3)
        c.poly([(19.5, 7.5), (26.5, 9.5), (22, 14.5)], BROWN, outline=BROWN, width=1)
    return c


def aside_record(w, h):
    """The panel's microphone, beside the repeat button: the reader records the page."""
    with icon(w, h, "aside_record") as c:
        c.circle(16, 16, 14.5, CREAM, outline=BROWN, width=2)
        c.rect(12.5, 5.5, 7, 13, "#e2574c", outline=BROWN, width=1.6, r=3.5)
        c.path("M 9,14.5 Q 9,22.5 16,22.5 Q 23,22.5 23,14.5", "none", outline=BROWN, width=2)
        c.path("M 16,22.5 V 26.5 M 12,26.5 H 20", "none", outline=BROWN, width=2)
    return c


def record_light(w, h):
    """The red light that shows while the reader records; a tap on it ends the recording."""
    with icon(w, h, "record_light") as c:
        c.circle(40, 40, 38, "#ff4a3d", outline=False, opacity=0.3)
        c.circle(40, 40, 30, c.radial([(0, "#ff6b5e"), (0.7, "#e0332b"), (1, "#b3201a")], cx=0.42, cy=0.38, r=0.6),
                 outline="#6e1410", width=3)
        c.ellipse(32, 27, 10, 5.5, "#ffffff", outline=False, opacity=0.35, rotate=-25)
    return c


def record_countdown(w, h):
    """Behind the 3, 2, 1 before the recording starts: a cream disc in a gold ring."""
    with icon(w, h, "record_countdown") as c:
        c.circle(41, 42, 34, "#000000", outline=False, opacity=0.2)
        c.circle(40, 40, 34, GOLD, outline=BROWN, width=3.5)
        c.circle(40, 40, 26, CREAM, outline=BROWN, width=2)
    return c


def hint_dialogue(w, h):
    with icon(w, h, "hint_dialogue") as c:
        c.path("M 6,3 H 28 Q 32,3 32,7 V 21 Q 32,25 28,25 H 19 L 12,32 L 13,25 H 6 Q 2,25 2,21 V 7 Q 2,3 6,3 Z",
               "#ffffff", outline=BROWN, width=2)
        for x in (10, 17, 24):
            c.circle(x, 14, 2.4, ORANGE, outline=False)
    return c


def home(w, h, pressed):
    with icon(w, h, "home%d" % pressed) as c:
        face = mix(ORANGE, "#b05a1a", 0.35) if pressed else ORANGE
        c.circle(31, 32, 26, "#000000", outline=False, opacity=0 if pressed else 0.2)
        cy = 31 if pressed else 29
        c.circle(30, cy, 26, face, outline=BROWN, width=3)
        if not pressed:
            c.ellipse(30, cy - 12, 16, 7, "#ffffff", outline=False, opacity=0.35)
        roof = [(15, cy + 1), (30, cy - 13), (45, cy + 1)]
        c.rect(20, cy - 1, 20, 15, CREAM, outline=BROWN, width=2.5, r=2)
        c.poly(roof, "#e2574c", outline=BROWN, width=2.5)
        c.rect(27, cy + 5, 6, 9, BROWN, outline=False, r=1.5)
    return c


def pages(w, h):
    """The page navigator's button, the home button's twin: three pages fanned out."""
    with icon(w, h, "pages") as c:
        c.circle(31, 32, 26, "#000000", outline=False, opacity=0.2)
        cy = 29
        c.circle(30, cy, 26, ORANGE, outline=BROWN, width=3)
        c.ellipse(30, cy - 12, 16, 7, "#ffffff", outline=False, opacity=0.35)
        for dx, fill in ((-7, "#f4e2bd"), (0, "#f9ecd0"), (7, CREAM)):
            c.rect(24 + dx, cy - 9 + abs(dx) * 0.3, 12, 17, fill, outline=BROWN, width=2, r=1.5)
        for row in (-4, 0, 4):
            c.rect(34, cy + row - 0.5, 6, 1.6, mix(BROWN, CREAM, 0.35), outline=False)
    return c


def continue_btn(w, h):
    """The cover's continue button: a pill with a forward arrow at its right end;
    the words, which carry the page's number, stand in front of it."""
    c = board(w, h, "continue_btn")
    w = c.width
    pill(c, 3, 3, w - 8, h - 9, ORANGE, line=3)
    mid = (h - 6) / 2.0
    c.poly([(w - 50, mid - 13), (w - 30, mid), (w - 50, mid + 13)], CREAM, outline=BROWN, width=2.5)
    return c


def menu_end(w, h):
    """The ending menu's board. It stands low, its lower part below the screen's
    edge: the board ends above it. The buttons, in front of it, cover rows 50 to
    100 and 145 to 195 of the picture; a sleepy moon and stars fill the gaps."""
    c = board(w, h, "menu_end")
    w = c.width
    _x0, _y0, _x1, bottom = on_screen("menu-end", w, 8)
    c.rect(10, 10, w - 16, bottom - 10, "#000000", outline=False, r=30, opacity=0.22)
    c.rect(4, 4, w - 16, bottom - 12, c.linear([(0, "#fff6e0"), (1, "#f6dfb0")]), outline=BROWN, width=5, r=30)
    c.rect(16, 16, w - 40, bottom - 36, "none", outline="#d8b27a", width=2, r=22)
    m = w / 2.0
    # The story is over: a sleepy moon above the first button.
    c.blob(wobble_circle(m + 6, 38, 40, 11, 12, c.rng, 0.02), "#cfe7f5", outline=False, opacity=0.8)
    c.group("translate(%.2f,%.2f) scale(0.55)" % (m - 205 * 0.55, 10 - 188 * 0.55))
    c.path("M 190,188 A 30,30 0 1 0 220,236 A 24,24 0 1 1 190,188 Z", GOLD, outline="#c98f2a", width=3.5)
    c.circle(196, 214, 2.6, BROWN, outline=False)
    c.path("M 192,224 Q 197,228 202,223", "none", outline=BROWN, width=3)
    c.end()
    for dx, y, r in ((-70, 30, 9), (70, 26, 10), (-130, 36, 6), (128, 38, 6)):
        c.poly(star_points(m + dx, y, r, r * 0.45), GOLD, outline="#c98f2a", width=1.5)
    # Three stars between the buttons.
    for dx in (-40, 0, 40):
        c.poly(star_points(m + dx, 123, 9 if dx else 12, 4 if dx else 5.5), GOLD, outline="#c98f2a", width=1.5)
    return c


def menu_end_btn(w, h):
    """A button filling its plane: the label stands in front of its middle."""
    c = board(w, h, "menu_end_btn")
    w = c.width
    pill(c, 3, 3, w - 8, h - 9, ORANGE, line=2.5)
    return c


def label(w, h, text, size, fill, outline=None, fit=None, seed=""):
    c = board(w, h, "label" + seed)
    c.text(c.width / 2.0, h * 0.5 + size * 0.36, text, size, fill, outline=outline, width=size / 5.0,
           fit=fit and fit * c.width / w)
    return c


def hint_finger(w, h):
    """A hand pointing up: drag the page upwards."""
    with icon(w, h, "hint_finger") as c:
        hand = "#fff6ea"
        c.rect(30, 6, 11, 34, hand, outline=BROWN, width=2.2, r=5.5)
        c.blob([(21, 30), (48, 28), (54, 36), (52, 50), (44, 56), (26, 56), (19, 46)], hand, outline=BROWN, width=2.2)
        c.rect(30, 18, 11, 20, hand, outline=False, r=4)
        c.blob([(19, 40), (11, 33), (8, 36), (14, 46), (22, 50)], hand, outline=BROWN, width=2.2)
        for x in (42, 48):
            c.line_([(x, 34), (x, 42)], BROWN, 1.5)
        c.path("M 33,10 Q 35.5,8 38,10", "none", outline="#d8b8a0", width=1.5)
    return c


def hint_arrow(w, h):
    with icon(w, h, "hint_arrow") as c:
        c.poly([(10.5, 1.5), (19.5, 11), (14, 11), (14, 21.5), (7, 21.5), (7, 11), (1.5, 11)], GOLD,
               outline=BROWN, width=1.8)
    return c


def menu_lan(w, h):
    """The language board: its two buttons stand along the top edge."""
    c = board(w, h, "menu_lan")
    w = c.width
    c.rect(8, 12, w - 12, h - 14, "#000000", outline=False, r=26, opacity=0.2)
    c.rect(3, 6, w - 12, h - 12, c.linear([(0, "#fff6e0"), (1, "#f6dfb0")]), outline=BROWN, width=4, r=26)
    c.circle(w / 2.0, 30, 15, "#6cc3e0", outline=BROWN, width=2.5)
    c.path("M %.1f,30 H %.1f" % (w / 2.0 - 15, w / 2.0 + 15), "none", outline=BROWN, width=1.5)
    c.ellipse(w / 2.0, 30, 6, 15, "none", outline=BROWN, width=1.5)
    c.text(w / 2.0, 76, "Язык · Language", 18, BROWN)
    return c


def menu_btn(w, h, highlighted):
    c = board(w, h, "menu_btn%d" % highlighted)
    w = c.width
    pill(c, 3, 3, w - 8, h - 9, ORANGE if highlighted else CREAM, line=2.5)
    return c


def credits_title(w, h):
    # The credits page is a flat view, not a plane: no stretching.
    c = Canvas(w, h, "credits_title")
    c.rect(4, 4, w - 8, h - 8, c.linear([(0, "#5a3d6e"), (1, "#3b2850")]), outline="#f7d9a0", width=4, r=24)
    c.text(w / 2.0, 58, "Кто сделал книгу", 30, "#ffffff", outline="#2a1a3a")
    c.text(w / 2.0, 94, "Who made this book", 22, GOLD, outline="#2a1a3a")
    for x in (34, w - 34):
        c.poly(star_points(x, 60, 14, 6), GOLD, outline="#c98f2a", width=1.5)
    return c


def credits_back(w, h, text="Назад", seed="credits_back"):
    c = Canvas(w, h, seed)
    pill(c, 3, 3, w - 8, h - 10, ORANGE, line=2.5)
    c.poly([(24, h / 2.0 - 2), (38, h / 2.0 - 12), (38, h / 2.0 + 8)], CREAM, outline=BROWN, width=2)
    c.text(82, h / 2.0 + 5, text, 17, "#ffffff", outline=BROWN)
    return c


def credits_content(w, h):
    """The whole cast in a row, each with its name."""
    import art_cast as cast

    c = Canvas(w, h, "credits_content")
    c.rect(4, 4, w - 8, h - 8, c.linear([(0, "#fff6e0"), (1, "#f6dfb0")]), outline=BROWN, width=4, r=20)
    c.rect(14, 160, w - 28, 104, "#cfe9b0", outline=False, r=14)
    row = [
        (50, cast.ryzhik, 0.95, {"arms": (25, 150)}, "Рыжик"),
        (126, cast.bublik, 0.66, {"arms": (25, 40)}, "Бублик"),
        (204, cast.mama, 0.6, {"arms": (20, 60)}, "Мама"),
        (274, cast.homa, 0.95, {"arms": (20, 120)}, "Хома"),
        (344, cast.gosha, 0.95, {"wings": "up"}, "Гоша"),
        (408, cast.pugovka, 1.3, {}, "Пуговка"),
    ]
    for x, fn, s, kw, name in row:
        c.group("translate(%d,258) scale(%.2f)" % (x, s))
        fn(c, **kw)
        c.end()
        c.text(x, 284, name, 15, BROWN)
    cast.star(c, w / 2, 46, 26)
    c.text(w / 2, 100, "и звёздочка · and the little star", 18, BROWN)
    return c


def controls():
    """name -> canvas builder taking (width, height)."""
    return {
        "layer_bg": layer_bg,
        "aside_bg": aside_bg,
        "aside_repeat_highlighted": aside_repeat,
        "hint_dialogue": hint_dialogue,
        "aside_record": aside_record,
        "record_light": record_light,
        "record_countdown": record_countdown,
        "home_iPad_normal": lambda w, h: home(w, h, False),
        "home_iPad_down": lambda w, h: home(w, h, True),
        "pages_iPad_normal": pages,
        "continue_btn": continue_btn,
        "menu-end": menu_end,
        "menu-end-btn": menu_end_btn,
        # Labels are seen at about their pixel size: letters as tall as the picture allows.
        "text_replay_ru": lambda w, h: label(w, h, "Ещё раз", 17, "#ffffff", BROWN, fit=80, seed="replay"),
        "text_moreapps_ru": lambda w, h: label(w, h, "Кто сделал книгу", 16, "#ffffff", BROWN, fit=126,
                                                 seed="more"),
        # The same labels for the English reading ("_cn", as its recordings).
        "text_replay_cn": lambda w, h: label(w, h, "Read again", 17, "#ffffff", BROWN, fit=80,
                                             seed="replay_cn"),
        "text_moreapps_cn": lambda w, h: label(w, h, "Who made this book", 16, "#ffffff", BROWN,
                                               fit=126, seed="more_cn"),
        "hint_finger": hint_finger,
        "hint_arrow_up": hint_arrow,
        "menu-lan": menu_lan,
        "menu-btn": lambda w, h: menu_btn(w, h, False),
        "menu-btn-highlighted": lambda w, h: menu_btn(w, h, True),
        # The first button sets the Russian reading, the second the English one.
        "english": lambda w, h: label(w, h, "Русский", 17, "#ffffff", BROWN, fit=90, seed="ru1"),
        "english_default": lambda w, h: label(w, h, "Русский", 17, "#7a5a40", fit=90, seed="ru0"),
        "chinese": lambda w, h: label(w, h, "English", 18, "#ffffff", BROWN, fit=50, seed="en1"),
        "chinese_default": lambda w, h: label(w, h, "English", 18, "#7a5a40", fit=50, seed="en0"),
        "credits_title": credits_title,
        "credits_back": credits_back,
        "credits_back_cn": lambda w, h: credits_back(w, h, "Back", "credits_back_cn"),
        "credits_content": credits_content,
    }
