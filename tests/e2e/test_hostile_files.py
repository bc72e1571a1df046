"""Damaged, misnamed and oversized pictures and icons: each ends in a clear
report naming the file, or in what the launcher does for that case, with no
crash and nothing left running. (How soon: `make bench` times every case.)

The fixtures are made here, in memory, from small valid pictures of each
kind; the other hostile modules and the read-only run share the runner.
"""

import os
import struct
import threading
import time
import unittest
import zlib

import harness

INI_NAME = harness.LAUNCHER_NAME + ".ini"
PICTURE_RGB = (200, 120, 40)


# --- Small valid pictures of each kind -------------------------------------

def bmp(width, height, rgb=PICTURE_RGB):
    row = bytes((rgb[2], rgb[1], rgb[0])) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) + header + pixels


def bmp_claiming(width, height):
    """A bitmap header for a huge picture, with 16 bytes of pixels."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, 0, 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + 16, 0, 0, 54) + header + b"\0" * 16


def png(width, height, rgb=PICTURE_RGB):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = (b"\0" + bytes(rgb) * width) * height
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def gif(width, height, rgb=PICTURE_RGB):
    """Two colours; a clear code before every pixel keeps the codes 3 bits wide."""
    codes = [4, 0] * (width * height) + [5]
    bits = count = 0
    out = bytearray()
    for code in codes:
        bits |= code << count
        count += 3
        while count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        out.append(bits & 0xFF)
    blocks = b"".join(bytes((len(out[i:i + 255]),)) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return (b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80, 0, 0) + bytes(rgb) + b"\xff\xff\xff"
            + b"," + struct.pack("<HHHHB", 0, 0, width, height, 0) + b"\x02" + blocks + b"\0;")


def jpeg(width, height):
    """Mid-grey baseline JPEG: every block is DC 0 and end-of-block."""
    def segment(marker, data):
        return b"\xff" + bytes((marker,)) + struct.pack(">H", len(data) + 2) + data
    quant = segment(0xDB, b"\0" + b"\1" * 64)
    frame = segment(0xC0, struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00")
    # Two symbols of two bits each: DC category 0 is "00", AC end-of-block "00".
    dc = segment(0xC4, b"\x00" + bytes([0, 2] + [0] * 14) + b"\x00\x01")
    ac = segment(0xC4, b"\x10" + bytes([0, 2] + [0] * 14) + b"\x00\x01")
    scan = segment(0xDA, b"\x01\x01\x00\x00\x3f\x00")
    blocks = ((width + 7) // 8) * ((height + 7) // 8)
    data = bytearray(blocks * 4 // 8)
    if blocks * 4 % 8:
        data.append(0x0F)
    return b"\xff\xd8" + quant + frame + dc + ac + scan + bytes(data) + b"\xff\xd9"


def ico(size=32, claimed=None):
    """One 32-bit image; `claimed` puts another size into its bitmap header."""
    width, height = claimed or (size, size)
    pixels = bytes((40, 120, 200, 255)) * (size * size)
    mask = b"\0" * (((size + 31) // 32) * 4 * size)
    dib = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    dib += pixels + mask
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(dib), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + dib


def half(data):
    return data[:len(data) // 2]


TEXT = b"This is a text file, not a picture.\r\n"


# --- Cases -------------------------------------------------------------------

class Case:
    """One disc: its INI, its files (name -> bytes, or None for a folder) and
    what the run must end in: exit code, None for a window that is shown, and
    what the one message box's lines hold."""

    def __init__(self, name, ini, files=None, exit_code=None, lines=(), probe=None, check=None):
        self.name, self.ini, self.files, self.exit_code = name, ini, files or {}, exit_code
        self.lines, self.probe, self.check = lines, probe, check

    def build(self, disc):
        ini = self.ini if isinstance(self.ini, bytes) else self.ini.encode("latin-1")
        for name, data in self.files.items():
            path = disc.file(name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            if data is None:
                os.makedirs(path)
            else:
                with open(path, "wb") as f:
                    f.write(data() if callable(data) else data)
        if INI_NAME not in self.files:
            disc.write_ini(ini)
        if self.probe:
            disc.add_probe(self.probe)
        disc.add_launcher()


def dialog(picture="splash.bmp", icon=None, extra=""):
    ini = "[DIALOG]\r\nShow=True\r\nPicture=%s\r\nCaption=Hostile\r\n" % picture
    if icon:
        ini += "Icon=%s\r\n" % icon
    return ini + extra


GOOD_PICTURE = {"splash.bmp": bmp(64, 48)}


def unreadable_picture(name, data):
    return Case("picture: " + name, dialog(name), {name: data}, harness.EXIT_PICTURE_UNREADABLE,
                ['File: "%s"' % name, "From: [DIALOG] Picture in {root}" + INI_NAME])


def unreadable_icon(name, data):
    return Case("icon: " + name, dialog(icon=name), dict(GOOD_PICTURE, **{name: data}),
                harness.EXIT_ICON_UNREADABLE, ['File: "%s"' % name, "From: [DIALOG] Icon in {root}" + INI_NAME])


def picture_cut_off(test, run):
    window = run.window
    test.assertIsNotNone(window, run)
    width, height = window["client"]["width"], window["client"]["height"]
    for pixel in run.raw["window"]["pixels"]:
        test.assertEqual(tuple(pixel["rgb"]), PICTURE_RGB, (pixel, width, height))


HUGE = (8000, 6000)

PICTURE_CASES = [
    unreadable_picture("empty.jpg", b""),
    unreadable_picture("truncated.jpg", jpeg(64, 48)[:40]),
    unreadable_picture("truncated.png", half(png(64, 48, rgb=(1, 2, 3)))),
    unreadable_picture("truncated.gif", gif(64, 48)[:30]),
    unreadable_picture("huge-header.bmp", bmp_claiming(100000, 100000)),
    unreadable_picture("text.jpg", TEXT),
    Case("picture: a folder of its name", dialog("folder.jpg"), {"folder.jpg": None},
         harness.EXIT_PICTURE_MISSING, ["Couldn't find splash screen picture - folder.jpg"]),
    Case("picture: far larger than the screen", dialog("huge.png"), {"huge.png": lambda: png(*HUGE)},
         check=picture_cut_off),
]

ICON_CASES = [
    unreadable_icon("empty.ico", b""),
    unreadable_icon("truncated.ico", half(ico())),
    unreadable_icon("huge-header.ico", ico(claimed=(100000, 100000))),
    unreadable_icon("text.ico", TEXT),
    # Not a file: the built-in icon stays, without a word.
    Case("icon: a folder of its name", dialog(icon="folder.ico"), dict(GOOD_PICTURE, **{"folder.ico": None})),
]


# --- Running a case ----------------------------------------------------------

def run_case(session, case, disc, cwd=None, exe=None, pixels=()):
    return session.run(exe or disc.win_file(harness.LAUNCHER_NAME + ".exe"), cwd=cwd or disc.win,
                       pixels=pixels)


def check_case(test, session, case, run, root):
    """root: the disc's folder as the launcher saw it, ending in a backslash."""
    test.assertTrue(run.raw.get("exited") or case.exit_code is None, run)
    test.assertFalse(run.raw.get("timed_out"), run)
    test.assertFalse(run.raw["job"]["children_ended"], run)
    if case.exit_code is None:
        test.assertEqual(run.message_boxes, [], run)
        test.assertIsNotNone(run.window, run)
    elif case.exit_code == 0:
        test.assertEqual(run.exit_code, 0, run)
        test.assertEqual(run.message_boxes, [], run)
    else:
        test.assertEqual(run.exit_code, case.exit_code, run)
        test.assertEqual(len(run.message_boxes), 1, run)
        box = run.message_boxes[0]
        test.assertEqual(box["title"], harness.APP_TITLE, run)
        lines = box["text"].splitlines()
        for expected in case.lines:
            test.assertIn(expected.replace("{root}", root), lines, run)
    records = session.take_probe_log()
    if case.probe:
        test.assertEqual(len(records), 1, records)
    else:
        test.assertEqual(records, [])
        # Anything started would be Wine's crash handler or a program of ours.
        test.assertEqual(run.started_programs, 0, run)
    if case.check:
        case.check(test, run) if case.probe is None else case.check(test, run, records)


wine = None


setUpModule, tearDownModule = harness.module_fixtures(globals())


def run_table(test, session, cases, pixels=()):
    for case in cases:
        with test.subTest(case.name):
            disc = session.new_disc()
            case.build(disc)
            session.take_probe_log()
            run = run_case(session, case, disc, pixels=pixels if case.check is picture_cut_off else ())
            check_case(test, session, case, run, disc.win + "\\")


class PeakMemory:
    """Watches the peak resident size (VmHWM) of the Wine processes whose
    command line holds `needle`, while a run goes on in the foreground."""

    def __init__(self, needle):
        self.needle = needle.encode()
        self.peak_kib = 0
        self.done = threading.Event()
        self.thread = threading.Thread(target=self._watch, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.done.set()
        self.thread.join()

    def _watch(self):
        while not self.done.is_set():
            for pid in filter(str.isdigit, os.listdir("/proc")):
                try:
                    with open("/proc/%s/cmdline" % pid, "rb") as f:
                        if self.needle not in f.read():
                            continue
                    with open("/proc/%s/status" % pid) as f:
                        for line in f:
                            if line.startswith("VmHWM:"):
                                self.peak_kib = max(self.peak_kib, int(line.split()[1]))
                except (OSError, ValueError):
                    continue
            time.sleep(0.05)


class PictureTest(unittest.TestCase):
    def test_damaged_pictures(self):
        # Corners of the client area at 96 DPI: the picture reaches past all of them.
        run_table(self, wine, PICTURE_CASES, pixels=[(0, 0), (480, 0), (0, 344), (480, 300)])

    def test_a_huge_picture_takes_less_than_twice_its_decoded_size(self):
        disc = wine.new_disc("huge-memory")
        Case("huge", dialog("huge.png"), {"huge.png": lambda: png(*HUGE)}).build(disc)
        decoded_kib = HUGE[0] * HUGE[1] * 4 // 1024
        exe = disc.win_file(harness.LAUNCHER_NAME + ".exe")
        with PeakMemory(exe.encode("latin-1").decode("latin-1")) as memory:
            run = wine.run(exe, cwd=disc.win, actions=["wait:1000", "close"])
        self.assertIsNotNone(run.window, run)
        self.assertGreater(memory.peak_kib, 0, "the launcher's process was not seen")
        print("\nhuge picture %dx%d: decoded %d KiB, launcher peak %d KiB"
              % (HUGE[0], HUGE[1], decoded_kib, memory.peak_kib))
        # Wine's decoder holds the whole picture while the visible part is
        # copied out (about 0.9 times its decoded size in all); anything past
        # twice that would be a copy of our own.
        self.assertLess(memory.peak_kib, decoded_kib * 2)


class IconTest(unittest.TestCase):
    def test_damaged_icons(self):
        run_table(self, wine, ICON_CASES)


if __name__ == "__main__":
    unittest.main()
