"""Start-up, the configuration file and direct launch, on the real exe under Wine."""

import unittest

import harness
from harness import APP_TITLE, LAUNCHER_NAME

INI_NAME = LAUNCHER_NAME + ".ini"
MISSING_INI_TAIL = " doesn't exist. INI filename must be the same as EXE filename."

wine = None


def setUpModule():
    global wine
    wine = harness.Session(__name__)


def tearDownModule():
    if wine:
        wine.close()


def direct_launch(action, show="False"):
    return "[DIALOG]\r\nShow=%s\r\nDefaultAction=%s\r\n" % (show, action)


class StartupTest(unittest.TestCase):
    def new_disc(self, ini=None, probe="probe.exe"):
        disc = wine.new_disc()
        if ini is not None:
            disc.write_ini(ini)
        if probe:
            disc.add_probe(probe)
        return disc

    def run_launcher(self, disc, exe_name=LAUNCHER_NAME + ".exe", cwd=None):
        exe = disc.add_launcher(exe_name)
        wine.take_probe_log()
        return wine.run(exe, cwd=cwd or disc.win)

    def assert_only_box(self, run, exit_code):
        self.assertEqual(run.exit_code, exit_code, run)
        self.assertEqual(len(run.message_boxes), 1, run)
        box = run.message_boxes[0]
        self.assertEqual(box["title"], APP_TITLE)
        self.assertTrue(box["has_icon"], box)
        self.assertEqual([b["text"].replace("&", "") for b in box["buttons"]], ["OK"])
        self.assertEqual(run.started_programs, 0, run)
        return box["text"]

    def assert_started_once(self, run):
        self.assertEqual(run.exit_code, 0, run)
        self.assertEqual(run.message_boxes, [], run)
        records = wine.take_probe_log()
        self.assertEqual(len(records), 1, records)
        return records[0]


class MissingIniTest(StartupTest):
    def test_message_names_the_full_path_and_exit_code_is_1(self):
        disc = self.new_disc()
        run = self.run_launcher(disc)
        text = self.assert_only_box(run, harness.EXIT_INI_MISSING)
        self.assertEqual(text, disc.win + "\\" + INI_NAME + MISSING_INI_TAIL)

    def test_ini_is_looked_for_in_the_current_directory_not_beside_the_exe(self):
        disc = self.new_disc(ini=direct_launch("probe.exe"))
        elsewhere = wine.new_disc()
        run = self.run_launcher(disc, cwd=elsewhere.win)
        text = self.assert_only_box(run, harness.EXIT_INI_MISSING)
        self.assertEqual(text, elsewhere.win + "\\" + INI_NAME + MISSING_INI_TAIL)

    def test_drive_root_path_keeps_its_doubled_backslash(self):
        disc = self.new_disc()
        root = wine.map_drive("r", disc.path)
        try:
            run = wine.run(disc.add_launcher(), cwd=root)
        finally:
            wine.unmap_drive("r")
        text = self.assert_only_box(run, harness.EXIT_INI_MISSING)
        self.assertEqual(text, "R:\\\\" + INI_NAME + MISSING_INI_TAIL)


class DirectLaunchTest(StartupTest):
    def test_arguments_arrive_unchanged_in_the_disc_folder(self):
        cases = [
            ("setup.exe", "setup.exe /Lang=DE Mixed-Case", ["/Lang=DE", "Mixed-Case"]),
            ("Setup.EXE", "Setup.EXE /S", ["/S"]),
            ("setup.exe", 'setup.exe "two words" X', ["two words", "X"]),
            ("setup.exe", "setup.exe", []),
        ]
        for probe, action, args in cases:
            with self.subTest(action=action):
                disc = self.new_disc(ini=direct_launch(action), probe=probe)
                record = self.assert_started_once(self.run_launcher(disc))
                self.assertEqual(record["argv"][1:], args)
                self.assertEqual(record["cwd"], disc.win)
                self.assertEqual(record["module"].lower(), disc.win_file(probe).lower())

    def test_exit_keyword_in_any_case_starts_nothing(self):
        for action in ["EXIT", "exit", "Exit"]:
            with self.subTest(action=action):
                disc = self.new_disc(ini=direct_launch(action))
                run = self.run_launcher(disc)
                self.assertEqual(run.exit_code, 0, run)
                self.assertEqual(run.message_boxes, [])
                self.assertEqual(run.started_programs, 0, run)
                self.assertEqual(wine.take_probe_log(), [])

    def test_false_and_zero_choose_direct_launch(self):
        for show in ["False", "false", "0", " FALSE "]:
            with self.subTest(show=show):
                disc = self.new_disc(ini=direct_launch("probe.exe X", show=show))
                self.assertEqual(self.assert_started_once(self.run_launcher(disc))["argv"][1:], ["X"])

    def test_lower_case_section_and_keys_are_found(self):
        disc = self.new_disc(ini="[dialog]\r\nshow=false\r\ndefaultaction=probe.exe Lower\r\n")
        self.assertEqual(self.assert_started_once(self.run_launcher(disc))["argv"][1:], ["Lower"])

    def test_from_a_drive_root(self):
        disc = self.new_disc(ini=direct_launch("probe.exe Root"))
        root = wine.map_drive("r", disc.path)
        try:
            wine.take_probe_log()
            run = wine.run(disc.add_launcher(), cwd=root)
        finally:
            wine.unmap_drive("r")
        record = self.assert_started_once(run)
        self.assertEqual(record["argv"][1:], ["Root"])
        self.assertEqual(record["cwd"], "R:\\")


if __name__ == "__main__":
    unittest.main()
