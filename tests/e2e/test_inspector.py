"""The inspector against a window whose every detail is known
(tests/tools/fixture_window.cpp), so the window tests can trust what it says."""

import os
import struct
import unittest

import harness

FIXTURE = os.path.join(harness.X64_DIR, "tests", "tools", "fixture_window.exe")
BACKGROUND = [47, 31, 107]
WHITE = [255, 255, 255]

wine = None


setUpModule, tearDownModule = harness.module_fixtures(globals())


def read_bmp_pixel(path, x, y):
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 24
    stride = (width * 3 + 3) // 4 * 4
    row = height - 1 - y   # rows are stored bottom-up
    b, g, r = data[offset + row * stride + x * 3: offset + row * stride + x * 3 + 3]
    return (width, height), [r, g, b]


class InspectorTest(unittest.TestCase):
    def fixture(self, **options):
        return wine.run(harness.win_path(FIXTURE), **options)

    def test_window_record(self):
        shot = os.path.join(wine.root, "fixture.bmp")
        screen = os.path.join(wine.root, "screen.bmp")
        run = self.fixture(pixels=[(10, 10), (200, 100)], screenshot=shot, screen_shot=screen)
        window = run.window
        self.assertEqual(run.raw["reason"], "observed")
        self.assertTrue(run.raw["terminated"])
        self.assertEqual((window["title"], window["class"]), ("Fixture", "FixtureWindow"))
        self.assertEqual(window["client"], {"width": 481, "height": 345})
        flags = window["flags"]
        self.assertEqual((flags["caption"], flags["sysmenu"], flags["minimizebox"], flags["maximizebox"],
                          flags["thickframe"]), (True, True, True, False, False))
        self.assertEqual(window["work_area"]["width"], 1024)
        self.assertEqual(window["dpi"], 96)
        controls = {c["id"]: c for c in window["controls"]}
        self.assertEqual(sorted(controls), [100, 101, 102, 103])
        self.assertEqual(controls[100]["rect"], {"left": 2, "top": 304, "right": 95, "bottom": 337,
                                                 "width": 93, "height": 33})
        self.assertEqual(controls[101]["text"], "&Beta")
        self.assertEqual([controls[i]["default"] for i in range(100, 104)], [True, False, False, False])
        self.assertEqual([controls[i]["visible"] for i in range(100, 104)], [True, True, True, False])
        self.assertTrue(all(c["tabstop"] for c in controls.values()))
        self.assertEqual(window["focus"]["id"], 100)
        self.assertEqual([p["rgb"] for p in window["pixels"]], [WHITE, BACKGROUND])
        self.assertTrue(window["screenshot_ok"])
        self.assertEqual(read_bmp_pixel(shot, 10, 10), ((481, 345), WHITE))
        self.assertEqual(read_bmp_pixel(shot, 200, 100)[1], BACKGROUND)
        origin = window["client_origin"]
        self.assertEqual(read_bmp_pixel(screen, origin["x"] + 5, origin["y"] + 5), ((1024, 768), WHITE))

    def test_actions(self):
        cases = [
            (["click:101"], 41, []),
            (["key:enter"], 40, []),
            (["key:escape"], 50, []),
            (["key:alt+b"], 41, []),
            (["close"], 70, []),
            (["click-at:240,100"], 60, ["Clicked 240,100"]),
            (["click-at:150,320"], 41, []),
            (["click:102"], 20, ["Failed"]),
        ]
        for actions, exit_code, boxes in cases:
            with self.subTest(actions=actions):
                run = self.fixture(actions=actions)
                self.assertEqual(run.exit_code, exit_code, run)
                self.assertEqual(run.box_texts(), boxes)
                self.assertTrue(run.steps[0]["ok"], run)

    def test_held_box_stays_up_until_answered(self):
        # The fixture's box is owned by its window, which it disables.
        run = self.fixture(actions=["hold-boxes", "click:102", "wait-box", "observe", "answer-boxes"])
        self.assertEqual(run.exit_code, 20, run)
        self.assertEqual(run.box_texts(), ["Failed"])
        self.assertTrue(run.message_boxes[0]["owned_by_window"], run)
        observed = run.steps[3]
        self.assertTrue(observed["window_exists"], run)
        self.assertFalse(observed["window"]["flags"]["enabled"], run)
        self.assertEqual([p["image"] for p in run.job_processes], ["fixture_window.exe"], run)

    def test_tab_and_shift_tab_move_focus_over_visible_buttons(self):
        run = self.fixture(actions=["key:tab", "key:shift+tab", "key:shift+tab", "close"])
        self.assertEqual([step["focus"]["id"] for step in run.steps[:3]], [101, 100, 102])
        self.assertEqual(run.exit_code, 70)

    def test_a_process_still_running_at_the_timeout_is_ended(self):
        run = self.fixture(actions=["wait:10"], timeout_ms=1500)
        self.assertTrue(run.raw["timed_out"])
        self.assertTrue(run.raw["terminated"])
        self.assertIsNone(run.exit_code)


if __name__ == "__main__":
    unittest.main()
