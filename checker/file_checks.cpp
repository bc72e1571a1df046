#include <cwctype>
#include <map>

#include "checks.h"
#include "command_place.h"
#include "launcher/action.h"
#include "launcher/config.h"
#include "recording_platform.h"

namespace {

// Joliet keeps names of up to 64 characters; a longer one is shortened on
// the medium and no longer matches what the INI writes.
constexpr std::size_t kJolietLongestName = 64;
constexpr std::uintmax_t kFourGiB = std::uintmax_t(4) << 30;

bool IsReservedName(const std::wstring& name) {
    std::wstring base = FoldCase(name.substr(0, name.find(L'.')));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    if (base == L"con" || base == L"prn" || base == L"aux" || base == L"nul") return true;
    return base.size() == 4 && (base.compare(0, 3, L"com") == 0 || base.compare(0, 3, L"lpt") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

// Why Windows refuses a name; empty when it takes it.
std::wstring NameFault(const std::wstring& name) {
    for (wchar_t ch : name) {
        if (ch < 0x20) return L"it holds a control character";
        if (std::wstring_view(L"<>:\"/\\|?*").find(ch) != std::wstring_view::npos)
            return L"it holds the character \"" + std::wstring(1, ch) + L"\"";
    }
    if (!name.empty() && name.back() == L'.') return L"it ends with a dot";
    if (!name.empty() && name.back() == L' ') return L"it ends with a blank";
    if (IsReservedName(name)) return L"Windows keeps it for a device";
    return {};
}

void CheckNames(const CheckContext& c) {
    std::map<std::wstring, const DiscEntry*> byFolded;
    for (const DiscEntry& entry : c.disc.Entries()) {
        // On this side a name may hold a backslash; Windows would read it as a folder.
        std::wstring name = HostPathText(entry.host.filename());
        const std::wstring shown = c.Shown(entry.path);
        std::wstring fault = NameFault(name);
        if (!fault.empty())
            c.findings.Add(shown, 0, Severity::Error, 0, L"Windows does not take this name: " + fault);
        if (name.size() > kJolietLongestName)
            c.findings.Add(shown, 0, Severity::Warning, 0,
                           L"the name is " + std::to_wstring(name.size()) + L" characters long; the disc's Joliet names keep " +
                               std::to_wstring(kJolietLongestName) + L", so Windows sees it shortened");
        if (!entry.directory && entry.size >= kFourGiB)
            c.findings.Add(shown, 0, Severity::Warning, 0,
                           L"the file has 4 GiB or more: an ISO 9660 disc must split it into extents, which not "
                           L"every Windows reads; use UDF for such a disc");
        auto [other, isFirst] = byFolded.emplace(FoldCase(entry.path), &entry);
        if (!isFirst)
            c.findings.Add(shown, 0, Severity::Error, 0,
                           L"differs from " + Quoted(other->second->path) +
                               L" only in letter case: on Windows the two are one name and one of them is lost");
    }
}

void CheckAutorun(const CheckContext& c, const std::wstring& exe) {
    const DiscEntry* entry = c.disc.Find(L"autorun.inf");
    if (!entry || entry->directory) return;
    const std::wstring shown = c.Shown(entry->path);
    // Read with the launcher's reader, which follows the system's rules.
    RecordingPlatform platform(c.disc, c.exeBaseName);
    ByteBuffer bytes;
    if (!platform.ReadWholeFile(entry->path, kLargestIniFile, bytes).ok) return;
    IniFile ini;
    ini.Parse(DecodeIniText(platform, bytes.Data(), bytes.Size()));
    IniLines autorun(ini);
    const IniSectionLines* section = autorun.FindSection(L"autorun");
    if (!section) {
        c.findings.Add(shown, 0, Severity::Warning, 0, L"there is no [autorun] section: Windows ignores the file");
        return;
    }
    const wchar_t* openKey = L"open";
    IniValue open = autorun.Find(L"autorun", openKey);
    if (open.text.empty()) open = autorun.Find(L"autorun", openKey = L"shellexecute");
    if (open.text.empty()) {
        c.findings.Add(shown, section->line, Severity::Warning, 0,
                       L"neither open= nor shellexecute= names " + Quoted(exe) + L": AutoPlay does not offer the launcher");
    } else {
        CommandParts parts = SplitCommandLine(open.text, [&](WStr path) {
            const DiscEntry* found = c.disc.Find(path);
            return found && !found->directory;
        });
        std::wstring program(parts.program);
        if (FoldCase(WithoutRoot(program)) != FoldCase(exe) && FoldCase(program) != FoldCase(exe.substr(0, exe.size() - 4)))
            c.findings.Add(shown, static_cast<int>(open.line), Severity::Warning, 0,
                           openKey + std::wstring(L"= starts ") + Quoted(program) + L", not the launcher " + Quoted(exe));
    }
    IniValue icon = autorun.Find(L"autorun", L"icon");
    if (!icon.text.empty()) {
        std::wstring file(icon.text.substr(0, icon.text.find(L',')));
        const DiscEntry* found = c.disc.Find(file);
        // The launcher's exe may be copied in last; its absence has a note of its own.
        if ((!found || found->directory) && FoldCase(file) != FoldCase(exe))
            c.findings.Add(shown, static_cast<int>(icon.line), Severity::Warning, 0,
                           L"icon= names " + Quoted(file) + L", which is not on the disc: the drive shows no icon of its own");
    }
}

}  // namespace

void CheckDiscFiles(const CheckContext& c) {
    CheckNames(c);
    const std::wstring exe = c.exeBaseName + L".exe";
    const DiscEntry* exeEntry = c.disc.Find(exe);
    if (!exeEntry || exeEntry->directory)
        c.findings.Add(c.Shown(exe), 0, Severity::Note, 0,
                       L"the folder has no " + Quoted(exe) + L" yet: copy the launcher there before the disc is made");
    CheckAutorun(c, exe);
}
