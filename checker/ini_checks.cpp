#include <cwctype>
#include <map>

#include "caption_width.h"
#include "checks.h"
#include "known_names.h"
#include "launcher/known_keys.h"

namespace {

bool IsButtonNumberSection(const std::wstring& name) {
    std::wstring folded = FoldCase(name);
    if (folded.size() <= 6 || folded.compare(0, 6, L"button") != 0) return false;
    for (std::size_t i = 6; i < folded.size(); ++i)
        if (!std::iswdigit(static_cast<std::wint_t>(folded[i]))) return false;
    return true;
}

// "Show True": a known key and a value, the "=" left out.
std::wstring KeyMissingEquals(const std::wstring& name, const std::vector<std::wstring>& keys) {
    std::size_t blank = name.find_first_of(L" \t");
    if (blank == std::wstring::npos) return {};
    for (const std::wstring& key : keys)
        if (EqualsIgnoringCase(name.substr(0, blank), key)) return key + L"=" + name.substr(name.find_first_not_of(L" \t", blank));
    return {};
}

void CheckKeys(const CheckContext& c, const IniSectionLines& section, const std::wstring& known) {
    const std::wstring file = c.IniShown();
    std::map<std::wstring, int> firstLine;
    for (const IniKeyLine& key : section.keys) {
        auto [first, isFirst] = firstLine.emplace(IniNameKey(key.name), key.line);
        if (!isFirst) {
            c.findings.Add(file, key.line, Severity::Warning, 0,
                           Quoted(key.name) + L" appears again in [" + section.name +
                               L"]: the launcher reads the first one, on line " + std::to_wstring(first->second));
            continue;
        }
        // Language variants ("Caption.de-AT") are known keys too.
        if (IsKnownKey(known, key.name)) continue;
        const auto& keys = KnownKeys(known);
        std::wstring nearest = KeyMissingEquals(key.name, keys);
        if (nearest.empty()) nearest = NearestName(key.name, keys);
        c.findings.Add(file, key.line, Severity::Warning, 0,
                       L"unknown key " + Quoted(key.name) + L" in [" + section.name + L"]" +
                           (nearest.empty() ? L": the launcher does not read it"
                                            : L": did you mean " + Quoted(nearest) + L"?"));
    }
}

void CheckSections(const CheckContext& c) {
    const std::wstring file = c.IniShown();
    std::map<std::wstring, int> firstLine;
    for (const IniSectionLines& section : c.ini->Sections()) {
        auto [first, isFirst] = firstLine.emplace(IniNameKey(section.name), section.line);
        if (!isFirst) {
            c.findings.Add(file, section.line, Severity::Warning, 0,
                           L"[" + section.name + L"] appears again: the launcher reads only the first one, on line " +
                               std::to_wstring(first->second));
            continue;
        }
        std::wstring known = KnownSection(section.name);
        if (!known.empty()) {
            CheckKeys(c, section, known);
            continue;
        }
        std::wstring nearest = NearestName(section.name, KnownSections());
        std::wstring message = L"unknown section [" + section.name + L"]";
        if (IsButtonNumberSection(section.name))
            message += L": the launcher has five buttons, [BUTTON1] to [BUTTON5]";
        else if (!nearest.empty())
            message += L": did you mean [" + nearest + L"]?";
        else
            message += L": the launcher does not read it";
        c.findings.Add(file, section.line, Severity::Warning, 0, message);
    }
}

bool HasValue(const CheckContext& c, const std::wstring& section, const std::wstring& key) {
    IniValue found = c.ini->Find(section, key);
    return found.found && !found.text.empty();
}

void CheckButtons(const CheckContext& c, const LauncherRuns& runs) {
    const std::wstring file = c.IniShown();
    std::map<wchar_t, std::wstring> accessKeys;
    for (std::size_t i = 0; i < runs.buttonSections.size() && i < kButtonSlots; ++i) {
        const std::wstring& section = runs.buttonSections[i];
        const int sectionLine = c.LineOf(section, L"Show");
        if (!HasValue(c, section, L"Caption"))
            c.findings.Add(file, sectionLine, Severity::Warning, 0,
                           L"[" + section + L"] is shown but has no \"Caption\": its button reads \"False\"");
        if (!HasValue(c, section, L"Action"))
            c.findings.Add(file, sectionLine, Severity::Warning, 0,
                           L"[" + section + L"] is shown but has no \"Action\": a click starts the command line \"False\"");
        const std::wstring& caption = runs.window.captions[i];
        const int captionLine = c.LineOf(section, L"Caption");
        if (wchar_t key = AccessKey(caption)) {
            auto [other, isFirst] = accessKeys.emplace(key, section);
            if (!isFirst)
                c.findings.Add(file, captionLine, Severity::Warning, 0,
                               L"access key \"" + std::wstring(1, static_cast<wchar_t>(std::towupper(key))) +
                                   L"\" of [" + section + L"] is also that of [" + other->second +
                                   L"]: Alt with it moves between the two instead of clicking");
        }
        int pixels = EstimatedCaptionPixels(caption);
        if (pixels > kButtonTextPixels)
            c.findings.Add(file, captionLine, Severity::Note, 0,
                           L"caption " + Quoted(ShownCaption(caption)) + L" is about " + std::to_wstring(pixels) +
                               L" pixels wide at 100 % scaling; its button has room for about " +
                               std::to_wstring(kButtonTextPixels) + L": it is likely cut off");
    }
    if (!HasValue(c, L"DIALOG", L"Caption"))
        c.findings.Add(file, c.LineOf(L"DIALOG", L"Caption"), Severity::Warning, 0,
                       L"[DIALOG] has no \"Caption\": the window's title reads \"False\"");
}

void CheckFilePath(const CheckContext& c, const std::wstring& key, bool required) {
    IniValue found = c.ini->Find(L"DIALOG", key);
    if (!found.found || found.text.empty()) return;
    const std::wstring path(found.text);
    const int line = static_cast<int>(found.line);
    if (IsAbsoluteWindowsPath(path)) {
        std::wstring message = key + L" " + Quoted(path) +
                               (HasDriveLetter(path) ? L" has a drive letter" : L" is an absolute path") +
                               L": the disc's letter and folders differ from machine to machine";
        const DiscEntry* onDisc = c.disc.Find(WithoutRoot(path));
        if (onDisc) message += L"; write it from the disc's root: " + Quoted(onDisc->path);
        c.findings.Add(c.IniShown(), line, Severity::Warning, 0, message);
        return;
    }
    const DiscEntry* entry = c.disc.Find(path);
    if (!required && (!entry || entry->directory))
        c.findings.Add(c.IniShown(), line, Severity::Warning, 0,
                       L"the icon " + Quoted(path) + L" is not on the disc: the window keeps the launcher's own icon");
}

}  // namespace

void CheckIniFile(const CheckContext& c, const LauncherRuns& runs) {
    if (!c.ini) return;
    CheckSections(c);
    if (!runs.dialogMode) {
        if (!HasValue(c, L"DIALOG", L"DefaultAction"))
            c.findings.Add(c.IniShown(), c.LineOf(L"DIALOG", L"DefaultAction"), Severity::Warning, 0,
                           L"\"Show\" in [DIALOG] is not true and there is no \"DefaultAction\": the launcher starts "
                           L"the command line \"False\"");
        return;
    }
    CheckButtons(c, runs);
    CheckFilePath(c, L"Picture", true);
    CheckFilePath(c, L"Icon", false);
}
