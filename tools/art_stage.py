"""Every picture's plane as the book's camera and lamp see it: which part of the
picture is on screen, how much of its brightness the lamp gives back, and the
lift that makes up for it.

The camera stands at (0, 100, 450), its 45 degree field of view zoomed by 0.7
spanning the screen's long side (1024 x 768). Pictures stand where their layout
lines (or, for the controls, the book's code) put them; the titles where they
come to rest after sinking into place.

The book lights its pages with one positional lamp beside the camera, default
light colours (no ambient, white diffuse), the world's ambient light of 0.2 and
default materials (ambient 0.2, diffuse 0.8). The pipeline lights each plane at
its four corners, 0.2 x 0.2 + 0.8 x cos(angle to the lamp), and spreads that over
the plane's two triangles; the picture's colours are multiplied by the result.
An upright picture facing the lamp keeps about three quarters of its
brightness, the backdrop a little more than half, the ground, which the lamp
only grazes, a fifth.

A picture is made for that in two steps. It is drawn in colours the lamp can
show: a colour brighter than the lamp's share is darkened, hue kept, with a soft
knee so that bright colours stay brighter than darker ones (a pale sky cannot be
shown paler than three quarters of white, the ground nothing brighter than a
fifth). Then the whole picture is lifted by 1 / share. Under the lamp the page
shows the colours as drawn, and the flat contact sheets of the pictures as drawn
show the page as the reader will see it.
"""

import math

import art_table

LAMP = (-2.0, 100.0, 450.0)
CAMERA = (0.0, 100.0, 450.0)
WORLD_AMBIENT, MATERIAL_AMBIENT, MATERIAL_DIFFUSE = 0.2, 0.2, 0.8
UNIT_W, UNIT_H = 0.46875, 0.41666666
SCREEN_W, SCREEN_H = 1024, 768
FOCAL = (SCREEN_W / 2.0) / (math.tan(math.radians(22.5)) / 0.7)
# Where the titles come to rest after sinking into place: the cover's, and the
# ending page's (the book's last page).
COVER_TITLE_DROP, CLOSING_TITLE_DROP = 90.0, 130.0


def title_drop(page):
    if page == 1:
        return COVER_TITLE_DROP
    return CLOSING_TITLE_DROP if page == art_table.page_count() else 0.0
# The background stands at the ground's far edge, hiding the ground behind it.
BACKGROUND_Z = -100.0
KNEE = 0.8
# A figure behind a nearer one may dip this many screen pixels into the nearer
# plane, standing on what that picture draws along its top.
FOOTING = 6.0

# The controls the book builds in code: bottom-centre location in the world and
# plane size (tablet placements; the narration panel after its slide, as high as
# it rises: four lines of text lift it half a unit more than fewer do).
_PANEL_Y = 60 + 132.5 - 110


def _plane(a, b, f):
    return a * UNIT_W * f, b * UNIT_H * f


CONTROL_PLANES = {
    "aside_bg": ((0.0, _PANEL_Y - 151 * UNIT_H * 0.15 / 2, 400.0), _plane(1024, 151, 0.15)),
    "aside_repeat_highlighted": ((21.0, _PANEL_Y + 5 - 32 * UNIT_H * 0.1 / 2, 410.0), _plane(32, 32, 0.1)),
    "aside_record": ((21.0, _PANEL_Y + 5 - 2.4 - 32 * UNIT_H * 0.1 / 2, 410.0), _plane(32, 32, 0.1)),
    "record_light": ((52.0, 131.0, 350.0), _plane(80, 80, 0.3)),
    "record_countdown": ((52.0, 131.0, 350.0), _plane(80, 80, 0.3)),
    "home_iPad_normal": ((-52.0, 135.0, 350.0), _plane(60, 60, 0.3)),
    "home_iPad_down": ((-52.0, 135.0, 350.0), _plane(60, 60, 0.3)),
    "pages_iPad_normal": ((-42.0, 135.0, 350.0), _plane(60, 60, 0.3)),
    "continue_btn": ((47.5, 57.0, 350.0), _plane(200, 90, 0.224)),
    "menu-end": ((0.0, 50.0, 350.0), _plane(399, 279, 0.255)),
    "menu-end-btn": ((0.0, 63.0, 360.0), _plane(266, 57, 0.204)),
    "text_replay_ru": ((0.0, 75.0, 365.0), _plane(84, 19, 0.21)),
    "text_moreapps_ru": ((-2.0, 66.2, 365.0), _plane(131, 19, 0.25)),
    "text_replay_cn": ((0.0, 75.0, 365.0), _plane(84, 19, 0.21)),
    "text_moreapps_cn": ((-2.0, 66.2, 365.0), _plane(131, 19, 0.25)),
    "hint_finger": ((47.0, 83.0, 350.0), _plane(65, 59, 0.32)),
    "hint_arrow_up": ((43.0, 105.0, 350.0), _plane(21, 23, 0.32)),
    "menu-lan": ((0.0, 55.5, 350.0), _plane(499, 98, 0.3)),
    "menu-btn": ((-14.0, 63.0, 360.0), _plane(123, 40, 0.3)),
    "menu-btn-highlighted": ((-14.0, 63.0, 360.0), _plane(123, 40, 0.3)),
    "english": ((-14.0, 65.1, 362.0), _plane(96, 19, 0.255)),
    "english_default": ((-14.0, 65.1, 362.0), _plane(96, 19, 0.255)),
    "chinese": ((13.5, 64.9, 362.0), _plane(53, 26, 0.255)),
    "chinese_default": ((13.5, 64.9, 362.0), _plane(53, 26, 0.255)),
    # Halfway up a figure near the middle of the page, 10 units in front of it.
    "hint_dialogue": ((0.0, 60.0, 210.0), (34 * UNIT_W, 35 * UNIT_H)),
}
# Drawn by the credits screen and the backdrop's own rule, not by the lamp.
def use_control_planes(planes):
    """A book's own control pictures, each shown on the plane of the program's
    control named: name -> control name."""
    for name, control in planes.items():
        CONTROL_PLANES[name] = CONTROL_PLANES[control]


UNLIT = {"credits_title", "credits_content", "credits_back", "credits_back_cn"}


def corner_light(point, normal):
    """The lit colour's level at one corner: world ambient plus the lamp's diffuse share."""
    d = [LAMP[i] - point[i] for i in range(3)]
    length = math.sqrt(sum(v * v for v in d)) or 1.0
    cos = sum(normal[i] * d[i] for i in range(3)) / length
    return min(1.0, WORLD_AMBIENT * MATERIAL_AMBIENT + MATERIAL_DIFFUSE * max(0.0, cos))


class Plane:
    """A rectangle in the world: its corners top right, top left, bottom right, bottom
    left (the pipeline's strip order) and its normal."""

    def __init__(self, corners, normal):
        self.corners, self.normal = corners, normal
        self.light = [corner_light(c, normal) for c in corners]

    def point(self, u, v):
        """World point at (u, v): u from left to right, v from the picture's bottom to top."""
        tr, tl, br, bl = self.corners
        return tuple(bl[i] + u * (br[i] - bl[i]) + v * (tl[i] - bl[i]) for i in range(3))

    def light_at(self, u, v):
        """Light spread over the two triangles (top right, top left, bottom right) and
        (top left, bottom right, bottom left), as the pipeline shades them."""
        tr, tl, br, bl = self.light
        if u + v >= 1.0:
            return tr * (u + v - 1.0) + tl * (1.0 - u) + br * (1.0 - v)
        return bl * (1.0 - u - v) + br * u + tl * v


def upright(x, y, z, w, h):
    """A picture standing on its bottom centre (x, y, z), facing the camera."""
    return Plane([(x + w / 2, y + h, z), (x - w / 2, y + h, z), (x + w / 2, y, z), (x - w / 2, y, z)],
                 (0.0, 0.0, 1.0))


def lying(x, y, z, w, h):
    """A ground lying flat round (x, y, z), its picture's top row away from the camera."""
    return Plane([(x + w / 2, y, z - h / 2), (x - w / 2, y, z - h / 2), (x + w / 2, y, z + h / 2),
                  (x - w / 2, y, z + h / 2)], (0.0, 1.0, 0.0))


def project(p):
    d = CAMERA[2] - p[2]
    return SCREEN_W / 2.0 + (p[0] - CAMERA[0]) * FOCAL / d, SCREEN_H / 2.0 - (p[1] - CAMERA[1]) * FOCAL / d


def seen(p):
    if CAMERA[2] - p[2] <= 1:
        return False
    x, y = project(p)
    return 0 <= x < SCREEN_W and 0 <= y < SCREEN_H


def plane_of(name):
    """The plane a picture is shown on, or None for pictures the lamp does not light."""
    if name in UNLIT:
        return None
    if name == "layer_bg":
        return upright(-100.0, -100.0, -400.0, 1024 * 3 * UNIT_W, 768 * 3 * UNIT_H)
    if name in CONTROL_PLANES:
        (x, y, z), (w, h) = CONTROL_PLANES[name]
        return upright(x, y, z, w, h)
    layer = art_table.layer_named(name)
    w = layer.width * UNIT_W * layer.scale[0]
    h = layer.height * UNIT_H * layer.scale[1]
    ground = next(g for g in art_table.page_layers(layer.page) if g.kind == "ground")
    gx, gy, gz = ground.location
    if layer.kind == "ground":
        return lying(gx, gy, gz, w, h)
    lx, ly, lz = layer.location
    if layer.kind == "title":
        lz -= title_drop(layer.page)
    # Ground frame to world for a ground lying flat: (x, y, z) -> (x, z, -y).
    return upright(gx + lx, gy + lz, gz - ly, w, h)


def share(name, steps=16):
    """The mean light over the part of the picture a reader sees (all of it when none
    of it is on screen), or None when the lamp does not light the picture."""
    plane = plane_of(name)
    if plane is None:
        return None
    samples, every = [], []
    for i in range(steps):
        for j in range(steps):
            u, v = (i + 0.5) / steps, (j + 0.5) / steps
            light = plane.light_at(u, v)
            every.append(light)
            p = plane.point(u, v)
            if seen(p) and (plane.normal[1] == 0.0 or p[2] >= BACKGROUND_Z):
                samples.append(light)
    chosen = samples or every
    return sum(chosen) / len(chosen)


def visible_box(name, margin=0.0):
    """The part of the picture that is on screen, in picture pixels (left, top,
    right, bottom), kept `margin` screen pixels clear of the screen's edges."""
    plane = plane_of(name)
    if name in CONTROL_PLANES or name == "layer_bg":
        w, h = art_table.CONTROLS[name]
    else:
        layer = art_table.layer_named(name)
        w, h = layer.width, layer.height
    tr, tl, br, bl = plane.corners
    (x0, y0), (x1, y1) = project(tl), project(br)

    def clamp(v, lo, hi):
        return max(lo, min(hi, v))

    # An upright plane faces the camera squarely: screen and picture are in proportion.
    left = (clamp(x0, margin, SCREEN_W - margin) - x0) / (x1 - x0) * w
    right = (clamp(x1, margin, SCREEN_W - margin) - x0) / (x1 - x0) * w
    top = (clamp(y0, margin, SCREEN_H - margin) - y0) / (y1 - y0) * h
    bottom = (clamp(y1, margin, SCREEN_H - margin) - y0) / (y1 - y0) * h
    return left, top, right, bottom


def panel_top():
    """The screen row where the narration panel begins, once it has slid in."""
    (x, y, z), (_w, h) = CONTROL_PLANES["aside_bg"]
    return project((x, y + h, z))[1]


def unhidden_box(name, margin=4.0):
    """The part of a page picture that neither the screen's edges nor, on the story
    pages, the narration panel hide, and, for a figure, that no nearer figure's plane
    takes the taps of, in picture pixels (left, top, right, bottom)."""
    left, top, right, bottom = visible_box(name, margin)
    layer = art_table.layer_named(name)
    tr, tl, br, bl = plane_of(name).corners
    y0, y1 = project(tl)[1], project(br)[1]
    cuts = [panel_top()] if 1 < layer.page < art_table.page_count() else []
    if layer.kind == "figure":
        cuts += [row + FOOTING + margin for _other, row in nearer_figure_tops(name)]
    for row in cuts:
        cut = (row - margin - y0) / (y1 - y0) * layer.height
        bottom = max(top, min(bottom, cut))
    return left, top, right, bottom


def screen_box(name):
    """(left, top, right, bottom) of a picture's whole plane on screen."""
    tr, tl, br, bl = plane_of(name).corners
    (x0, y0), (x1, y1) = project(tl), project(br)
    return x0, y0, x1, y1


def nearer_figure_tops(name):
    """(name, screen row of its top) of each nearer figure whose plane spans this
    figure's whole width: the colour pick gives it every tap below that row."""
    layer = art_table.layer_named(name)
    x0, y0, x1, y1 = screen_box(name)
    depth = plane_of(name).corners[0][2]
    out = []
    for other in art_table.page_layers(layer.page):
        if other.kind != "figure" or other.name == name or plane_of(other.name).corners[0][2] <= depth:
            continue
        ox0, oy0, ox1, oy1 = screen_box(other.name)
        if ox0 <= max(x0, 0) and ox1 >= min(x1, SCREEN_W) and y0 < oy0 < y1:
            out.append((other.name, oy0))
    return out


def within_reach(rgb, reach):
    """The colour (0..1 channels) darkened, hue kept, so that its brightest channel
    stays below `reach`; colours well below it are left alone."""
    top = max(rgb)
    knee = KNEE * reach
    if top <= knee:
        return rgb
    over = (top - knee) / (reach - knee)
    kept = knee + (reach - knee) * (1.0 - math.exp(-over))
    return tuple(c * kept / top for c in rgb)
