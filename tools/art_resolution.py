"""How many pixels each page picture is rendered with.

A page layer's plane takes its size from its layout line, and its texture is
stretched over it whatever the picture's pixel size. The GL holds every texture
at the powers of two that contain it, and four pages are held at once (the page
read and those one turn away), so a picture with more pixels than the reader can
see costs memory for nothing: a 1024 x 2000 ground takes 8 MB.

A picture keeps its layout size on an axis unless the screen shows so few of its
pixels there that a smaller power of two holds them all, with room to spare for
the tilt; it is then rendered at that power of two. Where the screen shows a
picture largest, one of its pixels spans `magnification` screen pixels along each
axis.

The ground is the one picture seen aslant. The rows nearest the reader are seen
one to one, but there each column is already spread over more than two screen
pixels: rows finer than the columns would show detail the ground does not have
across, so its depth needs no more rows than square pixels would give.

The controls, hints and backdrop keep their sizes: they are few and small, or
shown larger than they are drawn.
"""

import art_stage
import art_table

# The page tilts by a few degrees and stands a little nearer; and a picture
# shown at nearly its rendered size should keep it.
MARGIN = 1.05
# Sample points over a plane, per axis.
STEPS = 48


def next_power_of_two(n):
    p = 1
    while p < n:
        p *= 2
    return p


def magnification(name):
    """(across, along) the largest number of screen pixels one picture pixel spans
    along each axis over the part of the picture on screen; on the ground, each
    limited by the other axis where that one is shown enlarged. None for a picture
    nowhere on screen at rest."""
    layer = art_table.layer_named(name)
    aslant = layer.kind == "ground"
    plane = art_stage.plane_of(name)
    du, dv = 1.0 / layer.width, 1.0 / layer.height
    across = along = None
    for i in range(STEPS + 1):
        for j in range(STEPS + 1):
            u, v = i / STEPS, j / STEPS
            here = plane.point(u, v)
            if not art_stage.seen(here):
                continue
            x, y = art_stage.project(here)
            mu = abs(art_stage.project(plane.point(u - du if u else u + du, v))[0] - x)
            mv = abs(art_stage.project(plane.point(u, v - dv if v else v + dv))[1] - y)
            if aslant:
                mu, mv = mu / max(1.0, mv), mv / max(1.0, mu)
            across, along = max(across or 0.0, mu), max(along or 0.0, mv)
    return across, along


def _axis(size, shown):
    if shown is None:
        return size
    needed = next_power_of_two(size * shown * MARGIN)
    return needed if needed < next_power_of_two(size) else size


def pixel_size(name, width, height, kind):
    """The (width, height) in pixels a picture is rendered at."""
    if kind in ("control", "backdrop"):
        return width, height
    across, along = magnification(name)
    return _axis(width, across), _axis(height, along)


def pixel_sizes():
    """name -> (width, height) in pixels for every picture the build renders."""
    return {name: pixel_size(name, w, h, kind) for name, (w, h, kind) in art_table.all_images().items()}
