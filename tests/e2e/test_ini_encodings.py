"""Captions and command lines in German, Russian and Japanese, from INI
files saved as today's editors save them: UTF-8 with and without a
byte-order mark, UTF-16 LE and BE, and the ANSI code page (cp1252 here, which
holds only the German). The window shows them and the started program gets
them exactly as written."""

import unittest

import harness
from window_common import FIRST_BUTTON_ID, buttons_by_id, dialog_ini, new_disc, run_launcher

wine = None

setUpModule, tearDownModule = harness.module_fixtures(globals())

GERMAN = "Gr\xf6\xdfe \u2013 \xdcbersicht \u20ac"
RUSSIAN = "\u0423\u0441\u0442\u0430\u043d\u043e\u0432\u043a\u0430 \u043f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b"
JAPANESE = "\u30bb\u30c3\u30c8\u30a2\u30c3\u30d7\u3092\u958b\u59cb"

# Python's names for the encodings; "utf-8-sig" writes the mark, and the
# UTF-16 ones get theirs below.
ENCODINGS = [
    ("utf-8", [GERMAN, RUSSIAN, JAPANESE]),
    ("utf-8-sig", [GERMAN, RUSSIAN, JAPANESE]),
    ("utf-16-le", [GERMAN, RUSSIAN, JAPANESE]),
    ("utf-16-be", [GERMAN, RUSSIAN, JAPANESE]),
    ("cp1252", [GERMAN]),
]


def encoded(text, encoding):
    if encoding.startswith("utf-16"):
        text = "\ufeff" + text
    return text.encode(encoding)


class IniEncodingsTest(unittest.TestCase):
    def test_text_is_shown_and_passed_on_exactly_as_written(self):
        for encoding, texts in ENCODINGS:
            with self.subTest(encoding=encoding):
                title = " / ".join(texts)
                # The probe's arguments: each text whole in quotes, and its
                # words loose.
                arguments = " ".join('"%s" %s' % (text, text) for text in texts)
                buttons = [(text, "probe.exe " + arguments) for text in texts]
                ini = dialog_ini(buttons=buttons, caption=title)
                disc = new_disc(wine, encoded(ini, encoding))
                run = run_launcher(wine, disc, actions=["click:%d" % FIRST_BUTTON_ID])
                self.assertIsNotNone(run.window, run)
                self.assertEqual(run.window["title"], title, run)
                shown = buttons_by_id(run.window)
                self.assertEqual([shown[FIRST_BUTTON_ID + i]["text"] for i in range(len(texts))], texts, run)
                self.assertEqual(run.exit_code, 0, run)
                records = wine.take_probe_log()
                self.assertEqual(len(records), 1, run)
                expected = []
                for text in texts:
                    expected += [text] + text.split(" ")
                self.assertEqual(records[0]["argv"][1:], expected)
                self.assertTrue(records[0]["command_line"].endswith(arguments), records[0])


if __name__ == "__main__":
    unittest.main()
