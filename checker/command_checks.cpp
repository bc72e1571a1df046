#include "checks.h"
#include "command_place.h"
#include "launcher/errors.h"

namespace {

constexpr int kStartFailed = static_cast<int>(ErrorKind::StartFailed);

// An unquoted program path with blanks, cut at the first blank because no
// prefix names a file: the longer path that was likely meant.
std::wstring MeantProgram(const RecordedStart& start) {
    std::wstring line = start.program + L" " + start.parameters;
    std::wstring folded = FoldCase(line);
    std::size_t end = folded.rfind(L".exe");
    if (end == std::wstring::npos || end + 4 <= start.program.size()) return {};
    std::wstring meant = line.substr(0, end + 4);
    if (meant.find_first_of(L"\\/") == std::wstring::npos) return {};
    return L"; if the program is " + Quoted(meant) + L", the disc lacks that too";
}

void CheckStart(const CheckContext& c, const RunRecord& run) {
    if (run.starts.empty()) return;
    const RecordedStart& start = run.starts.back();
    const std::wstring file = c.IniShown();
    const int line = c.LineOf(run.command.section, run.command.key);
    const std::wstring what = L"[" + run.command.section + L"] " + run.command.key + L" ";
    ProgramJudgement judgement = JudgeProgram(c.disc, start.program);
    switch (judgement.place) {
        case ProgramPlace::MissingBareName:
            c.findings.Add(file, line, Severity::Note, kStartFailed,
                           what + L"starts " + Quoted(start.program) +
                               L", which is not on the disc: the user's system must provide it" +
                               MeantProgram(start));
            break;
        case ProgramPlace::OutsideDisc: {
            std::wstring message = what + L"starts " + Quoted(start.program) +
                                   (HasDriveLetter(start.program) ? L", a path with a drive letter"
                                                                  : L", an absolute path") +
                                   L": the disc's letter differs from machine to machine";
            const DiscEntry* onDisc = c.disc.Find(WithoutRoot(start.program));
            if (onDisc) {
                c.findings.Add(file, line, Severity::Error, kStartFailed,
                               message + L"; write it from the disc's root: " + Quoted(onDisc->path));
            } else {
                c.findings.Add(file, line, Severity::Warning, 0, message + L", and the disc has no such file");
            }
            break;
        }
        case ProgramPlace::OnDisc:
            // "setup" may have been found as "setup.exe": judge the file found.
            if (!HasUsualAssociation(judgement.entry ? judgement.entry->path : start.program))
                c.findings.Add(file, line, Severity::Warning, kStartFailed,
                               what + L"opens the document " + Quoted(start.program) +
                                   L", whose kind no program opens on a newly installed Windows");
            break;
        case ProgramPlace::FolderOnDisc:
            c.findings.Add(file, line, Severity::Note, 0,
                           what + L"opens the folder " + Quoted(start.program) + L" in a file window");
            break;
        case ProgramPlace::MissingFromFolder:
        case ProgramPlace::MissingDocument:
        case ProgramPlace::NotFoundMarker:   // the launcher's own report says it
        case ProgramPlace::Url:
            break;
    }
}

}  // namespace

void CheckCommands(const CheckContext& c, const LauncherRuns& runs) {
    CheckStart(c, runs.startUp);
    for (const RunRecord& click : runs.clicks) CheckStart(c, click);
}
