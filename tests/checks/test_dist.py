#!/usr/bin/env python3
"""`make dist`'s packaging (scripts/dist.py) on the built exes: both exes
signed when a certificate is given, and a zip per architecture that is a
complete disc root for the product's exe name, title and icon."""

import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
EXAMPLE = os.path.join(ROOT, "example")


class DistTest(unittest.TestCase):
    x64 = x86 = checker = checker_exe = None

    def test_signed_exes_and_disc_zips(self):
        with tempfile.TemporaryDirectory() as work:
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                            "-subj", "/CN=Dist test", "-keyout", os.path.join(work, "key.pem"),
                            "-out", os.path.join(work, "cert.pem")], check=True, capture_output=True)
            out = os.path.join(work, "dist")
            subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "dist.py"), "--out", out,
                            "--name", "autorun", "--version", "2.1", "--x64", self.x64, "--x86", self.x86,
                            "--example", EXAMPLE, "--sign-cert", os.path.join(work, "cert.pem"),
                            "--sign-key", os.path.join(work, "key.pem"), "--checker", self.checker,
                            "--checker-exe", self.checker_exe], check=True, capture_output=True)
            for arch in ("x64", "x86"):
                with self.subTest(arch):
                    exe = os.path.join(out, arch, "autorun.exe")
                    verified = subprocess.run(["osslsigncode", "verify", "-CAfile", os.path.join(work, "cert.pem"),
                                               "-in", exe], capture_output=True, text=True)
                    self.assertEqual(verified.returncode, 0, verified.stdout + verified.stderr)

                    with zipfile.ZipFile(os.path.join(out, "autorun-2.1-%s.zip" % arch)) as archive:
                        names = sorted(archive.namelist())
                        self.assertEqual(names, ["autorun.exe", "autorun.inf", "autorun.ini", "product.ico",
                                                 "readme.txt", "setup/install.cmd", "splash.bmp"])
                        with open(exe, "rb") as signed:
                            self.assertEqual(archive.read("autorun.exe"), signed.read())
                        with open(os.path.join(EXAMPLE, "launcher.ini"), "rb") as ini:
                            self.assertEqual(archive.read("autorun.ini"), ini.read())
                        autorun = archive.read("autorun.inf").decode("ascii")
                        self.assertIn("open=autorun.exe\r\n", autorun)
                        self.assertIn("icon=autorun.exe,0\r\n", autorun)
                        self.assertNotIn("launcher.exe", autorun)

                        # The disc as shipped passes the shipped checker without a finding.
                        disc = os.path.join(work, "disc-" + arch)
                        archive.extractall(disc)
                    checked = subprocess.run([os.path.join(out, "tools", "launcher-check"), disc],
                                             capture_output=True, text=True)
                    self.assertEqual((checked.returncode, checked.stdout, checked.stderr), (0, "", ""))
            for tool, built in (("launcher-check", self.checker), ("launcher-check.exe", self.checker_exe)):
                with open(os.path.join(out, "tools", tool), "rb") as copied, open(built, "rb") as original:
                    self.assertEqual(copied.read(), original.read(), tool)
                self.assertTrue(os.access(os.path.join(out, "tools", tool), os.X_OK), tool)

    def test_a_products_title_and_icon_replace_the_examples(self):
        icon = os.path.join(ROOT, "res", "launcher.ico")
        with open(icon, "rb") as f:
            icon_bytes = f.read()
        for title, encoding in (("Acme Setup", "ascii"), ("Größe Setup – 日本", "utf-16")):
            with self.subTest(title), tempfile.TemporaryDirectory() as work:
                out = os.path.join(work, "dist")
                subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "dist.py"), "--out", out,
                                "--name", "acme", "--version", "3", "--x64", self.x64, "--x86", self.x86,
                                "--example", EXAMPLE, "--title", title, "--icon", icon],
                               check=True, capture_output=True)
                with zipfile.ZipFile(os.path.join(out, "acme-3-x86.zip")) as archive:
                    autorun = read_text(archive.read("autorun.inf"), encoding)
                    ini = read_text(archive.read("acme.ini"), encoding)
                    self.assertEqual(archive.read("product.ico"), icon_bytes)
                self.assertIn("open=acme.exe\r\n", autorun)
                self.assertIn("label=%s\r\n" % title, autorun)
                self.assertIn("action=Run %s\r\n" % title, autorun)
                self.assertNotIn("Example", autorun)
                # Only the window's caption changes; the buttons keep theirs.
                with open(os.path.join(EXAMPLE, "launcher.ini"), encoding="ascii", newline="") as f:
                    example = f.read()
                self.assertEqual(ini, example.replace("Caption=Example Setup\r\n", "Caption=%s\r\n" % title))
                self.assertIn("Caption=&Install\r\n", ini)


def read_text(data, encoding):
    """A file as Windows reads it: UTF-16 with its byte-order mark, or ASCII."""
    if encoding == "utf-16":
        assert data.startswith(b"\xff\xfe"), data[:4]
        return data[2:].decode("utf-16-le")
    return data.decode("ascii")


if __name__ == "__main__":
    DistTest.x64, DistTest.x86, DistTest.checker, DistTest.checker_exe = sys.argv[1:5]
    unittest.main(argv=sys.argv[:1])
