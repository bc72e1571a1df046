#include "action.h"

bool IsExitKeyword(WStr action) { return EqualsIgnoringCase(action, L"exit"); }

bool HasExtension(WStr path) {
    std::size_t dot = path.find_last_of(L'.');
    std::size_t separator = path.find_last_of(L"\\/");
    return dot != WStr::npos && (separator == WStr::npos || dot > separator);
}

namespace {

CommandParts SplitQuoted(WStr line) {
    WStr inside = DropFirst(line, 1);
    std::size_t close = inside.find(L'"');
    if (close == WStr::npos) return {inside, WStr()};
    return {WStr(inside.data(), close), TrimLeadingBlanks(DropFirst(inside, close + 1))};
}

CommandParts SplitAt(WStr line, std::size_t blank) {
    return {WStr(line.data(), blank), TrimLeadingBlanks(DropFirst(line, blank))};
}

bool NamesFile(WStr candidate, FileExistsFn exists, void* context) {
    if (candidate.empty()) return false;
    if (exists(context, candidate)) return true;
    if (HasExtension(candidate)) return false;
    Text withExe(candidate);
    withExe.Append(L".exe");
    return exists(context, withExe);
}

}  // namespace

CommandParts SplitCommandLine(WStr line, FileExistsFn fileExists, void* context) {
    line = TrimLeadingBlanks(line);
    if (!line.empty() && line.front() == L'"') return SplitQuoted(line);
    for (std::size_t i = 0; i < line.size(); ++i)
        if (IsBlank(line[i]) && NamesFile(WStr(line.data(), i), fileExists, context)) return SplitAt(line, i);
    if (NamesFile(line, fileExists, context)) return {line, WStr()};
    std::size_t firstBlank = line.find_first_of(L" \t");
    return firstBlank == WStr::npos ? CommandParts{line, WStr()} : SplitAt(line, firstBlank);
}

void RunAction(Platform& platform, WStr action, WStr /*label*/, const ValueOrigin* origin, bool elevate) {
    if (IsExitKeyword(action)) platform.EndProgram(0);
    CommandParts parts = SplitCommandLine(action, [&](WStr path) { return platform.FileExists(path); });
    ErrorDetails details{ErrorKind::StartFailed, action, origin, WStr(), 0};
    if (parts.program.empty()) {
        details.systemMessage = L"The command line names no program.";
        Fail(platform, details);
    }
    StartResult result = platform.StartCommand(parts.program, parts.parameters, elevate);
    // A declined elevation prompt is the user's own choice, not a fault of the disc.
    if (result.outcome != StartOutcome::Failed) platform.EndProgram(0);
    // Some system texts name the file as "%1", to be filled in by the caller.
    Text reason = ReplaceAll(result.systemMessage, L"%1", parts.program);
    details.systemMessage = reason;
    details.systemError = result.systemError;
    Fail(platform, details);
}
