"""Reads 8-bit PNG pictures (grey, grey + alpha, RGB, RGBA; any row filter) without
outside packages, for the tools that measure rendered pages.
"""

import struct
import zlib

_CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4}


class Picture:
    """Decoded rows of one picture: rows[y] is a bytearray of width * channels bytes."""

    def __init__(self, width, height, channels, rows):
        self.width, self.height, self.channels, self.rows = width, height, channels, rows

    def rgb(self, x, y):
        row, i = self.rows[y], x * self.channels
        if self.channels < 3:
            return row[i], row[i], row[i]
        return row[i], row[i + 1], row[i + 2]

    def alpha(self, x, y):
        if self.channels in (2, 4):
            return self.rows[y][x * self.channels + self.channels - 1]
        return 255


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def _unfilter(kind, line, prev, bpp):
    n = len(line)
    if kind == 1:
        for i in range(bpp, n):
            line[i] = (line[i] + line[i - bpp]) & 255
    elif kind == 2:
        return bytearray((a + b) & 255 for a, b in zip(line, prev))
    elif kind == 3:
        for i in range(n):
            left = line[i - bpp] if i >= bpp else 0
            line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
    elif kind == 4:
        for i in range(n):
            if i >= bpp:
                line[i] = (line[i] + _paeth(line[i - bpp], prev[i], prev[i - bpp])) & 255
            else:
                line[i] = (line[i] + prev[i]) & 255
    elif kind != 0:
        raise ValueError("unknown row filter %d" % kind)
    return line


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("%s is not a PNG" % path)
    pos, idat, header = 8, [], None
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None:
        raise ValueError("%s has no header" % path)
    width, height, depth, colour, _c, _f, interlace = header
    if depth != 8 or colour not in _CHANNELS or interlace:
        raise ValueError("%s: only 8-bit, non-interlaced grey or RGB(A) pictures are read" % path)
    channels = _CHANNELS[colour]
    stride = width * channels
    raw = zlib.decompress(b"".join(idat))
    if len(raw) != height * (stride + 1):
        raise ValueError("%s: picture data has the wrong length" % path)
    rows, prev = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        line = _unfilter(raw[start], bytearray(raw[start + 1:start + 1 + stride]), prev, channels)
        rows.append(line)
        prev = line
    return Picture(width, height, channels, rows)


def luma(rgb):
    """Brightness of an sRGB colour as the eye weighs it, 0 to 255 (Rec. 709 weights)."""
    r, g, b = rgb
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def mean_luma(picture, outside=(), step=2):
    """Mean brightness over every step-th pixel, skipping those inside the (x, y, w, h) boxes."""
    total, count = 0.0, 0
    for y in range(0, picture.height, step):
        spans = [(x, x + w) for x, yy, w, h in outside if yy <= y < yy + h]
        for x in range(0, picture.width, step):
            if any(a <= x < b for a, b in spans):
                continue
            total += luma(picture.rgb(x, y))
            count += 1
    return total / count if count else 0.0
