#!/usr/bin/env python3
"""Pictures are rendered with no more pixels than the screen shows of them."""

import os
import sys
import unittest

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))
sys.path.insert(0, HERE)

import art_resolution  # noqa: E402
import art_table  # noqa: E402
from test_art_table import LAYOUT, ExportFixture  # noqa: E402

# Far to the side of the page: never on screen at rest.
OFF_SCREEN = "2\ts2aside-t\ts2aside-t+5+300,300|1,1|2000,0,0|90,0,0\n"
# Near the reader, shown larger than drawn.
NEAR = "2\ts2near-t\ts2near-t+6+300,200|1,1|0,-200,0|90,0,0\n"


class PixelSizeTest(ExportFixture):
    def setUp(self):
        super().setUp()
        self.write(LAYOUT + OFF_SCREEN + NEAR)

    def size(self, name):
        w, h, kind = art_table.all_images()[name]
        return art_resolution.pixel_size(name, w, h, kind)

    def test_the_ground_keeps_its_columns_and_halves_its_rows(self):
        # Near the reader a ground column spans over two screen pixels, so rows
        # finer than that buy nothing; across, it is shown larger than drawn.
        across, along = art_resolution.magnification("ground1")
        self.assertGreater(across, 2.0)
        self.assertLess(along, 0.5)
        self.assertEqual(self.size("ground1"), (1024, 1024))

    def test_pictures_shown_smaller_fit_the_smaller_power_of_two(self):
        self.assertEqual(self.size("background2"), (1021, 512))
        self.assertEqual(self.size("s1layer2l-t"), (256, 256))
        # 230 columns shown at 0.94 still need 256: the width is kept as drawn.
        self.assertEqual(self.size("s2layer4r-t"), (230, 512))

    def test_pictures_shown_at_their_size_or_larger_keep_it(self):
        across, along = art_resolution.magnification("s2near-t")
        self.assertGreater(min(across, along), 1.0)
        self.assertEqual(self.size("s2near-t"), (300, 200))

    def test_off_screen_pictures_and_controls_keep_their_size(self):
        self.assertEqual(art_resolution.magnification("s2aside-t"), (None, None))
        self.assertEqual(self.size("s2aside-t"), (300, 300))
        self.assertEqual(self.size("hint_finger"), art_table.CONTROLS["hint_finger"])
        self.assertEqual(self.size("layer_bg"), art_table.CONTROLS["layer_bg"])

    def test_no_picture_grows_and_every_shrunk_axis_is_a_power_of_two(self):
        images = art_table.all_images()
        for name, (pw, ph) in art_resolution.pixel_sizes().items():
            w, h, _kind = images[name]
            for drawn, rendered in ((w, pw), (h, ph)):
                self.assertLessEqual(rendered, drawn, name)
                if rendered != drawn:
                    self.assertEqual(rendered & (rendered - 1), 0, name)


if __name__ == "__main__":
    unittest.main()
