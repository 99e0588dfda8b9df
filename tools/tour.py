#!/usr/bin/env python3
"""The book as a reader sees it: every page through the real program, in both languages.

Usage: tour.py --program LUMO_BOOK --content DIR --assets DIR [--reference DIR]
               [--languages ru,en] [--reuse] OUT_DIR
       tour.py --program LUMO_BOOK --book FOLDER --drawings FILE [...] OUT_DIR

With --book the program reads that book folder (--book FOLDER), its pictures
are measured from FOLDER/pictures, its layout is exported into OUT_DIR/content
unless --content names an export, and its pictures as drawn come from its own
drawings (make_art.py --drawings FILE).

Runs `LUMO_BOOK --headless --script ...` once per language (the language is the
stored "Lan" preference, written into a throw-away XDG_CONFIG_HOME), turns every
page by dragging, and screenshots each page after it has settled and its
narration panel has slid in; the last run also opens the credits from the
ending page. Writes into OUT_DIR:

  ru/pageNN.png, en/pageNN.png, credits.png   the program's own frames
  ru/pageNN.json, en/pageNN.json              the program's state at each frame
  ru/events.log, en/events.log                the run's event log
  reference/NAME.png                          the pictures as drawn (unlifted)
  composite/ru/pageNN.png ...                 the page's pictures composed flat
  report.tsv                                  brightness and findings per page
  tour.png                                    one contact sheet of them all

Brightness is the mean luma of the frame, outside the controls (narration
panel, menus, buttons, hints), against the same measure of the flat composite
of the page's pictures (tools/contact_sheet.py) as they are drawn, before the
lift that makes up for the book's lamp (make_art.py --plain, rendered into
OUT_DIR/reference; --reference DIR uses other pictures instead). Findings name
figures and titles that the screen's edges cut, that the panel or a control
hides, touchable pictures whose touch area (the whole plane, as the colour pick
sees it) lies mostly away from the figure, frames that show the black behind
the backdrop, and narration that needs more than the panel's four
lines at the book's size 30 (the program logs each text's measured size).
--reuse skips the runs and measures the frames already in OUT_DIR.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_table  # noqa: E402
import contact_sheet  # noqa: E402
import png_pixels  # noqa: E402

LANGUAGES = {"ru": "2000", "en": "2001"}
PAGE_TURN = "drag 512 600 512 400 0.3"
# A turn takes 1.5 s; the panel comes 0.5 s after the page settles and takes 1 s
# to fade in and slide; a little more lets the last frame of the slide land.
SETTLE_AND_PANEL = 3.3
# The cover's title sinks for 0.5 s and the help hint comes at 2 s.
COVER_WAIT = 3.0
CREDITS_WAIT = 1.0
CONTROLS = ("aside_bg", "home-btn", "home-btn-highlighted", "menu-end", "menu-lan", "hint_finger",
            "hint_arrow_up", "hint_dialogue")
# A figure may lose this much of itself to an edge or a control before it counts.
TOLERANCE = 0.03
# How far from a figure a tap still counts as on it: half a fingertip, in screen pixels.
FINGERTIP = 24
# Four lines of the narration's size-30 font: what the panel holds.
PANEL_TEXT_HEIGHT = 144


def script_for(out, language, pages, credits_tap=None):
    lines = ["wait %.1f" % COVER_WAIT]
    lines += shot_lines(out, language, 1)
    for p in range(2, pages + 1):
        lines += [PAGE_TURN, "wait %.1f" % SETTLE_AND_PANEL]
        lines += shot_lines(out, language, p)
    if credits_tap:
        lines += ["tap %d %d" % credits_tap, "wait %.1f" % CREDITS_WAIT,
                  "screenshot %s" % os.path.join(out, "credits.png"),
                  "dump %s" % os.path.join(out, "credits.json")]
    return "\n".join(lines) + "\n"


def shot_lines(out, language, p):
    stem = os.path.join(out, language, "page%02d" % p)
    return ["screenshot %s.png" % stem, "dump %s.json" % stem]


# The book folder read instead of the built-in book, or None.
BOOK = None


def run_language(program, out, language, pages, credits_tap=None):
    os.makedirs(os.path.join(out, language), exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="lumo-tour-") as home:
        config = os.path.join(home, "config", "lumo-book")
        os.makedirs(config)
        with open(os.path.join(config, "defaults.json"), "w") as f:
            json.dump({"Lan": LANGUAGES[language]}, f)
        script = os.path.join(home, "tour.txt")
        with open(script, "w") as f:
            f.write(script_for(out, language, pages, credits_tap))
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_STATE_HOME=os.path.join(home, "state"))
        print("tour: reading the book in %s" % language, flush=True)
        book = ["--book", BOOK] if BOOK else []
        done = subprocess.run([program, "--headless", "--script", script, "--log-events"] + book, env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if done.returncode != 0:
            sys.exit("tour: the %s run exited with %d:\n%s" % (language, done.returncode, done.stderr[-2000:]))
        with open(os.path.join(out, language, "events.log"), "w", encoding="utf-8") as f:
            f.write(done.stdout)
        settled = [int(words[3]) for words in map(str.split, done.stdout.splitlines())
                   if words[1:3] == ["page", "settled"] and len(words) > 3 and words[3].isdigit()]
        if settled != list(range(2, pages + 1)):
            sys.exit("tour: the %s run settled pages %s, expected 2 to %d" % (language, settled, pages))


# -- the program's state --------------------------------------------------------

def find(node, name):
    if node is None:
        return None
    if node.get("name") == name:
        return node
    for child in node.get("children", []):
        hit = find(child, name)
        if hit:
            return hit
    return None


def control_rects(state):
    rects = []
    for name in CONTROLS:
        node = find(state["world"], name)
        if node and node.get("visible") and node.get("screenRect"):
            rects.append((name, tuple(node["screenRect"])))
    return rects


def credits_button(state):
    node = find(state["world"], "menu-end2")
    if not node or not node.get("screenRect"):
        return None
    x, y, w, h = node["screenRect"]
    return round(x + w / 2), round(y + h / 2)


def ground_of(state):
    for child in state["world"]["children"]:
        if child["name"].startswith("ground"):
            return child
    return None


def standing_layers(state):
    """(layer, node) for every visible picture layer of the page on stage."""
    ground = ground_of(state)
    if ground is None:
        return ground, []
    p = int(ground["name"][len("ground"):])
    by_name = {layer.name: layer for layer in art_table.page_layers(p)}
    out = []
    for node in ground["children"]:
        layer = by_name.get(node["name"])
        if layer and node.get("visible") and layer.kind != "background":
            out.append((layer, node))
    return ground, out


# -- where a picture's drawn pixels land ------------------------------------------

_alpha_cache = {}


def drawn_points(assets, name, step=4):
    """(u, v) fractions (v from the top) of the picture's drawn pixels, and the drawn fraction."""
    if name not in _alpha_cache:
        pic = png_pixels.read(os.path.join(assets, name + ".png"))
        points, total = [], 0
        for y in range(step // 2, pic.height, step):
            for x in range(step // 2, pic.width, step):
                total += 1
                if pic.alpha(x, y) > 40:
                    points.append((x / pic.width, y / pic.height))
        _alpha_cache[name] = (points, len(points) / max(total, 1))
    return _alpha_cache[name]


def screen_points(ground, layer, node, points):
    """Screen pixels of picture points for a layer standing upright on its ground."""
    gx, gy, gz = ground["location"]
    lx, ly, lz = node["location"]
    sx, sy = node["scale"][0], node["scale"][1]
    w = layer.width * contact_sheet.UNIT_W * layer.scale[0] * sx
    h = layer.height * contact_sheet.UNIT_H * layer.scale[1] * sy
    # Ground frame -> world for a ground lying flat: (x, y, z) -> (x, z, -y).
    wx, wy, wz = gx + lx, gy + lz, gz - ly
    out = []
    for u, v in points:
        px, py, _d = contact_sheet.project(wx - w / 2 + u * w, wy + (1 - v) * h, wz)
        out.append((px, py))
    return out


def inside(rect, x, y):
    rx, ry, rw, rh = rect
    return rx <= x <= rx + rw and ry <= y <= ry + rh


def narration_sizes(out, language):
    """page -> (width, height) of the narration text as the program measured it."""
    sizes, page = {}, 1
    path = os.path.join(out, language, "events.log")
    if not os.path.exists(path):
        return sizes
    with open(path, encoding="utf-8") as f:
        for words in map(str.split, f):
            if words[1:3] == ["page", "settled"]:
                page = int(words[3])
            elif words[1:3] == ["aside", "shown"]:
                size = next((w[5:] for w in words if w.startswith("size=")), "")
                w, _x, h = size.partition("x")
                if w.isdigit() and h.isdigit():
                    sizes[page] = (int(w), int(h))
    return sizes


def findings(state, assets):
    notes = []
    ground, layers = standing_layers(state)
    controls = control_rects(state)
    planes = {layer.name: (plane_rect(ground, layer, node), -node["location"][1])
              for layer, node in layers if layer.kind == "figure"}
    for layer, node in layers:
        points, drawn = drawn_points(assets, layer.name)
        if not points:
            continue
        seen = screen_points(ground, layer, node, points)
        watched = layer.kind in ("figure", "title")
        off = sum(1 for x, y in seen if not (0 <= x < contact_sheet.SCREEN_W and 0 <= y < contact_sheet.SCREEN_H))
        if watched and off / len(seen) > TOLERANCE:
            notes.append("%s cut by the edge (%d%%)" % (layer.name, round(100 * off / len(seen))))
        for name, rect in controls:
            hidden = sum(1 for x, y in seen if inside(rect, x, y))
            if watched and hidden / len(seen) > TOLERANCE:
                notes.append("%s behind %s (%d%%)" % (layer.name, name, round(100 * hidden / len(seen))))
        if layer.kind == "figure":
            _rect, depth = planes[layer.name]
            nearer = [rect for other, (rect, d) in planes.items() if d > depth]
            near = within_reach_of_figure(ground, layer, node, seen, controls + [("", r) for r in nearer])
            if near < 0.5:
                notes.append("%s: %d%% of its touch area is near it" % (layer.name, round(100 * near)))
            _rect, depth = planes[layer.name]
            for other, (rect, nearer) in planes.items():
                taken = sum(1 for x, y in seen if inside(rect, x, y)) / len(seen)
                if nearer > depth and taken > 0.5:
                    notes.append("%s: %d%% under %s's touch area" % (layer.name, round(100 * taken), other))
    return notes


def plane_rect(ground, layer, node):
    """The screen rectangle (x, y, w, h) of a layer's whole plane, which a colour pick
    takes as the layer wherever the picture is drawn or not."""
    (x0, y0), (x1, y1) = screen_points(ground, layer, node, [(0, 0), (1, 1)])
    return x0, y0, x1 - x0, y1 - y0


def within_reach_of_figure(ground, layer, node, seen, controls):
    """The share of a figure's touch area (its whole plane, as the colour pick sees
    it, where the screen's edges, the controls and nearer figures' planes leave it
    to the reader; `controls` holds all those in front) that
    lies within a fingertip of the figure's drawn pixels."""
    cell = 8
    drawn = {(int(x) // cell, int(y) // cell) for x, y in seen}
    reach = FINGERTIP // cell
    near = {(cx + dx, cy + dy) for cx, cy in drawn for dx in range(-reach, reach + 1)
            for dy in range(-reach, reach + 1) if dx * dx + dy * dy <= reach * reach}
    corners = screen_points(ground, layer, node, [(0, 0), (1, 1)])
    (x0, y0), (x1, y1) = corners
    area = total = 0
    for cy in range(max(0, int(y0)) // cell, min(contact_sheet.SCREEN_H, int(y1)) // cell):
        for cx in range(max(0, int(x0)) // cell, min(contact_sheet.SCREEN_W, int(x1)) // cell):
            x, y = cx * cell + cell / 2, cy * cell + cell / 2
            if any(inside(rect, x, y) for _n, rect in controls):
                continue
            total += 1
            area += (cx, cy) in near
    return area / total if total else 1.0


# -- brightness -----------------------------------------------------------------

def black_share(picture, outside):
    dark = total = 0
    for y in range(0, picture.height, 4):
        spans = [(x, x + w) for x, yy, w, h in outside if yy <= y < yy + h]
        for x in range(0, picture.width, 4):
            if any(a <= x < b for a, b in spans):
                continue
            total += 1
            dark += max(picture.rgb(x, y)) < 6
    return dark / max(total, 1)


def composite(reference, p, english, out):
    """The page's pictures as drawn, composed flat. Not shaded by the lamp: the
    reference is what the lit page should look like, not the built pictures."""
    os.makedirs(os.path.dirname(out), exist_ok=True)
    contact_sheet.page_sheet(reference, p, out, english=english, label=False, shaded=False)
    return out


def measure(out, reference, language, p):
    stem = os.path.join(out, language, "page%02d" % p)
    with open(stem + ".json") as f:
        state = json.load(f)
    rects = [r for _n, r in control_rects(state)]
    frame = png_pixels.read(stem + ".png")
    flat = png_pixels.read(composite(reference, p, language == "en",
                                     os.path.join(out, "composite", language, "page%02d.png" % p)))
    seen, drawn = png_pixels.mean_luma(frame, rects), png_pixels.mean_luma(flat, rects)
    return state, seen, drawn, black_share(frame, rects)


# -- the sheet --------------------------------------------------------------------

def tour_sheet(out, rows, credits):
    """Each page twice, Russian and English side by side, three pages to a row; then the credits."""
    tw, th, gap = 336, 252, 14
    cell = 2 * tw + gap
    cols = 3
    n_rows = (len(rows) + cols - 1) // cols
    width = cols * cell + (cols + 1) * 30
    height = 50 + n_rows * (th + 40) + (th + 60 if credits else 0)
    sheet = contact_sheet.Sheet(out, width, height, "#1e1e1e")
    sheet.text(30, 32, "the book as the reader sees it: every page in Russian (left) and English (right)", 20)
    for i, (p, cells) in enumerate(rows):
        x0 = 30 + (i % cols) * (cell + 30)
        y0 = 50 + (i // cols) * (th + 40)
        for k, (language, ratio, notes) in enumerate(cells):
            x = x0 + k * (tw + gap)
            embed(sheet, os.path.join(out, language, "page%02d.png" % p), x, y0, tw, th)
            colour = "#ffffff" if not notes and 0.9 <= ratio <= 1.1 else "#ffb0a0"
            sheet.text(x, y0 + th + 18, "%d %s  %.2f%s  %s" % (p, language, ratio, "  *" if notes else "",
                                                              ", ".join(figure_names(out, language, p))),
                       14, colour)
    if credits:
        y0 = 50 + n_rows * (th + 40)
        embed(sheet, credits, 30, y0, tw, th)
        sheet.text(30, y0 + th + 18, "credits", 14)
    path = os.path.join(out, "tour.png")
    sheet.write(path)
    return path


def figure_names(out, language, p):
    """The names of the page's figures in its reading language, as the program gives them."""
    with open(os.path.join(out, language, "page%02d.json" % p)) as f:
        figures = json.load(f)["book"].get("figures", {})
    return [name for _layer, name in sorted(figures.items()) if name]


def embed(sheet, path, x, y, w, h):
    import base64

    with open(path, "rb") as f:
        data = base64.b64encode(f.read()).decode("ascii")
    sheet.body.append('<image x="%d" y="%d" width="%d" height="%d" href="data:image/png;base64,%s"/>'
                      % (x, y, w, h, data))


# -- the whole tour -----------------------------------------------------------------

def main(argv):
    parser = argparse.ArgumentParser(description="Screenshots of every page through the real program.")
    art_table.add_content_argument(parser)
    parser.add_argument("--program", required=True)
    parser.add_argument("--assets", required=True, help="the pictures the program loads")
    parser.add_argument("--reference", help="the pictures as drawn, for the flat composites")
    parser.add_argument("--languages", default="ru,en")
    parser.add_argument("--reuse", action="store_true", help="measure the frames already in OUT_DIR")
    parser.add_argument("--book", help="a book folder to read instead of the built-in book")
    parser.add_argument("--drawings", help="that book's drawings (make_art.py --drawings)")
    parser.add_argument("out")
    args = parser.parse_args(argv[1:])
    # The program shows the very pictures the findings are measured on, not
    # whatever sits beside it.
    os.environ["LUMO_ASSETS"] = os.path.abspath(args.assets)
    if args.book:
        use_book(args)
    art_table.use_content_argument(args)
    languages = [lang for lang in args.languages.split(",") if lang]
    unknown = [lang for lang in languages if lang not in LANGUAGES]
    if unknown or not languages:
        sys.exit("tour: languages are ru and en, not %s" % ",".join(unknown or ["nothing"]))
    try:
        pages = art_table.page_count()
        if not args.reuse:
            read_through(args.program, args.out, languages, pages)
        reference = args.reference or draw_reference(os.path.join(args.out, "reference"))
        report(args.out, reference, args.assets, languages, pages)
    except art_table.ContentError as e:
        sys.exit("tour: %s" % e)


def use_book(args):
    """Reads the book folder args.book: its layout, its pictures, its drawings."""
    global BOOK
    import make_art

    if not args.drawings:
        sys.exit("tour: --book needs the book's --drawings")
    BOOK = os.path.abspath(args.book)
    if not args.content:
        args.content = os.path.join(args.out, "content")
        env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
        subprocess.run([args.program, "--book", BOOK, "--export-content", args.content], check=True, env=env)
    make_art.use_drawings(args.drawings)
    # The program's backdrop stands behind every book's pages.
    reference = os.path.join(args.out, "reference")
    os.makedirs(reference, exist_ok=True)
    backdrop = os.path.join(args.assets, "layer_bg.png")
    if os.path.exists(backdrop):
        shutil.copyfile(backdrop, os.path.join(reference, "layer_bg.png"))
    args.assets = os.path.join(BOOK, "pictures")


def draw_reference(out, only=None):
    """The pictures as drawn (all, or those named), without the lamp's lift,
    rendered into `out`."""
    import make_art

    svgs = os.path.join(out, "svg")
    names = make_art.write_plain(svgs, only)
    images = art_table.all_images()
    for name in names:
        png = os.path.join(out, name + ".png")
        svg = os.path.join(svgs, name + ".svg")
        if os.path.exists(png) and os.path.getmtime(png) >= os.path.getmtime(svg):
            continue
        w, h, _kind = images[name]
        subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-o", png, svg], check=True)
    return out


def read_through(program, out, languages, pages):
    for i, language in enumerate(languages):
        last = i == len(languages) - 1
        tap = None
        if last and i > 0:
            tap = ending_button(out, languages[0], pages)
        run_language(program, out, language, pages, tap)
        if last and tap is None:
            # One language only: a second reading, now knowing where the credits button stands.
            run_language(program, out, language, pages, ending_button(out, language, pages))
    if not os.path.exists(os.path.join(out, "credits.png")):
        sys.exit("tour: the credits screen was not reached")


def ending_button(out, language, pages):
    with open(os.path.join(out, language, "page%02d.json" % pages)) as f:
        tap = credits_button(json.load(f))
    if tap is None:
        sys.exit("tour: the ending page shows no credits button")
    return tap


def report(out, reference, assets, languages, pages):
    rows, lines = [], ["page\tlanguage\tframe\tcomposite\tratio\tblack\tnarration\tfindings"]
    narration = {language: narration_sizes(out, language) for language in languages}
    for p in range(1, pages + 1):
        cells = []
        for language in languages:
            state, seen, drawn, black = measure(out, reference, language, p)
            notes = findings(state, assets)
            if black > 0.01:
                notes.append("%d%% black" % round(100 * black))
            text = narration[language].get(p)
            if text and text[1] > PANEL_TEXT_HEIGHT:
                notes.append("narration %d px high: more than the panel's four lines" % text[1])
            ratio = seen / drawn if drawn else 0.0
            cells.append((language, ratio, notes))
            lines.append("%d\t%s\t%.1f\t%.1f\t%.3f\t%.3f\t%s\t%s" % (
                p, language, seen, drawn, ratio, black, "%dx%d" % text if text else "-", "; ".join(notes)))
            print(lines[-1], flush=True)
        rows.append((p, cells))
    with open(os.path.join(out, "report.tsv"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    credits = os.path.join(out, "credits.png")
    print("tour: %s" % tour_sheet(out, rows, credits if os.path.exists(credits) else None))


if __name__ == "__main__":
    main(sys.argv)
