#!/usr/bin/env python3
"""Tests of the image check itself: it must decode every PNG filter correctly and
must fail on each fault it exists to catch."""

import os
import random
import struct
import sys
import tempfile
import unittest
import zlib

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))

import check_images as ci  # noqa: E402


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def filter_row(kind, row, prev, bpp):
    out = bytearray()
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out.append((x - pred) & 255)
    return bytes(out)


def encode(pixels, ctype=6, filters=(0, 1, 2, 3, 4)):
    """PNG bytes for rows of pixel tuples; row y uses filters[y % len(filters)]."""
    height, width = len(pixels), len(pixels[0])
    bpp = ci.CHANNELS[ctype]
    raw, prev = bytearray(), bytes(width * bpp)
    for y, row in enumerate(pixels):
        data = bytes(v for px in row for v in px)
        kind = filters[y % len(filters)]
        raw += bytes([kind]) + filter_row(kind, data, prev, bpp)
        prev = data
    header = struct.pack(">IIBBBBB", width, height, 8, ctype, 0, 0, 0)
    return ci.SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")


def figure_pixels(w, h, touch=None):
    """An opaque blob in the lower middle, transparent around it."""
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            inside = w // 4 <= x < w - w // 4 and y >= h // 3
            if touch == "side" and x == 0 and y == h - 2:
                inside = True
            row.append((200, 120, 40, 255) if inside else (0, 0, 0, 0))
        rows.append(row)
    return rows


class CheckImagesTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, data):
        path = os.path.join(self.tmp.name, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def test_every_filter_type_decodes_to_the_original_alpha(self):
        rng = random.Random(7)
        w, h = 37, 23
        pixels = []
        for y in range(h):
            if y % 6 == 0:  # constant rows exercise the fast paths
                a = 255 if y % 12 == 0 else 0
                pixels.append([(9, 9, 9, a)] * w)
            else:
                # Few distinct values, so that the Paeth predictor meets its ties.
                pixels.append([tuple(rng.choice((0, 64, 128, 192, 255)) for _ in range(4)) for _ in range(w)])
        for filters in ((0,), (1,), (2,), (3,), (4,), (4, 3, 2, 1, 0)):
            path = self.write("f.png", encode(pixels, filters=filters))
            width, height, alpha = ci.decode(path)
            self.assertEqual((width, height), (w, h))
            self.assertEqual([list(r) for r in alpha], [[p[3] for p in row] for row in pixels], filters)

    def test_grey_alpha_images_decode_their_alpha(self):
        pixels = [[(x * 9 % 256, (x + y) * 13 % 256) for x in range(11)] for y in range(7)]
        _, _, alpha = ci.decode(self.write("g.png", encode(pixels, ctype=4)))
        self.assertEqual([list(r) for r in alpha], [[p[1] for p in row] for row in pixels])

    def test_a_free_standing_figure_passes(self):
        path = self.write("ok.png", encode(figure_pixels(20, 16)))
        self.assertEqual(ci.problems_of(path, 20, 16, "figure"), [])

    def test_faults_are_reported(self):
        good = encode(figure_pixels(20, 16))
        cases = {
            "wrong size": (good, 21, 16, "figure", "expected 21 x 16"),
            "touching": (encode(figure_pixels(20, 16, "side")), 20, 16, "figure", "transparent margin"),
            "empty": (encode([[(0, 0, 0, 0)] * 8] * 8), 8, 8, "control", "no visible pixels"),
            "bad crc": (good[:-5] + bytes([good[-5] ^ 1]) + good[-4:], 20, 16, "figure", "bad CRC"),
            "truncated": (good[: len(good) // 2], 20, 16, "figure", "not a valid PNG"),
            "no signature": (b"GIF89a" + good[6:], 20, 16, "figure", "signature"),
            "see-through ground": (encode(figure_pixels(20, 16)), 20, 16, "ground", "see-through"),
            "opaque cut-out": (encode([[(1, 2, 3, 255)] * 8] * 8), 8, 8, "figure", "transparent"),
            "no alpha figure": (encode([[(1, 2, 3)] * 8] * 8, ctype=2), 8, 8, "figure", "no transparency"),
        }
        for label, (data, w, h, kind, expected) in cases.items():
            found = ci.problems_of(self.write(label + ".png", data), w, h, kind)
            self.assertTrue(any(expected in p for p in found), "%s: %s" % (label, found))

    def test_an_opaque_ground_without_alpha_passes_and_a_missing_file_fails(self):
        path = self.write("g.png", encode([[(1, 2, 3)] * 8] * 8, ctype=2))
        self.assertEqual(ci.problems_of(path, 8, 8, "ground"), [])
        self.assertEqual(ci.problems_of(os.path.join(self.tmp.name, "none.png"), 8, 8, "ground"), ["missing"])

    def test_cross_check_against_the_program_layer_sizes(self):
        images = {"ground1": (1024, 2000, "ground"), "background15": (1021, 722, "background")}
        tsv = self.write("layers.tsv", b"1\tground1\t1024\t2000\n15\tbackground15\t1024\t722\n2\tnew-t\t5\t5\n")
        found = ci.cross_check(images, tsv)
        self.assertEqual(len(found), 2, found)
        self.assertIn("background15", found[0])
        self.assertIn("new-t", found[1])

    def test_manifest_must_list_the_same_pictures_at_the_same_sizes(self):
        images = {"ground1": (1024, 2000, "ground"), "s2layer1-t": (527, 545, "figure"),
                  "hint_finger": (65, 59, "control")}
        ok = self.write("ok.tsv", b"ground1\t1024\t2000\nhint_finger\t65\t59\ns2layer1-t\t527\t545\n")
        self.assertEqual(ci.manifest_check(images, ok), [])
        bad = self.write("bad.tsv", b"ground1\t1024\t2000\ns2layer1-t\t527\t544\nold-t\t5\t5\n")
        found = ci.manifest_check(images, bad)
        self.assertEqual(len(found), 3, found)
        self.assertIn("hint_finger: missing from the manifest", found)
        self.assertIn("old-t: in the manifest, not named by the content", found)
        self.assertIn("s2layer1-t: manifest says 527 x 544, expected 527 x 545", found)

    def test_title_pictures_must_carry_their_words(self):
        art = os.path.join(self.tmp.name, "art")
        os.makedirs(art)
        with open(os.path.join(art, "s18layer2-cn.svg"), "w", encoding="utf-8") as f:
            f.write('<svg><text x="1">Конец</text></svg>')
        tsv = self.write("titles.tsv", "s18layer2-cn\tru\tКонец\ns18layer3-cn\ten\tThe End\n"
                         "s18layer2-cn\tru\tСовсем конец\n".encode("utf-8"))
        found = ci.title_check(tsv, art)
        self.assertEqual(len(found), 2, found)
        self.assertIn("no source", found[0])
        self.assertIn("Совсем", found[1])


if __name__ == "__main__":
    unittest.main()
