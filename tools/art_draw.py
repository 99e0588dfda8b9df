"""Small SVG drawing kit shared by every picture of the book.

Flat shapes with soft, darker outlines and a shared palette; one Canvas per
picture collects shapes and gradient definitions and writes the SVG file.
"""

import math
import random
import re

PALETTE = {
    "sky": "#9fd8f0",
    "sky_high": "#5fb2e0",
    "dusk": "#f6b27a",
    "night": "#2b3a67",
    "night_high": "#141d3d",
    "cloud": "#fdfaf2",
    "grass": "#8cc152",
    "grass_dark": "#5e9a36",
    "grass_light": "#b5d96c",
    "leaf": "#4f9a45",
    "leaf_dark": "#357a3a",
    "leaf_light": "#78bd5a",
    "bark": "#8a5a3b",
    "bark_dark": "#5e3b26",
    "soil": "#b98a5a",
    "path": "#e6c98f",
    "sand": "#f0dca6",
    "water": "#6cc3e0",
    "water_dark": "#3f93c0",
    "stone": "#b7b3aa",
    "stone_dark": "#85817a",
    "snow": "#f4f8fb",
    "wood": "#c98f55",
    "wood_dark": "#9a643a",
    "red": "#e2574c",
    "orange": "#f29a3f",
    "yellow": "#f7d154",
    "cream": "#fff3d6",
    "pink": "#f4a6b8",
    "purple": "#9b7bc8",
    "blue": "#4d8fd6",
    "white": "#ffffff",
    "ink": "#3d2b24",
    "hill_far": "#a8cf8e",
    "hill_mid": "#93c46f",
    "mountain": "#9fb3c8",
}


_HEX = re.compile(r"#[0-9a-fA-F]{6}\b")


def hex_rgb(c):
    c = c.lstrip("#")
    return tuple(int(c[i : i + 2], 16) for i in (0, 2, 4))


def rgb_hex(rgb):
    return "#%02x%02x%02x" % tuple(max(0, min(255, int(round(v)))) for v in rgb)


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    ra, rb = hex_rgb(col(a)), hex_rgb(col(b))
    return rgb_hex([x + (y - x) * t for x, y in zip(ra, rb)])


def col(c):
    return PALETTE.get(c, c)


def darker(c, amount=0.35):
    return mix(col(c), "#2a1a14", amount)


def lighter(c, amount=0.35):
    return mix(col(c), "#ffffff", amount)


def fmt(v):
    if isinstance(v, float):
        s = ("%.2f" % v).rstrip("0").rstrip(".")
        return "0" if s == "-0" else s
    return str(v)


def pts(points):
    return " ".join("%s,%s" % (fmt(float(x)), fmt(float(y))) for x, y in points)


def smooth_path(points, closed=True):
    """A path through the points with rounded (Catmull-Rom) corners."""
    n = len(points)
    if n < 3:
        return "M" + " L".join("%s,%s" % (fmt(float(x)), fmt(float(y))) for x, y in points)
    d = ["M%s,%s" % (fmt(float(points[0][0])), fmt(float(points[0][1])))]
    count = n if closed else n - 1
    for i in range(count):
        p0 = points[(i - 1) % n] if (closed or i > 0) else points[0]
        p1 = points[i % n]
        p2 = points[(i + 1) % n]
        p3 = points[(i + 2) % n] if (closed or i + 2 < n) else points[-1]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6.0, p1[1] + (p2[1] - p0[1]) / 6.0)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6.0, p2[1] - (p3[1] - p1[1]) / 6.0)
        d.append(
            "C%s,%s %s,%s %s,%s"
            % tuple(fmt(float(v)) for v in (c1[0], c1[1], c2[0], c2[1], p2[0], p2[1]))
        )
    if closed:
        d.append("Z")
    return " ".join(d)


class Canvas:
    """One picture: its size, its definitions and its shapes, in painting order."""

    def __init__(self, width, height, seed="", squeeze=1.0):
        # The book stretches each image over its plane unevenly (design pixels are
        # wider than tall, and layers carry their own width and height scales).
        # Drawing happens in a space "squeeze" times wider, so that shapes look
        # right once the plane stands in the world.
        self.px = (width, height)
        self.width = width / squeeze
        self.height = height
        self.defs = []
        self.body = []
        self.rng = random.Random(seed)
        self._ids = 0
        self.line = max(2.0, min(width, height) / 90.0)
        # The share of brightness the book's lamp leaves this picture (art_stage):
        # its colours are kept within it, and, when lifted, the whole picture is
        # brightened to make up for the lamp. None draws the colours as they are.
        self.lamp = None
        self.lifted = True
        # ((left, top, right, bottom) of the drawing, (the same of the room it is to
        # fill)), in pixels, when the drawing is to be enlarged to fill that room,
        # standing on its bottom edge.
        self.fit = None

    # -- styles ------------------------------------------------------------
    def _style(self, fill, outline, width, opacity):
        fill = col(fill) if fill else "none"
        attrs = ['fill="%s"' % fill]
        if outline is None and fill != "none" and not fill.startswith("url("):
            outline = darker(fill)
        if outline:
            attrs.append(
                'stroke="%s" stroke-width="%s" stroke-linejoin="round" stroke-linecap="round"'
                % (col(outline), fmt(float(width if width is not None else self.line)))
            )
        if opacity is not None and opacity < 1:
            attrs.append('opacity="%s"' % fmt(float(opacity)))
        return " ".join(attrs)

    def new_id(self, stem):
        self._ids += 1
        return "%s%d" % (stem, self._ids)

    # -- definitions -------------------------------------------------------
    def linear(self, stops, x1=0, y1=0, x2=0, y2=1):
        gid = self.new_id("g")
        s = "".join(
            '<stop offset="%s" stop-color="%s"%s/>'
            % (fmt(float(o)), col(c), "" if len(st) < 3 else ' stop-opacity="%s"' % fmt(float(st[2])))
            for st in stops
            for o, c in [st[:2]]
        )
        self.defs.append(
            '<linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s">%s</linearGradient>'
            % (gid, fmt(float(x1)), fmt(float(y1)), fmt(float(x2)), fmt(float(y2)), s)
        )
        return "url(#%s)" % gid

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5):
        gid = self.new_id("r")
        s = "".join(
            '<stop offset="%s" stop-color="%s" stop-opacity="%s"/>'
            % (fmt(float(st[0])), col(st[1]), fmt(float(st[2] if len(st) > 2 else 1)))
            for st in stops
        )
        self.defs.append(
            '<radialGradient id="%s" cx="%s" cy="%s" r="%s">%s</radialGradient>'
            % (gid, fmt(float(cx)), fmt(float(cy)), fmt(float(r)), s)
        )
        return "url(#%s)" % gid

    def blur(self, amount):
        fid = self.new_id("b")
        self.defs.append(
            '<filter id="%s" x="-50%%" y="-50%%" width="200%%" height="200%%">'
            '<feGaussianBlur stdDeviation="%s"/></filter>' % (fid, fmt(float(amount)))
        )
        return fid

    # -- shapes ------------------------------------------------------------
    def add(self, text):
        self.body.append(text)

    def rect(self, x, y, w, h, fill, outline=False, width=None, r=0, opacity=None):
        self.add(
            '<rect x="%s" y="%s" width="%s" height="%s" rx="%s" %s/>'
            % (*(fmt(float(v)) for v in (x, y, w, h, r)), self._style(fill, outline, width, opacity))
        )

    def circle(self, cx, cy, r, fill, outline=None, width=None, opacity=None):
        self.add(
            '<circle cx="%s" cy="%s" r="%s" %s/>'
            % (fmt(float(cx)), fmt(float(cy)), fmt(float(r)), self._style(fill, outline, width, opacity))
        )

    def ellipse(self, cx, cy, rx, ry, fill, outline=None, width=None, opacity=None, rotate=0):
        tr = ' transform="rotate(%s %s %s)"' % (fmt(float(rotate)), fmt(float(cx)), fmt(float(cy))) if rotate else ""
        self.add(
            '<ellipse cx="%s" cy="%s" rx="%s" ry="%s"%s %s/>'
            % (*(fmt(float(v)) for v in (cx, cy, rx, ry)), tr, self._style(fill, outline, width, opacity))
        )

    def poly(self, points, fill, outline=None, width=None, opacity=None):
        self.add('<polygon points="%s" %s/>' % (pts(points), self._style(fill, outline, width, opacity)))

    def blob(self, points, fill, outline=None, width=None, opacity=None):
        """A closed shape with rounded corners through the points."""
        self.path(smooth_path(points), fill, outline, width, opacity)

    def path(self, d, fill, outline=None, width=None, opacity=None):
        self.add('<path d="%s" %s/>' % (d, self._style(fill, outline, width, opacity)))

    def line_(self, points, color, width, opacity=None, smooth=False):
        d = smooth_path(points, closed=False) if smooth else "M" + " L".join(
            "%s,%s" % (fmt(float(x)), fmt(float(y))) for x, y in points
        )
        self.add(
            '<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" '
            'stroke-linejoin="round"%s/>'
            % (d, col(color), fmt(float(width)), "" if opacity is None else ' opacity="%s"' % fmt(float(opacity)))
        )

    def text(self, x, y, s, size, fill, outline=None, width=None, anchor="middle", fit=None, weight="bold"):
        import art_font

        extra = ""
        squeeze = 1.0
        natural = art_font.width(s, size)
        if fit and natural > fit:
            squeeze = fit / natural
        # The renderer misplaces centred text under scaling transforms, so every
        # run is laid out from its start, found from the font's own advances.
        start = {"middle": x - natural / 2.0, "end": x - natural}.get(anchor, x)
        stroke = ""
        if outline:
            stroke = ' stroke="%s" stroke-width="%s" stroke-linejoin="round" paint-order="stroke"' % (
                col(outline),
                fmt(float(width or size / 8.0)),
            )
        s = s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
        if squeeze < 1.0:
            # Narrowed about its anchor so that it keeps to the room it was given.
            self.add('<g transform="translate(%s,0) scale(%s,1) translate(%s,0)">'
                     % (fmt(float(x)), "%.4f" % squeeze, fmt(float(-x))))
        self.add(
            '<text x="%s" y="%s" font-family="DejaVu Sans" font-weight="%s" font-size="%s" '
            'text-anchor="%s" fill="%s"%s%s>%s</text>'
            % (fmt(float(start)), fmt(float(y)), weight, fmt(float(size)), "start", col(fill), stroke, extra, s)
        )
        if squeeze < 1.0:
            self.end()

    def group(self, transform=None, opacity=None, filter_=None, clip=None):
        """Start a group; close it with end()."""
        attrs = []
        if transform:
            attrs.append('transform="%s"' % transform)
        if opacity is not None:
            attrs.append('opacity="%s"' % fmt(float(opacity)))
        if filter_:
            attrs.append('filter="url(#%s)"' % filter_)
        if clip:
            attrs.append('clip-path="url(#%s)"' % clip)
        self.add("<g %s>" % " ".join(attrs))

    def end(self):
        self.add("</g>")

    def clip_rect(self, x, y, w, h, r=0):
        cid = self.new_id("c")
        self.defs.append(
            '<clipPath id="%s"><rect x="%s" y="%s" width="%s" height="%s" rx="%s"/></clipPath>'
            % (cid, *(fmt(float(v)) for v in (x, y, w, h, r)))
        )
        return cid

    def tint(self, rgb_scale, rgb_offset=(0, 0, 0), from_now=False):
        """Lights the picture for its page's time of day (alpha untouched): all of
        it, or only what is drawn after this call."""
        self._tint = (rgb_scale, rgb_offset, len(self.body) if from_now else 0)
        self._tint_end = None

    def tint_stop(self):
        """What is drawn from here on keeps its own colours (lamps, lit windows)."""
        self._tint_end = len(self.body)

    def svg(self):
        parts, defs = list(self.body), list(self.defs)
        tint = getattr(self, "_tint", None)
        start, end = 0, len(parts)
        if tint:
            start = tint[2]
            end = self._tint_end if self._tint_end is not None else len(parts)
        if self.lamp:
            parts, defs = self._within_lamp(parts, defs, start, end)
        body = "\n".join(parts)
        if tint:
            (r, g, b), (ro, go, bo), start = tint
            defs.append(self._matrix_filter("tint", [fmt(float(v)) for v in (r, ro, g, go, b, bo)]))
            body = "\n".join(parts[:start] + ['<g filter="url(#tint)">'] + parts[start:end] + ["</g>"]
                              + parts[end:])
        if self.fit:
            body = '<g transform="%s">\n%s\n</g>' % (self._fit_transform(), body)
        if self.lamp and self.lifted:
            lift = ("%.4f" % (1.0 / self.lamp)).rstrip("0").rstrip(".")
            defs.append(self._matrix_filter("lamp", [lift, "0", lift, "0", lift, "0"]))
            body = '<g filter="url(#lamp)">\n%s\n</g>' % body
        return (
            '<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %s %s" '
            'preserveAspectRatio="none">\n'
            "<defs>%s</defs>\n%s\n</svg>\n"
            % (self.px[0], self.px[1], fmt(float(self.width)), fmt(float(self.height)),
               "\n".join(defs), body)
        )

    def _fit_transform(self):
        """Scales the drawing evenly until it meets the room's sides or top, its bottom
        on the room's bottom edge and its middle on the room's middle."""
        k = self.width / self.px[0]
        (x0, y0, x1, y1), (rx0, ry0, rx1, ry1) = self.fit
        x0, x1, rx0, rx1 = x0 * k, x1 * k, rx0 * k, rx1 * k
        scale = min((rx1 - rx0) / max(x1 - x0, 1.0), (ry1 - ry0) / max(y1 - y0, 1.0))
        return "translate(%s,%s) scale(%.4f) translate(%s,%s)" % (
            fmt((rx0 + rx1) / 2.0), fmt(float(ry1)), scale, fmt(-(x0 + x1) / 2.0), fmt(-float(y1)))

    def _matrix_filter(self, fid, values):
        """A filter over the whole picture: each colour channel times a scale plus an
        offset, given as (red scale, red offset, green ..., blue ...)."""
        return (
            '<filter id="%s" x="0" y="0" width="%s" height="%s" filterUnits="userSpaceOnUse" '
            'color-interpolation-filters="sRGB"><feColorMatrix type="matrix" values="'
            '%s 0 0 0 %s 0 %s 0 0 %s 0 0 %s 0 %s 0 0 0 1 0"/></filter>'
            % (fid, fmt(float(self.width)), fmt(float(self.height)), *values)
        )

    def _within_lamp(self, parts, defs, start, end):
        """Every colour brought within the lamp's reach, as it shows once the time
        of day's tint has been laid over it: drawn inside the tint, or outside."""
        import art_stage

        tint = getattr(self, "_tint", None)

        def plain(c):
            return art_stage.within_reach(c, self.lamp)

        def tinted(c):
            (scale, offset, _start) = tint
            seen = [min(1.0, max(0.0, v * k + o)) for v, k, o in zip(c, scale, offset)]
            kept = art_stage.within_reach(seen, self.lamp)
            return tuple(min(1.0, max(0.0, (v - o) / k)) if k > 0 else v
                         for v, k, o in zip(kept, scale, offset))

        def darkest(c):
            return min(plain(c), tinted(c), key=max)

        def recolour(texts, rule):
            def one(m):
                rgb = tuple(v / 255.0 for v in hex_rgb(m.group(0)))
                return rgb_hex([v * 255.0 for v in rule(rgb)])
            return [_HEX.sub(one, t) for t in texts]

        if not tint:
            return recolour(parts, plain), recolour(defs, plain)
        whole = start == 0 and end == len(parts)
        parts = recolour(parts[:start], plain) + recolour(parts[start:end], tinted) + recolour(parts[end:], plain)
        return parts, recolour(defs, tinted if whole else darkest)


def star_points(cx, cy, r_out, r_in, n=5, rot=-90):
    out = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180.0 / n)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def wobble_circle(cx, cy, rx, ry, n, rng, amount=0.08):
    """Points round an ellipse, slightly irregular: for bushes, clouds and stones."""
    out = []
    for i in range(n):
        a = 2 * math.pi * i / n
        k = 1 + rng.uniform(-amount, amount)
        out.append((cx + rx * k * math.cos(a), cy + ry * k * math.sin(a)))
    return out
