// The whole start-up, from configuration text to the window's set-up, a
// click and the end of the program, through the fake platform.
// Input: an INI text, written as the file and read by the launcher's own
// reader, with three additions:
//   a line "@path" makes that file exist; a line "!" removes the INI itself;
//   a line "?" makes starting a program fail;
//   a value "\x01" and a digit d is 32762 + d characters long, around the
//   longest value accepted;
// the last byte picks the button that is clicked.
// Invariants: the program ends with one of its exit codes, with exactly one
// message when that code is an error and none otherwise, after at most one
// start and one read of the file; in dialog mode the buttons shown are the
// first ButtonCount ones.
#include <algorithm>

#include "launcher/config.h"
#include "fake_platform.h"
#include "fuzz_input.h"
#include "launcher/frm_splash.h"

namespace {

constexpr wchar_t kIniPath[] = L"C:\\disc\\launcher.ini";

std::wstring Trim(const std::wstring& text) { return std::wstring(TrimBlanks(text)); }

// Follows the control lines, and writes the text as the INI file (UTF-16
// with a mark, so every character arrives as it is) with the long values
// spelt out (the first few: enough to reach the limit).
void Load(FakePlatform& platform, const std::wstring& text) {
    platform.AddFile(kIniPath);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line = Trim(line.substr(0, line.size() - 1));
        if (line == L"!") platform.files.erase(Lower(kIniPath));
        else if (line == L"?") platform.nextStart = {StartOutcome::Failed, 2, Text(L"not found")};
        else if (!line.empty() && line[0] == L'@') platform.AddFile(line.substr(1));
    }
    std::wstring file;
    int longValues = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == 1 && i + 1 < text.size() && text[i + 1] >= L'0' && text[i + 1] <= L'9' && longValues < 4) {
            file.append(kLongestValue - 5 + (text[++i] - L'0'), L'a');
            ++longValues;
        } else {
            file += text[i];
        }
    }
    std::string bytes = "\xFF\xFE";
    for (wchar_t ch : file) {
        bytes += static_cast<char>(ch & 0xFF);
        bytes += static_cast<char>((ch >> 8) & 0xFF);
    }
    platform.iniBytes = bytes;
}

bool IsExitCode(int code) {
    static constexpr ErrorKind kKinds[] = {ErrorKind::IniMissing,       ErrorKind::PictureMissing, ErrorKind::IniUnreadable,
                                           ErrorKind::NotATruthValue,   ErrorKind::NotANumber,
                                           ErrorKind::NumberOutOfRange, ErrorKind::ColorComponents,
                                           ErrorKind::ValueTooLong,     ErrorKind::StartFailed};
    return code == 0 || std::any_of(std::begin(kKinds), std::end(kKinds),
                                    [&](ErrorKind kind) { return static_cast<int>(kind) == code; });
}

void CheckEnd(const FakePlatform& platform, int code, WStr text) {
    FUZZ_CHECK(IsExitCode(code), text);
    FUZZ_CHECK(platform.messages.size() == (code == 0 ? 0u : 1u), text);
    FUZZ_CHECK(platform.starts.size() <= 1, text);
    if (!platform.starts.empty()) FUZZ_CHECK(code == 0 || code == static_cast<int>(ErrorKind::StartFailed), text);
    // The file is read once, and not at all when it is missing.
    FUZZ_CHECK(platform.fileReads.size() == (code == static_cast<int>(ErrorKind::IniMissing) ? 0u : 1u), text);
    // A run-time error's report shows a long value cut short; only the two
    // messages of the launcher's own repeat a path in full.
    if (code > static_cast<int>(ErrorKind::PictureMissing)) FUZZ_CHECK(platform.messages[0].size() < 2000, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::wstring text = WideFromBytes(data, size - 1);
    const int clicked = data[size - 1] % kButtonSlots;

    FakePlatform platform;
    Load(platform, text);
    FakeView view;
    FrmSplash form(platform, view);
    try {
        form.FormInitialize();
    } catch (const ProgramEnded& ended) {
        CheckEnd(platform, ended.exitCode, text);
        return 0;
    }

    const int count = form.ButtonCount();
    FUZZ_CHECK(count >= 0 && count <= kButtonSlots, text);
    FUZZ_CHECK(platform.messages.empty() && platform.starts.empty(), text);
    FUZZ_CHECK(!view.picture.empty(), text);
    for (int i = 0; i < kButtonSlots; ++i) FUZZ_CHECK(view.visible[i] == (i < count), text);
    if (clicked >= count) return 0;
    try {
        form.ButtonClick(clicked);
        FUZZ_CHECK(!"a click returned", text);
    } catch (const ProgramEnded& ended) {
        CheckEnd(platform, ended.exitCode, text);
    }
    return 0;
}
