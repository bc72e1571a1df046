#include <gtest/gtest.h>

#include "fake_platform.h"
#include "launcher/frm_splash.h"
#include "launcher/layout.h"

namespace {

struct Dialog {
    FakePlatform platform;
    FakeView view;
    FrmSplash form{platform, view};

    Dialog() {
        platform.AddFile(L"C:\\disc\\launcher.ini");
        platform.Set(L"DIALOG", L"Show", L"True");
        platform.Set(L"DIALOG", L"Picture", L"splash.bmp");
        platform.AddFile(L"splash.bmp");
    }
    void ShowButtons(const std::vector<int>& sections) {
        for (int i : sections) {
            std::wstring section = L"BUTTON" + std::to_wstring(i);
            platform.Set(section, L"Show", L"1");
            platform.Set(section, L"Caption", L"Caption " + std::to_wstring(i));
            platform.Set(section, L"Action", L"action" + std::to_wstring(i) + L".exe");
        }
    }
    int Start() { return ExitCodeOf([&] { form.FormInitialize(); }); }
};

}  // namespace

TEST(SetupButtons, ShownSectionsFillButtonsFromZeroWithoutGaps) {
    Dialog dialog;
    dialog.ShowButtons({2, 5});
    dialog.platform.Set(L"BUTTON3", L"Show", L"0");
    dialog.platform.Set(L"BUTTON4", L"Show", L"False");
    ASSERT_EQ(dialog.Start(), -1);
    EXPECT_EQ(dialog.form.ButtonCount(), 2);
    EXPECT_EQ(dialog.view.captions[0], L"Caption 2");
    EXPECT_EQ(dialog.view.captions[1], L"Caption 5");
    EXPECT_EQ(dialog.view.captions[2], L"Command1");
    EXPECT_EQ(ToStd(dialog.form.Action(0)), L"action2.exe");
    EXPECT_EQ(ToStd(dialog.form.Action(1)), L"action5.exe");
    // Every value came from one read of the file.
    EXPECT_EQ(dialog.platform.fileReads, std::vector<std::wstring>{L"C:\\disc\\launcher.ini"});
}

TEST(SetupButtons, MissingCaptionAndActionReadAsFalse) {
    Dialog dialog;
    dialog.platform.Set(L"BUTTON1", L"Show", L"-1");
    dialog.Start();
    EXPECT_EQ(dialog.view.captions[0], L"False");
    EXPECT_EQ(ToStd(dialog.form.Action(0)), L"False");
    EXPECT_EQ(dialog.view.caption, L"False");   // the window's title too
}

TEST(Layout, PositionsAndVisibilityForEveryCount) {
    constexpr int H = -1;   // hidden
    const int expected[6][kButtonSlots] = {
        {H, H, H, H, H},
        {2910, H, H, H, H},
        {2910, 5790, H, H, H},
        {30, 2910, 5790, H, H},
        {30, 1950, 3870, 5790, H},
        {30, 1470, 2910, 4350, 5790},
    };
    for (int count = 0; count <= 5; ++count) {
        Dialog dialog;
        std::vector<int> sections;
        for (int i = 1; i <= count; ++i) sections.push_back(i);
        dialog.ShowButtons(sections);
        ASSERT_EQ(dialog.Start(), -1);
        for (int i = 0; i < kButtonSlots; ++i) {
            EXPECT_EQ(dialog.view.visible[i], expected[count][i] != H) << "count " << count << " button " << i;
            if (expected[count][i] != H) EXPECT_EQ(dialog.view.lefts[i], expected[count][i]) << count << "/" << i;
            else EXPECT_EQ(dialog.view.lefts[i], kDesignButtonLeft[i]) << count << "/" << i;
        }
    }
}

TEST(DialogSetup, DressesInOrderButtonsColourPictureIconTitleLayout) {
    Dialog dialog;
    dialog.ShowButtons({3});
    dialog.platform.Set(L"DIALOG", L"BackColor", L"0,128,255");
    dialog.platform.Set(L"DIALOG", L"Icon", L"disc.ico");
    dialog.platform.AddFile(L"disc.ico");
    dialog.platform.Set(L"DIALOG", L"Caption", L"Acme");
    ASSERT_EQ(dialog.Start(), -1);
    std::vector<std::wstring> expected = {L"caption0", L"backcolor", L"picture", L"icon", L"title",
                                          L"left0",    L"visible0",  L"visible1", L"visible2", L"visible3",
                                          L"visible4"};
    EXPECT_EQ(dialog.view.calls, expected);
    EXPECT_EQ(dialog.view.backColor.value, 16744448u);
    EXPECT_EQ(dialog.view.picture, L"splash.bmp");
    EXPECT_EQ(dialog.view.icon, L"disc.ico");
}

TEST(DialogSetup, MissingIconKeepsTheBuiltInOneSilently) {
    Dialog dialog;
    dialog.platform.Set(L"DIALOG", L"Icon", L"gone.ico");
    ASSERT_EQ(dialog.Start(), -1);
    EXPECT_TRUE(dialog.view.icon.empty());
    EXPECT_TRUE(dialog.platform.messages.empty());
}

TEST(DialogSetup, MissingPictureIsReportedAfterTheButtonsWereRead) {
    Dialog dialog;
    dialog.ShowButtons({1});
    dialog.platform.ini[L"dialog"].erase(L"picture");
    EXPECT_EQ(dialog.Start(), 2);
    ASSERT_EQ(dialog.platform.messages.size(), 1u);
    EXPECT_EQ(dialog.platform.messages[0], L"Couldn't find splash screen picture - False");
    EXPECT_EQ(ToStd(dialog.form.Action(0)), L"action1.exe");
    EXPECT_EQ(dialog.view.calls, (std::vector<std::wstring>{L"caption0", L"backcolor"}));
}

TEST(DialogSetup, BadColourIsReportedWithItsOrigin) {
    Dialog dialog;
    dialog.platform.Set(L"DIALOG", L"BackColor", L"255,0");
    EXPECT_EQ(dialog.Start(), static_cast<int>(ErrorKind::ColorComponents));
    ASSERT_EQ(dialog.platform.messages.size(), 1u);
    EXPECT_NE(dialog.platform.messages[0].find(L"[DIALOG] BackColor"), std::wstring::npos);
    EXPECT_EQ(dialog.view.calls, std::vector<std::wstring>{});   // no button shown, nothing dressed
}

// The window reports what it could not load or create; the form names the
// line at fault and ends with that kind's number.
TEST(DialogSetup, WhatTheViewCannotUseIsReportedByTheForm) {
    struct Case {
        ViewResult FakeView::*result;
        ErrorKind kind;
        const wchar_t* from;
        bool atLoad;
    };
    const Case cases[] = {
        {&FakeView::pictureResult, ErrorKind::PictureUnreadable, L"From: [DIALOG] Picture in C:\\disc\\launcher.ini", false},
        {&FakeView::iconResult, ErrorKind::IconUnreadable, L"From: [DIALOG] Icon in C:\\disc\\launcher.ini", false},
        {&FakeView::showResult, ErrorKind::WindowFailed, L"Run-time error 40", true},
    };
    for (const Case& c : cases) {
        Dialog dialog;
        dialog.platform.Set(L"DIALOG", L"Icon", L"disc.ico");
        dialog.platform.AddFile(L"disc.ico");
        dialog.view.*c.result = ViewResult{false, 13, Text(L"The data is invalid.")};
        int exitCode = dialog.Start();
        if (c.atLoad) {
            ASSERT_EQ(exitCode, -1);
            exitCode = ExitCodeOf([&] { dialog.form.FormLoad(); });
        }
        EXPECT_EQ(exitCode, static_cast<int>(c.kind));
        ASSERT_EQ(dialog.platform.messages.size(), 1u);
        const std::wstring& report = dialog.platform.messages[0];
        EXPECT_NE(report.find(c.from), std::wstring::npos) << report;
        EXPECT_NE(report.find(L"Windows says: The data is invalid. (error 13)"), std::wstring::npos) << report;
    }
}

TEST(ButtonClick, RunsTheActionOfTheSectionOnThatButton) {
    Dialog dialog;
    dialog.ShowButtons({3});
    ASSERT_EQ(dialog.Start(), -1);
    EXPECT_EQ(dialog.view.lefts[0], 2910);
    EXPECT_THROW(dialog.form.ButtonClick(0), ProgramEnded);
    ASSERT_EQ(dialog.platform.starts.size(), 1u);
    EXPECT_EQ(dialog.platform.starts[0].program, L"action3.exe");
    dialog.form.ButtonClick(7);   // outside 0 to 4: nothing
    EXPECT_EQ(dialog.platform.starts.size(), 1u);
}

TEST(ButtonClick, FailedStartNamesTheButtonsSection) {
    Dialog dialog;
    dialog.ShowButtons({4});
    dialog.platform.nextStart = {StartOutcome::Failed, 2, Text(L"not found")};
    ASSERT_EQ(dialog.Start(), -1);
    EXPECT_THROW(dialog.form.ButtonClick(0), ProgramEnded);
    ASSERT_EQ(dialog.platform.messages.size(), 1u);
    EXPECT_NE(dialog.platform.messages[0].find(L"[BUTTON4] Action"), std::wstring::npos);
}

TEST(ButtonClick, ClicksAndCloseWhileAReportIsUpStartNothingAndKeepItsExitCode) {
    Dialog dialog;
    dialog.ShowButtons({1, 2});
    dialog.platform.nextStart = {StartOutcome::Failed, 2, Text(L"not found")};
    ASSERT_EQ(dialog.Start(), -1);
    int reportsSeen = 0;
    dialog.platform.whileMessageShown = [&] {
        ++reportsSeen;
        dialog.platform.nextStart = {StartOutcome::Started, 0, Text()};
        dialog.form.ButtonClick(1);   // the working button, under the report
        dialog.form.ButtonClick(0);
        dialog.form.FormUnload();     // the close box, likewise
    };
    int exitCode = ExitCodeOf([&] { dialog.form.ButtonClick(0); });
    EXPECT_EQ(exitCode, static_cast<int>(ErrorKind::StartFailed));
    EXPECT_EQ(reportsSeen, 1);
    ASSERT_EQ(dialog.platform.starts.size(), 1u);
    EXPECT_EQ(dialog.platform.starts[0].program, L"action1.exe");
}
