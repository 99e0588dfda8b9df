"""Every picture the book asks for, with its exact pixel size.

The page layers are read from the program's content export (`lumo-book
--export-content DIR`): DIR/layout.tsv holds every layout line (identifier +
layer id + size | scale | location | rotation) exactly as the book builds from
it, DIR/titles.tsv the words of the title pictures. The folder is given with
use_content(DIR) (the tools' --content DIR) or the LUMO_CONTENT variable.
What stays here is the art's own business: the controls, hints and backdrop,
which the book builds in code rather than from layout lines.
"""

import os

ENV = "LUMO_CONTENT"

# Controls, hints and the backdrop: name -> (width, height). Sizes follow the
# planes the book builds them on; layer_bg is stretched over a 3x page-sized
# plane behind everything, so it is kept at page size.
CONTROLS = {
    "layer_bg": (1024, 768),
    "aside_bg": (1024, 151),
    "aside_repeat_highlighted": (32, 32),
    "hint_dialogue": (34, 35),
    "aside_record": (32, 32),
    "record_light": (80, 80),
    "record_countdown": (80, 80),
    "home_iPad_normal": (60, 60),
    "home_iPad_down": (60, 60),
    "pages_iPad_normal": (60, 60),
    "continue_btn": (200, 90),
    "menu-end": (399, 279),
    "menu-end-btn": (266, 57),
    "text_replay_ru": (84, 19),
    "text_moreapps_ru": (131, 19),
    "text_replay_cn": (84, 19),
    "text_moreapps_cn": (131, 19),
    "hint_finger": (65, 59),
    "hint_arrow_up": (21, 23),
    "menu-lan": (499, 98),
    "menu-btn": (123, 40),
    "menu-btn-highlighted": (123, 40),
    "english": (96, 19),
    "english_default": (96, 19),
    "chinese": (53, 26),
    "chinese_default": (53, 26),
    # The credits page is 463 x 721 points; its title sits on top, the content
    # picture under it, the back button at the bottom.
    "credits_title": (463, 120),
    "credits_content": (463, 300),
    "credits_back": (140, 48),
    "credits_back_cn": (140, 48),
}


def use_controls(controls):
    """The pictures beyond the layout that the book being drawn asks for, instead
    of the program's controls: name -> (width, height)."""
    CONTROLS.clear()
    CONTROLS.update(controls)


class ContentError(Exception):
    """The content export is missing or not in the shape the tools read."""


_content_dir = None
_cache = {}


def use_content(directory):
    """Reads the layout from this export folder from now on."""
    global _content_dir
    _content_dir = directory
    _cache.clear()


def content_dir():
    directory = _content_dir or os.environ.get(ENV)
    if not directory:
        raise ContentError("no content export: run lumo-book --export-content DIR, then pass "
                           "--content DIR (or set %s=DIR)" % ENV)
    return directory


def _read_rows(name, fields):
    path = os.path.join(content_dir(), name)
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except OSError as e:
        raise ContentError("%s: %s (rerun lumo-book --export-content)" % (path, e.strerror)) from e
    rows = []
    for number, line in enumerate(text.splitlines(), 1):
        cells = line.split("\t")
        if len(cells) != fields:
            raise ContentError("%s:%d: expected %d fields, found %d" % (path, number, fields, len(cells)))
        rows.append((number, cells))
    return path, rows


def _layout():
    """page -> [layout line, ...] in the book's order, checked for shape."""
    if "layout" not in _cache:
        path, rows = _read_rows("layout.tsv", 3)
        pages = {}
        for number, (page, ident, line) in rows:
            if not page.isdigit() or int(page) < 1:
                raise ContentError("%s:%d: page %r is not a page number" % (path, number, page))
            if line.split("+")[0] != ident:
                raise ContentError("%s:%d: line %r does not name %s" % (path, number, line, ident))
            pages.setdefault(int(page), []).append(line)
        if not pages:
            raise ContentError("%s: no layout lines" % path)
        gaps = sorted(set(range(1, max(pages) + 1)) - set(pages))
        if gaps:
            raise ContentError("%s: no lines for page %s" % (path, ", ".join(map(str, gaps))))
        _cache["layout"] = pages
    return _cache["layout"]


def page_count():
    return max(_layout())


def page_lines(p):
    """The page's layout lines: ground, picture layers, background."""
    return list(_layout()[p])


def titles():
    """identifier -> (language "ru" or "en", words) of every title picture."""
    if "titles" not in _cache:
        _path, rows = _read_rows("titles.tsv", 3)
        _cache["titles"] = {ident: (language, text) for _n, (ident, language, text) in rows}
    return _cache["titles"]


class Layer:
    """One parsed layout line."""

    def __init__(self, page, line):
        try:
            ident, layer_id, geometry = line.split("+")[:3]
            groups = [[float(v) for v in g.split(",")] for g in geometry.split("|")]
            self.page = page
            self.name = ident
            self.layer_id = int(layer_id)
            self.width, self.height = int(groups[0][0]), int(groups[0][1])
            self.scale = (groups[1][0], groups[1][1])
            self.location = tuple(groups[2][:3])
            self.rotation = tuple(groups[3][:3])
        except (ValueError, IndexError) as e:
            raise ContentError("page %d: cannot read layout line %r" % (page, line)) from e
        if len(self.location) < 3 or len(self.rotation) < 3:
            raise ContentError("page %d: layout line %r lacks a coordinate" % (page, line))

    @property
    def suffix(self):
        parts = self.name.split("-")
        return parts[1] if len(parts) > 1 else ""

    @property
    def kind(self):
        if self.layer_id == 0:
            return "ground"
        if self.layer_id == 10:
            return "background"
        return {"t": "figure", "cn": "title"}.get(self.suffix, "scenery")


def page_layers(p):
    return [Layer(p, line) for line in page_lines(p)]


def all_layers():
    if "layers" not in _cache:
        _cache["layers"] = [layer for p in range(1, page_count() + 1) for layer in page_layers(p)]
    return list(_cache["layers"])


def layer_named(name):
    if "by_name" not in _cache:
        _cache["by_name"] = {layer.name: layer for layer in all_layers()}
    return _cache["by_name"][name]


def all_images():
    """name -> (width, height, kind) for every picture the build must produce."""
    images = {}
    for layer in all_layers():
        known = images.get(layer.name)
        # One picture serves every line that names it, so they must agree on its size.
        if known and known[:2] != (layer.width, layer.height):
            raise ContentError("%s: named at %d x %d and at %d x %d"
                               % (layer.name, known[0], known[1], layer.width, layer.height))
        images[layer.name] = (layer.width, layer.height, layer.kind)
    for name, (w, h) in CONTROLS.items():
        images[name] = (w, h, "backdrop" if name == "layer_bg" else "control")
    return images


def add_content_argument(parser):
    """The tools' --content DIR option."""
    parser.add_argument("--content", help="the program's content export folder (lumo-book "
                        "--export-content DIR); defaults to $%s" % ENV)


def use_content_argument(args):
    if args.content:
        use_content(args.content)
