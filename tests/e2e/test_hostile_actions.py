"""Actions that cannot start: a program that does not exist, a folder, a
document no program is associated with, quoted and unquoted paths with
spaces (missing and present). Each failure names the command line and the
system's reason."""

import unittest

import harness
from test_hostile_files import TEXT, Case, run_table

wine = None


setUpModule, tearDownModule = harness.module_fixtures(globals())


def fails_because(*errors):
    def check(test, run):
        lines = run.message_boxes[0]["text"].splitlines()
        reasons = [line for line in lines if line.startswith("Windows says: ")]
        test.assertEqual(len(reasons), 1, lines)
        test.assertRegex(reasons[0], r"^Windows says: \S.* \(error (%s)\)$" % "|".join(map(str, errors)))
    return check


def argv_is(*expected):
    def check(test, run, records):
        test.assertEqual(records[0]["argv"][1:], list(expected), records)
    return check


def cannot_start(name, action, errors, files=None):
    return Case(name, harness.direct_launch_ini(action), files, harness.EXIT_START_FAILED,
                ['Command line: "%s"' % action, "From: [DIALOG] DefaultAction in {root}launcher.ini"],
                check=fails_because(*errors))


ERROR_FILE_NOT_FOUND = 2
ERROR_PATH_NOT_FOUND = 3
# Windows has no program for the document; Wine tries to run it as one.
NO_PROGRAM_FOR_DOCUMENT = (1155, 193)

CASES = [
    cannot_start("a program that does not exist", "nothere.exe /x", [ERROR_FILE_NOT_FOUND]),
    cannot_start("a quoted path with spaces that does not exist", '"no such dir\\setup.exe" /S',
                 [ERROR_PATH_NOT_FOUND]),
    cannot_start("an unquoted path with spaces that does not exist", "no such dir\\setup.exe /S",
                 [ERROR_FILE_NOT_FOUND]),
    cannot_start("a document with no associated program", "readme.nothing", NO_PROGRAM_FOR_DOCUMENT,
                 {"readme.nothing": TEXT}),
    Case("a quoted path with spaces", harness.direct_launch_ini('"my dir\\probe.exe" A'), exit_code=0, probe="my dir/probe.exe",
         check=argv_is("A")),
    Case("an unquoted path with spaces", harness.direct_launch_ini("my dir\\probe.exe A"), exit_code=0, probe="my dir/probe.exe",
         check=argv_is("A")),
]


class HostileActionTest(unittest.TestCase):
    def test_hostile_actions(self):
        run_table(self, wine, CASES)

    def test_a_folder_as_the_action_opens_it(self):
        # The shell opens a folder in a file window: that window is the one
        # program started, and the launcher ends at once without a message.
        disc = wine.new_disc()
        Case("folder", harness.direct_launch_ini("tools"), {"tools": None}).build(disc)
        run = wine.run(disc.win_file("launcher.exe"), cwd=disc.win, children_ms=1000)
        self.assertEqual(run.exit_code, 0, run)
        self.assertEqual(run.message_boxes, [], run)
        self.assertEqual(run.started_programs, 1, run)
        # The driver names it, and the launcher as the one that started it.
        started = [(p["image"].lower(), p["parent_pid"]) for p in run.job_processes if p["pid"] != run.raw["pid"]]
        self.assertEqual(started, [("explorer.exe", run.raw["pid"])], run)

if __name__ == "__main__":
    unittest.main()
