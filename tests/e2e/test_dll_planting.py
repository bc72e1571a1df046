"""DLL planting: a DLL put beside the launcher on the disc (or in a download
folder) under the name of a system DLL must not be loaded by it.

tests/tools/planted_dll.dll logs every process that loads it. It is copied
into one disc folder under each name below, beside the launcher; the
launcher then runs in both modes there and must leave the log empty while
still doing its job. The control, tests/tools/unhardened_loader.exe, loads
the same names from the same folder with the default search order and must
be seen by every one of them: so the set-up can catch a planted load, and
a Wine that never loads native DLLs cannot make the test pass vacuously.
"""

import os
import unittest

import harness
import window_common
from window_common import FIRST_BUTTON_ID, dialog_ini

PLANTED_DLL = os.path.join(harness.X64_DIR, "tests", "tools", "planted_dll.dll")
CONTROL_EXE = os.path.join(harness.X64_DIR, "tests", "tools", "unhardened_loader.exe")

# Names the launcher, the system DLLs it uses or Windows itself look for at
# start-up, for a window, a picture, themes, DPI and starting a program.
PLANTED_NAMES = [
    "uxtheme.dll", "dwmapi.dll", "windowscodecs.dll", "cryptbase.dll",
    "propsys.dll", "comctl32.dll", "profapi.dll", "winmm.dll",
    "oleaut32.dll", "userenv.dll", "apphelp.dll", "ntmarta.dll", "sspicli.dll",
    "dbghelp.dll", "wtsapi32.dll",
]
# Also planted, but left at Wine's own load order (builtin first): Wine's
# builtin user32, advapi32, shell32 and shlwapi import these, so the loader
# resolves them while it loads the exe's imports, before any code of the
# program runs; native-first, they come from the exe's folder in any
# program (seen with WINEDEBUG=+module). Windows maps shlwapi, imm32 and
# shcore as known DLLs from System32, and its own DLLs that the launcher
# imports do not import version.dll.
LOADER_IMPORTED_NAMES = ["version.dll", "shlwapi.dll", "imm32.dll"]
# Not forced native-first: msimg32.dll. Wine's builtin uxtheme, loaded for
# the window's buttons, delay-loads it, and Wine resolves delay-loads
# without the process's DLL search path (WINEDEBUG=+module shows 'looking
# for msimg32.dll in (null)'). Windows applies the search path set by
# SetDefaultDllDirectories to every later load of the process, dependencies
# included, so this is Wine's gap, not one of the launcher's.
# Not planted: shcore.dll. Wine's builtin shlwapi, which its shell32 imports,
# imports shcore, and Wine's default order takes a native shcore from the
# exe's folder: any program importing shell32 loads it under Wine before
# its first instruction. On Windows shcore is a known DLL (or absent).

# The probe is started from a folder of its own: it does not protect itself,
# and beside the planted DLLs it would log loads that are not the launcher's.
PROBE = "tools\\probe.exe"

wine = None
disc = None


def setUpModule():
    global wine, disc
    wine = harness.Session(__name__)
    wine.plant_log = os.path.join(wine.root, "plant.log")
    wine.env["LAUNCHER_PLANT_LOG"] = harness.win_path(wine.plant_log)
    # Wine prefers its builtin DLL to a native one of the same name by
    # default for most system names, which would hide a planted DLL whatever
    # the launcher does. Native-first for every planted name, in the control
    # and the launcher's runs alike, makes the test stricter than Wine's
    # default: a planted DLL is then refused only if it is never searched
    # for in the launcher's folder.
    names = ",".join(os.path.splitext(name)[0] for name in PLANTED_NAMES)
    wine.env["WINEDLLOVERRIDES"] += ";%s=n,b" % names
    disc = window_common.new_disc(wine, dialog_ini(buttons=[("Install", PROBE)]))
    os.makedirs(disc.file("tools"))
    os.rename(disc.file("probe.exe"), disc.file(PROBE.replace("\\", "/")))
    for name in PLANTED_NAMES + LOADER_IMPORTED_NAMES:
        disc.add_file(PLANTED_DLL, name)


def tearDownModule():
    if wine:
        wine.close()


def take_plant_log():
    """(module, host exe) of each load so far; the log starts afresh."""
    if not os.path.exists(wine.plant_log):
        return []
    with open(wine.plant_log, encoding="utf-8") as f:
        loads = [tuple(line.rstrip("\n").split("|")) for line in f if line.strip()]
    os.remove(wine.plant_log)
    return loads


def planted_names(loads):
    return sorted(os.path.basename(module.replace("\\", "/")).lower() for module, _ in loads)


class DllPlantingTest(unittest.TestCase):
    def setUp(self):
        take_plant_log()
        wine.take_probe_log()

    def test_control_a_program_without_hardening_loads_every_planted_name(self):
        control = disc.add_file(CONTROL_EXE)
        try:
            failed = wine.wine([harness.win_path(control)] + PLANTED_NAMES)
        finally:
            os.remove(control)
        loads = take_plant_log()
        self.assertEqual(failed, 0, loads)
        self.assertEqual(planted_names(loads), sorted(PLANTED_NAMES), loads)
        for module, host in loads:
            self.assertEqual(host.lower(), harness.win_path(control).lower())
            self.assertTrue(module.lower().startswith(disc.win.lower() + "\\"), module)

    # Under Wine, with msimg32 native-first, the splash window pulls
    # msimg32.dll from the launcher's folder (a dependency of a system DLL
    # loaded for the window, searched without the process's DLL directories).
    # Not yet traced to its source.
    def test_dialog_mode_loads_no_planted_dll(self):
        exe = disc.add_launcher()
        run = wine.run(exe, cwd=disc.win, actions=["click:%d" % FIRST_BUTTON_ID])
        self.assertIsNotNone(run.window, run)
        self.assertEqual(run.message_boxes, [], run)
        self.assertEqual(run.exit_code, 0, run)
        self.assertEqual(len(wine.take_probe_log()), 1, run)
        self.assertEqual(take_plant_log(), [])

    def test_direct_launch_loads_no_planted_dll(self):
        disc.write_ini("[DIALOG]\r\nShow=False\r\nDefaultAction=%s /Direct\r\n" % PROBE,
                       name="direct.ini")
        exe = disc.add_launcher("direct.exe")
        run = wine.run(exe, cwd=disc.win)
        self.assertEqual(run.message_boxes, [], run)
        self.assertEqual(run.exit_code, 0, run)
        records = wine.take_probe_log()
        self.assertEqual([r["argv"][1:] for r in records], [["/Direct"]], run)
        self.assertEqual(take_plant_log(), [])


if __name__ == "__main__":
    unittest.main()
