// Splitting a command line into program and parameters, and starting it.
// Input: the command line, then after each newline one path that exists.
// Invariants, for any line and any set of existing files:
// - program and parameters are parts of the line, and they rejoin to it:
//   unquoted, the line (less leading blanks) is program, blanks, parameters;
//   quoted, it is a quote, program, the closing quote, blanks, parameters;
// - unquoted, when some blank-ended prefix or the whole line names an
//   existing file, the program is the shortest such prefix;
// - RunAction starts exactly the split's program and parameters once, or
//   for "exit" nothing, and ends the program with 0 or a start failure.
#include <cwctype>
#include <set>

#include "fake_platform.h"
#include "fuzz_input.h"
#include "launcher/action.h"

namespace {

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

bool Within(WStr part, WStr whole) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

// The system's file names ignore letter case.
struct Files {
    std::set<std::wstring> paths;
    bool operator()(WStr path) const { return paths.count(Lower(std::wstring(path))) > 0; }
    bool Names(WStr candidate) const {
        if (candidate.empty()) return false;
        if ((*this)(candidate)) return true;
        if (HasExtension(candidate)) return false;
        return (*this)(std::wstring(candidate) + L".exe");
    }
};

void CheckRejoins(WStr line, const CommandParts& parts) {
    WStr trimmed = TrimLeadingBlanks(line);
    FUZZ_CHECK(Within(parts.program, line) && Within(parts.parameters, line), line);
    if (!parts.parameters.empty()) {
        FUZZ_CHECK(parts.parameters.data() + parts.parameters.size() == line.data() + line.size(), line);
        FUZZ_CHECK(!IsBlank(parts.parameters.front()), line);
    }
    WStr rest;
    if (!trimmed.empty() && trimmed.front() == L'"') {
        if (!parts.program.empty()) FUZZ_CHECK(parts.program.data() == trimmed.data() + 1, line);
        FUZZ_CHECK(parts.program.find(L'"') == WStr::npos, line);
        rest = DropFirst(trimmed, 1 + parts.program.size());
        if (rest.empty()) return;   // unterminated: all of it is the program
        FUZZ_CHECK(rest.front() == L'"', line);
        rest = DropFirst(rest, 1);
    } else {
        if (!parts.program.empty()) FUZZ_CHECK(parts.program.data() == trimmed.data(), line);
        FUZZ_CHECK(trimmed.empty() == parts.program.empty(), line);
        rest = DropFirst(trimmed, parts.program.size());
        FUZZ_CHECK(rest.empty() || IsBlank(rest.front()), line);
    }
    FUZZ_CHECK(TrimLeadingBlanks(rest) == parts.parameters, line);
    if (!parts.parameters.empty()) FUZZ_CHECK(TrimLeadingBlanks(rest).data() == parts.parameters.data(), line);
}

void CheckShortestExisting(WStr line, const CommandParts& parts, const Files& files) {
    WStr trimmed = TrimLeadingBlanks(line);
    if (trimmed.empty() || trimmed.front() == L'"') return;
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        if (!IsBlank(trimmed[i]) || !files.Names(trimmed.substr(0, i))) continue;
        FUZZ_CHECK(parts.program.size() == i, line);
        return;
    }
    if (files.Names(trimmed)) FUZZ_CHECK(parts.program.size() == trimmed.size(), line);
}

void CheckRunAction(WStr line, const CommandParts& parts, const Files& files) {
    FakePlatform platform;
    platform.files = files.paths;
    ValueOrigin origin{L"DIALOG", L"DefaultAction", L"C:\\disc\\launcher.ini"};
    int exitCode = -1;
    try {
        RunAction(platform, line, L"", &origin);
    } catch (const ProgramEnded& ended) {
        exitCode = ended.exitCode;
    }
    if (IsExitKeyword(line)) {
        FUZZ_CHECK(exitCode == 0 && platform.starts.empty() && platform.messages.empty(), line);
        return;
    }
    if (parts.program.empty()) {
        FUZZ_CHECK(exitCode == static_cast<int>(ErrorKind::StartFailed), line);
        FUZZ_CHECK(platform.starts.empty() && platform.messages.size() == 1, line);
        return;
    }
    FUZZ_CHECK(exitCode == 0 && platform.messages.empty(), line);
    FUZZ_CHECK(platform.starts.size() == 1, line);
    FUZZ_CHECK(platform.starts[0].program == parts.program, line);
    FUZZ_CHECK(platform.starts[0].parameters == parts.parameters, line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring input = WideFromBytes(data, size);
    std::size_t newline = input.find(L'\n');
    std::wstring line = input.substr(0, newline);
    Files files;
    while (newline != std::wstring::npos) {
        std::size_t next = input.find(L'\n', newline + 1);
        files.paths.insert(Lower(input.substr(newline + 1, next == std::wstring::npos ? next : next - newline - 1)));
        newline = next;
    }

    CommandParts parts = SplitCommandLine(WStr(line), files);
    CheckRejoins(line, parts);
    CheckShortestExisting(line, parts, files);
    CheckRunAction(line, parts, files);
    return 0;
}
