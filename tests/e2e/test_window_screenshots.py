"""Screenshots of the example disc's window with one, three and five buttons,
for the README. Wine's virtual desktop draws the frame and title bar that
Xvfb without a window manager leaves out.

They are written to E2E_WORK_DIR/screenshots, so a test run leaves the
source tree as it was; E2E_UPDATE_SCREENSHOTS=1 writes them to
docs/screenshots instead, to refresh the README's pictures."""

import os
import unittest

import harness
from images import crop_rows, read_bmp, write_png
from window_common import run_launcher

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLE = os.path.join(HERE, "..", "..", "example")
SCREENSHOTS = (os.path.join(HERE, "..", "..", "docs", "screenshots") if os.environ.get("E2E_UPDATE_SCREENSHOTS")
               else os.path.join(harness.WORK_DIR, "screenshots"))

CAPTIONS = ["&Install", "&Read me", "&Documentation", "&Browse disc", "E&xit"]
SHOTS = {"one-button.png": ["&Install"], "three-buttons.png": ["&Install", "&Read me", "E&xit"],
         "five-buttons.png": CAPTIONS}

wine = None


setUpModule, tearDownModule = harness.module_fixtures(globals(), virtual_desktop="1024x768")


def example_ini(captions):
    with open(os.path.join(EXAMPLE, "launcher.ini"), encoding="latin-1") as f:
        dialog = f.read().split("[BUTTON1]")[0]
    buttons = "".join("[BUTTON%d]\r\nShow=True\r\nCaption=%s\r\nAction=exit\r\n" % (n, caption)
                      for n, caption in enumerate(captions, 1))
    return dialog + buttons


class ScreenshotTest(unittest.TestCase):
    def test_screenshots_for_one_three_and_five_buttons(self):
        os.makedirs(SCREENSHOTS, exist_ok=True)
        for name, captions in SHOTS.items():
            with self.subTest(name):
                disc = wine.new_disc()
                for art in ["splash.bmp", "product.ico"]:
                    disc.add_file(os.path.join(EXAMPLE, art))
                disc.write_ini(example_ini(captions))
                screen = os.path.join(wine.root, name + ".bmp")
                run = run_launcher(wine, disc, screen_shot=screen, settle_ms=800)
                self.assertIsNotNone(run.window, run)
                self.assertEqual(sum(c["visible"] for c in run.window["controls"]), len(captions))
                width, height, rows = read_bmp(screen)
                rect = run.window["rect"]
                self.assertTrue(0 <= rect["left"] and rect["right"] <= width and rect["bottom"] <= height, rect)
                window_rows = crop_rows(rows, rect)
                # The frame is drawn: the title bar differs from the desktop around it.
                self.assertNotEqual(window_rows[2][30:60], rows[max(rect["top"] - 3, 0)][rect["left"] * 3 + 30:
                                                                                        rect["left"] * 3 + 60])
                write_png(os.path.join(SCREENSHOTS, name), rect["width"], window_rows)


if __name__ == "__main__":
    unittest.main()
