"""Damages asset files as a failing disk or a broken copy would.

    python3 damage.py MODE FILE...     MODE: removed, truncated or garbage
"""
import os
import random
import sys


def _frame_sync_near(data, cut):
    # An mp3 frame header starting in the last few bytes kept would leave the
    # file ending exactly at a frame boundary: shorter, but not damaged.
    return any(data[i] == 0xFF and data[i + 1] & 0xE0 == 0xE0
               for i in range(max(0, cut - 4), min(cut + 1, len(data) - 1)))


def truncated(data):
    """The first half, cut inside an mp3 frame rather than between two."""
    cut = len(data) // 2
    while cut < len(data) - 1 and _frame_sync_near(data, cut):
        cut += 5
    return data[:cut]


def garbage(data, seed):
    """As many bytes as before, none of them the file's own."""
    rng = random.Random(seed)
    return bytes(rng.randrange(256) for _ in range(len(data)))


def damage(mode, path):
    if mode == "removed":
        os.remove(path)
        return
    data = open(path, "rb").read()
    data = truncated(data) if mode == "truncated" else garbage(data, os.path.basename(path))
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    mode, paths = sys.argv[1], sys.argv[2:]
    assert mode in ("removed", "truncated", "garbage"), mode
    for p in paths:
        damage(mode, p)
