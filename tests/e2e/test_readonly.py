"""Every hostile case again, from a read-only disc: the folder tree without
write permission, on a Wine drive marked as a CD-ROM. Everything must end
the same, the disc's listing (names, sizes, times, modes) must not change,
no temporary file may appear and no registry value of ours may be written."""

import os
import re
import stat
import unittest

import harness
import test_hostile_actions
import test_hostile_files
import test_hostile_ini
from test_hostile_files import check_case

CASES = (test_hostile_files.PICTURE_CASES + test_hostile_files.ICON_CASES + test_hostile_ini.CASES
         + test_hostile_actions.CASES)
DRIVE = "d"

wine = None


def setUpModule():
    global wine
    wine = harness.Session(__name__, registry=[(r"HKLM\Software\Wine\Drives", DRIVE + ":", "REG_SZ", "cdrom")])


def tearDownModule():
    if wine:
        wine.close()


def listing(root):
    entries = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            entries[os.path.relpath(path, root)] = (info.st_size, info.st_mtime_ns, info.st_ctime_ns, info.st_mode)
    return entries


def set_writable(root, writable):
    for folder, dirs, files in os.walk(root):
        for path in [folder] + [os.path.join(folder, name) for name in files]:
            mode = os.lstat(path).st_mode
            os.chmod(path, mode | stat.S_IWUSR if writable else mode & ~(stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH))


# Wine stamps every key it saves with the time; the values are what count.
_KEY_TIME = re.compile(r"^(\[.*\]) \d+$")


def registry(prefix):
    values = {}
    for name in ("system.reg", "user.reg", "userdef.reg"):
        with open(os.path.join(prefix, name), encoding="utf-8", errors="replace") as f:
            lines = [_KEY_TIME.sub(r"\1", line.rstrip("\n")) for line in f if not line.startswith("#time=")]
        values[name] = lines
    return values


def temp_files(prefix):
    found = set()
    for folder in ("drive_c/windows/temp", "drive_c/users"):
        for root, _, files in os.walk(os.path.join(prefix, folder)):
            if folder.endswith("users") and "temp" not in root.lower():
                continue
            found.update(os.path.join(root, name) for name in files)
    return found


class ReadOnlyDiscTest(unittest.TestCase):
    def test_every_hostile_case_from_a_read_only_cd_rom(self):
        for case in CASES:
            with self.subTest(case.name):
                disc = wine.new_disc()
                case.build(disc)
                set_writable(disc.path, False)
                root = wine.map_drive(DRIVE, disc.path)
                try:
                    # Settle Wine's own registry saves before the snapshot.
                    before = (listing(disc.path), registry(wine.prefix), temp_files(wine.prefix))
                    wine.take_probe_log()
                    run = wine.run(root + harness.LAUNCHER_NAME + ".exe", cwd=root, timeout_ms=8000)
                    check_case(self, wine, case, run, root + "\\")
                    self.assertEqual(listing(disc.path), before[0])
                    self.assertEqual(temp_files(wine.prefix), before[2])
                    after = registry(wine.prefix)
                    for name in after:
                        added = sorted(set(after[name]) - set(before[1][name]))
                        self.assertEqual(added, [], name)
                finally:
                    wine.unmap_drive(DRIVE)
                    set_writable(disc.path, True)


if __name__ == "__main__":
    unittest.main()
