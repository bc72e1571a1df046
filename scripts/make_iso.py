#!/usr/bin/env python3
"""`make iso`: a disc folder as an ISO image, once the checker has passed it.

    make_iso.py --checker PROGRAM --disc FOLDER --label LABEL --out DIR [--name NAME]

Runs `PROGRAM [--name NAME] FOLDER` first. Its exit status decides: 0 (no
errors; warnings and notes are shown and pass) goes on, anything else writes
nothing and fails. Then xorriso writes DIR/LABEL.iso: ISO 9660 level 3 (files
of 4 GiB and more), Joliet (the names Windows shows, up to 64 characters) and
Rock Ridge, with every file of the folder, hidden ones too; symbolic links
are followed, since Windows cannot read them from a disc. The image appears
under its name only when complete. Prints its absolute path.

Exit status: 0 written; 1 the checker found errors, or xorriso failed; 2
wrong arguments, or the checker could not run."""

import argparse
import os
import re
import subprocess
import sys
import tempfile

# ISO 9660's volume identifier: up to 32 d-characters. Windows shows the
# Joliet copy of it, which holds 16 characters.
LABEL_PATTERN = re.compile(r"[A-Z0-9_]{1,32}")
JOLIET_LABEL_LENGTH = 16


def label_problem(label):
    """Why LABEL cannot be a volume label, or None."""
    if not label:
        return "a label is needed, e.g. LABEL=ACME_SETUP"
    if len(label) > 32:
        return "%r has %d characters; a volume label has at most 32" % (label, len(label))
    if not LABEL_PATTERN.fullmatch(label):
        bad = sorted(set(c for c in label if not re.fullmatch(r"[A-Z0-9_]", c)))
        return ("%r holds %s; a volume label has only capital letters A-Z, digits and _"
                % (label, " ".join(repr(c) for c in bad)))
    return None


def inside(path, folder):
    path, folder = os.path.realpath(path), os.path.realpath(folder)
    return path == folder or path.startswith(folder.rstrip(os.sep) + os.sep)


def run_checker(checker, disc, name):
    """The checker's verdict: 0 go on, 1 errors, 2 it could not run."""
    command = [checker] + (["--name", name] if name else []) + [disc]
    try:
        status = subprocess.run(command, stdin=subprocess.DEVNULL).returncode
    except OSError as error:
        print("iso: cannot run the checker %s: %s" % (checker, error.strerror), file=sys.stderr)
        return 2
    if status == 0:
        return 0
    if status == 1:
        print("iso: the checker found errors in %s; no image written." % disc, file=sys.stderr)
        return 1
    print("iso: the checker could not check %s (exit status %d); no image written." % (disc, status),
          file=sys.stderr)
    return 2


def xorriso_command(disc, label, image):
    return ["xorriso", "-as", "mkisofs",
            "-iso-level", "3", "-J", "-r", "-f",
            # File names are UTF-8 whatever the locale make runs in.
            "-input-charset", "UTF-8",
            "-V", label, "-o", image, disc]


def write_image(disc, label, out):
    os.makedirs(out, exist_ok=True)
    image = os.path.join(out, label + ".iso")
    handle, partial = tempfile.mkstemp(prefix="." + label + "-", suffix=".iso.part", dir=out)
    os.close(handle)
    try:
        result = subprocess.run(xorriso_command(disc, label, partial), stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, errors="replace")
        # Pass on what xorriso warns about among its chatter; the label's
        # Joliet length is said more plainly below.
        notes = [line for line in (result.stdout + result.stderr).splitlines()
                 if result.returncode != 0 or (re.search(r"WARNING|SORRY|FAILURE|FATAL", line)
                                               and "too long for Joliet" not in line)]
        if notes:
            print("\n".join(notes), file=sys.stderr)
        if result.returncode != 0:
            print("iso: xorriso failed (exit status %d); no image written." % result.returncode, file=sys.stderr)
            return None
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(partial, 0o666 & ~umask)
        os.replace(partial, image)
        return image
    finally:
        if os.path.exists(partial):
            os.remove(partial)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--checker", required=True, help="the disc checker program")
    parser.add_argument("--disc", required=True, help="the disc folder")
    parser.add_argument("--label", required=True, help="the volume label, also the image's name")
    parser.add_argument("--out", required=True, help="where the image goes")
    parser.add_argument("--name", help="the launcher's base name on the disc, for the checker")
    args = parser.parse_args(argv)

    problem = label_problem(args.label)
    if problem:
        print("iso: LABEL: " + problem, file=sys.stderr)
        return 2
    disc = os.path.abspath(args.disc)
    if not os.path.isdir(disc):
        print("iso: %s is not a folder" % args.disc, file=sys.stderr)
        return 2
    out = os.path.abspath(args.out)
    if inside(out, disc):
        print("iso: the image would land inside the disc folder it is made of (%s)" % out, file=sys.stderr)
        return 2

    # The checker names files by the path as the author gave it.
    verdict = run_checker(args.checker, args.disc, args.name)
    if verdict:
        return verdict
    image = write_image(disc, args.label, out)
    if not image:
        return 1
    if len(args.label) > JOLIET_LABEL_LENGTH:
        print("iso: note: Windows shows the label's first %d characters, %s"
              % (JOLIET_LABEL_LENGTH, args.label[:JOLIET_LABEL_LENGTH]), file=sys.stderr)
    print(image)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
