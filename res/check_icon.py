#!/usr/bin/env python3
"""Tells whether a file can serve as the launcher's application icon.

    python3 res/check_icon.py FILE.ico

Exit 1 with "error: ..." when the file is not an ICO the resource compiler
and Windows can use; "warning: ..." lines (exit 0) when it lacks sizes
Windows asks for, so it would scale another image and look blurred.
"""

import struct
import sys

# Small icon at 100 %, 150 %, 200 % and 400 % scaling, the large icon, and
# Explorer's medium view.
WANTED_SIZES = (16, 24, 32, 48, 64)
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class NotAnIcon(Exception):
    pass


def read_entries(data):
    """Returns [(width, height, bits, kind)] for the images of an ICO file,
    kind being "dib" or "png"; raises NotAnIcon when the file is none."""
    if len(data) < 6:
        raise NotAnIcon("it is too short to be an ICO file")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if data.startswith(PNG_SIGNATURE):
        raise NotAnIcon("it is a PNG picture, not an ICO file (convert it, e.g. with icotool -c)")
    if data.startswith(b"BM"):
        raise NotAnIcon("it is a BMP picture, not an ICO file")
    if reserved != 0 or kind not in (1, 2):
        raise NotAnIcon("it does not start with an ICO header")
    if kind == 2:
        raise NotAnIcon("it is a cursor (.cur), not an icon")
    if count == 0:
        raise NotAnIcon("it holds no image")
    if len(data) < 6 + 16 * count:
        raise NotAnIcon("its directory of %d images is cut short" % count)
    entries = []
    for index in range(count):
        width, height, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        width = width or 256
        height = height or 256
        if length == 0 or offset + length > len(data) or offset < 6 + 16 * count:
            raise NotAnIcon("image %d lies outside the file" % (index + 1))
        image = data[offset:offset + length]
        if image.startswith(PNG_SIGNATURE):
            entries.append((width, height, bits, "png"))
            continue
        if length < 40 or struct.unpack_from("<I", image, 0)[0] != 40:
            raise NotAnIcon("image %d is neither a bitmap nor a PNG" % (index + 1))
        dib_width, dib_height, _, dib_bits = struct.unpack_from("<iiHH", image, 4)
        if dib_width != width or dib_height != 2 * height:
            raise NotAnIcon("image %d says %dx%d in the directory but %dx%d inside"
                            % (index + 1, width, height, dib_width, dib_height // 2))
        entries.append((width, height, dib_bits, "dib"))
    return entries


def check(path):
    """Returns (errors, warnings) as lists of text."""
    try:
        with open(path, "rb") as file:
            data = file.read()
    except OSError as error:
        return ["cannot read %s: %s" % (path, error.strerror)], []
    try:
        entries = read_entries(data)
    except NotAnIcon as reason:
        return ["%s is not a usable ICO file: %s" % (path, reason)], []
    square = {width for width, height, _, _ in entries if width == height}
    missing = [size for size in WANTED_SIZES if size not in square]
    warnings = []
    if missing:
        warnings.append("%s lacks the %s images that Windows uses; it will scale another one "
                        "and the icon may look blurred" % (path, ", ".join("%dx%d" % (s, s) for s in missing)))
    return [], warnings


def main():
    if len(sys.argv) != 2:
        print("usage: check_icon.py FILE.ico", file=sys.stderr)
        return 2
    errors, warnings = check(sys.argv[1])
    for text in errors:
        print("error: " + text)
    for text in warnings:
        print("warning: " + text)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
