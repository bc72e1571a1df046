// The disc checker on small discs made in a temp folder: what the launcher
// would report (through its own code), and what only bites elsewhere.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "checker/caption_width.h"
#include "checker/check_disc.h"
#include "checker/known_names.h"
#include "checker/native/pixbuf_decoder.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::string;

void Put16(Bytes& b, int v) { b += char(v & 0xFF), b += char((v >> 8) & 0xFF); }
void Put32(Bytes& b, std::uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// A 24-bit bitmap of one colour; `claimedRows` puts another height into its header.
Bytes Bmp(int width, int height, int claimedRows = 0) {
    const int stride = (width * 3 + 3) / 4 * 4;
    Bytes b = "BM";
    Put32(b, 54 + stride * height), Put32(b, 0), Put32(b, 54);
    Put32(b, 40), Put32(b, width), Put32(b, claimedRows ? claimedRows : height);
    Put16(b, 1), Put16(b, 24), Put32(b, 0), Put32(b, stride * height), Put32(b, 2835), Put32(b, 2835);
    Put32(b, 0), Put32(b, 0);
    return b + Bytes(static_cast<std::size_t>(stride * height), '\x40');
}

// An icon file of 32-bit images of the given sizes.
Bytes Ico(std::initializer_list<int> sizes) {
    Bytes head, images;
    Put16(head, 0), Put16(head, 1), Put16(head, static_cast<int>(sizes.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(sizes.size());
    for (int size : sizes) {
        Bytes dib;
        Put32(dib, 40), Put32(dib, size), Put32(dib, size * 2), Put16(dib, 1), Put16(dib, 32);
        for (int i = 0; i < 6; ++i) Put32(dib, 0);
        dib += Bytes(static_cast<std::size_t>(size * size * 4), '\x7F');
        dib += Bytes(static_cast<std::size_t>((size + 31) / 32 * 4 * size), '\0');
        head += char(size % 256), head += char(size % 256), head += '\0', head += '\0';
        Put16(head, 1), Put16(head, 32), Put32(head, static_cast<std::uint32_t>(dib.size())), Put32(head, offset);
        offset += static_cast<std::uint32_t>(dib.size());
        images += dib;
    }
    return head + images;
}

const Bytes kText = "This is a text file, not a picture.\r\n";

class TempDisc {
public:
    TempDisc() {
        static std::mt19937 random(std::random_device{}());
        root_ = fs::temp_directory_path() / ("checker-test-" + std::to_string(random()));
        fs::create_directories(root_);
    }
    ~TempDisc() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    TempDisc& Add(const std::string& name, const Bytes& bytes) {
        fs::path path = root_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return *this;
    }
    TempDisc& Folder(const std::string& name) {
        fs::create_directories(root_ / name);
        return *this;
    }
    std::wstring Root() const { return root_.wstring(); }

private:
    fs::path root_;
};

std::string Ini(const std::string& body) { return "[DIALOG]\r\nShow=True\r\nCaption=Test\r\nPicture=splash.bmp\r\n" + body; }

std::vector<Finding> Check(const TempDisc& disc, const std::wstring& name = L"") {
    PixbufDecoder decoder;
    return CheckDisc(CheckOptions{disc.Root(), name, false, false}, decoder);
}

std::string Describe(const std::vector<Finding>& findings) {
    std::string all = FormatText(findings);
    return all.empty() ? "(no findings)" : all;
}

struct Expected {
    Severity severity;
    int exitCode;
    int line;                 // -1: any
    std::wstring fragment;    // in the message
};

bool Has(const std::vector<Finding>& findings, const Expected& e) {
    for (const Finding& f : findings)
        if (f.severity == e.severity && f.exitCode == e.exitCode && (e.line < 0 || f.line == e.line) &&
            f.message.find(e.fragment) != std::wstring::npos)
            return true;
    return false;
}

int Errors(const std::vector<Finding>& findings) {
    int count = 0;
    for (const Finding& f : findings) count += f.severity == Severity::Error;
    return count;
}

struct DiscCase {
    const char* name;
    std::vector<std::pair<std::string, Bytes>> files;
    std::vector<Expected> expected;
};

const Bytes kSplash = Bmp(481, 345);

void ExpectFindings(const std::vector<DiscCase>& cases) {
    for (const DiscCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDisc disc;
        for (const auto& [name, bytes] : c.files) disc.Add(name, bytes);
        std::vector<Finding> findings = Check(disc);
        for (const Expected& e : c.expected) EXPECT_TRUE(Has(findings, e)) << Describe(findings);
    }
}

}  // namespace

// What the launcher itself reports: the same exit codes, at the key's line.
TEST(Checker, FindsWhatTheLauncherReports) {
    const std::vector<DiscCase> cases = {
        {"no INI", {{"splash.bmp", kSplash}}, {{Severity::Error, 1, 0, L"doesn't exist. INI filename"}}},
        {"Show not a truth value", {{"launcher.ini", "[DIALOG]\r\nShow=Maybe\r\n"}},
         {{Severity::Error, 10, 2, L"not a truth value. Value: \"Maybe\""}}},
        {"button Show not a truth value", {{"launcher.ini", Ini("[BUTTON3]\r\nShow=yes\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Error, 10, 6, L"\"yes\""}}},
        {"BackColor with two components", {{"launcher.ini", Ini("BackColor=1,2\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Error, 13, 5, L"three components"}}},
        {"BackColor not a number", {{"launcher.ini", Ini("BackColor=red,0,0\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Error, 11, 5, L"not a number"}}},
        {"BackColor component out of range", {{"launcher.ini", Ini("BackColor=256,0,0\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Error, 12, 5, L"out of range"}}},
        {"BackColor number out of range", {{"launcher.ini", Ini("BackColor=&H01000000\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Error, 12, 5, L"out of range"}}},
        {"picture missing", {{"launcher.ini", Ini("")}}, {{Severity::Error, 2, 4, L"Couldn't find splash screen picture - splash.bmp"}}},
        {"picture is text", {{"launcher.ini", Ini("")}, {"splash.bmp", kText}},
         {{Severity::Error, 30, 4, L"could not be read as a picture"}}},
        {"picture cut in half", {{"launcher.ini", Ini("")}, {"splash.bmp", kSplash.substr(0, kSplash.size() / 2)}},
         {{Severity::Error, 30, 4, L"could not be read as a picture"}}},
        {"bitmap header claims more rows than the file holds",
         {{"launcher.ini", Ini("")}, {"splash.bmp", Bmp(4, 4, 100000)}}, {{Severity::Error, 30, 4, L"picture"}}},
        {"icon is text", {{"launcher.ini", Ini("Icon=x.ico\r\n")}, {"splash.bmp", kSplash}, {"x.ico", kText}},
         {{Severity::Error, 31, 5, L"could not be read as an icon"}}},
        {"icon cut short", {{"launcher.ini", Ini("Icon=x.ico\r\n")}, {"splash.bmp", kSplash}, {"x.ico", Ico({16, 32}).substr(0, 600)}},
         {{Severity::Error, 31, 5, L"icon"}}},
        {"value too long",
         {{"launcher.ini", "[DIALOG]\r\nShow=False\r\nDefaultAction=x" + Bytes(32767, 'y') + "\r\n"}},
         {{Severity::Error, 14, 3, L"too long"}}},
        {"program in a folder the disc lacks", {{"launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=setup\\setup.exe /S\r\n"}},
         {{Severity::Error, 20, 3, L"Command line: \"setup\\setup.exe /S\""}}},
        {"no default action", {{"launcher.ini", "[DIALOG]\r\nShow=False\r\n"}}, {{Severity::Error, 20, -1, L"\"False\""}}},
        {"a button without action", {{"launcher.ini", Ini("[BUTTON2]\r\nShow=True\r\nCaption=&Go\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Error, 20, 5, L"\"False\""}, {Severity::Warning, 0, 6, L"has no \"Action\""}}},
    };
    ExpectFindings(cases);
}

// The launcher stops at its first fault; the checker goes on to the next.
TEST(Checker, ReportsEveryFaultNotOnlyTheFirst) {
    TempDisc disc;
    disc.Add("launcher.ini", Ini("BackColor=1,2\r\nIcon=x.ico\r\n[BUTTON1]\r\nShow=1\r\nCaption=A\r\nAction=bin\\a.exe\r\n"
                                 "[BUTTON2]\r\nShow=Perhaps\r\n"))
        .Add("splash.bmp", kText)
        .Add("x.ico", kText);
    std::vector<Finding> findings = Check(disc);
    for (const Expected& e : {Expected{Severity::Error, 10, 12, L"Perhaps"}, Expected{Severity::Error, 13, 5, L""},
                              Expected{Severity::Error, 30, 4, L""}, Expected{Severity::Error, 31, 6, L""},
                              Expected{Severity::Error, 20, 10, L"bin\\a.exe"}})
        EXPECT_TRUE(Has(findings, e)) << Describe(findings);
}

TEST(Checker, CleanDiscHasNoErrors) {
    TempDisc disc;
    disc.Add("launcher.ini", Ini("Icon=x.ico\r\nBackColor=47,31,107\r\n[BUTTON1]\r\nShow=True\r\nCaption=&Install\r\n"
                                 "Action=setup\\install.cmd\r\n[BUTTON2]\r\nShow=True\r\nCaption=E&xit\r\nAction=exit\r\n"))
        .Add("splash.bmp", kSplash)
        .Add("x.ico", Ico({16, 32, 48}))
        .Add("setup/install.cmd", "@echo off\r\n")
        .Add("launcher.exe", "MZ");
    std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(findings.empty()) << Describe(findings);
}

// The optional keys and their language variants are known; a condition
// the launcher does not know is its error 15 at the Requires line.
TEST(Checker, KnowsTheOptionalKeysAndTheirConditions) {
    TempDisc disc;
    disc.Add("launcher.ini", Ini("Caption.de=Test (DE)\r\nElevate=False\r\nBackColor=#2F1F6B\r\n"
                                 "[BUTTON1]\r\nShow=True\r\nShow.de-AT=False\r\nRequires=x64 !exists:done.txt\r\n"
                                 "Caption=&Install\r\nCaption.zh-Hant-TW=Install\r\nTip=Installs\r\nElevate=True\r\n"
                                 "Action=setup\\install.cmd\r\n"
                                 "[BUTTON2]\r\nShow=True\r\nCaption=&Tools\r\nRequires=win10 x65\r\nAction=exit\r\n"
                                 "[BUTTON3]\r\nShow=True\r\nCaption=E&xit\r\nAction=exit\r\nTipp=typo\r\n"))
        .Add("splash.bmp", kSplash)
        .Add("setup/install.cmd", "@echo off\r\n");
    std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(Has(findings, {Severity::Error, 15, 20, L"Condition: \"x65\""})) << Describe(findings);
    EXPECT_TRUE(Has(findings, {Severity::Warning, 0, 26, L"did you mean \"Tip\""})) << Describe(findings);
    for (const Finding& f : findings)
        EXPECT_TRUE(f.message.find(L"unknown key") == std::wstring::npos || f.line == 26) << Describe(findings);
}

// What works on the author's machine and fails on others, or on the medium.
TEST(Checker, FindsWhatBitesElsewhere) {
    const std::vector<DiscCase> cases = {
        {"misspelt key", {{"launcher.ini", Ini("Captoin=x\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Warning, 0, 5, L"did you mean \"Caption\"?"}}},
        {"misspelt section", {{"launcher.ini", Ini("[BUTON1]\r\nShow=True\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Warning, 0, 5, L"did you mean [BUTTON1]?"}}},
        {"sixth button", {{"launcher.ini", Ini("[BUTTON6]\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Warning, 0, 5, L"five buttons"}}},
        {"repeated key", {{"launcher.ini", Ini("Caption=Second\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Warning, 0, 5, L"reads the first one, on line 3"}}},
        {"button without caption", {{"launcher.ini", Ini("[BUTTON1]\r\nShow=True\r\nAction=exit\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Warning, 0, 6, L"has no \"Caption\""}}},
        {"shared access key",
         {{"launcher.ini", Ini("[BUTTON1]\r\nShow=1\r\nCaption=&Install\r\nAction=exit\r\n[BUTTON2]\r\nShow=1\r\n"
                               "Caption=&info\r\nAction=exit\r\n")},
          {"splash.bmp", kSplash}},
         {{Severity::Warning, 0, 11, L"access key \"I\" of [BUTTON2] is also that of [BUTTON1]"}}},
        {"caption too wide",
         {{"launcher.ini", Ini("[BUTTON1]\r\nShow=1\r\nCaption=Install everything now\r\nAction=exit\r\n")},
          {"splash.bmp", kSplash}},
         {{Severity::Note, 0, 7, L"likely cut off"}}},
        // The checker's machine is a 64-bit Windows: [BUTTON1] fills no
        // button there, and the first button's caption is [BUTTON2]'s.
        {"a button offered only elsewhere",
         {{"launcher.ini", Ini("[BUTTON1]\r\nShow=1\r\nRequires=!x64\r\nCaption=&Install\r\nAction=exit\r\n"
                               "[BUTTON2]\r\nShow=1\r\nCaption=Install everything now\r\nAction=exit\r\n")},
          {"splash.bmp", kSplash}},
         {{Severity::Note, 0, 12, L"likely cut off"}}},
        {"picture smaller than the window", {{"launcher.ini", Ini("")}, {"splash.bmp", Bmp(100, 50)}},
         {{Severity::Note, 0, 4, L"100 x 50 pixels"}}},
        {"icon without small images", {{"launcher.ini", Ini("Icon=x.ico\r\n")}, {"splash.bmp", kSplash}, {"x.ico", Ico({48})}},
         {{Severity::Warning, 0, 5, L"has no 16 and 32 pixel image"}}},
        {"icon not on the disc", {{"launcher.ini", Ini("Icon=art\\x.ico\r\n")}, {"splash.bmp", kSplash}},
         {{Severity::Warning, 0, 5, L"is not on the disc"}}},
        {"picture with a drive letter", {{"launcher.ini", Ini("").replace(Ini("").find("splash"), 0, "D:\\")}, {"splash.bmp", kSplash}},
         {{Severity::Error, 2, 4, L""}, {Severity::Warning, 0, 4, L"write it from the disc's root: \"splash.bmp\""}}},
        {"program on the disc with a drive letter",
         {{"launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=E:\\setup\\go.exe\r\n"}, {"setup/go.exe", "MZ"}},
         {{Severity::Error, 20, 3, L"write it from the disc's root"}}},
        {"a bare program name the disc lacks", {{"launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=notepad.exe x\r\n"}},
         {{Severity::Note, 20, 3, L"the user's system must provide it"}}},
        {"an unquoted path with blanks the disc lacks",
         {{"launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=my tools\\setup.exe /S\r\n"}},
         {{Severity::Note, 20, 3, L"if the program is \"my tools\\setup.exe\", the disc lacks that too"}}},
        {"direct launch without a default action", {{"launcher.ini", "[DIALOG]\r\nShow=False\r\n"}},
         {{Severity::Warning, 0, 1, L"there is no \"DefaultAction\""}}},
        {"a document the disc lacks", {{"launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=notes.pdf\r\n"}},
         {{Severity::Error, 20, 3, L"Command line: \"notes.pdf\""}}},
        {"a document nothing opens", {{"launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=read.me1\r\n"}, {"read.me1", kText}},
         {{Severity::Warning, 20, 3, L"no program opens"}}},
    };
    ExpectFindings(cases);
}

TEST(Checker, FileNamesWindowsAndTheDiscCannotTake) {
    TempDisc disc;
    disc.Add("launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=exit\r\n")
        .Add("launcher.exe", "MZ")
        .Add("a:b.txt", "x")
        .Add("trailing.", "x")
        .Add("docs/COM1.txt", "x")
        .Add(std::string(65, 'n') + ".txt", "x")
        .Add("Readme.txt", "x")
        .Add("README.TXT", "x")
        .Add("ok-" + std::string(60, 'o'), "x");
    std::vector<Finding> findings = Check(disc);
    auto about = [&](const std::string& file, Severity severity, const std::wstring& fragment) {
        for (const Finding& f : findings)
            if (f.file == disc.Root() + L"/" + fs::path(file).wstring() && f.severity == severity &&
                f.message.find(fragment) != std::wstring::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(about("a:b.txt", Severity::Error, L"\":\"")) << Describe(findings);
    EXPECT_TRUE(about("trailing.", Severity::Error, L"ends with a dot")) << Describe(findings);
    EXPECT_TRUE(about("docs/COM1.txt", Severity::Error, L"device")) << Describe(findings);
    EXPECT_TRUE(about(std::string(65, 'n') + ".txt", Severity::Warning, L"69 characters")) << Describe(findings);
    EXPECT_TRUE(about("Readme.txt", Severity::Error, L"only in letter case") ||
                about("README.TXT", Severity::Error, L"only in letter case"))
        << Describe(findings);
    EXPECT_EQ(Errors(findings), 4) << Describe(findings);
}

TEST(Checker, AutorunMustStartTheLauncherAndShowAnIconItHas) {
    TempDisc disc;
    disc.Add("launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=exit\r\n")
        .Add("launcher.exe", "MZ")
        .Add("autorun.inf", "[autorun]\r\nopen=setup.exe\r\nicon=art\\disc.ico\r\n");
    std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(Has(findings, {Severity::Warning, 0, 2, L"not the launcher \"launcher.exe\""})) << Describe(findings);
    EXPECT_TRUE(Has(findings, {Severity::Warning, 0, 3, L"not on the disc"})) << Describe(findings);

    TempDisc good;
    good.Add("launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=exit\r\n")
        .Add("autorun.inf", "[AutoRun]\r\nshellexecute=Launcher.exe\r\nicon=launcher.exe,0\r\n");
    findings = Check(good);
    ASSERT_EQ(findings.size(), 1u) << Describe(findings);   // the exe is still to be copied in
    EXPECT_TRUE(Has(findings, {Severity::Note, 0, 0, L"no \"launcher.exe\" yet"})) << Describe(findings);
}

TEST(Checker, FindsTheLauncherByItsIni) {
    TempDisc disc;
    disc.Add("setup.exe", "MZ").Add("setup.ini", "[DIALOG]\r\nShow=Maybe\r\n").Add("other.exe", "MZ");
    EXPECT_TRUE(Has(Check(disc), {Severity::Error, 10, 2, L""}));
    disc.Add("other.ini", "");
    EXPECT_THROW(Check(disc), CannotCheck);
    EXPECT_TRUE(Has(Check(disc, L"other"), {Severity::Error, 20, -1, L"\"False\""}));
}

TEST(Checker, ExitStatusAndOutput) {
    TempDisc disc;
    disc.Add("launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=tool.exe \"a\\b\"\r\nExtra=1\r\n").Add("launcher.exe", "MZ");
    PixbufDecoder decoder;
    std::string out, err;
    EXPECT_EQ(RunChecker({disc.Root()}, decoder, out, err), 0);
    std::string ini = fs::path(disc.Root() + L"/launcher.ini").string();
    EXPECT_NE(out.find(ini + ":4: warning: unknown key \"Extra\" in [DIALOG]"), std::string::npos) << out;
    EXPECT_NE(out.find(ini + ":3: note: "), std::string::npos) << out;
    EXPECT_NE(out.find("(exit code 20)\n"), std::string::npos) << out;
    EXPECT_EQ(RunChecker({L"--strict", disc.Root()}, decoder, out, err), 1);
    EXPECT_EQ(RunChecker({L"--json", disc.Root()}, decoder, out, err), 0);
    EXPECT_NE(out.find("\"line\": 4, \"severity\": \"warning\", \"code\": null"), std::string::npos) << out;
    EXPECT_NE(out.find("\"code\": 20"), std::string::npos) << out;
    EXPECT_EQ(out.front(), '[');
    EXPECT_EQ(RunChecker({disc.Root() + L"/nothing-here"}, decoder, out, err), 2);
    EXPECT_NE(err.find("is not a folder"), std::string::npos) << err;
    EXPECT_EQ(RunChecker({}, decoder, out, err), 2);
    EXPECT_EQ(RunChecker({L"--bogus", disc.Root()}, decoder, out, err), 2);
}

TEST(CheckerJson, EscapesWhatJsonMust) {
    std::string json = FormatJson({Finding{L"a\"b\\c", 0, Severity::Note, 0, L"tab\there\nnew \x01"}});
    EXPECT_EQ(json, "[\n {\"file\": \"a\\\"b\\\\c\", \"line\": null, \"severity\": \"note\", \"code\": null, "
                    "\"message\": \"tab\\there\\nnew \\u0001\"}\n]\n");
    EXPECT_EQ(FormatJson({}), "[]\n");
}

// Lines come from the launcher's own reader, in every encoding it reads.
TEST(Checker, LinesOfKeysInEveryEncoding) {
    const std::string text = "; comment\r\n[DIALOG]\r\nShow=0\r\nDefaultAction=exit\r\nShow True\r\nCaptoin=Gr\xC3\xBC\xC3\x9F"
                             "e\r\n[Dialog]\r\nIcon=x\r\n";
    std::u16string wide;
    for (char32_t ch : std::u32string(U"; comment\r\n[DIALOG]\r\nShow=0\r\nDefaultAction=exit\r\nShow True\r\n"
                                      U"Captoin=Gr\u00FC\u00DFe\r\n[Dialog]\r\nIcon=x\r\n"))
        wide += static_cast<char16_t>(ch);
    std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
    for (char16_t unit : wide) {
        utf16le += char(unit & 0xFF), utf16le += char(unit >> 8);
        utf16be += char(unit >> 8), utf16be += char(unit & 0xFF);
    }
    for (const auto& [encoding, bytes] : {std::pair{"UTF-8", text}, std::pair{"UTF-8 with a mark", "\xEF\xBB\xBF" + text},
                                          std::pair{"UTF-16 LE", utf16le}, std::pair{"UTF-16 BE", utf16be}}) {
        SCOPED_TRACE(encoding);
        TempDisc disc;
        disc.Add("launcher.ini", bytes).Add("launcher.exe", "MZ");
        std::vector<Finding> findings = Check(disc);
        EXPECT_TRUE(Has(findings, {Severity::Warning, 0, 5, L"did you mean \"Show=True\"?"})) << Describe(findings);
        EXPECT_TRUE(Has(findings, {Severity::Warning, 0, 6, L"unknown key \"Captoin\""})) << Describe(findings);
        EXPECT_TRUE(Has(findings, {Severity::Warning, 0, 7, L"[Dialog] appears again"})) << Describe(findings);
        EXPECT_EQ(findings.size(), 3u) << Describe(findings);
    }
}

TEST(Checker, AProgramNamedWithoutItsExtensionIsNoDocument) {
    TempDisc disc;
    disc.Add("launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=setup /S\r\n").Add("setup.exe", "MZ");
    std::vector<Finding> findings = Check(disc);
    EXPECT_EQ(Errors(findings), 0) << Describe(findings);
    EXPECT_EQ(Describe(findings).find("no program opens"), std::string::npos) << Describe(findings);
}

TEST(Checker, AnIniTooLargeToReadIsReported) {
    TempDisc disc;
    disc.Add("launcher.ini", "[DIALOG]\r\nShow=0\r\nDefaultAction=exit\r\n" + std::string(16u << 20, ';'));
    std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(Has(findings, {Severity::Error, 3, 0, L"could not be read"})) << Describe(findings);
}

TEST(CheckerNames, NearestKnownName) {
    const std::vector<std::wstring> keys = KnownKeys(L"DIALOG");
    EXPECT_EQ(NearestName(L"Captoin", keys), L"Caption");
    EXPECT_EQ(NearestName(L"picture", keys), L"Picture");
    EXPECT_EQ(NearestName(L"Pictures", keys), L"Picture");
    EXPECT_EQ(NearestName(L"BackColour", keys), L"BackColor");
    EXPECT_EQ(NearestName(L"Default_Action", keys), L"DefaultAction");
    EXPECT_EQ(NearestName(L"Title", keys), L"");
    EXPECT_EQ(NearestName(L"X", keys), L"");
    EXPECT_EQ(NameDistance(L"ab", L"BA"), 1);
}

TEST(CheckerCaptions, AccessKeysAndWidths) {
    EXPECT_EQ(AccessKey(L"&Install"), L'i');
    EXPECT_EQ(AccessKey(L"Salt && &Pepper"), L'p');
    EXPECT_EQ(AccessKey(L"No key &&"), 0);
    EXPECT_EQ(ShownCaption(L"Salt && &Pepper"), L"Salt & Pepper");
    EXPECT_LE(EstimatedCaptionPixels(L"&Install"), kButtonTextPixels);
    EXPECT_LE(EstimatedCaptionPixels(L"Read me"), kButtonTextPixels);
    EXPECT_GT(EstimatedCaptionPixels(L"Install everything"), kButtonTextPixels);
    EXPECT_GT(EstimatedCaptionPixels(L"WWWWWWWW"), EstimatedCaptionPixels(L"iiiiiiii") * 2);
}

TEST(CheckerDecoder, DecodesWholeFilesAndRefusesDamagedOnes) {
    TempDisc disc;
    disc.Add("good.bmp", Bmp(20, 10))
        .Add("half.bmp", Bmp(20, 10).substr(0, 80))
        .Add("text.bmp", kText)
        .Add("empty.bmp", "")
        .Add("good.ico", Ico({16, 32}))
        .Add("png-named.ico", Bmp(16, 16))
        .Add("half.ico", Ico({16, 32}).substr(0, 1200));
    PixbufDecoder decoder;
    PictureFacts facts;
    fs::path root(disc.Root());
    EXPECT_TRUE(decoder.DecodePicture(root / "good.bmp", facts).ok);
    EXPECT_EQ(facts.width, 20);
    EXPECT_EQ(facts.height, 10);
    for (const char* bad : {"half.bmp", "text.bmp", "empty.bmp"})
        EXPECT_FALSE(decoder.DecodePicture(root / bad, facts).ok) << bad;
    EXPECT_TRUE(decoder.DecodeIcon(root / "good.ico").ok);
    for (const char* bad : {"png-named.ico", "half.ico"}) EXPECT_FALSE(decoder.DecodeIcon(root / bad).ok) << bad;
}
