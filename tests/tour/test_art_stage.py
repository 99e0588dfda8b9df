#!/usr/bin/env python3
"""The camera and lamp model the pictures are made for, and the lift that makes up
for the lamp."""

import os
import sys
import unittest

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))

import art_draw  # noqa: E402
import art_stage  # noqa: E402


class LightTest(unittest.TestCase):
    def test_corner_light_follows_the_angle_to_the_lamp(self):
        lamp = art_stage.LAMP
        # Straight in front of the lamp, facing it: ambient 0.04 plus the whole diffuse 0.8.
        self.assertAlmostEqual(art_stage.corner_light((lamp[0], lamp[1], 0.0), (0, 0, 1)), 0.84)
        # A floor 70 below the lamp and 450 away is grazed: cos = 70 / |(0, 70, 450)|.
        cos = 70.0 / (70.0 ** 2 + 450.0 ** 2) ** 0.5
        floor = art_stage.corner_light((lamp[0], lamp[1] - 70, 0.0), (0, 1, 0))
        self.assertAlmostEqual(floor, 0.04 + 0.8 * cos)
        # Facing away: only the ambient part is left.
        self.assertAlmostEqual(art_stage.corner_light((0, 0, 0), (0, 0, -1)), 0.04)

    def test_light_is_spread_over_the_strips_two_triangles(self):
        plane = art_stage.Plane([(1, 1, 0), (0, 1, 0), (1, 0, 0), (0, 0, 0)], (0, 0, 1))
        plane.light = [0.9, 0.1, 0.5, 0.3]  # top right, top left, bottom right, bottom left
        self.assertAlmostEqual(plane.light_at(1, 1), 0.9)
        self.assertAlmostEqual(plane.light_at(0, 1), 0.1)
        self.assertAlmostEqual(plane.light_at(1, 0), 0.5)
        self.assertAlmostEqual(plane.light_at(0, 0), 0.3)
        # The middle lies on the shared edge from top left to bottom right, not at the
        # mean of the four corners (0.45).
        self.assertAlmostEqual(plane.light_at(0.5, 0.5), 0.3)
        # Either side of that edge takes its own triangle's third corner.
        self.assertAlmostEqual(plane.light_at(0.75, 0.75), 0.5 * 0.9 + 0.25 * 0.1 + 0.25 * 0.5)
        self.assertAlmostEqual(plane.light_at(0.25, 0.25), 0.5 * 0.3 + 0.25 * 0.5 + 0.25 * 0.1)

    def test_pictures_nearer_the_lamp_and_facing_it_keep_more_light(self):
        figure = art_stage.upright(0, 30, 200, 60, 70)
        backdrop = art_stage.upright(-100, -100, -400, 1440, 960)
        ground = art_stage.lying(0, 30, 0, 480, 833)
        mean = lambda p: sum(p.light) / 4
        self.assertGreater(mean(figure), mean(backdrop))
        self.assertGreater(mean(backdrop), mean(ground))
        # The ground's far edge (its picture's top) is darker than its near edge.
        tr, tl, br, bl = ground.light
        self.assertLess(max(tr, tl), min(br, bl))


class ReachTest(unittest.TestCase):
    def test_colours_within_reach_are_kept(self):
        self.assertEqual(art_stage.within_reach((0.2, 0.4, 0.5), 0.75), (0.2, 0.4, 0.5))

    def test_bright_colours_are_darkened_keeping_their_hue(self):
        for reach in (0.2, 0.62, 0.75):
            r, g, b = art_stage.within_reach((0.54, 0.79, 0.93), reach)
            self.assertLess(max(r, g, b), reach)
            self.assertAlmostEqual(r / b, 0.54 / 0.93)
            self.assertAlmostEqual(g / b, 0.79 / 0.93)

    def test_brighter_stays_brighter(self):
        seen = [max(art_stage.within_reach((v, v * 0.5, v * 0.2), 0.7)) for v in (0.5, 0.6, 0.7, 0.8, 0.9, 1.0)]
        self.assertEqual(seen, sorted(seen))
        self.assertEqual(len(set(seen)), len(seen))


class LiftTest(unittest.TestCase):
    def canvas(self, lamp):
        c = art_draw.Canvas(100, 50, "t")
        c.rect(0, 0, 100, 50, "#ffffff", outline=False)
        c.rect(10, 10, 20, 20, "#204060", outline=False)
        c.lamp = lamp
        return c

    def test_a_lit_picture_is_brought_within_reach_then_lifted(self):
        svg = self.canvas(0.5).svg()
        # White is out of reach and comes down; the dark blue is left alone.
        self.assertNotIn("#ffffff", svg)
        self.assertIn("#204060", svg)
        self.assertIn('values="2 0 0 0 0 0 2 0 0 0 0 0 2 0 0 0 0 0 1 0"', svg)
        self.assertIn('<g filter="url(#lamp)">', svg)

    def test_a_picture_drawn_as_is_keeps_its_colours(self):
        svg = self.canvas(None).svg()
        self.assertIn("#ffffff", svg)
        self.assertNotIn("lamp", svg)

    def test_unlifted_the_picture_keeps_the_colours_the_lamp_will_show(self):
        lifted, plain = self.canvas(0.5), self.canvas(0.5)
        plain.lifted = False
        plain_svg = plain.svg()
        self.assertNotIn("#ffffff", plain_svg)
        self.assertNotIn("lamp", plain_svg)
        # The same colours as the lifted picture, only without the lift.
        self.assertEqual(plain_svg.split("</defs>")[1], lifted.svg().split("</defs>")[1]
                         .replace('<g filter="url(#lamp)">\n', "").replace("\n</g>\n</svg>", "\n</svg>"))

    def test_the_time_of_days_tint_counts_towards_reach(self):
        # A night tint halves red: a red of 0.9 shows as 0.45, within a reach of 0.6,
        # so it is kept; without the tint it would come down.
        c = art_draw.Canvas(10, 10, "t")
        c.rect(0, 0, 10, 10, "#e60000", outline=False)
        c.tint((0.5, 1.0, 1.0))
        c.lamp = 0.6
        self.assertIn("#e60000", c.svg())
        plain = art_draw.Canvas(10, 10, "t")
        plain.rect(0, 0, 10, 10, "#e60000", outline=False)
        plain.lamp = 0.6
        self.assertNotIn("#e60000", plain.svg())


class FitTest(unittest.TestCase):
    def test_a_drawing_is_enlarged_to_stand_on_the_rooms_bottom_edge(self):
        c = art_draw.Canvas(200, 100, "t")
        c.rect(90, 60, 20, 20, "#000000", outline=False)
        c.fit = ((90, 60, 110, 80), (0, 4, 200, 90))
        # 20 x 20 drawn, 86 rows of room: scale 4.3, centred, standing on row 90.
        self.assertIn('transform="translate(100,90) scale(4.3000) translate(-100,-80)"', c.svg())
        # A narrow room limits by its width instead.
        c.fit = ((90, 60, 110, 80), (20, 0, 60, 100))
        self.assertIn('transform="translate(40,100) scale(2.0000) translate(-100,-80)"', c.svg())


@unittest.skipUnless(os.environ.get("LUMO_CONTENT"), "needs the content export")
class RoomTest(unittest.TestCase):
    def test_titles_lose_their_top_rows_to_the_screens_edge(self):
        left, top, right, bottom = art_stage.visible_box("s1layer3-cn")
        self.assertEqual((left, right, bottom), (0, 824, 280))
        self.assertGreater(top, 50)

    def test_the_panel_is_wider_than_the_screen(self):
        left, top, right, bottom = art_stage.visible_box("aside_bg")
        self.assertGreater(left, 50)
        self.assertLess(right, 1024 - 50)

    def test_a_figure_in_front_keeps_clear_of_the_panel(self):
        # Ryzhik stands on page 2 where the panel covers his plane's lowest rows.
        _l, _t, _r, bottom = art_stage.unhidden_box("s2layer1-t")
        self.assertLess(bottom, 545 - 20)
        # The cover has no panel: only the screen's edges count.
        self.assertEqual(art_stage.unhidden_box("s1layer2l-t")[3], 348)

    def test_the_panel_is_as_high_as_four_lines_lift_it(self):
        # The program shows a four-line panel's top at this row.
        self.assertAlmostEqual(art_stage.panel_top(), 605.18, places=1)

    def test_a_figure_behind_a_wider_nearer_figure_stays_above_its_plane(self):
        # Page 15: the log's picture spans Ryzhik's; every tap below its top is the log's.
        (other, row), = art_stage.nearer_figure_tops("s15layer4-t")
        self.assertEqual(other, "s15layer2-t")
        _x0, y0, _x1, y1 = art_stage.screen_box("s15layer4-t")
        bottom = art_stage.unhidden_box("s15layer4-t")[3]
        self.assertLessEqual(y0 + bottom / 430 * (y1 - y0), row + art_stage.FOOTING + 0.01)
        # The nearer picture itself, and figures beside narrower planes, keep their room.
        self.assertEqual(art_stage.nearer_figure_tops("s15layer2-t"), [])
        self.assertEqual(art_stage.nearer_figure_tops("s1layer2l-t"), [])


if __name__ == "__main__":
    unittest.main()
