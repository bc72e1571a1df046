#include "launcher/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_platform.h"
#include "launcher/text_encoding.h"

using namespace std::string_literals;

namespace {

struct Lookup {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* expected;   // nullptr: not found
};

struct RuleCase {
    const char* rule;
    std::wstring text;
    std::vector<Lookup> lookups;
};

}  // namespace

TEST(IniFile, FollowsTheProfileReadersRules) {
    const RuleCase cases[] = {
        {"names ignore letter case, values keep it",
         L"[Dialog]\r\nSHOW=TrUe\r\n",
         {{L"DIALOG", L"show", L"TrUe"}, {L"dialog", L"Show", L"TrUe"}}},
        {"letter case is ignored for A to Z only",
         L"[Gr\u00D6SSE]\r\n\u0418\u041C\u042F=1\r\n\u00C4x=2\r\n",
         {{L"gr\u00D6sse", L"\u0418\u041C\u042F", L"1"}, {L"gr\u00F6sse", L"\u0418\u041C\u042F", nullptr},
          {L"GR\u00D6SSE", L"\u0438\u043C\u044F", nullptr}, {L"GR\u00D6SSE", L"\u00E4X", nullptr}}},
        {"blanks around names and values: space, tab, vertical tab, form feed, Ctrl-Z",
         L" \t[ DIALOG \v]\t\r\n \tCaption \t= \v\f Acme  Setup \t\x1A \r\n",
         {{L"DIALOG", L"Caption", L"Acme  Setup"}}},
        {"other control characters and no-break spaces are kept",
         L"[S]\r\nA=\x1Bx\u00A0\r\n",
         {{L"S", L"A", L"\x1Bx\u00A0"}}},
        {"one pair of double or single quotes around the whole value",
         L"[S]\r\nA=\"x y\"\r\nB='x'\r\nC=\"\"x\"\"\r\nD=\"x'\r\nE=\"\r\nF=\" x \" \r\nG=\"x\" y\r\n",
         {{L"S", L"A", L"x y"}, {L"S", L"B", L"x"}, {L"S", L"C", L"\"x\""}, {L"S", L"D", L"\"x'"},
          {L"S", L"E", L"\""}, {L"S", L"F", L" x "}, {L"S", L"G", L"\"x\" y"}}},
        {"the first of duplicate keys wins",
         L"[S]\r\nA=1\r\na=2\r\n",
         {{L"S", L"A", L"1"}}},
        {"only the first section of a name is looked into",
         L"[S]\r\nA=1\r\n[T]\r\n[s]\r\nA=2\r\nB=3\r\n",
         {{L"S", L"A", L"1"}, {L"S", L"B", nullptr}}},
        {"a line without '=' is a key without value that hides a later one",
         L"[S]\r\nShow\r\nShow=True\r\nOther True\r\n",
         {{L"S", L"Show", L""}, {L"S", L"Other True", L""}, {L"S", L"Other", nullptr}}},
        {"comment lines are no keys; ';' inside a value is text",
         L"[S]\r\n;A=1\r\n  ;B=2\r\nC=x ;y\r\n#D=4\r\n",
         {{L"S", L";A", nullptr}, {L"S", L";B", nullptr}, {L"S", L"C", L"x ;y"}, {L"S", L"#D", L"4"}}},
        {"keys before the first section belong to none",
         L"A=1\r\n[S]\r\nB=2\r\n",
         {{L"", L"A", nullptr}, {L"S", L"A", nullptr}, {L"S", L"B", L"2"}}},
        {"a section name ends at the first ']' or at the line's end",
         L"[A]B=1\r\nC=2\r\n[D]x]\r\nE=3\r\n[F\r\nG=4\r\n[]\r\nH=5\r\n",
         {{L"A", L"B", nullptr}, {L"A", L"C", L"2"}, {L"D", L"E", L"3"}, {L"D]x", L"E", nullptr},
          {L"F", L"G", L"4"}, {L"", L"H", L"5"}}},
        {"CR, LF and CR LF end lines; the last line needs no end",
         L"[S]\rA=1\nB=2\r\nC=3\n\rD=4",
         {{L"S", L"A", L"1"}, {L"S", L"B", L"2"}, {L"S", L"C", L"3"}, {L"S", L"D", L"4"}}},
        {"a NUL ends a value, after its blanks are trimmed",
         L"[S]\r\nA=x \0y\r\nB=\"q\0\"\r\nC\0D=z\r\n"s,
         {{L"S", L"A", L"x "}, {L"S", L"B", L"\"q"}, {L"S", L"C", L"z"}}},
        {"an empty file and a file of blank lines",
         L"\r\n \t \r\n",
         {{L"S", L"A", nullptr}}},
    };
    for (const RuleCase& c : cases) {
        IniFile ini;
        ini.Parse(Text(WStr(c.text)));
        for (const Lookup& lookup : c.lookups) {
            IniValue value = ini.Find(lookup.section, lookup.key);
            EXPECT_EQ(value.found, lookup.expected != nullptr) << c.rule << ": [" << Utf8(lookup.section) << "] "
                                                               << Utf8(lookup.key);
            if (lookup.expected && value.found)
                EXPECT_EQ(ToStd(value.text), lookup.expected) << c.rule << ": " << Utf8(lookup.key);
        }
    }
}

TEST(IniFile, RecordsTheLineOfEachKey) {
    IniFile ini;
    // Lines: 1 comment, 2 section, 3 blank, 4 key (CR LF), 5 key (CR), 6 key (LF), 7 blank, 8 key.
    ini.Parse(Text(L"; disc\r\n[DIALOG]\r\n\r\nShow=True\r\nCaption=A\rPicture=p.bmp\n\r\nIcon=i.ico"));
    EXPECT_EQ(ini.Find(L"DIALOG", L"Show").line, 4u);
    EXPECT_EQ(ini.Find(L"DIALOG", L"Caption").line, 5u);
    EXPECT_EQ(ini.Find(L"DIALOG", L"Picture").line, 6u);
    EXPECT_EQ(ini.Find(L"DIALOG", L"Icon").line, 8u);
    ASSERT_EQ(ini.EntryCount(), 5u);
    EXPECT_TRUE(ini.Entry(0).isSection);
    EXPECT_EQ(ini.Entry(0).line, 2u);
    EXPECT_EQ(ToStd(ini.Entry(4).name), L"Icon");
    EXPECT_EQ(ToStd(ini.Entry(4).value), L"i.ico");
}

TEST(IniFile, ParsingAgainReplacesTheOldFile) {
    IniFile ini;
    ini.Parse(Text(L"[S]\r\nA=1\r\n"));
    ini.Parse(Text(L"[S]\r\nB=2\r\n"));
    EXPECT_FALSE(ini.Find(L"S", L"A").found);
    EXPECT_EQ(ToStd(ini.Find(L"S", L"B").text), L"2");
}

TEST(TextEncoding, DecidedOncePerFile) {
    struct Case {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
        std::size_t markLength;
    };
    const Case cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF[S]", TextEncoding::Utf8, 3},
        {"UTF-16 LE mark", std::string("\xFF\xFE[\0", 4), TextEncoding::Utf16Le, 2},
        {"UTF-16 BE mark", std::string("\xFE\xFF\0[", 4), TextEncoding::Utf16Be, 2},
        {"valid UTF-8 with a non-ASCII character", "A=Gr\xC3\xBC\xC3\x9F" "e", TextEncoding::Utf8, 0},
        {"a character beyond U+FFFF", "A=\xF0\x9F\x92\xBF", TextEncoding::Utf8, 0},
        {"ASCII only", "[S]\r\nA=1", TextEncoding::Ansi, 0},
        {"empty", "", TextEncoding::Ansi, 0},
        {"cp1252 text", "A=Gr\xFC\xDF" "e", TextEncoding::Ansi, 0},
        {"UTF-8 with one invalid byte", "A=\xC3\xBC \xFC", TextEncoding::Ansi, 0},
        {"overlong UTF-8", "A=\xC0\xAF", TextEncoding::Ansi, 0},
        {"UTF-8 surrogate", "A=\xED\xA0\x80", TextEncoding::Ansi, 0},
        {"truncated UTF-8 at the end", "A=\xE6\x97", TextEncoding::Ansi, 0},
        {"past U+10FFFF", "A=\xF4\x90\x80\x80", TextEncoding::Ansi, 0},
        {"UTF-16 without a mark", std::string("[\0S\0]\0", 6), TextEncoding::Ansi, 0},
    };
    for (const Case& c : cases) {
        auto data = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
        DetectedEncoding detected = DetectTextEncoding(data, c.bytes.size());
        EXPECT_EQ(detected.encoding, c.encoding) << c.what;
        EXPECT_EQ(detected.markLength, c.markLength) << c.what;
    }
}

TEST(TextEncoding, DecodesToUtf16CodeUnitsOnEveryBuild) {
    auto decode = [](const std::string& bytes, TextEncoding encoding) {
        return ToStd(DecodeUnicodeText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), encoding));
    };
    // A character beyond U+FFFF is a surrogate pair, from UTF-8 as from UTF-16.
    const std::wstring disc = {L'A', static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDCBF)};
    EXPECT_EQ(decode("A\xF0\x9F\x92\xBF", TextEncoding::Utf8), disc);
    EXPECT_EQ(decode(std::string("A\0\x3D\xD8\xBF\xDC", 6), TextEncoding::Utf16Le), disc);
    EXPECT_EQ(decode(std::string("\0A\xD8\x3D\xDC\xBF", 6), TextEncoding::Utf16Be), disc);
    // Damage after a mark is kept visible rather than dropped.
    EXPECT_EQ(decode("a\xFF" "b\xE6\x97", TextEncoding::Utf8), L"a\uFFFDb\uFFFD\uFFFD");
    EXPECT_EQ(decode(std::string("a\0b", 3), TextEncoding::Utf16Le), L"a\uFFFD");
}
