#include "action.h"

bool IsExitKeyword(WStr action) { return EqualsIgnoringCase(action, L"exit"); }

namespace detail {

WStr SkipBlanks(WStr text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    return text;
}

bool HasExtension(WStr path) {
    std::size_t dot = path.find_last_of(L'.');
    std::size_t separator = path.find_last_of(L"\\/");
    return dot != WStr::npos && (separator == WStr::npos || dot > separator);
}

CommandParts SplitQuoted(WStr line) {
    WStr inside = DropFirst(line, 1);
    std::size_t close = inside.find(L'"');
    if (close == WStr::npos) return {inside, WStr()};
    return {WStr(inside.data(), close), SkipBlanks(DropFirst(inside, close + 1))};
}

CommandParts SplitAt(WStr line, std::size_t blank) {
    return {WStr(line.data(), blank), SkipBlanks(DropFirst(line, blank))};
}

bool NamesFile(WStr candidate, bool (*exists)(void*, WStr), void* context) {
    if (candidate.empty()) return false;
    if (exists(context, candidate)) return true;
    if (HasExtension(candidate)) return false;
    Text withExe(candidate);
    withExe.Append(L".exe");
    return exists(context, withExe);
}

}  // namespace detail

void RunAction(Platform& platform, WStr action, WStr /*label*/, const ValueOrigin* origin) {
    if (IsExitKeyword(action)) platform.EndProgram(0);
    CommandParts parts = SplitCommandLine(action, [&](WStr path) { return platform.FileExists(path); });
    ErrorDetails details{ErrorKind::StartFailed, action, origin, WStr(), 0};
    if (parts.program.empty()) {
        details.systemMessage = L"The command line names no program.";
        Fail(platform, details);
    }
    StartResult result = platform.StartCommand(parts.program, parts.parameters);
    // A declined elevation prompt is the user's own choice, not a fault of the disc.
    if (result.outcome != StartOutcome::Failed) platform.EndProgram(0);
    // Some system texts name the file as "%1", to be filled in by the caller.
    Text reason = ReplaceAll(result.systemMessage, L"%1", parts.program);
    details.systemMessage = reason;
    details.systemError = result.systemError;
    Fail(platform, details);
}
