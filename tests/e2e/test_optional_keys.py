"""The optional keys under Wine: language variants in the user's language
(from the Unix locale), Requires on Wine's x64 and on the Windows versions
Wine can pretend to be, Elevate as the shell verb (Wine has no elevation
prompt: a "runas" start simply starts, and shows in the +exec trace), tips
on hover and on keyboard focus, and web colours."""

import os
import unittest

import harness
from window_common import FIRST_BUTTON_ID, new_disc, run_launcher

wine = None

# Wine 8 pretends to be Windows 7 to 10 per exe; Windows 11 only through the
# version it reads from the registry, which programs with no version of
# their own get.
WINDOWS_11 = [(r"HKLM\Software\Microsoft\Windows NT\CurrentVersion", name, "REG_SZ", value)
              for name, value in (("CurrentVersion", "10.0"), ("CurrentBuildNumber", "22631"))]

# The +exec channel shows each shell start with its verb.
setUpModule, tearDownModule = harness.module_fixtures(globals(), winedebug="-all,+exec", registry=WINDOWS_11)


def ini(dialog=(), buttons=()):
    """dialog: extra "Key=value" lines for [DIALOG]; buttons: one list of
    "Key=value" lines per section from BUTTON1, each shown unless it says
    otherwise."""
    lines = ["[DIALOG]", "Show=True", "Picture=splash.bmp"] + list(dialog)
    for number, keys in enumerate(buttons, 1):
        lines += ["[BUTTON%d]" % number] + list(keys)
        if not any(k.lower().startswith("show=") for k in keys):
            lines.append("Show=True")
    return "\r\n".join(lines) + "\r\n"


def shown_captions(run):
    return [c["text"] for c in run.window["controls"] if c["class"].lower() == "button" and c["visible"]]


def shell_starts(run):
    return [line for line in run.stderr.splitlines() if "SHELL_execute mask=" in line]


class LanguageVariantTest(unittest.TestCase):
    def tearDown(self):
        wine.use_language(None)

    def test_captions_buttons_and_actions_follow_the_users_language(self):
        text = ini(dialog=["Caption=Setup", "Caption.de=Einrichtung", "CAPTION.DE-at=Einrichtung (AT)",
                           "Caption.fr=Installation"],
                   buttons=[["Caption=&Install", "Caption.de=&Installieren", "Action=probe.exe /en",
                             "Action.fr=probe.exe /fr"],
                            ["Caption=Manual", "Show.de=False", "Action=exit"]])
        cases = [
            (None, "Setup", ["&Install", "Manual"], "/en"),
            ("de_DE.UTF-8", "Einrichtung", ["&Installieren"], "/en"),
            ("de_AT.UTF-8", "Einrichtung (AT)", ["&Installieren"], "/en"),
            ("fr_FR.UTF-8", "Installation", ["&Install", "Manual"], "/fr"),
        ]
        for lang, title, captions, argument in cases:
            with self.subTest(lang=lang):
                wine.use_language(lang)
                run = run_launcher(wine, new_disc(wine, text), actions=["click:%d" % FIRST_BUTTON_ID])
                self.assertEqual(run.window["title"], title, run)
                self.assertEqual(shown_captions(run), captions)
                self.assertEqual(run.exit_code, harness.EXIT_OK, run)
                self.assertEqual([r["argv"][1:] for r in wine.take_probe_log()], [[argument]])

    def test_a_report_names_the_variant_read(self):
        wine.use_language("de_AT.UTF-8")
        text = ini(buttons=[["Caption=Install", "Action=exit", "Show.de-AT=ja"]])
        run = run_launcher(wine, new_disc(wine, text))
        self.assertEqual(run.exit_code, harness.EXIT_NOT_A_TRUTH_VALUE, run)
        self.assertIn("From: [BUTTON1] Show.de-AT in ", run.box_texts()[0])


class RequiresTest(unittest.TestCase):
    def test_architecture_and_paths(self):
        # Wine's prefix is 64-bit Windows on x64, the exe too.
        text = ini(buttons=[["Caption=x86", "Requires=x86"],
                            ["Caption=x64", "Requires=x64"],
                            ["Caption=arm64", "Requires=ARM64"],
                            ["Caption=system folder", "Requires=exists:%WINDIR%\\system32 !exists:missing.txt"],
                            ["Caption=tool", "Requires=!x86 exists:\"Tools Folder\\tool.txt\""]])
        disc = new_disc(wine, text)
        run = run_launcher(wine, disc)
        self.assertEqual(shown_captions(run), ["x64", "system folder"])
        os.makedirs(disc.file("Tools Folder"))
        with open(disc.file(os.path.join("Tools Folder", "tool.txt")), "w") as f:
            f.write("here")
        run = run_launcher(wine, disc)
        self.assertEqual(shown_captions(run), ["x64", "system folder", "tool"])
        # Laid out as three buttons: left, middle, right.
        lefts = [c["rect"]["left"] for c in run.window["controls"] if c["visible"]]
        self.assertEqual(lefts, [2, 194, 386])

    def test_windows_versions(self):
        text = ini(buttons=[["Caption=%s" % name, "Requires=%s" % name]
                            for name in ("win7", "win8", "win8.1", "win10", "win11")])
        cases = [
            ("win7", ["win7"]),
            ("win8", ["win7", "win8"]),
            ("win81", ["win7", "win8", "win8.1"]),
            ("win10", ["win7", "win8", "win8.1", "win10"]),
            (None, ["win7", "win8", "win8.1", "win10", "win11"]),
        ]
        for version, captions in cases:
            with self.subTest(version=version):
                name = "on_%s" % (version or "win11")
                disc = new_disc(wine, text)
                disc.write_ini(text, name=name + ".ini")
                if version:
                    wine.set_windows_version(name + ".exe", version)
                run = wine.run(disc.add_launcher(name + ".exe"), cwd=disc.win)
                self.assertEqual(shown_captions(run), captions, run)

    def test_unknown_condition_is_reported(self):
        text = ini(buttons=[["Caption=Install", "Requires=x64 windows10"]])
        run = run_launcher(wine, new_disc(wine, text))
        self.assertEqual(run.exit_code, harness.EXIT_UNKNOWN_CONDITION, run)
        self.assertIsNone(run.window)
        report = run.box_texts()[0]
        self.assertIn("Run-time error 15", report)
        self.assertIn('Condition: "windows10"', report)
        self.assertIn("From: [BUTTON1] Requires in Z:\\", report)


class ElevateTest(unittest.TestCase):
    def test_button_asks_the_shell_for_runas(self):
        text = ini(buttons=[["Caption=Plain", "Action=probe.exe /plain"],
                            ["Caption=Admin", "Action=probe.exe /admin", "Elevate=True"]])
        for button, argument, verb in ((0, "/plain", "verb=(null)"), (1, "/admin", 'verb=L"runas"')):
            with self.subTest(argument):
                run = run_launcher(wine, new_disc(wine, text), actions=["click:%d" % (FIRST_BUTTON_ID + button)])
                self.assertEqual(run.exit_code, harness.EXIT_OK, run)
                starts = shell_starts(run)
                self.assertEqual(len(starts), 1, run)
                self.assertIn(verb, starts[0])
                self.assertIn('file=L"probe.exe" parm=L"%s"' % argument, starts[0])
                self.assertEqual([r["argv"][1:] for r in wine.take_probe_log()], [[argument]])

    def test_default_action(self):
        disc = new_disc(wine, harness.direct_launch_ini("probe.exe /direct") + "Elevate=1\r\n")
        run = run_launcher(wine, disc)
        self.assertEqual(run.exit_code, harness.EXIT_OK, run)
        self.assertIn('verb=L"runas"', shell_starts(run)[0])
        self.assertEqual(len(wine.take_probe_log()), 1)


class TipTest(unittest.TestCase):
    def test_tips_on_keyboard_focus_and_on_hover(self):
        text = ini(buttons=[["Caption=One", "Action=exit", "Tip=Installs Acme & more"],
                            ["Caption=Two", "Action=exit"],
                            ["Caption=Three", "Action=exit", "Tip=The manual"]])
        # The pointer starts and ends away from the buttons.
        run = run_launcher(wine, new_disc(wine, text),
                           actions=["hover:0", "key:tab", "key:tab", "key:tab", "hover:%d" % FIRST_BUTTON_ID,
                                    "hover:0"])
        tips = [step["tips"] for step in run.steps]
        # None at start, though the first button has the focus; then the
        # focused button's tip (Two has none); then the one under the mouse.
        self.assertEqual(tips[:4], [[], [], ["The manual"], ["Installs Acme & more"]], run)
        self.assertEqual(run.steps[3]["focus"]["text"], "One")
        self.assertEqual(tips[4], ["Installs Acme & more"] * 2)


class WebColourTest(unittest.TestCase):
    def test_red_first_and_malformed(self):
        run = run_launcher(wine, new_disc(wine, ini(dialog=["BackColor=#FF8000"])), pixels=[(400, 200)])
        self.assertEqual(run.window["pixels"][0]["rgb"], [255, 128, 0])
        run = run_launcher(wine, new_disc(wine, ini(dialog=["BackColor=#FF80"])))
        self.assertEqual(run.exit_code, harness.EXIT_NOT_A_NUMBER, run)
        report = run.box_texts()[0]
        for form in ("red,green,blue", "#RRGGBB", "decimal", "&H00BBGGRR", "blue comes first"):
            self.assertIn(form, report)


if __name__ == "__main__":
    unittest.main()
