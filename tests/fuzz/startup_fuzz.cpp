// The whole start-up, from configuration text to the window's set-up, a
// click and the end of the program, through the fake platform.
// Input: an INI text, read the way the system's profile reader reads it
// (sections and keys in any letter case, the first of duplicates wins,
// blanks trimmed, one pair of quotes removed), with three additions:
//   a line "@path" makes that file exist; a line "!" removes the INI itself;
//   a line "?" makes starting a program fail;
//   a value "\x01" and a digit d is 32762 + d characters long, around the
//   longest value accepted;
// the user's language is de-AT, and "Requires" conditions see an x64
// Windows 10 where "exists:" finds the files the "@" lines name;
// the last byte picks the button that is clicked.
// Invariants: the program ends with one of its exit codes, with exactly one
// message when that code is an error and none otherwise, after at most one
// start; in dialog mode the buttons shown are the first ButtonCount ones.
#include <algorithm>

#include "launcher/config.h"
#include "fake_platform.h"
#include "fuzz_input.h"
#include "launcher/frm_splash.h"

namespace {

constexpr wchar_t kIniPath[] = L"C:\\disc\\launcher.ini";

std::wstring Trim(const std::wstring& text) { return std::wstring(TrimBlanks(text)); }

std::wstring Unquote(std::wstring value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    if (value.size() == 2 && value[0] == 1 && value[1] >= L'0' && value[1] <= L'9')
        return std::wstring(kLongestValue - 5 + (value[1] - L'0'), L'a');
    return value;
}

void Load(FakePlatform& platform, const std::wstring& text) {
    platform.AddFile(kIniPath);
    std::wstring section;
    bool inSection = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        std::wstring trimmed = Trim(line);
        if (trimmed == L"!") platform.files.erase(Lower(kIniPath));
        else if (trimmed == L"?") platform.nextStart = {StartOutcome::Failed, 2, Text(L"not found")};
        else if (!trimmed.empty() && trimmed[0] == L'@') platform.AddFile(trimmed.substr(1));
        else if (!trimmed.empty() && trimmed[0] == L'[') {
            std::size_t close = trimmed.find(L']');
            section = Lower(Trim(trimmed.substr(1, close == std::wstring::npos ? close : close - 1)));
            inSection = true;
        } else if (std::size_t equals = trimmed.find(L'='); inSection && equals != std::wstring::npos) {
            std::wstring key = Lower(Trim(trimmed.substr(0, equals)));
            auto& keys = platform.ini[section];
            if (!keys.count(key)) keys[key] = Unquote(Trim(trimmed.substr(equals + 1)));
        }
    }
}

bool IsExitCode(int code) {
    static constexpr ErrorKind kKinds[] = {ErrorKind::IniMissing,       ErrorKind::PictureMissing,
                                           ErrorKind::NotATruthValue,   ErrorKind::NotANumber,
                                           ErrorKind::NumberOutOfRange, ErrorKind::ColorComponents,
                                           ErrorKind::ValueTooLong,     ErrorKind::UnknownCondition,
                                           ErrorKind::StartFailed};
    return code == 0 || std::any_of(std::begin(kKinds), std::end(kKinds),
                                    [&](ErrorKind kind) { return static_cast<int>(kind) == code; });
}

void CheckEnd(const FakePlatform& platform, int code, WStr text) {
    FUZZ_CHECK(IsExitCode(code), text);
    FUZZ_CHECK(platform.messages.size() == (code == 0 ? 0u : 1u), text);
    FUZZ_CHECK(platform.starts.size() <= 1, text);
    if (!platform.starts.empty()) FUZZ_CHECK(code == 0 || code == static_cast<int>(ErrorKind::StartFailed), text);
    if (code == static_cast<int>(ErrorKind::IniMissing)) FUZZ_CHECK(platform.reads.empty(), text);
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
    platform.language = L"de-AT";
    Load(platform, text);
    platform.existingPaths = platform.files;
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
