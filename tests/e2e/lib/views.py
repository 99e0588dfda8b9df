"""Helpers for the dump's view tree and world tree in the end-to-end checks."""


def find_node(node, name):
    """The world node called `name`, depth first, or None."""
    if node is None:
        return None
    if node.get("name") == name:
        return node
    for child in node.get("children", []):
        found = find_node(child, name)
        if found:
            return found
    return None


def find_view(view, tag, all=False):
    """Views with `tag` in the view tree (all of them, or the first)."""
    found = []

    def walk(v):
        if v.get("tag") == tag:
            found.append(v)
        for c in v.get("children", []):
            walk(c)

    if view:
        walk(view)
    return found if all else (found[0] if found else None)


def centre(rect):
    x, y, w, h = rect
    return x + w / 2, y + h / 2


def contains(rect, x, y):
    rx, ry, w, h = rect
    return rx <= x <= rx + w and ry <= y <= ry + h


def back_button_centre(layout, held=3):
    """Where the back button's middle is seen: the card is 707 x 483 at (30, 270)
    of the 768 x 1024 screen, turned a quarter about its middle; in landscape
    left, screen (sx, sy) is picture (sy, 768 - sx)."""
    card_w, card_h = 707, 483
    button = next(v for v in layout["view"]["subviews"] if v.get("action") == "backToPrevious")
    bx, by, bw, bh = button["frame"]
    # From the card's middle, in the card's own axes; the card reads upright,
    # so its x runs along the picture's x and its y down the picture.
    dx, dy = bx + bw / 2 - card_w / 2, by + bh / 2 - card_h / 2
    assert held == 3
    mid_x, mid_y = 30 + card_w / 2, 270 + card_h / 2
    px, py = mid_y, 768 - mid_x
    return px + dx, py + dy
