#!/usr/bin/env python3
"""The ICON build setting: which files res/check_icon.py lets through, which
it refuses and when it warns; and that the committed application icon is what
its generator draws."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "res"))
import artwork  # noqa: E402
import check_icon  # noqa: E402


def solid(size):
    return [[(0.2, 0.4, 0.8, 1.0)] * size for _ in range(size)]


def icon_of(sizes):
    return artwork.ico_file([(size, 32, artwork.icon_image(solid(size), 32)) for size in sizes])


class IconSettingTest(unittest.TestCase):
    def check_bytes(self, data):
        with tempfile.NamedTemporaryFile(suffix=".ico", delete=False) as file:
            file.write(data)
        try:
            return check_icon.check(file.name)
        finally:
            os.unlink(file.name)

    def test_refused_files_name_the_reason(self):
        full = icon_of(artwork.ICON_SIZES)
        cases = [
            ("PNG picture", b"\x89PNG\r\n\x1a\n" + b"\0" * 64, "PNG picture"),
            ("BMP picture", artwork.bmp_file(4, 4, lambda x, y: (1, 2, 3)), "BMP picture"),
            ("cursor", b"\0\0\2\0" + full[4:], "cursor"),
            ("text file", b"[DIALOG]\r\nShow=True\r\n", "ICO header"),
            ("empty icon", struct.pack("<HHH", 0, 1, 0), "no image"),
            ("cut-off directory", full[:6 + 16 * 2], "cut short"),
            ("cut-off image", full[:-100], "outside the file"),
            ("too short", b"\0\0", "too short"),
        ]
        for label, data, reason in cases:
            with self.subTest(label):
                errors, _ = self.check_bytes(data)
                self.assertEqual(len(errors), 1)
                self.assertIn(reason, errors[0])

    def test_missing_sizes_warn_but_pass(self):
        errors, warnings = self.check_bytes(icon_of([32, 64]))
        self.assertEqual(errors, [])
        self.assertEqual(len(warnings), 1)
        self.assertIn("16x16, 24x24, 48x48", warnings[0])

    def test_complete_icon_passes_quietly(self):
        self.assertEqual(self.check_bytes(icon_of(artwork.ICON_SIZES)), ([], []))
        self.assertEqual(check_icon.check(os.path.join(ROOT, "res", "launcher.ico")), ([], []))

    def test_committed_icon_is_the_generators_output(self):
        with tempfile.TemporaryDirectory() as folder:
            output = os.path.join(folder, "drawn.ico")
            subprocess.run([sys.executable, os.path.join(ROOT, "res", "make_icon.py"), output], check=True)
            with open(output, "rb") as drawn, open(os.path.join(ROOT, "res", "launcher.ico"), "rb") as committed:
                self.assertEqual(drawn.read(), committed.read(),
                                 "res/launcher.ico is stale: run python3 res/make_icon.py")


if __name__ == "__main__":
    unittest.main()
