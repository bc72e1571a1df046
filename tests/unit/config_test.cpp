#include "launcher/config.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace {

// One value as the launcher reads it: the file loaded once, then looked up.
Text ReadValue(FakePlatform& platform, WStr iniPath, WStr section, WStr key) {
    IniFile ini;
    LoadIniFile(platform, iniPath, ini);
    return GetIniValue(IniSource{platform, ini, iniPath, WStr()}, section, key).text;
}

}  // namespace

TEST(IniPath, JoinsDirectoryBaseNameAndExtension) {
    EXPECT_EQ(ToStd(BuildIniPath(L"C:\\disc\\setup", L"launcher")), L"C:\\disc\\setup\\launcher.ini");
    // A drive's root already ends in a backslash; the separator is still added.
    EXPECT_EQ(ToStd(BuildIniPath(L"R:\\", L"autorun")), L"R:\\\\autorun.ini");
}

TEST(GetIniValue, MissingEmptyAndPresentValues) {
    FakePlatform platform;
    platform.Set(L"DIALOG", L"Caption", L"Acme Setup");
    platform.Set(L"DIALOG", L"Show", L"");
    EXPECT_EQ(ToStd(ReadValue(platform, L"x.ini", L"DIALOG", L"Caption")), L"Acme Setup");
    EXPECT_EQ(ToStd(ReadValue(platform, L"x.ini", L"DIALOG", L"Show")), L"False");
    EXPECT_EQ(ToStd(ReadValue(platform, L"x.ini", L"DIALOG", L"Icon")), L"False");
    EXPECT_EQ(ToStd(ReadValue(platform, L"x.ini", L"NOSECTION", L"Show")), L"False");
}

TEST(GetIniValue, LongValuesComeBackWholeUpToTheLongestCommandLine) {
    FakePlatform platform;
    for (std::size_t length : {254u, 300u, 32767u}) {
        std::wstring value(length, L'x');
        platform.Set(L"DIALOG", L"DefaultAction", value);
        EXPECT_EQ(ToStd(ReadValue(platform, L"x.ini", L"DIALOG", L"DefaultAction")), value) << length;
    }
}

TEST(GetIniValue, ValuePastTheLongestCommandLineIsReported) {
    FakePlatform platform;
    platform.Set(L"DIALOG", L"DefaultAction", std::wstring(32768, L'x'));
    try {
        ReadValue(platform, L"C:\\disc\\launcher.ini", L"DIALOG", L"DefaultAction");
        FAIL() << "a value that was cut was used";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, static_cast<int>(ErrorKind::ValueTooLong));
    }
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find(L"[DIALOG] DefaultAction in C:\\disc\\launcher.ini"), std::wstring::npos);
    // The report shows the start of the value, not all 32768 characters.
    EXPECT_LT(platform.messages[0].size(), 2000u);
}

TEST(GetIniTruthValue, TextThatIsNoTruthValueIsReportedWithItsOrigin) {
    FakePlatform platform;
    platform.Set(L"BUTTON2", L"Show", L"maybe");
    IniFile ini;
    LoadIniFile(platform, L"C:\\d\\l.ini", ini);
    EXPECT_THROW(GetIniTruthValue(IniSource{platform, ini, L"C:\\d\\l.ini", WStr()}, L"BUTTON2", L"Show"), ProgramEnded);
    ASSERT_EQ(platform.messages.size(), 1u);
    const std::wstring& report = platform.messages[0];
    EXPECT_NE(report.find(L"Run-time error 10"), std::wstring::npos) << report;
    EXPECT_NE(report.find(L"\"maybe\""), std::wstring::npos) << report;
    EXPECT_NE(report.find(L"[BUTTON2] Show in C:\\d\\l.ini"), std::wstring::npos) << report;
}

TEST(LoadIniFile, AFileThatCannotBeReadIsReportedWithTheSystemsReason) {
    struct Case {
        const char* what;
        ReadResult read;
        std::string bytes;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {"read error", {false, 5, Text(L"Access is denied.")}, "", L"Windows says: Access is denied. (error 5)"},
        {"larger than the limit", {true, 0, Text()}, std::string(kLargestIniFile + 1, ' '), L"(error 223)"},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.nextRead = ReadResult{c.read.ok, c.read.systemError, Text(c.read.systemMessage)};
        platform.iniBytes = c.bytes;
        IniFile ini;
        try {
            LoadIniFile(platform, L"R:\\\\launcher.ini", ini);
            ADD_FAILURE() << c.what << ": an unreadable file read as empty";
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(ended.exitCode, static_cast<int>(ErrorKind::IniUnreadable)) << c.what;
        }
        ASSERT_EQ(platform.messages.size(), 1u) << c.what;
        const std::wstring& report = platform.messages[0];
        EXPECT_NE(report.find(L"Run-time error 3: The INI file could not be read."), std::wstring::npos) << report;
        EXPECT_NE(report.find(L"File: \"R:\\\\launcher.ini\""), std::wstring::npos) << report;
        EXPECT_NE(report.find(c.reason), std::wstring::npos) << report;
    }
}

TEST(LoadIniFile, EachEncodingReadsTheSameCaption) {
    // "Grüße" and a Japanese word: UTF-8 with and without a mark, UTF-16 LE
    // and BE; Latin-1 text only where the ANSI code page can hold it.
    const std::string utf8 = "[DIALOG]\r\nCaption=Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC\r\n";
    const std::wstring expected = L"Gr\u00FC\u00DFe \u65E5\u672C";
    auto utf16 = [&](bool bigEndian) {
        std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t ch : L"[DIALOG]\r\nCaption=" + expected + L"\r\n") {
            char high = static_cast<char>(ch >> 8), low = static_cast<char>(ch & 0xFF);
            out += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return out;
    };
    const std::pair<const char*, std::string> files[] = {
        {"UTF-8", utf8}, {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-16 LE", utf16(false)}, {"UTF-16 BE", utf16(true)},
    };
    for (const auto& [what, bytes] : files) {
        FakePlatform platform;
        platform.iniBytes = bytes;
        EXPECT_EQ(ToStd(ReadValue(platform, L"x.ini", L"DIALOG", L"Caption")), expected) << what;
    }
    FakePlatform ansi;
    ansi.iniBytes = "[DIALOG]\r\nCaption=Gr\xFC\xDF" "e\r\n";
    EXPECT_EQ(ToStd(ReadValue(ansi, L"x.ini", L"DIALOG", L"Caption")), L"Gr\u00FC\u00DFe");
}
