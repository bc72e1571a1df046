#include "launcher/config.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

TEST(IniPath, JoinsDirectoryBaseNameAndExtension) {
    EXPECT_EQ(ToStd(BuildIniPath(L"C:\\disc\\setup", L"launcher")), L"C:\\disc\\setup\\launcher.ini");
    // A drive's root already ends in a backslash; the separator is still added.
    EXPECT_EQ(ToStd(BuildIniPath(L"R:\\", L"autorun")), L"R:\\\\autorun.ini");
}

TEST(GetIniValue, MissingEmptyAndPresentValues) {
    FakePlatform platform;
    platform.Set(L"DIALOG", L"Caption", L"Acme Setup");
    platform.Set(L"DIALOG", L"Show", L"");
    EXPECT_EQ(ToStd(GetIniValue(platform, L"x.ini", L"DIALOG", L"Caption")), L"Acme Setup");
    EXPECT_EQ(ToStd(GetIniValue(platform, L"x.ini", L"DIALOG", L"Show")), L"False");
    EXPECT_EQ(ToStd(GetIniValue(platform, L"x.ini", L"DIALOG", L"Icon")), L"False");
    EXPECT_EQ(ToStd(GetIniValue(platform, L"x.ini", L"NOSECTION", L"Show")), L"False");
}

TEST(GetIniValue, LongValuesComeBackWholeUpToTheLongestCommandLine) {
    FakePlatform platform;
    for (std::size_t length : {254u, 300u, 32767u}) {
        std::wstring value(length, L'x');
        platform.Set(L"DIALOG", L"DefaultAction", value);
        EXPECT_EQ(ToStd(GetIniValue(platform, L"x.ini", L"DIALOG", L"DefaultAction")), value) << length;
    }
}

TEST(GetIniValue, ValuePastTheLongestCommandLineIsReported) {
    FakePlatform platform;
    platform.Set(L"DIALOG", L"DefaultAction", std::wstring(32768, L'x'));
    try {
        GetIniValue(platform, L"C:\\disc\\launcher.ini", L"DIALOG", L"DefaultAction");
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
    EXPECT_THROW(GetIniTruthValue(platform, L"C:\\d\\l.ini", L"BUTTON2", L"Show"), ProgramEnded);
    ASSERT_EQ(platform.messages.size(), 1u);
    const std::wstring& report = platform.messages[0];
    EXPECT_NE(report.find(L"Run-time error 10"), std::wstring::npos) << report;
    EXPECT_NE(report.find(L"\"maybe\""), std::wstring::npos) << report;
    EXPECT_NE(report.find(L"[BUTTON2] Show in C:\\d\\l.ini"), std::wstring::npos) << report;
}
