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
registry_before = None


def setUpModule():
    global wine, registry_before
    wine = harness.Session(__name__)
    wine.wine(["reg", "add", r"HKLM\Software\Wine\Drives", "/v", DRIVE + ":", "/t", "REG_SZ", "/d", "cdrom", "/f"])
    wine.save_registry()
    registry_before = registry(wine.prefix)


def tearDownModule():
    if wine:
        wine.close()


# Keys Wine writes by itself, with or without the launcher. Seen: the driver
# date its device manager records for the display each time a session
# starts (under Control\Class). The device manager's other keys, the mount
# manager's drives and Wine's own settings change the same way.
WINE_OWN_KEYS = (
    r"system\currentcontrolset\control\class",
    r"system\currentcontrolset\control\deviceclasses",
    r"system\currentcontrolset\enum",
    r"system\mounteddevices",
    r"software\wine",
)
_KEY_LINE = re.compile(r"^\[(.*)\]( \d+)?$")


def wine_own(key):
    key = key.lower().replace("\\\\", "\\")
    return any(key == own or key.startswith(own + "\\") for own in WINE_OWN_KEYS)


def registry(prefix):
    """{(file, key): set of value lines}, without the time stamps Wine puts
    on every key it saves."""
    values = {}
    for name in ("system.reg", "user.reg", "userdef.reg"):
        key = None
        with open(os.path.join(prefix, name), encoding="utf-8", errors="replace") as f:
            for line in f:
                line = line.rstrip("\n")
                match = _KEY_LINE.match(line)
                if match:
                    key = (name, match.group(1))
                    values[key] = set()
                elif key and line and not line.startswith("#"):
                    values[key].add(line)
    return values


def registry_changes(before, after):
    """Keys and values that are new or changed, outside Wine's own keys."""
    changes = []
    for key, lines in sorted(after.items()):
        if wine_own(key[1]):
            continue
        new = sorted(lines - before.get(key, set()))
        if key not in before or new:
            changes.append((key, new))
    return changes


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
                harness.set_writable(disc.path, False)
                root = wine.map_drive(DRIVE, disc.path)
                try:
                    before = (harness.listing(disc.path), temp_files(wine.prefix))
                    wine.take_probe_log()
                    run = wine.run(root + harness.LAUNCHER_NAME + ".exe", cwd=root)
                    check_case(self, wine, case, run, root + "\\")
                    self.assertEqual(harness.listing(disc.path), before[0])
                    self.assertEqual(temp_files(wine.prefix), before[1])
                finally:
                    wine.unmap_drive(DRIVE)
                    harness.set_writable(disc.path, True)
        # Wine writes the registry to its files only now and then while it
        # runs: compare what it holds after every case with what it held
        # before the first, both written out in full.
        wine.save_registry()
        self.assertEqual(registry_changes(registry_before, registry(wine.prefix)), [])


if __name__ == "__main__":
    unittest.main()
