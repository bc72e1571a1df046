#!/usr/bin/env python3
"""`make preview`: the built x64 launcher under Wine on an author's disc
folder, at 100 %, 150 % and 200 % display scaling, one screenshot of the
window with its frame at each.

    preview.py --x64 BUILD/x64 --exe-name NAME --disc FOLDER [--name NAME]
               --out BUILD/preview --work BUILD/preview-work

The disc folder is only read: the exe runs from the build folder with the
disc folder as its current directory, where it finds its INI, picture and
icon as it would on the disc. --name is the exe's base name on the disc,
which picks the INI (`NAME.ini`); without it, the one .exe at the folder's
root that has an INI of the same name, otherwise `launcher`.

Each scale runs in a Wine prefix of its own (a copy of a template prefix
made once under --work), with its own Xvfb and Wine's virtual desktop, which
draws window frames. Prints the PNGs' absolute paths; exits 1 when the
launcher shows an error report or no window, 2 on wrong arguments."""

import argparse
import os
import shutil
import signal
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
E2E = os.path.join(ROOT, "tests", "e2e")

# (percent, LogPixels). At 200 % the window is about 970 x 735 with its frame.
SCALES = [(100, 96), (150, 144), (200, 192)]
DESKTOP = "1600x1200"
WINDOW_TIMEOUT_MS = 20000


def disc_exe_name(folder):
    """The exe's base name a disc folder is made for: the one .exe at its
    root with an INI of the same name (letter case ignored, as Windows
    does), otherwise the default name."""
    names = {entry.lower(): entry for entry in os.listdir(folder)}
    found = [entry[:-4] for lower, entry in names.items()
             if lower.endswith(".exe") and lower[:-4] + ".ini" in names]
    return found[0] if len(found) == 1 else "launcher"


def exe_for_name(exe, name, work):
    """The launcher reads the INI named after its own file: an exe built
    under another name is copied to NAME.exe in a folder of its own under
    work. Returns the exe to run and that folder (or None)."""
    if os.path.basename(exe).lower() == name.lower() + ".exe":
        return exe, None
    os.makedirs(work, exist_ok=True)
    folder = tempfile.mkdtemp(prefix="exe-", dir=work)
    target = os.path.join(folder, name + ".exe")
    shutil.copyfile(exe, target)
    return target, folder


def error_report(run):
    if run.raw.get("timed_out"):
        return "The launcher showed no window within %d s." % (WINDOW_TIMEOUT_MS // 1000)
    lines = ["The launcher ended with exit code %s and showed no window." % run.exit_code]
    for box in run.message_boxes:
        lines += ["", "It reported:", "", box.get("title", ""), box.get("text", "")]
    if not run.message_boxes and run.exit_code == 0:
        lines.append("Its INI does not say Show=True in [DIALOG], so it starts DefaultAction at once "
                     "(which was ended here): there is no window to preview.")
    return "\n".join(lines)


def shoot(harness, images, exe, disc, percent, dpi, png):
    """One scale into png, or SystemExit with the launcher's report."""
    session = harness.Session("preview-%d" % percent, dpi=dpi, screen=DESKTOP + "x24",
                              virtual_desktop=DESKTOP)
    try:
        screen = os.path.join(session.root, "screen.bmp")
        # No actions: the inspector ends the launcher once its window has
        # been recorded, and at once whatever it started.
        run = session.run(harness.win_path(exe), cwd=harness.win_path(disc), timeout_ms=WINDOW_TIMEOUT_MS,
                          settle_ms=1000, children_ms=0, screen_shot=screen)
        if run.window is None:
            print(error_report(run), file=sys.stderr)
            raise SystemExit(1)
        width, height, rows = images.read_bmp(screen)
        rect = dict(run.window["rect"])
        rect["left"], rect["top"] = max(rect["left"], 0), max(rect["top"], 0)
        rect["right"], rect["bottom"] = min(rect["right"], width), min(rect["bottom"], height)
        images.write_png(png, rect["right"] - rect["left"], images.crop_rows(rows, rect))
    finally:
        session.close()


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--x64", required=True, help="the x64 build folder (exe and inspector)")
    parser.add_argument("--exe-name", required=True, help="the built exe's base name")
    parser.add_argument("--disc", required=True, help="the disc folder to preview")
    parser.add_argument("--name", help="the exe's base name on the disc (picks the INI)")
    parser.add_argument("--out", required=True, help="where the PNGs go")
    parser.add_argument("--work", required=True, help="Wine prefixes and temporary files")
    args = parser.parse_args(argv)

    disc = os.path.abspath(args.disc)
    if not os.path.isdir(disc):
        print("preview: %s is not a folder" % args.disc, file=sys.stderr)
        return 2
    x64 = os.path.abspath(args.x64)
    built = os.path.join(x64, args.exe_name + ".exe")
    if not os.path.isfile(built):
        print("preview: no built launcher at %s" % built, file=sys.stderr)
        return 2
    name = args.name or disc_exe_name(disc)
    if not name or any(c in name for c in '/\\:*?"<>|'):
        print("preview: %r is no file name" % name, file=sys.stderr)
        return 2

    # The test bed's harness reads where things are at import.
    os.environ["LAUNCHER_X64_DIR"] = x64
    os.environ["E2E_WORK_DIR"] = os.path.abspath(args.work)
    sys.path.insert(0, E2E)
    import harness
    import images

    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    pngs = [os.path.join(out, "%s-%d.png" % (name, percent)) for percent, _ in SCALES]
    # A failed preview leaves no older pictures that look like its own.
    for png in pngs:
        if os.path.exists(png):
            os.remove(png)
    if not os.path.exists(harness.READY_MARKER):
        print("Creating a Wine prefix for previews (once, about 20 s)...", file=sys.stderr)
    harness.setup_template()
    exe, copy_folder = exe_for_name(built, name, os.path.abspath(args.work))
    print("Previewing %s with %s.ini at 100 %%, 150 %% and 200 %%..." % (disc, name), file=sys.stderr)
    try:
        for (percent, dpi), png in zip(SCALES, pngs):
            shoot(harness, images, exe, disc, percent, dpi, png)
            print(png)
    finally:
        if copy_folder:
            shutil.rmtree(copy_folder, ignore_errors=True)
    return 0


if __name__ == "__main__":
    # Ended from outside, it still ends its Wine servers and X servers.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    sys.exit(main(sys.argv[1:]))
