#!/usr/bin/env python3
"""The tour's pieces: the PNG reader, the reading script, the narration sizes it reads
from the program's log, and what it finds on a page."""

import copy
import os
import struct
import sys
import tempfile
import unittest
import zlib

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))

import png_pixels  # noqa: E402
import tour  # noqa: E402


def write_png(path, rows, colour_type, filters):
    """An 8-bit PNG whose rows use the given filter types (encoded here, the slow way)."""
    bpp = {0: 1, 2: 3, 4: 2, 6: 4}[colour_type]
    raw, prev = b"", bytes(len(rows[0]))
    for row, kind in zip(rows, filters):
        out = bytearray()
        for i, v in enumerate(row):
            a = row[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            pred = [0, a, b, (a + b) // 2, png_pixels._paeth(a, b, c)][kind]
            out.append((v - pred) & 255)
        raw += bytes([kind]) + bytes(out)
        prev = row

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    width = len(rows[0]) // bpp
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, len(rows), 8, colour_type, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


class PngTest(unittest.TestCase):
    def test_every_row_filter_decodes(self):
        rows = [bytes((x * 37 + y * 91 + k * 13) % 256 for x in range(6) for k in range(4)) for y in range(5)]
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "p.png")
            write_png(path, rows, 6, [0, 1, 2, 3, 4])
            pic = png_pixels.read(path)
        self.assertEqual((pic.width, pic.height, pic.channels), (6, 5, 4))
        self.assertEqual([bytes(r) for r in pic.rows], rows)
        self.assertEqual(pic.rgb(2, 3), tuple(rows[3][8:11]))
        self.assertEqual(pic.alpha(2, 3), rows[3][11])

    def test_grey_pictures_read_as_grey_colours(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "g.png")
            write_png(path, [bytes([10, 200]), bytes([30, 40])], 0, [4, 3])
            pic = png_pixels.read(path)
        self.assertEqual(pic.rgb(1, 0), (200, 200, 200))
        self.assertEqual(pic.alpha(1, 0), 255)

    def test_damaged_pictures_are_refused(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "bad.png")
            with open(path, "wb") as f:
                f.write(b"GIF89a")
            with self.assertRaises(ValueError):
                png_pixels.read(path)

    def test_mean_luma_skips_the_boxes(self):
        white, black = bytes([255] * 12), bytes(12)
        pic = png_pixels.Picture(4, 2, 3, [bytearray(white[:6] + black[:6])] * 2)
        self.assertAlmostEqual(png_pixels.mean_luma(pic, step=1), 127.5)
        self.assertAlmostEqual(png_pixels.mean_luma(pic, [(2, 0, 2, 2)], step=1), 255.0)
        self.assertEqual(png_pixels.mean_luma(pic, [(0, 0, 4, 2)], step=1), 0.0)


class ScriptTest(unittest.TestCase):
    def test_every_page_is_turned_to_and_shot_once(self):
        script = tour.script_for("/o", "en", 18, credits_tap=(500, 710)).splitlines()
        self.assertEqual(sum(line == tour.PAGE_TURN for line in script), 17)
        shots = [line.split()[1] for line in script if line.startswith("screenshot")]
        self.assertEqual(shots, ["/o/en/page%02d.png" % p for p in range(1, 19)] + ["/o/credits.png"])
        # Each page's picture comes after its turn has settled and the panel has slid in.
        turn = script.index(tour.PAGE_TURN)
        self.assertEqual(script[turn + 1], "wait %.1f" % tour.SETTLE_AND_PANEL)
        self.assertGreaterEqual(tour.SETTLE_AND_PANEL, 1.5 + 0.5 + 1.0)
        self.assertEqual(script[-4], "tap 500 710")

    def test_without_a_tap_the_credits_are_not_opened(self):
        script = tour.script_for("/o", "ru", 3)
        self.assertNotIn("credits", script)
        self.assertNotIn("tap", script)


class NarrationTest(unittest.TestCase):
    def test_sizes_are_read_per_page(self):
        log = ("1.183 turn requested forward from page 1\n2.700 page settled 2\n"
               "3.200 aside shown s2Aside lang=2000 size=1006x108\n4.0 aside dismissed s2Aside\n"
               "5.0 page settled 3\n5.5 aside shown s3Aside lang=2000 size=1020x180\n"
               "7.0 page settled 4\n")
        with tempfile.TemporaryDirectory() as tmp:
            os.makedirs(os.path.join(tmp, "ru"))
            with open(os.path.join(tmp, "ru", "events.log"), "w") as f:
                f.write(log)
            self.assertEqual(tour.narration_sizes(tmp, "ru"), {2: (1006, 108), 3: (1020, 180)})
            self.assertEqual(tour.narration_sizes(tmp, "en"), {})


@unittest.skipUnless(os.environ.get("LUMO_CONTENT") and os.environ.get("LUMO_ASSETS"),
                     "needs the content export and the rendered pictures")
class FindingsTest(unittest.TestCase):
    """Page 2 as the program dumps it: a ground lying flat and its layers on it."""

    def state(self):
        def node(name, location, children=()):
            return {"name": name, "visible": True, "location": list(location), "scale": [1, 1, 1],
                    "screenRect": None, "children": list(children)}

        ground = node("ground2", (0, 30, 0), [node("background2", (0, 100, 0)), node("s2layer1-t", (-20, -220, 0)),
                                              node("s2layer2-t", (100, -180, 0)), node("s2layer3", (0, -50, 0))])
        return {"world": {"name": "world", "children": [node("Camera", (0, 100, 450)), ground]}}

    def notes(self, state):
        return tour.findings(state, os.environ["LUMO_ASSETS"])

    def test_a_page_in_place_has_nothing_cut_or_hidden(self):
        self.assertEqual(self.notes(self.state()), [])

    def test_a_figure_over_the_edge_is_found(self):
        state = self.state()
        state["world"]["children"][1]["children"][1]["location"] = [-200, -220, 0]
        self.assertEqual([n.split(" (")[0] for n in self.notes(state)], ["s2layer1-t cut by the edge"])

    def test_a_figure_behind_the_panel_is_found(self):
        state = self.state()
        panel = {"name": "aside_bg", "visible": True, "location": [0, 82, 400], "scale": [1, 1, 1],
                 "screenRect": [0, 380, 1024, 388], "children": []}
        state["world"]["children"].append(panel)
        self.assertIn("s2layer1-t behind aside_bg", [n.split(" (")[0] for n in self.notes(state)])
        hidden = copy.deepcopy(state)
        hidden["world"]["children"][-1]["visible"] = False
        self.assertEqual(self.notes(hidden), [])

    def test_a_figure_under_a_nearer_pictures_plane_is_found(self):
        # Page 15: the log with Bublik, raised, stands in front of Ryzhik; its plane takes his taps.
        def page15(log_y, lift=60):
            def node(name, location):
                return {"name": name, "visible": True, "location": list(location), "scale": [1, 1, 1],
                        "screenRect": None, "children": []}
            ground = node("ground15", (0, 30, 0))
            ground["children"] = [node("s15layer2-t", (0, log_y, lift)), node("s15layer4-t", (-60, -50, 0))]
            return {"world": {"name": "world", "children": [ground]}}

        under = [n for n in self.notes(page15(-160)) if "under" in n]
        self.assertEqual([n.split(":")[0] for n in under], ["s15layer4-t"])
        self.assertIn("under s15layer2-t", under[0])
        # Set behind him, or where the book puts it, the log no longer takes his taps.
        self.assertEqual([n for n in self.notes(page15(-20)) if "under" in n], [])
        self.assertEqual([n for n in self.notes(page15(-160, 0)) if "under" in n], [])


@unittest.skipUnless(os.environ.get("LUMO_CONTENT"), "needs the content export")
class CompositeTest(unittest.TestCase):
    """The reference a lit page is measured against is its pictures as drawn; the
    lamp's shading belongs to the built pictures' sheets, not to it."""

    def test_the_composite_keeps_the_pictures_colours(self):
        import art_table

        art_table.use_content(os.environ["LUMO_CONTENT"])
        names = [layer.name for layer in art_table.page_layers(1)] + ["layer_bg"]
        grey = bytes([0] + [200, 200, 200, 255] * 2)
        with tempfile.TemporaryDirectory() as tmp:
            for name in names:
                write_png(os.path.join(tmp, name + ".png"), [grey[1:]] * 2, 6, [0, 0])
            flat = png_pixels.read(tour.composite(tmp, 1, False, os.path.join(tmp, "out", "page01.png")))
        # Sky, a figure and the near ground, each lit differently by the lamp, all as drawn.
        for x, y in ((512, 60), (360, 480), (512, 700)):
            self.assertEqual(flat.rgb(x, y), (200, 200, 200), (x, y))


if __name__ == "__main__":
    unittest.main()
