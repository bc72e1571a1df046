#include "launcher/action.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

TEST(ExitKeyword, AnyLetterCaseButNoBlanks) {
    for (const wchar_t* text : {L"exit", L"EXIT", L"Exit"}) EXPECT_TRUE(IsExitKeyword(text)) << ToStd(text);
    for (const wchar_t* text : {L" exit", L"exit ", L"exit.exe", L"", L"False"})
        EXPECT_FALSE(IsExitKeyword(text)) << ToStd(text);
}

TEST(SplitCommandLine, ProgramAndParameters) {
    std::set<std::wstring> existing = {L"c:\\program files\\acme\\setup.exe", L"tools\\my app.exe",
                                       L"docs\\read me.txt"};
    auto exists = [&](WStr path) { return existing.count(Lower(std::wstring(path))) > 0; };
    struct Case {
        const wchar_t* line;
        const wchar_t* program;
        const wchar_t* parameters;
    } cases[] = {
        {L"setup.exe /lang=DE", L"setup.exe", L"/lang=DE"},
        {L"\"C:\\Program Files\\Acme\\setup.exe\" /S", L"C:\\Program Files\\Acme\\setup.exe", L"/S"},
        {L"\"unterminated path", L"unterminated path", L""},
        {L"C:\\Program Files\\Acme\\setup.exe /S /D=x", L"C:\\Program Files\\Acme\\setup.exe", L"/S /D=x"},
        {L"tools\\my app /quiet", L"tools\\my app", L"/quiet"},   // found with .exe added
        {L"docs\\read me.txt", L"docs\\read me.txt", L""},
        {L"notepad  readme.txt", L"notepad", L"readme.txt"},    // nothing local: the first token
        {L"https://example.invalid/Path?Q=1", L"https://example.invalid/Path?Q=1", L""},
    };
    for (const auto& c : cases) {
        CommandParts parts = SplitCommandLine(c.line, exists);
        EXPECT_EQ(ToStd(parts.program), c.program) << ToStd(c.line);
        EXPECT_EQ(ToStd(parts.parameters), c.parameters) << ToStd(c.line);
    }
}

class RunActionTest : public ::testing::Test {
protected:
    int Run(const wchar_t* action) {
        ValueOrigin origin{L"DIALOG", L"DefaultAction", L"C:\\disc\\launcher.ini"};
        try {
            RunAction(platform, action, L"", &origin);
        } catch (const ProgramEnded& ended) {
            return ended.exitCode;
        }
        ADD_FAILURE() << "RunAction returned";
        return -1;
    }
    FakePlatform platform;
};

TEST_F(RunActionTest, ExitStartsNothing) {
    EXPECT_EQ(Run(L"EXIT"), 0);
    EXPECT_TRUE(platform.starts.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RunActionTest, CommandLineStartsAsWritten) {
    EXPECT_EQ(Run(L"Setup.EXE /Lang=DE KEY=AbC-123"), 0);
    ASSERT_EQ(platform.starts.size(), 1u);
    EXPECT_EQ(platform.starts[0].program, L"Setup.EXE");
    EXPECT_EQ(platform.starts[0].parameters, L"/Lang=DE KEY=AbC-123");
}

TEST_F(RunActionTest, FailedStartIsReportedWithTheSystemsReason) {
    platform.nextStart = {StartOutcome::Failed, 2, Text(L"The system cannot find the file specified.")};
    EXPECT_EQ(Run(L"False"), static_cast<int>(ErrorKind::StartFailed));
    ASSERT_EQ(platform.messages.size(), 1u);
    const std::wstring& report = platform.messages[0];
    for (const wchar_t* part : {L"Run-time error 20", L"Command line: \"False\"",
                                L"[DIALOG] DefaultAction in C:\\disc\\launcher.ini",
                                L"The system cannot find the file specified. (error 2)"})
        EXPECT_NE(report.find(part), std::wstring::npos) << part << "\n" << report;
}

TEST_F(RunActionTest, SystemTextPlaceholderNamesTheProgram) {
    platform.nextStart = {StartOutcome::Failed, 193, Text(L"Bad EXE format for %1.")};
    EXPECT_EQ(Run(L"tools\\broken.exe /x"), static_cast<int>(ErrorKind::StartFailed));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].find(L"Windows says: Bad EXE format for tools\\broken.exe. (error 193)"),
              std::wstring::npos)
        << platform.messages[0];
}

TEST_F(RunActionTest, DeclinedElevationIsNoError) {
    platform.nextStart = {StartOutcome::CancelledByUser, 0, Text()};
    EXPECT_EQ(Run(L"setup.exe"), 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RunActionTest, EmptyQuotedProgramIsReportedNotStarted) {
    EXPECT_EQ(Run(L"\"\" /x"), static_cast<int>(ErrorKind::StartFailed));
    EXPECT_TRUE(platform.starts.empty());
}
