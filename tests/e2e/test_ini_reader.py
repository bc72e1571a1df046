"""The launcher's own INI reader against the system's profile reader, under
Wine: tests/tools/ini_diff.exe reads a corpus of awkward files with both and
reports every lookup. Each rule of the reader has a case that pins it, with
the values our reader must give; everything else in the corpus (generated
files included) must read the same through both readers.

Where Windows and Wine read a file differently, the reader follows Windows;
those lookups are listed in the case as WINDOWS_DIFFERS, with how we know.
Sources: the tests of github.com/WelliSolutions/IniFileFormatReverseEngineering,
which run against Windows' own GetPrivateProfileString (summed up in its
documentation/GetPrivateProfileString.md), and Wine's conformance tests of
the profile functions (dlls/kernel32/tests/profile.c), which pass on Windows
and show, for one, that a lone CR ends a line there too. Where neither says
how Windows reads something (form feed and Ctrl-Z as blanks, letter case
beyond A to Z, a line without '=' hiding a later key of its name, NUL
characters), the reader does as Wine does."""

import json
import os
import random
import shutil
import subprocess
import unittest

import harness

wine = None

setUpModule, tearDownModule = harness.module_fixtures(globals())

FIXTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "ini")

# Reasons, each naming the evidence for Windows' behaviour.
BEFORE_FIRST_SECTION = ("Windows: keys before the first section are found under no section name, not even an "
                        "empty one (reverse-engineering tests, SquareBracket_Tests: 'a value without any "
                        "section'); Wine files them under the empty name.")
COMMENT_KEY = ("Windows: a line starting with ';' is a comment and a key name starting with ';' finds "
               "nothing (reverse-engineering tests, Semicolon_Tests); Wine finds such a line as a key.")
FIRST_BRACKET = ("Windows: a section name ends at the first ']' (reverse-engineering tests, "
                 "SquareBracket_Tests: 'section name with closing bracket'); Wine's ends at the last.")
NO_BRACKET = ("Windows: '[name' without ']' still starts a section (reverse-engineering tests, "
              "SquareBracket_Tests: 'missing closing bracket'); Wine takes the line as a key.")
EMPTY_SECTION = ("Windows: '[]' is a section with an empty name that can be read (reverse-engineering tests, "
                 "EdgeCases_Tests); in Wine the keys before the first section hide it.")
UTF8_WITHOUT_MARK = ("Neither: Windows and Wine read a file without a byte-order mark in the ANSI code page, "
                     "so UTF-8 text comes out garbled; our reader takes valid UTF-8 as UTF-8 on purpose.")


class Case:
    """One corpus file: its bytes, extra lookups (names the file does not
    list), the values our reader must give, and the lookups where Wine
    differs from Windows: {(section, key): reason}."""

    def __init__(self, name, text, encoding="latin-1", probes=(), expect=None, windows_differs=None):
        self.name = name
        self.data = text if isinstance(text, bytes) else text.encode(encoding)
        self.probes = list(probes)
        self.expect = expect or {}
        self.windows_differs = windows_differs or {}


def utf16(text, big_endian=False):
    return ("\ufeff" + text).encode("utf-16-be" if big_endian else "utf-16-le")


CASES = [
    # Letter case is ignored for A to Z only. Windows is known to ignore it
    # for ASCII names (reverse-engineering tests, Casing_Tests); Wine ignores
    # no other, and neither source says more about Windows.
    Case("case", "[Dialog]\r\nSHOW=TrUe\r\n[Gr\xd6\xdfe]\r\n\xc4rger=1\r\n",
         probes=[("DIALOG", "show"), ("dialog", "SHOW"), ("gR\xd6\xdfE", "\xc4RGER"), ("gr\xf6\xdfe", "\xc4rger"),
                 ("Gr\xd6\xdfe", "\xe4rger")],
         expect={("DIALOG", "show"): "TrUe", ("dialog", "SHOW"): "TrUe", ("gR\xd6\xdfE", "\xc4RGER"): "1",
                 ("gr\xf6\xdfe", "\xc4rger"): "", ("Gr\xd6\xdfe", "\xe4rger"): ""}),
    Case("case-cyrillic", "[\u041c\u0435\u043d\u044e]\r\n\u0418\u043c\u044f=\u0414\u0430\r\n", encoding="utf-16",
         probes=[("\u041c\u0415\u041d\u042e", "\u0418\u043c\u044f")],
         expect={("\u041c\u0435\u043d\u044e", "\u0418\u043c\u044f"): "\u0414\u0430",
                 ("\u041c\u0415\u041d\u042e", "\u0418\u043c\u044f"): ""}),
    Case("blanks", " \t[ DIALOG \t]\t\r\n \tCaption \t= \t Acme  Setup \t \r\n\x0bA\x0b=\x0b\x0cx\x0c\x1a\r\n"
         "B=\xa0y\xa0\r\n",
         expect={("DIALOG", "Caption"): "Acme  Setup", ("DIALOG", "A"): "x", ("DIALOG", "B"): "\xa0y\xa0"}),
    Case("quotes", "[S]\r\nA=\"x y\"\r\nB='x'\r\nC=\"\"x\"\"\r\nD=\"x'\r\nE=\"\r\nF=\" x \" \r\nG=\"x\" y\r\n"
         "H=''\r\nI=\"Tools\\My App.exe\" /log \"My Logs\"\r\n",
         expect={("S", "A"): "x y", ("S", "B"): "x", ("S", "C"): "\"x\"", ("S", "D"): "\"x'", ("S", "E"): "\"",
                 ("S", "F"): " x ", ("S", "G"): "\"x\" y", ("S", "H"): "",
                 ("S", "I"): "Tools\\My App.exe\" /log \"My Logs"}),
    Case("duplicate-keys", "[S]\r\nA=1\r\na=2\r\nA=3\r\n", expect={("S", "A"): "1"}),
    Case("duplicate-sections", "[S]\r\nA=1\r\n[T]\r\nA=t\r\n[s]\r\nA=2\r\nB=3\r\n",
         probes=[("S", "B")], expect={("S", "A"): "1", ("S", "B"): "", ("T", "A"): "t"}),
    Case("no-equals", "[S]\r\nShow\r\nShow=True\r\nOther True\r\nKey=\r\n",
         probes=[("S", "Other True"), ("S", "Other")],
         expect={("S", "Show"): "", ("S", "Other True"): "", ("S", "Other"): "", ("S", "Key"): ""}),
    Case("comments", "[S]\r\n;A=1\r\n  ;B=2\r\nC=x ;y\r\n#D=4\r\nE=;5\r\n",
         probes=[("S", ";A"), ("S", ";B")],
         expect={("S", ";A"): "", ("S", ";B"): "", ("S", "C"): "x ;y", ("S", "#D"): "4", ("S", "E"): ";5"},
         windows_differs={("S", ";A"): COMMENT_KEY, ("S", ";B"): COMMENT_KEY}),
    Case("before-first-section", "A=1\r\n[S]\r\nB=2\r\n", probes=[("", "A"), ("S", "A")],
         expect={("", "A"): "", ("S", "A"): "", ("S", "B"): "2"},
         windows_differs={("", "A"): BEFORE_FIRST_SECTION}),
    Case("header-text-after-bracket", "[A]B=1\r\nC=2\r\n[D] ; the dialog\r\nE=3\r\n",
         probes=[("A", "B")], expect={("A", "B"): "", ("A", "C"): "2", ("D", "E"): "3"}),
    Case("header-second-bracket", "[D]x]\r\nE=3\r\n", probes=[("D", "E"), ("D]x", "E")],
         expect={("D", "E"): "3", ("D]x", "E"): ""},
         windows_differs={("D", "E"): FIRST_BRACKET, ("D]x", "E"): FIRST_BRACKET}),
    Case("header-without-bracket", "[S]\r\nA=0\r\n[F\r\nG=4\r\n", probes=[("S", "[F"), ("S", "G")],
         expect={("F", "G"): "4", ("S", "[F"): "", ("S", "G"): ""},
         windows_differs={("F", "G"): NO_BRACKET, ("S", "G"): NO_BRACKET}),
    Case("header-empty", "[]\r\nH=5\r\n", probes=[("", "H")], expect={("", "H"): "5"},
         windows_differs={("", "H"): EMPTY_SECTION}),
    Case("line-ends", "[S]\rA=1\nB=2\r\nC=3\n\rD=4",
         expect={("S", "A"): "1", ("S", "B"): "2", ("S", "C"): "3", ("S", "D"): "4"}),
    Case("nul-character", b"[S]\r\nA=x \0y\r\nB=\"q\0\"\r\nC\0D=z\r\n",
         probes=[("S", "C")], expect={("S", "A"): "x ", ("S", "B"): "\"q", ("S", "C"): "z"}),
    Case("empty-file", b"", probes=[("S", "A")], expect={("S", "A"): ""}),
    Case("utf8-mark-only", b"\xef\xbb\xbf", probes=[("S", "A")], expect={("S", "A"): ""}),
    # Encodings, decided once per file.
    Case("utf16le", utf16("[DIALOG]\r\nCaption=Gr\xfc\xdfe \u65e5\u672c\u8a9e \U0001f4bf\r\n"),
         expect={("DIALOG", "Caption"): "Gr\xfc\xdfe \u65e5\u672c\u8a9e \U0001f4bf"}),
    # Windows reads neither of these two as Unicode (reverse-engineering
    # tests, UTF8_Tests and UTF16BE_Tests); Wine and our reader do.
    Case("utf16be", utf16("[DIALOG]\r\nCaption=\u041f\u0440\u0438\u0432\u0435\u0442\r\n", big_endian=True),
         expect={("DIALOG", "Caption"): "\u041f\u0440\u0438\u0432\u0435\u0442"}),
    Case("utf8-mark", b"\xef\xbb\xbf" + "[DIALOG]\r\nCaption=Gr\xfc\xdfe\r\n".encode("utf-8"),
         expect={("DIALOG", "Caption"): "Gr\xfc\xdfe"}),
    Case("utf8", "[DIALOG]\r\nCaption=Gr\xfc\xdfe\r\nTitle=\u65e5\u672c\r\n", encoding="utf-8",
         expect={("DIALOG", "Caption"): "Gr\xfc\xdfe", ("DIALOG", "Title"): "\u65e5\u672c"},
         windows_differs={("DIALOG", "Caption"): UTF8_WITHOUT_MARK, ("DIALOG", "Title"): UTF8_WITHOUT_MARK}),
    # cp1252 (Wine's ANSI code page here): "Gr\xfc\xdfe \u20ac", not valid UTF-8.
    Case("ansi", "[DIALOG]\r\nCaption=Gr\xfc\xdfe \u20ac\r\n", encoding="cp1252",
         expect={("DIALOG", "Caption"): "Gr\xfc\xdfe \u20ac"}),
    Case("long-value", "[S]\r\nA=" + "x" * 40000 + "\r\n", expect={("S", "A"): "x" * 40000}),
]


def generated_cases(count=12, seed=20260607):
    """Awkward files made of everything both readers agree on: blanks and
    line ends of every kind, quotes, letter case, duplicates, comments, lines
    without '=', in ANSI, UTF-8 with a mark and UTF-16 LE and BE."""
    rng = random.Random(seed)
    blanks = ["", " ", "\t", "  \t", "\x0b", "\x0c"]
    ends = ["\r\n", "\n", "\r"]
    names = ["DIALOG", "Button1", "x", "Gr\xfc\xdfe", "My Key", "a.b-c", "\u041c\u0435\u043d\u044e", "k=v"]
    values = ["", "True", "\"quoted\"", "'single'", "\"mismatched'", "\"", "a=b=c", "x ;y", "  ", "\"\"",
              "Gr\xfc\xdfe", "\u65e5\u672c\u8a9e", "\"Tools\\My App.exe\" /S", "'", "\"a\" b \"c\""]
    cases = []
    for number in range(count):
        lines = []
        for _ in range(rng.randint(1, 5)):
            section = rng.choice(names[:-1])
            section = section.lower() if rng.random() < 0.3 else section
            lines.append(rng.choice(blanks) + "[" + rng.choice(blanks) + section + rng.choice(blanks) + "]"
                         + rng.choice(["", " junk", "\t;"]))
            for _ in range(rng.randint(0, 6)):
                roll = rng.random()
                key = rng.choice(names[:-1])
                key = key.upper() if rng.random() < 0.3 else key
                if roll < 0.1:
                    lines.append(rng.choice(blanks) + ";" + key + "=comment")
                elif roll < 0.2:
                    lines.append(rng.choice(blanks) + key)
                elif roll < 0.25:
                    lines.append("")
                else:
                    lines.append(rng.choice(blanks) + key + rng.choice(blanks) + "=" + rng.choice(blanks)
                                 + rng.choice(values) + rng.choice(blanks))
        text = "".join(line + rng.choice(ends) for line in lines)
        if rng.random() < 0.3:
            text = text.rstrip("\r\n")
        form = number % 4
        if form == 0:
            data = text.encode("cp1252", "replace")
        elif form == 1:
            data = b"\xef\xbb\xbf" + text.encode("utf-8")
        else:
            data = utf16(text, big_endian=form == 3)
        cases.append(Case("generated-%02d" % number, data))
    return cases


def fixture_cases():
    """Hand-written files as editors save them, read with no expectations
    beyond agreeing with the system."""
    cases = []
    for name in sorted(os.listdir(FIXTURES)):
        if name.endswith(".ini"):
            with open(os.path.join(FIXTURES, name), "rb") as f:
                cases.append(Case(os.path.splitext(name)[0], f.read()))
    return cases


def run_ini_diff(folder):
    out_path = os.path.join(wine.root, "ini_diff.out")
    with open(out_path, "wb") as out, open(out_path + ".err", "wb") as err:
        code = subprocess.run(["wine", harness.INI_DIFF_EXE, harness.win_path(folder)], env=wine.env,
                              stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=240).returncode
    with open(out_path, encoding="utf-8") as f:
        reports = [json.loads(line) for line in f if line.startswith("{")]
    return code, {report["file"][:-len(".ini")]: report for report in reports}


class IniReaderTest(unittest.TestCase):
    def test_our_reader_reads_as_the_system_does(self):
        cases = CASES + generated_cases() + fixture_cases()
        folder = os.path.join(wine.root, "corpus")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for case in cases:
            with open(os.path.join(folder, case.name + ".ini"), "wb") as f:
                f.write(case.data)
            if case.probes:
                with open(os.path.join(folder, case.name + ".probes"), "wb") as f:
                    f.write("".join("%s\t%s\r\n" % probe for probe in case.probes).encode("utf-16"))
        code, reports = run_ini_diff(folder)
        self.assertEqual(code, 0)
        compared = 0
        for case in cases:
            with self.subTest(case=case.name):
                report = reports.get(case.name)
                self.assertIsNotNone(report, "no report for %s" % case.name)
                self.assertNotIn("read_error", report)
                results = {(l["section"], l["key"]): (l["ours"], l["system"]) for l in report["lookups"]}
                compared += len(results)
                for lookup, value in case.expect.items():
                    self.assertIn(lookup, results)
                    self.assertEqual(results[lookup][0], value, lookup)
                for lookup, (ours, system) in results.items():
                    if lookup in case.windows_differs:
                        continue
                    self.assertEqual(ours, system, "%s: ours and the system's differ at %r" % (case.name, lookup))
                # A listed difference that Wine no longer shows is fine; one
                # listed for a lookup never made is a mistake in the table.
                for lookup in case.windows_differs:
                    self.assertIn(lookup, results)
        self.assertGreater(compared, 150)


if __name__ == "__main__":
    unittest.main()
