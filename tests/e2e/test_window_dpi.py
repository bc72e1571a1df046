"""The splash window at 150 % (144 DPI): everything scales with the window."""

import unittest

import harness
from window_common import BLUE, FIRST_BUTTON_ID, GREEN, RED, buttons_by_id, dialog_ini, new_disc, run_launcher

wine = None


setUpModule, tearDownModule = harness.module_fixtures(globals(), dpi=144)


class HighDpiTest(unittest.TestCase):
    def test_window_buttons_and_picture_scale_by_one_and_a_half(self):
        ini = dialog_ini(buttons=[("&%d" % n, "exit") for n in range(1, 6)])
        # The 120 x 80 picture becomes 180 x 120; its 10 px marker 15 px.
        points = [(2, 2), (14, 5), (170, 110), (190, 20), (20, 130)]
        run = run_launcher(wine, new_disc(wine, ini), pixels=points)
        window = run.window
        self.assertEqual(window["dpi"], 144)
        self.assertLessEqual(abs(window["client"]["width"] - 722), 1, window["client"])
        self.assertLessEqual(abs(window["client"]["height"] - 518), 1, window["client"])
        controls = buttons_by_id(window)
        for index, left in enumerate([3, 147, 291, 435, 579]):
            rect = controls[FIRST_BUTTON_ID + index]["rect"]
            self.assertEqual((rect["left"], rect["top"], rect["width"], rect["height"]), (left, 456, 140, 50))

        marker, edge, inside, right, below = [p["rgb"] for p in window["pixels"]]
        self.assertEqual(marker, RED)
        self.assertEqual((inside, right, below), (GREEN, BLUE, BLUE))
        # Smooth scaling: the marker's edge blends red into green.
        self.assertTrue(0 < edge[0] < 255 and 0 < edge[1] < 255, edge)


if __name__ == "__main__":
    unittest.main()
