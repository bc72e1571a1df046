"""`make iso`'s script (scripts/make_iso.py): the checker decides first, and
on anything but a pass no image is written; a written image holds every file
of the disc under its own name for Windows (Joliet) and for Unix (Rock Ridge)
with the volume label; and the launcher starts from the image's tree on a
CD-ROM drive. A stand-in checker (a script that logs its arguments and ends
with the exit status it is given) shows how each verdict is taken; the real
one (LAUNCHER_CHECK) passes a sound disc and stops a faulty one."""

import filecmp
import os
import shlex
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

import harness

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
MAKE_ISO = os.path.join(ROOT, "scripts", "make_iso.py")
EXAMPLE = os.path.join(ROOT, "example")
DRIVE = "d"
# Joliet's longest name.
LONG_NAME = "L" * 60 + ".txt"

setUpModule, tearDownModule = harness.module_fixtures(globals())
wine = None


def stand_in_checker(folder, status):
    """A checker that logs its arguments, one a line, prints a finding and
    ends with status."""
    path = os.path.join(folder, "checker-%d" % status)
    with open(path, "w", encoding="utf-8") as f:
        f.write('#!/bin/sh\nprintf "%%s\\n" "$@" >> "$0.log"\necho "launcher.ini:3: warning: a finding"\n'
                "exit %d\n" % status)
    os.chmod(path, 0o755)
    return path


def checker_log(checker):
    try:
        with open(checker + ".log", encoding="utf-8") as f:
            return f.read().splitlines()
    except FileNotFoundError:
        return None


def make_iso(checker, disc, label, out, name=None):
    command = [sys.executable, MAKE_ISO, "--checker", checker, "--disc", disc, "--label", label, "--out", out]
    if name:
        command += ["--name", name]
    # A C locale: names beyond ASCII must come through all the same.
    env = dict(os.environ, LANG="C", LC_ALL="C")
    return subprocess.run(command, capture_output=True, text=True, env=env, timeout=300)


def disc_files(root):
    return sorted(os.path.relpath(os.path.join(folder, name), root)
                  for folder, _, files in os.walk(root) for name in files)


def image_files(image, tree):
    """The image's file names as one tree shows them: "any" (Rock Ridge
    first) or "norock" (Joliet, what Windows reads)."""
    listed = subprocess.run(["xorriso", "-read_fs", tree, "-indev", image, "-find", "/", "-type", "f"],
                            capture_output=True, text=True, timeout=60, check=True).stdout
    return sorted(shlex.split(line)[0][1:] for line in listed.splitlines() if line.startswith("'"))


def image_label(image):
    info = subprocess.run(["xorriso", "-indev", image, "-pvd_info"], capture_output=True, text=True,
                          timeout=60, check=True).stdout
    return [line.split(":", 1)[1].strip() for line in info.splitlines() if line.startswith("Volume Id")][0]


def example_disc(root):
    """The example disc with its launcher, and names that test the trees."""
    disc = os.path.join(root, "disc")
    shutil.copytree(EXAMPLE, disc)
    shutil.copyfile(harness.LAUNCHER_EXE, os.path.join(disc, harness.LAUNCHER_NAME + ".exe"))
    if harness.LAUNCHER_NAME != "launcher":
        os.rename(os.path.join(disc, "launcher.ini"), os.path.join(disc, harness.LAUNCHER_NAME + ".ini"))
    os.makedirs(os.path.join(disc, "Extras", "Größe & Maße"))
    for name in [os.path.join("Extras", "Größe & Maße", "Read Me.txt"), LONG_NAME, ".hidden"]:
        with open(os.path.join(disc, name), "w", encoding="utf-8") as f:
            f.write(name)
    return disc


class IsoTest(unittest.TestCase):
    def setUp(self):
        self.root = os.path.abspath(tempfile.mkdtemp(dir=wine.root))

    def tearDown(self):
        harness.set_writable(self.root, True)
        shutil.rmtree(self.root)

    def test_image_holds_every_file_under_both_trees_and_the_launcher_starts_from_it(self):
        disc = example_disc(self.root)
        checker = stand_in_checker(self.root, 0)
        out = os.path.join(self.root, "dist")
        result = make_iso(checker, disc, "EXAMPLE_SETUP_2", out)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        image = os.path.join(out, "EXAMPLE_SETUP_2.iso")
        self.assertEqual(result.stdout.splitlines()[-1], image)
        self.assertIn("warning: a finding", result.stdout)
        self.assertEqual(checker_log(checker), [disc])
        self.assertEqual(os.listdir(out), ["EXAMPLE_SETUP_2.iso"])

        self.assertEqual(image_label(image), "EXAMPLE_SETUP_2")
        names = disc_files(disc)
        self.assertIn(os.path.join("Extras", "Größe & Maße", "Read Me.txt"), names)
        self.assertEqual(image_files(image, "any"), names)
        self.assertEqual(image_files(image, "norock"), names)

        tree = os.path.join(self.root, "extracted")
        subprocess.run(["osirrox", "-indev", image, "-extract", "/", tree], capture_output=True, timeout=120,
                       check=True)
        self.assertEqual(disc_files(tree), names)
        self.assertEqual(filecmp.cmpfiles(disc, tree, names, shallow=False)[1:], ([], []))
        # Rock Ridge keeps a disc's files read-only for everyone.
        mode = os.stat(os.path.join(tree, harness.LAUNCHER_NAME + ".exe")).st_mode
        self.assertEqual(mode & (stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH), 0)

        wine.wine(["reg", "add", r"HKLM\Software\Wine\Drives", "/v", DRIVE + ":", "/t", "REG_SZ",
                   "/d", "cdrom", "/f"])
        drive = wine.map_drive(DRIVE, tree)
        try:
            run = wine.run(drive + harness.LAUNCHER_NAME + ".exe", cwd=drive)
        finally:
            wine.unmap_drive(DRIVE)
        self.assertEqual(run.message_boxes, [], run)
        self.assertIsNotNone(run.window, run)
        self.assertEqual(run.window["title"], "Example Setup")
        self.assertEqual([c["text"] for c in run.window["controls"] if c["visible"]],
                         ["&Install", "&Read me", "E&xit"])

    def test_nothing_is_written_unless_the_checker_passes(self):
        disc = example_disc(self.root)
        for status, expected_status, says in [(1, 1, "found errors"), (2, 2, "could not check"),
                                              (3, 2, "could not check")]:
            with self.subTest(checker_status=status):
                checker = stand_in_checker(self.root, status)
                out = os.path.join(self.root, "dist-%d" % status)
                result = make_iso(checker, disc, "SETUP", out, name="autorun")
                self.assertEqual(result.returncode, expected_status, result.stdout + result.stderr)
                self.assertIn(says, result.stderr)
                self.assertIn("warning: a finding", result.stdout)
                self.assertEqual(checker_log(checker), ["--name", "autorun", disc])
                self.assertFalse(os.path.exists(out))

        with self.subTest("no checker"):
            result = make_iso(os.path.join(self.root, "absent"), disc, "SETUP", os.path.join(self.root, "dist"))
            self.assertEqual(result.returncode, 2, result.stderr)
            self.assertIn("cannot run the checker", result.stderr)
            self.assertFalse(os.path.exists(os.path.join(self.root, "dist")))

    def test_the_real_checker_lets_a_sound_disc_through_and_stops_a_faulty_one(self):
        checker = os.environ.get("LAUNCHER_CHECK", "")
        self.assertTrue(os.path.isfile(checker), "LAUNCHER_CHECK names no checker: %r" % checker)
        disc = example_disc(self.root)
        out = os.path.join(self.root, "dist")
        result = make_iso(checker, disc, "SOUND", out)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(os.listdir(out), ["SOUND.iso"])

        ini = os.path.join(disc, harness.LAUNCHER_NAME + ".ini")
        with open(ini, encoding="latin-1") as f:
            text = f.read()
        with open(ini, "w", encoding="latin-1") as f:
            f.write(text.replace("Picture=splash.bmp", "Picture=splash.png"))
        result = make_iso(checker, disc, "FAULTY", out)
        self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
        self.assertIn("(exit code %d)" % harness.EXIT_PICTURE_MISSING, result.stdout)
        self.assertEqual(os.listdir(out), ["SOUND.iso"])

    def test_wrong_labels_and_places_are_refused_before_the_checker_runs(self):
        disc = example_disc(self.root)
        checker = stand_in_checker(self.root, 0)
        cases = [("", "a label is needed"), ("setup", "capital letters"), ("MY SETUP", "' '"),
                 ("SETUP-2", "'-'"), ("GRÖSSE", "'Ö'"), ("../SETUP", "'.' '/'"), ("S" * 33, "at most 32")]
        for label, says in cases:
            with self.subTest(label=label):
                out = os.path.join(self.root, "dist")
                result = make_iso(checker, disc, label, out)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertIn(says, result.stderr)
                self.assertFalse(os.path.exists(out))
        with self.subTest("image inside the disc"):
            result = make_iso(checker, disc, "SETUP", os.path.join(disc, "dist"))
            self.assertEqual(result.returncode, 2, result.stderr)
            self.assertFalse(os.path.exists(os.path.join(disc, "dist")))
        self.assertIsNone(checker_log(checker))

        # The longest label is taken, with a word on what Windows shows of it.
        result = make_iso(checker, disc, "S" * 32, os.path.join(self.root, "dist"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(image_label(result.stdout.splitlines()[-1]), "S" * 32)
        self.assertIn("first 16 characters", result.stderr)


if __name__ == "__main__":
    unittest.main()
