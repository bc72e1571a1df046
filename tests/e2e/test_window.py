"""The splash window at 100 %: layout by button count, clicks, keys, close,
the picture and colour as painted, the icon, and the reports of a bad set-up."""

import threading
import unittest

import harness
from window_common import (BLUE, FIRST_BUTTON_ID, GREEN, RED, buttons_by_id, dialog_ini, new_disc,
                           run_launcher, x_window_icon)

wine = None

# Left edges in pixels of Button(0) to Button(4) for each count; None: hidden.
LAYOUT = {
    0: [None] * 5,
    1: [194, None, None, None, None],
    2: [194, 386, None, None, None],
    3: [2, 194, 386, None, None],
    4: [2, 130, 258, 386, None],
    5: [2, 98, 194, 290, 386],
}


setUpModule, tearDownModule = harness.module_fixtures(globals())


def buttons(count, action="exit"):
    return [("Button &%d" % n, action) for n in range(1, count + 1)]


class LayoutTest(unittest.TestCase):
    def test_window_and_buttons_for_every_count(self):
        for count, lefts in LAYOUT.items():
            with self.subTest(count=count):
                run = run_launcher(wine, new_disc(wine, dialog_ini(buttons=buttons(count))))
                window = run.window
                self.assertIsNotNone(window, run)
                self.assertEqual(window["title"], "Splash Test")
                self.assertEqual(window["client"], {"width": 481, "height": 345})
                flags = window["flags"]
                self.assertEqual((flags["caption"], flags["sysmenu"], flags["minimizebox"],
                                  flags["maximizebox"], flags["thickframe"]), (True, True, False, False, False))
                # Centred in the work area.
                area, rect = window["work_area"], window["rect"]
                self.assertLessEqual(abs((rect["left"] - area["left"]) - (area["right"] - rect["right"])), 1)
                self.assertLessEqual(abs((rect["top"] - area["top"]) - (area["bottom"] - rect["bottom"])), 1)
                controls = buttons_by_id(window)
                self.assertEqual(sorted(controls), list(range(FIRST_BUTTON_ID, FIRST_BUTTON_ID + 5)))
                for index, left in enumerate(lefts):
                    button = controls[FIRST_BUTTON_ID + index]
                    self.assertEqual(button["visible"], left is not None, button)
                    if left is None:
                        self.assertEqual(button["text"], "Command1")
                        continue
                    self.assertEqual(button["text"], "Button &%d" % (index + 1))
                    self.assertEqual((button["rect"]["left"], button["rect"]["top"], button["rect"]["width"],
                                      button["rect"]["height"]), (left, 304, 93, 33))
                    self.assertTrue(button["tabstop"])
                    self.assertEqual(button["default"], index == 0)
                if count:
                    self.assertEqual(window["focus"]["id"], FIRST_BUTTON_ID)


class ClickAndKeyTest(unittest.TestCase):
    def test_only_button3_lands_on_button0_in_the_middle_and_runs_its_action(self):
        ini = dialog_ini(buttons=[None, None, ("Third", "probe.exe /from-button3")])
        run = run_launcher(wine, new_disc(wine, ini), actions=["click:%d" % FIRST_BUTTON_ID])
        self.assertEqual(run.exit_code, 0, run)
        self.assertEqual(run.steps[0]["ok"], True)
        records = wine.take_probe_log()
        self.assertEqual([r["argv"][1:] for r in records], [["/from-button3"]])

    def test_ways_to_end(self):
        # Two buttons that start the probe with their own argument.
        two = [("&First", "probe.exe /first"), ("&Second", "probe.exe /second")]
        cases = [
            ("close box", two, ["close"], []),
            ("escape", two, ["key:escape"], []),
            ("enter clicks Button(0)", two, ["key:enter"], ["/first"]),
            ("tab then enter clicks the focused one", two, ["key:tab", "key:enter"], ["/second"]),
            ("access key", two, ["key:alt+s"], ["/second"]),
            ("exit on a button", [("E&xit", "EXIT")], ["click:%d" % FIRST_BUTTON_ID], []),
            ("click on the picture does nothing", two, ["click-at:50,50", "close"], []),
            ("hidden button cannot be clicked", two, ["click:%d" % (FIRST_BUTTON_ID + 2), "close"], []),
            ("no buttons: enter does nothing, escape ends", [], ["key:enter", "key:escape"], []),
        ]
        for name, button_list, actions, started in cases:
            with self.subTest(name):
                run = run_launcher(wine, new_disc(wine, dialog_ini(buttons=button_list)), actions=actions)
                self.assertEqual(run.exit_code, 0, run)
                self.assertEqual(run.message_boxes, [], run)
                self.assertEqual([r["argv"][1:] for r in wine.take_probe_log()], [[a] for a in started])
                self.assertEqual(run.started_programs, len(started), run)

    def test_a_report_after_a_click_holds_the_window(self):
        # The first button's program is missing: its report comes up. A click
        # on the working second button while the report is up starts nothing,
        # and OK ends the run with the report's exit code.
        ini = dialog_ini(buttons=[("&Missing", "missing.exe"), ("&Works", "probe.exe /second")])
        first, second = FIRST_BUTTON_ID, FIRST_BUTTON_ID + 1
        run = run_launcher(wine, new_disc(wine, ini), actions=[
            "hold-boxes", "click:%d" % first, "wait-box", "click:%d" % second, "observe", "answer-boxes"])
        self.assertEqual(run.exit_code, harness.EXIT_START_FAILED, run)
        self.assertEqual(len(run.message_boxes), 1, run)
        box = run.message_boxes[0]
        self.assertIn('Command line: "missing.exe"', box["text"].splitlines(), run)
        self.assertTrue(box["owned_by_window"], run)
        self.assertTrue(all(step["ok"] for step in run.steps), run)
        # The second click arrived while the report was up, under a disabled window.
        self.assertTrue(run.steps[4]["window_exists"], run)
        self.assertFalse(run.steps[4]["window"]["flags"]["enabled"], run)
        self.assertEqual(wine.take_probe_log(), [])
        self.assertEqual(run.started_programs, 0, run)

    def test_tab_moves_over_the_visible_buttons_only(self):
        ini = dialog_ini(buttons=buttons(3))
        run = run_launcher(wine, new_disc(wine, ini), actions=["key:tab", "key:tab", "key:tab", "key:shift+tab",
                                                               "close"])
        self.assertEqual([step["focus"]["id"] for step in run.steps[:4]], [101, 102, 100, 102])


class PaintingTest(unittest.TestCase):
    def test_picture_at_the_origin_and_colour_beyond_it(self):
        # Inside the marker, inside the picture, right of it, below it.
        points = [(2, 2), (60, 40), (300, 20), (60, 200)]
        # The PNG's marker is half-transparent red over the blue background.
        half = [128, 0, 127]
        cases = [("splash.bmp", RED), ("splash.jpg", RED), ("splash.gif", RED), ("splash.png", half),
                 ("splash.emf", [0, 128, 255]), ("splash.wmf", [0, 128, 255])]
        for picture, origin in cases:
            with self.subTest(picture):
                disc = new_disc(wine, dialog_ini(picture=picture), files=[picture])
                run = run_launcher(wine, disc, pixels=points)
                colours = [p["rgb"] for p in run.window["pixels"]]
                inside = GREEN if picture.endswith(("bmp", "jpg", "gif", "png")) else origin
                expected = [origin, inside, BLUE, BLUE]
                for point, got, want in zip(points, colours, expected):
                    # JPEG is lossy: a few steps either way.
                    self.assertTrue(all(abs(g - w) <= 6 for g, w in zip(got, want)),
                                    "%s at %s: %s, expected %s" % (picture, point, got, want))

    def test_background_colours(self):
        cases = [("47,31,107", [47, 31, 107]), ("&H00FF8000", [0, 128, 255]), (None, [0, 0, 0])]
        for back_color, rgb in cases:
            with self.subTest(back_color):
                run = run_launcher(wine, new_disc(wine, dialog_ini(back_color=back_color)), pixels=[(400, 200)])
                self.assertEqual(run.window["pixels"][0]["rgb"], rgb)


class SetupReportTest(unittest.TestCase):
    def assert_one_box(self, run, exit_code):
        self.assertEqual(run.exit_code, exit_code, run)
        self.assertIsNone(run.window, run)
        self.assertEqual(len(run.message_boxes), 1, run)
        self.assertEqual(run.started_programs, 0)
        return run.message_boxes[0]["text"]

    def test_missing_picture_messages(self):
        for picture, text in [("gone.bmp", "gone.bmp"), (None, "False")]:
            with self.subTest(picture):
                ini = dialog_ini(buttons=buttons(2)).replace("Picture=splash.bmp\r\n",
                                                             "Picture=%s\r\n" % picture if picture else "")
                run = run_launcher(wine, new_disc(wine, ini, files=()))
                box = self.assert_one_box(run, harness.EXIT_PICTURE_MISSING)
                self.assertEqual(box, "Couldn't find splash screen picture - " + text)

    def test_reports(self):
        cases = [
            ("colour of two components", dialog_ini(back_color="255,0"), harness.EXIT_COLOR_COMPONENTS,
             ["[DIALOG] BackColor", '"255,0"']),
            ("file that is no picture", dialog_ini(picture="not-a-picture.png"), harness.EXIT_PICTURE_UNREADABLE,
             ["[DIALOG] Picture", '"not-a-picture.png"']),
            ("file that is no icon", dialog_ini(icon="not-an-icon.ico"), harness.EXIT_ICON_UNREADABLE,
             ["[DIALOG] Icon", '"not-an-icon.ico"']),
        ]
        files = ["splash.bmp", "not-a-picture.png", "not-an-icon.ico"]
        for name, ini, exit_code, parts in cases:
            with self.subTest(name):
                text = self.assert_one_box(run_launcher(wine, new_disc(wine, ini, files=files)), exit_code)
                self.assertTrue(text.startswith("Run-time error %d:" % exit_code), text)
                for part in parts:
                    self.assertIn(part, text)

    def test_missing_icon_keeps_the_built_in_one_silently(self):
        run = run_launcher(wine, new_disc(wine, dialog_ini(icon="gone.ico")))
        self.assertEqual(run.message_boxes, [])
        self.assertIsNotNone(run.window)


class IconTest(unittest.TestCase):
    def test_configured_icon_becomes_the_windows_icon(self):
        disc = new_disc(wine, dialog_ini(icon="blue.ico", caption="Icon Test"), files=["splash.bmp", "blue.ico"])
        # The window stays until the icon has been read (or given up on).
        done = disc.file("icon-read")
        result = {}
        runner = threading.Thread(target=lambda: result.update(
            run=run_launcher(wine, disc, actions=["wait-file:" + harness.win_path(done), "close"])))
        runner.start()
        try:
            icon = x_window_icon(wine, "Icon Test")
        finally:
            open(done, "w").close()
            runner.join()
        self.assertEqual(result["run"].exit_code, 0, result["run"])
        self.assertIsNotNone(icon, "no _NET_WM_ICON on the window")
        width, height, pixels = icon
        self.assertIn((width, height), [(16, 16), (32, 32)])
        self.assertTrue(pixels and all(p == 0xFF0000FF for p in pixels), pixels[:8])


if __name__ == "__main__":
    unittest.main()
