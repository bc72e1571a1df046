#include <gtest/gtest.h>

#include "fake_platform.h"
#include "launcher/frm_splash.h"

namespace {

struct Launch {
    FakePlatform platform;
    FakeView view;
    FrmSplash form{platform, view};

    Launch() { platform.AddFile(L"C:\\disc\\launcher.ini"); }
    // Runs the start-up; returns the exit code, or -1 when it went on to the window.
    int Start() {
        try {
            form.FormInitialize();
            return -1;
        } catch (const ProgramEnded& ended) {
            return ended.exitCode;
        }
    }
};

}  // namespace

TEST(Startup, MissingIniNamesThePathTried) {
    Launch launch;
    launch.platform.files.clear();
    EXPECT_EQ(launch.Start(), 1);
    ASSERT_EQ(launch.platform.messages.size(), 1u);
    EXPECT_EQ(launch.platform.messages[0],
              L"C:\\disc\\launcher.ini doesn't exist. INI filename must be the same as EXE filename.");
    EXPECT_TRUE(launch.platform.fileReads.empty());
}

TEST(Startup, IniIsNamedAfterTheExe) {
    Launch launch;
    launch.platform.exeBaseName = L"autorun";
    launch.platform.currentDirectory = L"R:\\";
    launch.platform.AddFile(L"R:\\\\autorun.ini");
    launch.platform.Set(L"DIALOG", L"DefaultAction", L"exit");
    EXPECT_EQ(launch.Start(), 0);
    EXPECT_EQ(ToStd(launch.form.IniPath()), L"R:\\\\autorun.ini");
}

TEST(Startup, DirectLaunchRunsTheDefaultActionAndTouchesNoWindow) {
    Launch launch;
    launch.platform.Set(L"DIALOG", L"Show", L"False");
    launch.platform.Set(L"DIALOG", L"DefaultAction", L"Setup.exe /Q");
    EXPECT_EQ(launch.Start(), 0);
    ASSERT_EQ(launch.platform.starts.size(), 1u);
    EXPECT_EQ(launch.platform.starts[0].program, L"Setup.exe");
    EXPECT_TRUE(launch.view.calls.empty());
    EXPECT_EQ(launch.platform.fileReads, std::vector<std::wstring>{L"C:\\disc\\launcher.ini"});
}

TEST(Startup, ExitEndsAtOnceAndStartsNothing) {
    Launch launch;
    launch.platform.Set(L"DIALOG", L"Show", L"0");
    launch.platform.Set(L"DIALOG", L"DefaultAction", L"exit");
    EXPECT_EQ(launch.Start(), 0);
    EXPECT_TRUE(launch.platform.starts.empty());
    EXPECT_TRUE(launch.platform.messages.empty());
}

TEST(Startup, MissingShowAndDefaultActionStartFalse) {
    Launch launch;
    launch.Start();
    ASSERT_EQ(launch.platform.starts.size(), 1u);
    EXPECT_EQ(launch.platform.starts[0].program, L"False");
}

TEST(Startup, ShowThatIsNoTruthValueIsReported) {
    Launch launch;
    launch.platform.Set(L"DIALOG", L"Show", L"Yes please");
    EXPECT_EQ(launch.Start(), static_cast<int>(ErrorKind::NotATruthValue));
    EXPECT_TRUE(launch.platform.starts.empty());
}

TEST(Startup, ShowTrueGoesOnToTheWindow) {
    Launch launch;
    launch.platform.Set(L"DIALOG", L"Show", L"True");
    launch.platform.Set(L"DIALOG", L"Picture", L"splash.bmp");
    launch.platform.AddFile(L"splash.bmp");
    EXPECT_EQ(launch.Start(), -1);
    EXPECT_TRUE(launch.platform.starts.empty());
}
