// The optional keys through the form: language variants, Requires,
// Elevate and Tip.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "launcher/frm_splash.h"

namespace {

struct Disc {
    FakePlatform platform;
    FakeView view;
    FrmSplash form{platform, view};

    explicit Disc(const wchar_t* language = L"") {
        platform.language = language;
        platform.AddFile(L"C:\\disc\\launcher.ini");
        platform.Set(L"DIALOG", L"Show", L"True");
        platform.Set(L"DIALOG", L"Picture", L"splash.bmp");
        platform.AddFile(L"splash.bmp");
    }
    void Button(int number, const std::wstring& caption, const std::wstring& action) {
        std::wstring section = L"BUTTON" + std::to_wstring(number);
        platform.Set(section, L"Show", L"True");
        platform.Set(section, L"Caption", caption);
        platform.Set(section, L"Action", action);
    }
    // The exit code, or -1 when the window was set up.
    int Start() { return ExitCodeOf([&] { form.FormInitialize(); }); }
    int Click(int index) { return ExitCodeOf([&] { form.ButtonClick(index); }); }
    std::wstring Report() const { return platform.messages.empty() ? L"" : platform.messages[0]; }
};

bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

}  // namespace

TEST(LanguageVariants, EveryKeyOfEverySectionInTheUsersLanguage) {
    for (const wchar_t* language : {L"de-AT", L"de-DE", L"fr-FR", L""}) {
        const std::wstring lang = language;
        Disc disc(language);
        disc.Button(1, L"Install", L"setup.exe");
        disc.platform.Set(L"BUTTON1", L"Caption.de", L"Installieren");
        disc.platform.Set(L"BUTTON1", L"Caption.de-AT", L"Installieren (AT)");
        disc.platform.Set(L"BUTTON1", L"Action.fr", L"setup.exe /lang=fr");
        disc.platform.Set(L"DIALOG", L"Caption.de", L"Einrichtung");
        disc.platform.Set(L"DIALOG", L"Picture.fr", L"splash-fr.bmp");
        disc.platform.AddFile(L"splash-fr.bmp");
        ASSERT_EQ(disc.Start(), -1) << lang;
        const bool german = lang.rfind(L"de", 0) == 0, french = lang == L"fr-FR";
        EXPECT_EQ(disc.view.captions[0], lang == L"de-AT" ? L"Installieren (AT)" : german ? L"Installieren" : L"Install");
        EXPECT_EQ(disc.view.caption, german ? L"Einrichtung" : L"False");
        EXPECT_EQ(disc.view.picture, french ? L"splash-fr.bmp" : L"splash.bmp");
        EXPECT_EQ(disc.Click(0), 0);
        EXPECT_EQ(disc.platform.starts.at(0).parameters, french ? L"/lang=fr" : L"");
    }
}

TEST(LanguageVariants, ShowVariantHidesAButtonForOneLanguageAndTheLayoutAdapts) {
    for (const wchar_t* language : {L"de-DE", L"en-US"}) {
        Disc disc(language);
        disc.Button(1, L"Manual", L"manual.pdf");
        disc.Button(2, L"Install", L"setup.exe");
        disc.platform.Set(L"BUTTON1", L"Show.de", L"False");
        ASSERT_EQ(disc.Start(), -1);
        const bool german = std::wstring(language) == L"de-DE";
        EXPECT_EQ(disc.form.ButtonCount(), german ? 1 : 2);
        EXPECT_EQ(disc.view.captions[0], german ? L"Install" : L"Manual");
        EXPECT_EQ(disc.view.lefts[0], 2910);   // the middle, for one button as for two
    }
}

TEST(LanguageVariants, DirectLaunchShowAndDefaultActionToo) {
    Disc disc(L"de-CH");
    disc.platform.Set(L"DIALOG", L"Show.de", L"0");
    disc.platform.Set(L"DIALOG", L"DefaultAction.de", L"setup.exe /lang=de");
    EXPECT_EQ(disc.Start(), 0);
    ASSERT_EQ(disc.platform.starts.size(), 1u);
    EXPECT_EQ(disc.platform.starts[0].parameters, L"/lang=de");
}

TEST(LanguageVariants, ReportsNameTheVariantRead) {
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
        int exitCode;
        const wchar_t* from;
        bool atClick;
    } cases[] = {
        {L"BUTTON1", L"Show.de-AT", L"ja", 10, L"From: [BUTTON1] Show.de-AT in C:\\disc\\launcher.ini", false},
        {L"DIALOG", L"BackColor.de", L"#12", 11, L"From: [DIALOG] BackColor.de in", false},
        {L"BUTTON1", L"Requires.de", L"x64 windows", 15, L"From: [BUTTON1] Requires.de in", false},
        {L"BUTTON1", L"Elevate.de", L"please", 10, L"From: [BUTTON1] Elevate.de in", false},
        {L"BUTTON1", L"Action.de", L"missing.exe", 20, L"From: [BUTTON1] Action.de in", true},
    };
    for (const auto& c : cases) {
        Disc disc(L"de-AT");
        disc.Button(1, L"Install", L"setup.exe");
        disc.platform.Set(c.section, c.key, c.value);
        disc.platform.nextStart = {StartOutcome::Failed, 2, Text(L"not found")};
        int exitCode = disc.Start();
        if (c.atClick) {
            ASSERT_EQ(exitCode, -1) << disc.Report();
            exitCode = disc.Click(0);
        }
        EXPECT_EQ(exitCode, c.exitCode) << ToStd(c.key);
        EXPECT_TRUE(Contains(disc.Report(), c.from)) << disc.Report();
    }
}

TEST(Requires, ButtonsWhoseConditionsFailAreNotShown) {
    Disc disc;
    disc.platform.architecture = Architecture::X64;
    disc.platform.windowsVersion = {10, 0, 19045};
    disc.Button(1, L"32-bit", L"x86\\setup.exe");
    disc.platform.Set(L"BUTTON1", L"Requires", L"x86");
    disc.Button(2, L"64-bit", L"x64\\setup.exe");
    disc.platform.Set(L"BUTTON2", L"Requires", L"x64 win10");
    disc.Button(3, L"Windows 11 tools", L"tools.exe");
    disc.platform.Set(L"BUTTON3", L"Requires", L"WIN11");
    disc.Button(4, L"Readme", L"readme.txt");
    ASSERT_EQ(disc.Start(), -1);
    EXPECT_EQ(disc.form.ButtonCount(), 2);
    EXPECT_EQ(disc.view.captions[0], L"64-bit");
    EXPECT_EQ(disc.view.captions[1], L"Readme");
    EXPECT_EQ(disc.view.lefts[0], 2910);   // laid out as two buttons
    EXPECT_EQ(disc.view.lefts[1], 5790);
    EXPECT_EQ(disc.Click(1), 0);
    EXPECT_EQ(disc.platform.starts.at(0).program, L"readme.txt");
}

TEST(Requires, ReadOnlyForShownSectionsAndMissingMeansNoConditions) {
    Disc disc;
    disc.platform.Set(L"BUTTON1", L"Show", L"False");
    disc.platform.Set(L"BUTTON1", L"Requires", L"nonsense");   // never read: no error
    disc.Button(2, L"Install", L"setup.exe");
    disc.platform.Set(L"BUTTON2", L"Requires", L"");         // empty: no conditions
    ASSERT_EQ(disc.Start(), -1) << disc.Report();
    EXPECT_EQ(disc.form.ButtonCount(), 1);
}

TEST(Requires, UnknownConditionIsReportedWithItsOriginOnEveryMachine) {
    for (Architecture architecture : {Architecture::X86, Architecture::X64}) {
        Disc disc;
        disc.platform.architecture = architecture;
        disc.Button(2, L"Install", L"setup.exe");
        disc.platform.Set(L"BUTTON2", L"Requires", L"x64 win-10");
        EXPECT_EQ(disc.Start(), static_cast<int>(ErrorKind::UnknownCondition));
        const std::wstring report = disc.Report();
        EXPECT_TRUE(Contains(report, L"Run-time error 15: The condition is not known.")) << report;
        EXPECT_TRUE(Contains(report, L"Condition: \"win-10\"")) << report;
        EXPECT_TRUE(Contains(report, L"From: [BUTTON2] Requires in C:\\disc\\launcher.ini")) << report;
        EXPECT_TRUE(Contains(report, L"win8.1")) << report;   // the hint lists the known ones
        EXPECT_TRUE(disc.view.calls.empty());
    }
}

TEST(Elevate, ButtonAndDefaultActionsAskForAdministratorRights) {
    struct Case {
        const wchar_t* value;   // nullptr: no Elevate key
        bool elevate;
    } cases[] = {{nullptr, false}, {L"True", true}, {L"1", true}, {L"False", false}, {L"0", false}};
    for (const auto& c : cases) {
        Disc disc;
        disc.Button(1, L"Plain", L"plain.exe");
        disc.Button(2, L"Admin", L"admin.cmd");
        if (c.value) disc.platform.Set(L"BUTTON2", L"Elevate", c.value);
        ASSERT_EQ(disc.Start(), -1);
        EXPECT_EQ(disc.Click(1), 0);
        ASSERT_EQ(disc.platform.starts.size(), 1u);
        EXPECT_EQ(disc.platform.starts[0].elevate, c.elevate) << (c.value ? ToStd(c.value) : L"missing");

        Disc direct;
        direct.platform.Set(L"DIALOG", L"Show", L"False");
        direct.platform.Set(L"DIALOG", L"DefaultAction", L"admin.cmd");
        if (c.value) direct.platform.Set(L"DIALOG", L"Elevate", c.value);
        EXPECT_EQ(direct.Start(), 0);
        ASSERT_EQ(direct.platform.starts.size(), 1u);
        EXPECT_EQ(direct.platform.starts[0].elevate, c.elevate);
    }
    // Each button has its own: the first one above was never elevated.
    Disc disc;
    disc.Button(1, L"Plain", L"plain.exe");
    disc.Button(2, L"Admin", L"admin.cmd");
    disc.platform.Set(L"BUTTON2", L"Elevate", L"True");
    ASSERT_EQ(disc.Start(), -1);
    disc.Click(0);
    EXPECT_FALSE(disc.platform.starts.at(0).elevate);
}

TEST(Elevate, DeclinedPromptEndsNormallyAndABadValueIsReported) {
    Disc declined;
    declined.Button(1, L"Admin", L"admin.cmd");
    declined.platform.Set(L"BUTTON1", L"Elevate", L"True");
    declined.platform.nextStart = {StartOutcome::CancelledByUser, 1223, Text()};
    ASSERT_EQ(declined.Start(), -1);
    EXPECT_EQ(declined.Click(0), 0);
    EXPECT_TRUE(declined.platform.messages.empty());

    Disc bad;
    bad.Button(1, L"Admin", L"admin.cmd");
    bad.platform.Set(L"BUTTON1", L"Elevate", L"yes");
    EXPECT_EQ(bad.Start(), static_cast<int>(ErrorKind::NotATruthValue));
    EXPECT_TRUE(Contains(bad.Report(), L"From: [BUTTON1] Elevate in")) << bad.Report();
}

TEST(Tip, EachShownButtonGetsItsSectionsTip) {
    Disc disc(L"de-DE");
    disc.Button(1, L"Hidden", L"x.exe");
    disc.platform.Set(L"BUTTON1", L"Show", L"False");
    disc.platform.Set(L"BUTTON1", L"Tip", L"never shown");
    disc.Button(2, L"Install", L"setup.exe");
    disc.platform.Set(L"BUTTON2", L"Tip", L"Installs Acme & friends");
    disc.Button(3, L"Readme", L"readme.txt");   // no tip
    disc.Button(4, L"Manual", L"manual.pdf");
    disc.platform.Set(L"BUTTON4", L"Tip", L"The manual");
    disc.platform.Set(L"BUTTON4", L"Tip.de", L"Das Handbuch");
    ASSERT_EQ(disc.Start(), -1);
    EXPECT_EQ(disc.view.tips[0], L"Installs Acme & friends");
    EXPECT_EQ(disc.view.tips[1], L"");
    EXPECT_EQ(disc.view.tips[2], L"Das Handbuch");
    EXPECT_EQ(std::count(disc.view.calls.begin(), disc.view.calls.end(), L"tip1"), 0);
}
