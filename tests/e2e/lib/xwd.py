"""Reads an X window dump (xwd's format, TrueColor, 24 or 32 bits a pixel)."""
import struct


def read(path):
    """(width, height, rows of RGB bytes)."""
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks, colours = fields[14:17], fields[19]
    if bits_per_pixel not in (24, 32):
        raise ValueError(f"{path}: {bits_per_pixel} bits a pixel")
    step = bits_per_pixel // 8
    start = header_size + 12 * colours
    shifts = [(mask & -mask).bit_length() - 1 for mask in masks]
    order = "little" if byte_order == 0 else "big"
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        out = bytearray(width * 3)
        for x in range(width):
            p = int.from_bytes(line[x * step:x * step + step], order)
            for c in range(3):
                out[x * 3 + c] = (p & masks[c]) >> shifts[c]
        rows.append(out)
    return width, height, rows
