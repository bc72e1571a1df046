"""`make preview`'s script (scripts/preview.py) on small discs: three
screenshots of the window with its frame at 100, 150 and 200 %, cut to the
window, with the disc folder left as it was; a launcher that reports an
error instead of showing its window makes the preview fail with the report."""

import os
import subprocess
import sys
import tempfile
import unittest

import harness
from images import read_png
from window_common import BLUE, FIXTURES, RED, dialog_ini

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PREVIEW = os.path.join(ROOT, "scripts", "preview.py")
CLIENT = (481, 345)
# Wine's frame: borders of a few pixels and a title bar that grows with the scale.
BORDER_RANGE = range(1, 16)
TITLE_RANGE = range(15, 80)


def preview(disc, out, name=None):
    command = [sys.executable, PREVIEW, "--x64", harness.X64_DIR, "--exe-name", harness.LAUNCHER_NAME,
               "--disc", disc, "--out", out, "--work", harness.WORK_DIR]
    if name:
        command += ["--name", name]
    return subprocess.run(command, capture_output=True, text=True, timeout=600)


def make_disc(root, ini_name, ini, exe_name=None):
    disc = harness.Disc(os.path.join(root, "disc"))
    disc.add_file(os.path.join(FIXTURES, "splash.bmp"))
    disc.write_ini(ini, name=ini_name)
    if exe_name:
        disc.add_file(harness.LAUNCHER_EXE, exe_name)
    return disc.path


class PreviewTest(unittest.TestCase):
    def test_window_with_frame_at_three_scales_and_the_disc_unchanged(self):
        with tempfile.TemporaryDirectory(dir=harness.WORK_DIR) as root:
            # The disc's exe is found by its INI; the built one runs under its name.
            disc = make_disc(root, "autorun.ini", dialog_ini(buttons=[("&OK", "exit")]), exe_name="autorun.exe")
            before = harness.listing(disc)
            out = os.path.abspath(os.path.join(root, "preview"))
            result = preview(disc, out)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertEqual(harness.listing(disc), before)

            paths = result.stdout.split()
            self.assertEqual(paths, [os.path.join(out, "autorun-%d.png" % percent) for percent in (100, 150, 200)])
            for path, scale in zip(paths, (1, 1.5, 2)):
                with self.subTest(path=os.path.basename(path)):
                    width, height, rows = read_png(path)
                    client_width, client_height = round(CLIENT[0] * scale), round(CLIENT[1] * scale)
                    border = (width - client_width) // 2
                    title = height - client_height - 2 * border
                    self.assertIn(border, BORDER_RANGE, (width, height))
                    self.assertIn(title, TITLE_RANGE, (width, height))
                    # The client area sits inside the frame: the picture's red
                    # marker at its corner, the window colour in its middle.
                    top = border + title

                    def pixel(x, y):
                        return list(rows[top + y][(border + x) * 3:(border + x) * 3 + 3])

                    self.assertEqual(pixel(2, 2), RED)
                    self.assertEqual(pixel(client_width // 2, client_height // 2), BLUE)

    def test_an_error_report_instead_of_a_window_fails_with_its_text(self):
        cases = [
            ("missing picture", dialog_ini(picture="absent.bmp"),
             ["exit code %d" % harness.EXIT_PICTURE_MISSING, "Couldn't find splash screen picture", "absent.bmp"]),
            ("direct launch", harness.direct_launch_ini("exit"), ["no window to preview"]),
        ]
        for label, ini, expected in cases:
            with self.subTest(label), tempfile.TemporaryDirectory(dir=harness.WORK_DIR) as root:
                disc = make_disc(root, "setup.ini", ini)
                out = os.path.join(root, "preview")
                os.makedirs(out)
                # Pictures of an earlier preview must not pass for this one's.
                stale = os.path.join(out, "setup-100.png")
                open(stale, "wb").close()
                result = preview(disc, out, name="setup")
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                for text in expected:
                    self.assertIn(text, result.stderr)
                self.assertEqual(result.stdout, "")
                self.assertEqual(os.listdir(out), [])


if __name__ == "__main__":
    unittest.main()
