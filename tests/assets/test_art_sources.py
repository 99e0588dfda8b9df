#!/usr/bin/env python3
"""The committed SVG sources match the content export (LUMO_CONTENT) and the generator."""

import os
import re
import sys
import unittest

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools"))

import art_font  # noqa: E402
import art_resolution  # noqa: E402
import art_table  # noqa: E402
import make_art  # noqa: E402
from art_draw import Canvas  # noqa: E402

ART = os.path.join(ROOT, "assets", "art")


def root_size(svg):
    m = re.search(r'<svg [^>]*width="(\d+)" height="(\d+)" viewBox="0 0 ([\d.]+) ([\d.]+)"', svg)
    return (int(m.group(1)), int(m.group(2)), float(m.group(3)), float(m.group(4))) if m else None


class ArtSourcesTest(unittest.TestCase):
    def test_manifest_and_sources_follow_the_table(self):
        images = art_table.all_images()
        with open(os.path.join(ART, "manifest.tsv"), encoding="utf-8") as f:
            manifest = {n: (int(w), int(h)) for n, w, h in (line.split() for line in f)}
        self.assertEqual(manifest, art_resolution.pixel_sizes())
        on_disk = {f[:-4] for f in os.listdir(ART) if f.endswith(".svg")}
        self.assertEqual(on_disk, set(images), "sources without a table entry or missing sources")
        for name, (w, h, _kind) in images.items():
            with open(os.path.join(ART, name + ".svg"), encoding="utf-8") as f:
                size = root_size(f.read())
            self.assertIsNotNone(size, name)
            self.assertEqual(size[:2], (w, h), name)

    def test_committed_sources_are_what_the_generator_writes(self):
        images = art_table.all_images()
        builders = make_art.builders()
        stale = []
        for name, (w, h, _kind) in sorted(images.items()):
            with open(os.path.join(ART, name + ".svg"), encoding="utf-8") as f:
                if f.read() != builders[name](w, h).svg():
                    stale.append(name)
        self.assertEqual(stale, [], "run tools/make_art.py --content DIR (or ninja art_sources) and commit the sources")

    def test_layers_are_drawn_for_their_plane_proportions(self):
        # s5layer2-t is scaled 0.7 x 0.8 on a plane of 0.46875 x 0.41667 units a pixel.
        with open(os.path.join(ART, "s5layer2-t.svg"), encoding="utf-8") as f:
            w, h, vw, vh = root_size(f.read())
        plane_ratio = (w * 0.46875 * 0.7) / (h * 0.41666666 * 0.8)
        self.assertAlmostEqual(vw / vh, plane_ratio, places=2)
        with open(os.path.join(ART, "ground3.svg"), encoding="utf-8") as f:
            w, h, vw, vh = root_size(f.read())
        self.assertAlmostEqual(vw / vh, (1024 * 0.46875) / (2000 * 0.41666666), places=2)


class TextFittingTest(unittest.TestCase):
    def test_long_text_is_narrowed_to_its_room_and_short_text_is_not(self):
        c = Canvas(400, 100)
        c.text(200, 60, "and the Little Star", 64, "#ffffff", fit=300)
        svg = "\n".join(c.body)
        scale = float(re.search(r"scale\(([\d.]+),1\)", svg).group(1))
        start = float(re.search(r'<text x="([-\d.]+)"', svg).group(1))
        natural = art_font.width("and the Little Star", 64)
        left = 200 + (start - 200) * scale
        right = 200 + (start + natural - 200) * scale
        self.assertGreater(natural, 300)
        self.assertAlmostEqual(left, 50, delta=1)
        self.assertAlmostEqual(right, 350, delta=1)
        c = Canvas(400, 100)
        c.text(200, 60, "Hi", 20, "#ffffff", fit=300)
        self.assertNotIn("scale(", "\n".join(c.body))

    def test_font_widths_come_from_the_font(self):
        # Wide and narrow letters differ; an average per letter would not.
        self.assertGreater(art_font.width("WWW", 10), 2 * art_font.width("iii", 10))
        self.assertGreater(art_font.width("Ж", 10), art_font.width("г", 10))


if __name__ == "__main__":
    unittest.main()
