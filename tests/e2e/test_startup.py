"""Start-up, the configuration file and direct launch, on the real exe under Wine."""

import unittest

import harness
from harness import APP_TITLE, LAUNCHER_NAME

INI_NAME = LAUNCHER_NAME + ".ini"
MISSING_INI_TAIL = " doesn't exist. INI filename must be the same as EXE filename."

wine = None


setUpModule, tearDownModule = harness.module_fixtures(globals())


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
        disc = self.new_disc(ini=harness.direct_launch_ini("probe.exe"))
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
                disc = self.new_disc(ini=harness.direct_launch_ini(action), probe=probe)
                record = self.assert_started_once(self.run_launcher(disc))
                self.assertEqual(record["argv"][1:], args)
                self.assertEqual(record["cwd"], disc.win)
                self.assertEqual(record["module"].lower(), disc.win_file(probe).lower())

    def test_exit_keyword_in_any_case_starts_nothing(self):
        for action in ["EXIT", "exit", "Exit"]:
            with self.subTest(action=action):
                disc = self.new_disc(ini=harness.direct_launch_ini(action))
                run = self.run_launcher(disc)
                self.assertEqual(run.exit_code, 0, run)
                self.assertEqual(run.message_boxes, [])
                self.assertEqual(run.started_programs, 0, run)
                self.assertEqual(wine.take_probe_log(), [])

    def test_false_and_zero_choose_direct_launch(self):
        for show in ["False", "false", "0", " FALSE "]:
            with self.subTest(show=show):
                disc = self.new_disc(ini=harness.direct_launch_ini("probe.exe X", show=show))
                self.assertEqual(self.assert_started_once(self.run_launcher(disc))["argv"][1:], ["X"])

    def test_lower_case_section_and_keys_are_found(self):
        disc = self.new_disc(ini="[dialog]\r\nshow=false\r\ndefaultaction=probe.exe Lower\r\n")
        self.assertEqual(self.assert_started_once(self.run_launcher(disc))["argv"][1:], ["Lower"])

    def test_from_a_drive_root(self):
        disc = self.new_disc(ini=harness.direct_launch_ini("probe.exe Root"))
        root = wine.map_drive("r", disc.path)
        try:
            wine.take_probe_log()
            run = wine.run(disc.add_launcher(), cwd=root)
        finally:
            wine.unmap_drive("r")
        record = self.assert_started_once(run)
        self.assertEqual(record["argv"][1:], ["Root"])
        self.assertEqual(record["cwd"], "R:\\")


class WhichIniTest(StartupTest):
    def test_a_renamed_exe_reads_the_ini_of_its_own_name_only(self):
        disc = self.new_disc(ini=harness.direct_launch_ini("probe.exe Launcher"))
        disc.write_ini(harness.direct_launch_ini("probe.exe Autorun"), name="Autorun.ini")
        record = self.assert_started_once(self.run_launcher(disc, exe_name="Autorun.exe"))
        self.assertEqual(record["argv"][1:], ["Autorun"])

    def test_a_renamed_exe_without_its_ini_names_the_ini_it_wanted(self):
        disc = self.new_disc(ini=harness.direct_launch_ini("probe.exe Launcher"))
        run = self.run_launcher(disc, exe_name="autorun.exe")
        text = self.assert_only_box(run, harness.EXIT_INI_MISSING)
        self.assertEqual(text, disc.win + "\\autorun.ini" + MISSING_INI_TAIL)

    def test_unicode_and_ansi_ini_files(self):
        for encoding in ["utf-16", "cp1252"]:
            with self.subTest(encoding=encoding):
                disc = wine.new_disc()
                disc.add_probe()
                disc.write_ini(harness.direct_launch_ini("probe.exe Grüße"), encoding=encoding)
                self.assertEqual(self.assert_started_once(self.run_launcher(disc))["argv"][1:], ["Grüße"])


class ProgramPathTest(StartupTest):
    def test_program_paths_with_spaces(self):
        cases = [
            ('"my tool.exe" --Flag', "my tool.exe", ["--Flag"]),
            ("my tool.exe --Flag", "my tool.exe", ["--Flag"]),
            # Not ending in a quote: the profile reader drops quotes that
            # enclose the whole value.
            ('"Tools Dir\\my tool.exe" "b c" D', "Tools Dir/my tool.exe", ["b c", "D"]),
            ("Tools Dir\\my tool.exe A", "Tools Dir/my tool.exe", ["A"]),
            # Starting and ending in a quote: one more pair around the value.
            ('""Tools Dir\\my tool.exe" /log "My Logs""', "Tools Dir/my tool.exe", ["/log", "My Logs"]),
        ]
        for action, probe, args in cases:
            with self.subTest(action=action):
                disc = self.new_disc(ini=harness.direct_launch_ini(action), probe=probe)
                record = self.assert_started_once(self.run_launcher(disc))
                self.assertEqual(record["argv"][1:], args)
                self.assertEqual(record["module"].lower(), disc.win_file(probe).replace("/", "\\").lower())
                self.assertEqual(record["cwd"], disc.win)

    def test_a_300_character_command_line_arrives_whole(self):
        args = " ".join("Arg%03d" % i for i in range(37))
        action = "probe.exe " + args
        action += " " + "X" * (300 - len(action) - 1)
        self.assertEqual(len(action), 300)
        disc = self.new_disc(ini=harness.direct_launch_ini(action))
        record = self.assert_started_once(self.run_launcher(disc))
        self.assertEqual(record["command_line"].split(" ", 1)[1], action.split(" ", 1)[1])
        self.assertEqual(" ".join(record["argv"][1:]), action.split(" ", 1)[1])


class ErrorReportTest(StartupTest):
    def report(self, ini, exit_code):
        disc = self.new_disc(ini=ini)
        text = self.assert_only_box(self.run_launcher(disc), exit_code)
        self.assertEqual(wine.take_probe_log(), [])
        return disc, text.splitlines()

    def test_missing_show_and_default_action_start_false_which_fails(self):
        cases = {
            "empty file": "",
            "no DIALOG section": "[BUTTON1]\r\nShow=True\r\n",
            "empty values": "[DIALOG]\r\nShow=\r\nDefaultAction=\r\n",
        }
        for name, ini in cases.items():
            with self.subTest(name):
                disc, lines = self.report(ini, harness.EXIT_START_FAILED)
                self.assertTrue(lines[0].startswith("Run-time error 20: "), lines)
                self.assertIn('Command line: "False"', lines)
                self.assertIn("From: [DIALOG] DefaultAction in %s\\%s" % (disc.win, INI_NAME), lines)
                windows_says = [line for line in lines if line.startswith("Windows says: ")]
                self.assertEqual(len(windows_says), 1, lines)
                self.assertRegex(windows_says[0], r"^Windows says: \S.* \(error 2\)$")

    def test_show_that_is_no_truth_value(self):
        for show in ["Maybe", "yes", "1a"]:
            with self.subTest(show=show):
                disc, lines = self.report(harness.direct_launch_ini("probe.exe", show=show), harness.EXIT_NOT_A_TRUTH_VALUE)
                self.assertTrue(lines[0].startswith("Run-time error 10: "), lines)
                self.assertIn('Value: "%s"' % show, lines)
                self.assertIn("From: [DIALOG] Show in %s\\%s" % (disc.win, INI_NAME), lines)

    def test_a_value_longer_than_a_command_line_is_reported_not_cut(self):
        disc, lines = self.report(harness.direct_launch_ini("probe.exe " + "x" * 40000), harness.EXIT_VALUE_TOO_LONG)
        self.assertTrue(lines[0].startswith("Run-time error 14: "), lines)
        self.assertIn("From: [DIALOG] DefaultAction in %s\\%s" % (disc.win, INI_NAME), lines)

    def test_failed_start_from_a_drive_root_names_the_doubled_backslash(self):
        disc = self.new_disc(ini=harness.direct_launch_ini("missing.exe /X"))
        root = wine.map_drive("r", disc.path)
        try:
            run = wine.run(disc.add_launcher(), cwd=root)
        finally:
            wine.unmap_drive("r")
        lines = self.assert_only_box(run, harness.EXIT_START_FAILED).splitlines()
        self.assertIn('Command line: "missing.exe /X"', lines)
        self.assertIn("From: [DIALOG] DefaultAction in R:\\\\" + INI_NAME, lines)


if __name__ == "__main__":
    unittest.main()
