"""Hostile INI files: a folder in its place, binary garbage, a 4 MiB file and
one past the 16 MiB the launcher reads, values at and past the longest
accepted length, UTF-16 with non-ASCII text, lines without an equals sign,
duplicate sections and keys."""

import random
import unittest

import harness
from test_hostile_files import GOOD_PICTURE, INI_NAME, Case, run_table

wine = None


setUpModule, tearDownModule = harness.module_fixtures(globals())


def argv_is(*expected):
    def check(test, run, records):
        test.assertEqual(records[0]["argv"][1:], list(expected), records)
    return check


def many_sections():
    lines = ["[SECTION%06d]\r\nShow=True\r\nCaption=Filler text to make the file large\r\n" % i
             for i in range(60000)]
    data = "".join(lines) + harness.direct_launch_ini("exit")
    assert len(data) > 4 << 20
    return data.encode("ascii")


def garbage():
    noise = random.Random(20240607)
    return bytes(noise.randrange(256) for _ in range(64 << 10)).replace(b"[", b"\0").replace(b"=", b"\0")


LONGEST = 32767
LONG_ACTION = "missing.exe " + "x" * (LONGEST - len("missing.exe "))
CAPTION = "Grüße – 日本語 ✓"
BUTTON_CAPTION = "Ünïcødé €"


def shows_unicode(test, run):
    test.assertEqual(run.window["title"], CAPTION, run)
    buttons = {control["id"]: control["text"] for control in run.window["controls"]}
    test.assertEqual(buttons.get(100), BUTTON_CAPTION, run)


UNICODE_INI = ("[DIALOG]\r\nShow=True\r\nPicture=splash.bmp\r\nCaption=%s\r\n[BUTTON1]\r\nShow=1\r\n"
               "Caption=%s\r\nAction=exit\r\n" % (CAPTION, BUTTON_CAPTION)).encode("utf-16")

CASES = [
    Case("a folder named like the INI", "", {INI_NAME: None}, harness.EXIT_INI_MISSING,
         ["{root}%s doesn't exist. INI filename must be the same as EXE filename." % INI_NAME]),
    # Nothing in it reads as a value: "Show" is false and the default action "False".
    Case("binary garbage", garbage(), exit_code=harness.EXIT_START_FAILED, lines=['Command line: "False"']),
    Case("4 MiB with 60000 sections", many_sections(), exit_code=0),
    Case("a value of the longest accepted length", harness.direct_launch_ini(LONG_ACTION), exit_code=harness.EXIT_START_FAILED,
         lines=['Command line: "%s..." (%d characters)' % (LONG_ACTION[:300], LONGEST)]),
    Case("a value one past the longest", harness.direct_launch_ini(LONG_ACTION + "x"), exit_code=harness.EXIT_VALUE_TOO_LONG,
         lines=["From: [DIALOG] DefaultAction in {root}" + INI_NAME]),
    Case("UTF-16 with a byte-order mark and non-ASCII captions", UNICODE_INI,
         GOOD_PICTURE, check=shows_unicode),
    Case("lines without an equals sign", "[DIALOG]\r\nShow\r\nShow True\r\nDefaultAction=probe.exe NoEquals\r\n",
         exit_code=0, probe="probe.exe", check=argv_is("NoEquals")),
    Case("duplicate keys: the first wins",
         harness.direct_launch_ini("probe.exe First") + "DefaultAction=probe.exe Second\r\n", exit_code=0, probe="probe.exe",
         check=argv_is("First")),
    Case("duplicate sections: the first one's key wins",
         harness.direct_launch_ini("probe.exe First") + harness.direct_launch_ini("probe.exe Second", show="True"), exit_code=0, probe="probe.exe",
         check=argv_is("First")),
    # The profile reader looks into the first section of a name only.
    Case("a key only in a second section of the same name",
         "[DIALOG]\r\nShow=False\r\n[DIALOG]\r\nDefaultAction=probe.exe Second\r\n",
         exit_code=harness.EXIT_START_FAILED, lines=['Command line: "False"']),
]


def past_the_largest():
    # The last line is a comment, so the file would read fine if it were read.
    return harness.direct_launch_ini("exit").encode("ascii") + b";" + b"x" * (16 << 20)


def names_the_size_limit(test, run):
    test.assertIn("(error 223)", run.message_boxes[0]["text"], run)


# Not repeated from the read-only drive: 16 MiB is a lot to copy for a check
# of the size alone.
LARGE_CASES = [
    Case("a file past 16 MiB", past_the_largest(), exit_code=harness.EXIT_INI_UNREADABLE,
         lines=['File: "{root}%s"' % INI_NAME], check=names_the_size_limit),
]


class HostileIniTest(unittest.TestCase):
    def test_hostile_ini_files(self):
        run_table(self, wine, CASES + LARGE_CASES)


if __name__ == "__main__":
    unittest.main()
