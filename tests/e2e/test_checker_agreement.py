"""The checker against the launcher itself: every disc of the hostile cases
(damaged pictures and icons, hostile INI files, actions that cannot start)
is run by the launcher under Wine and checked by launcher-check, natively
and as the Windows console program under Wine. Wherever the launcher ends
with an error report, the checker reports that exit code; and the checker
reports no error whose exit code the launcher does not end with.

The table of what each said is printed, to be quoted."""

import json
import os
import subprocess
import tempfile
import unittest

import harness
import test_hostile_actions
import test_hostile_files
import test_hostile_ini
from test_hostile_files import run_case

CHECKER_NATIVE = os.environ.get("LAUNCHER_CHECK", "")
CHECKER_WINDOWS = os.path.join(harness.X64_DIR, "launcher-check.exe")

CASES = (test_hostile_files.PICTURE_CASES + test_hostile_files.ICON_CASES + test_hostile_ini.CASES
         + test_hostile_actions.CASES)

wine = None


setUpModule, tearDownModule = harness.module_fixtures(globals())


def findings_of(output, status):
    if status == 2:
        raise AssertionError("the checker could not run:\n" + output)
    return json.loads(output)


def check_native(disc):
    result = subprocess.run([CHECKER_NATIVE, "--json", "--name", harness.LAUNCHER_NAME, disc.path],
                            capture_output=True, text=True, timeout=120)
    return findings_of(result.stdout + result.stderr, result.returncode), result.returncode


def check_windows(disc):
    # Files, not pipes: a Wine process may hold a pipe open after it ends.
    with tempfile.TemporaryFile(dir=wine.root) as out:
        status = subprocess.run(["wine", harness.win_path(CHECKER_WINDOWS), "--json", "--name", harness.LAUNCHER_NAME,
                                 disc.win], env=wine.env, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.DEVNULL, timeout=180).returncode
        out.seek(0)
        return findings_of(out.read().decode("utf-8", "replace"), status), status


def codes(findings, severities=("error", "warning", "note")):
    return sorted({f["code"] for f in findings if f["code"] and f["severity"] in severities})


def summary(findings):
    """"30 error" for each exit code the checker gives, with its gravest severity."""
    order = ("error", "warning", "note")
    best = {}
    for f in findings:
        if f["code"]:
            best[f["code"]] = min(best.get(f["code"], "note"), f["severity"], key=order.index)
    return ", ".join("%d %s" % (code, best[code]) for code in sorted(best)) or "-"


class AgreementTest(unittest.TestCase):
    def test_the_checker_predicts_the_launchers_error_reports(self):
        self.assertTrue(os.path.isfile(CHECKER_NATIVE), "LAUNCHER_CHECK names no checker: %r" % CHECKER_NATIVE)
        windows_checker = os.path.isfile(CHECKER_WINDOWS)
        rows = []
        for case in CASES:
            with self.subTest(case.name):
                disc = wine.new_disc()
                case.build(disc)
                wine.take_probe_log()
                run = run_case(wine, case, disc)
                wine.take_probe_log()
                reported = bool(run.exit_code) and len(run.message_boxes) == 1
                launcher = ("%d" % run.exit_code if run.exit_code is not None else "window") + \
                    (" report" if reported else "")
                checkers = [("native",) + check_native(disc)]
                if windows_checker:
                    checkers.append(("Windows",) + check_windows(disc))
                row = [case.name, launcher] + [summary(findings) for _, findings, _ in checkers]
                rows.append(row)
                for which, findings, status in checkers:
                    if reported:
                        self.assertIn(run.exit_code, codes(findings), (which, findings, run))
                    for code in codes(findings, ("error",)):
                        self.assertEqual(code, run.exit_code, (which, findings, run))
                    self.assertEqual(status, 1 if codes(findings, ("error",)) else 0, (which, findings))
        header = ["case", "launcher", "checker (native)"] + (["checker (Windows, Wine)"] if windows_checker else [])
        widths = [max(len(str(row[i])) for row in rows + [header]) for i in range(len(header))]
        print("\n" + "\n".join(" | ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip()
                               for row in [header, ["-" * w for w in widths]] + rows))


if __name__ == "__main__":
    unittest.main()
