"""Text widths in DejaVu Sans Bold, read from the font's own metrics, so that
labels and titles can be fitted to their pictures (the SVG renderer does not
honour textLength)."""

import os
import struct

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
_metrics = None


def _load():
    with open(FONT, "rb") as f:
        data = f.read()
    count = struct.unpack(">H", data[4:6])[0]
    tables = {}
    for i in range(count):
        tag, _sum, off, length = struct.unpack(">4sIII", data[12 + 16 * i : 28 + 16 * i])
        tables[tag] = off
    units = struct.unpack(">H", data[tables[b"head"] + 18 : tables[b"head"] + 20])[0]
    n_hmetrics = struct.unpack(">H", data[tables[b"hhea"] + 34 : tables[b"hhea"] + 36])[0]
    hmtx = tables[b"hmtx"]
    advances = [struct.unpack(">H", data[hmtx + 4 * i : hmtx + 4 * i + 2])[0] for i in range(n_hmetrics)]
    cmap = tables[b"cmap"]
    sub = None
    for i in range(struct.unpack(">H", data[cmap + 2 : cmap + 4])[0]):
        pid, eid, off = struct.unpack(">HHI", data[cmap + 4 + 8 * i : cmap + 12 + 8 * i])
        if pid == 3 and eid == 1:
            sub = cmap + off
    seg2 = struct.unpack(">H", data[sub + 6 : sub + 8])[0]
    ends = sub + 14
    starts = ends + seg2 + 2
    deltas = starts + seg2
    offsets = deltas + seg2
    glyph_of = {}
    for s in range(seg2 // 2):
        end, start = (struct.unpack(">H", data[a + 2 * s : a + 2 * s + 2])[0] for a in (ends, starts))
        delta, roff = (struct.unpack(">H", data[a + 2 * s : a + 2 * s + 2])[0] for a in (deltas, offsets))
        for code in range(start, min(end, 0x4FF) + 1):
            if roff == 0:
                gid = (code + delta) & 0xFFFF
            else:
                p = offsets + 2 * s + roff + 2 * (code - start)
                gid = struct.unpack(">H", data[p : p + 2])[0]
                gid = (gid + delta) & 0xFFFF if gid else 0
            glyph_of[code] = gid
    return units, advances, glyph_of


def width(text, size):
    """Advance width of the text at the font size, in the same units as size."""
    global _metrics
    if _metrics is None:
        _metrics = _load() if os.path.exists(FONT) else False
    if not _metrics:
        return 0.7 * size * len(text)
    units, advances, glyph_of = _metrics
    total = 0
    for ch in text:
        gid = glyph_of.get(ord(ch), 0)
        total += advances[min(gid, len(advances) - 1)]
    return total * size / units
