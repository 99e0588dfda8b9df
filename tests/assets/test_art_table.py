#!/usr/bin/env python3
"""The picture table reads the program's content export, and only that."""

import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))

import art_pages  # noqa: E402
import art_table  # noqa: E402

LAYOUT = (
    "1\tground1\tground1+0+1024,2000|1,1|0,30,0|-90,0,0\n"
    "1\ts1layer2l-t\ts1layer2l-t+2+258,348|0.5,0.5|-40,-180,0|90,0,0\n"
    "1\tbackground1\tbackground1+10+1024,722|1.0,1.0|0,100,0|90,0,0\n"
    "2\tground2\tground2+0+1024,2000|1,1|0,30,0|-90,0,0\n"
    "2\ts18layer3-cn\ts18layer3-cn+3+400,300|1,1|0,-100,230|90,0,0\n"
    "2\ts2layer4r-t\ts2layer4r-t+4+230,517|1.0,1.0|-0,-20,0|90,0,0\n"
    "2\tbackground2\tbackground2+10+1021,722|1.0,1.0|0,100,0|90,0,0\n"
)
TITLES = "s18layer3-cn\ten\tAll Done\n"


class ExportFixture(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.write(LAYOUT, TITLES)

    def tearDown(self):
        art_table.use_content(None)
        self.tmp.cleanup()

    def write(self, layout, titles=TITLES):
        for name, text in (("layout.tsv", layout), ("titles.tsv", titles)):
            with open(os.path.join(self.tmp.name, name), "w", encoding="utf-8") as f:
                f.write(text)
        art_table.use_content(self.tmp.name)

    def assertContentError(self, layout, *words):
        self.write(layout)
        with self.assertRaises(art_table.ContentError) as caught:
            art_table.all_images()
        for word in words:
            self.assertIn(word, str(caught.exception))


class ReadingTest(ExportFixture):
    def test_layers_sizes_and_placing_come_from_the_export(self):
        self.assertEqual(art_table.page_count(), 2)
        self.assertEqual([layer.name for layer in art_table.page_layers(2)],
                         ["ground2", "s18layer3-cn", "s2layer4r-t", "background2"])
        images = art_table.all_images()
        self.assertEqual(images["background2"], (1021, 722, "background"))
        self.assertEqual(images["s18layer3-cn"], (400, 300, "title"))
        self.assertEqual(images["s1layer2l-t"][2], "figure")
        self.assertEqual(images["layer_bg"], (1024, 768, "backdrop"))
        self.assertEqual(len(images), 7 + len(art_table.CONTROLS))
        layer = art_table.layer_named("s2layer4r-t")
        self.assertEqual((layer.page, layer.layer_id, layer.scale), (2, 4, (1.0, 1.0)))
        self.assertEqual(layer.location, (0.0, -20.0, 0.0))

    def test_a_new_export_replaces_what_was_read(self):
        self.assertEqual(art_table.all_images()["background2"][:2], (1021, 722))
        self.write(LAYOUT.replace("1021,722", "1024,722"))
        self.assertEqual(art_table.all_images()["background2"][:2], (1024, 722))
        self.assertEqual(art_table.layer_named("background2").width, 1024)

    def test_title_pictures_carry_the_exported_words(self):
        svg = art_pages.s18_title_en(400, 300).svg()
        self.assertIn("All Done", svg)
        self.assertNotIn("The End", svg)
        self.write(LAYOUT, "s18layer3-cn\ten\tFin\n")
        self.assertIn(">Fin<", art_pages.s18_title_en(400, 300).svg())


class FaultTest(ExportFixture):
    def test_no_export_named_says_how_to_make_one(self):
        art_table.use_content(None)
        saved = os.environ.pop(art_table.ENV, None)
        try:
            with self.assertRaises(art_table.ContentError) as caught:
                art_table.all_images()
            self.assertIn("--export-content", str(caught.exception))
        finally:
            if saved is not None:
                os.environ[art_table.ENV] = saved

    def test_missing_file_and_malformed_rows_are_reported_with_their_place(self):
        art_table.use_content(os.path.join(self.tmp.name, "absent"))
        with self.assertRaises(art_table.ContentError) as caught:
            art_table.all_images()
        self.assertIn("layout.tsv", str(caught.exception))
        self.assertContentError(LAYOUT + "3\tground3\n", "layout.tsv:8", "expected 3 fields")
        self.assertContentError(LAYOUT.replace("2\tground2\t", "two\tground2\t"), "layout.tsv:4", "'two'")
        self.assertContentError(LAYOUT.replace("\ts2layer4r-t\t", "\ts2layer4-t\t"), "layout.tsv:6", "s2layer4-t")
        self.assertContentError(LAYOUT + "4\tground4\tground4+0+1024,2000|1,1|0,30,0|-90,0,0\n", "page 3")
        self.assertContentError("", "no layout lines")

    def test_unreadable_geometry_and_conflicting_sizes_are_refused(self):
        self.assertContentError(LAYOUT.replace("258,348|0.5,0.5|-40,-180,0", "258,348|0.5,0.5|-40"),
                                "s1layer2l-t", "coordinate")
        self.assertContentError(LAYOUT.replace("258,348", "25x,348"), "cannot read", "s1layer2l-t")
        repeated = LAYOUT + "2\ts1layer2l-t\ts1layer2l-t+2+260,348|0.5,0.5|-40,-180,0|90,0,0\n"
        self.assertContentError(repeated, "s1layer2l-t", "258 x 348", "260 x 348")


class BookTableTest(unittest.TestCase):
    """The real export the build wrote (LUMO_CONTENT)."""

    def test_every_layer_once_with_its_layout_size(self):
        layers = art_table.all_layers()
        names = [layer.name for layer in layers]
        self.assertEqual(len(names), len(set(names)))
        self.assertEqual(art_table.page_count(), 18)
        self.assertEqual(len(layers), 18 * 2 + 58)
        self.assertEqual(sum(1 for layer in layers if layer.kind == "figure"), 28)
        sizes = {layer.name: (layer.width, layer.height) for layer in layers}
        self.assertEqual(sizes["ground7"], (1024, 2000))
        self.assertEqual(sizes["background15"], (1021, 722))
        self.assertEqual(sizes["background14"], (1024, 722))
        self.assertEqual(sizes["s13layer4r-t"], (230, 517))
        self.assertEqual(art_table.layer_named("s13layer4r-t").location, (0.0, -20.0, 0.0))

    def test_titles_are_language_layers_with_words(self):
        titles = sorted(layer.name for layer in art_table.all_layers() if layer.kind == "title")
        self.assertEqual(titles, ["s18layer2-cn", "s18layer3-cn", "s1layer3-cn", "s1layer5-cn"])
        self.assertEqual(sorted(art_table.titles()), titles)
        self.assertEqual(art_table.titles()["s1layer5-cn"][0], "en")


if __name__ == "__main__":
    unittest.main()
