#!/usr/bin/env python3
"""Puts the release together: OUT/x64/NAME.exe, OUT/x86/NAME.exe, signed when
a certificate is given, and per architecture a zip that is a complete disc
root: the exe, the example INI named after it, an autorun.inf that starts it,
and the example's picture, icon and files. With --checker and --checker-exe,
also the disc checker for authors: OUT/tools/launcher-check (Linux) and
OUT/tools/launcher-check.exe (Windows).

A product's title (--title) becomes the window caption in the INI and the
drive's label and AutoPlay text in autorun.inf; its icon (--icon) replaces
the example's window icon. Without them the example's own texts and icon stay.

    dist.py --out dist --name NAME --version VERSION --x64 EXE --x86 EXE
            --example DIR [--title TITLE] [--icon ICO] [--sign-cert CERT [--sign-key KEY]]
            [--checker PROGRAM --checker-exe EXE]
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
# Build-side files of the example folder that do not belong on a disc.
NOT_ON_DISC = {"make_example_art.py", ".gitattributes", "__pycache__"}
# A fixed time stamp keeps the zips the same from one build to the next.
ZIP_TIME = (2000, 1, 1, 0, 0, 0)


def disc_files(example, name, title=None, icon=None):
    """[(path in the zip, bytes)] of the example disc for an exe called
    NAME.exe, with the product's title and icon where given."""
    files = []
    for folder, subfolders, names in os.walk(example):
        subfolders[:] = sorted(d for d in subfolders if d not in NOT_ON_DISC)
        for file_name in sorted(names):
            if file_name in NOT_ON_DISC:
                continue
            path = os.path.join(folder, file_name)
            inside = os.path.relpath(path, example).replace(os.sep, "/")
            with open(path, "rb") as file:
                data = file.read()
            if inside == "launcher.ini":
                inside = name + ".ini"
                data = ini_for(data, title)
            elif inside == "autorun.inf":
                data = autorun_for(data, name, title)
            elif inside == "product.ico" and icon:
                with open(icon, "rb") as file:
                    data = file.read()
            files.append((inside, data))
    return files


def set_value(text, section, key, value):
    """text with the value of `key=` in [section] replaced (the example has
    the key there once)."""
    pattern = r"(?ims)(^\[%s\][^\[]*?^%s=)[^\r\n]*" % (re.escape(section), re.escape(key))
    replaced, count = re.subn(pattern, lambda m: m.group(1) + value, text, count=1)
    if count != 1:
        raise SystemExit("dist: no %s= in [%s] of the example" % (key, section))
    return replaced


def windows_text(text):
    """Windows reads INI and autorun.inf files in the ANSI code page unless
    they are UTF-16 with a byte-order mark: ASCII stays ASCII, anything
    else becomes UTF-16."""
    if text.isascii():
        return text.encode("ascii")
    return b"\xff\xfe" + text.encode("utf-16-le")


def ini_for(data, title):
    """The example INI with the product's title as the window caption."""
    if title is None:
        return data
    return windows_text(set_value(data.decode("ascii"), "DIALOG", "Caption", title))


def autorun_for(data, name, title=None):
    """The example autorun.inf made to start NAME.exe, with the product's
    title as the drive's label and in the AutoPlay text."""
    text = data.decode("ascii").replace("launcher.exe", name + ".exe")
    if title is not None:
        text = set_value(set_value(text, "autorun", "label", title), "autorun", "action", "Run " + title)
    return windows_text(text)


def write_zip(path, entries):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for inside, data in entries:
            info = zipfile.ZipInfo(inside, ZIP_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            archive.writestr(info, data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--name", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--x64", required=True)
    parser.add_argument("--x86", required=True)
    parser.add_argument("--example", required=True)
    parser.add_argument("--title", default=None)
    parser.add_argument("--icon", default=None)
    parser.add_argument("--sign-cert", default="")
    parser.add_argument("--sign-key", default="-")
    parser.add_argument("--checker", default="")
    parser.add_argument("--checker-exe", default="")
    args = parser.parse_args()

    exes = {}
    for arch, built in (("x64", args.x64), ("x86", args.x86)):
        folder = os.path.join(args.out, arch)
        os.makedirs(folder, exist_ok=True)
        exes[arch] = os.path.join(folder, args.name + ".exe")
        shutil.copyfile(built, exes[arch])
    if args.sign_cert:
        subprocess.run(["sh", os.path.join(HERE, "sign.sh"), args.sign_cert, args.sign_key,
                        exes["x64"], exes["x86"]], check=True)

    disc = disc_files(args.example, args.name, args.title, args.icon or None)
    for arch, exe in exes.items():
        with open(exe, "rb") as file:
            entries = [(args.name + ".exe", file.read())] + disc
        archive = os.path.join(args.out, "%s-%s-%s.zip" % (args.name, args.version, arch))
        write_zip(archive, entries)
        print(exe)
        print(archive)

    tools = os.path.join(args.out, "tools")
    for built, name in ((args.checker, "launcher-check"), (args.checker_exe, "launcher-check.exe")):
        if built:
            os.makedirs(tools, exist_ok=True)
            target = os.path.join(tools, name)
            shutil.copyfile(built, target)
            os.chmod(target, 0o755)
            print(target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
