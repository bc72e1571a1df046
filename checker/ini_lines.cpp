#include "ini_lines.h"

std::wstring IniNameKey(std::wstring_view name) {
    std::wstring key(name);
    for (wchar_t& ch : key)
        if (ch >= L'a' && ch <= L'z') ch = static_cast<wchar_t>(ch - L'a' + L'A');
    return key;
}

IniLines::IniLines(const IniFile& ini) : ini_(ini) {
    for (std::size_t i = 0; i < ini.EntryCount(); ++i) {
        const IniEntry& entry = ini.Entry(i);
        if (entry.isSection) {
            sections_.push_back({std::wstring(entry.name), static_cast<int>(entry.line), {}});
        } else if (!sections_.empty()) {   // keys before the first section are never read
            sections_.back().keys.push_back(
                {std::wstring(entry.name), std::wstring(entry.value), static_cast<int>(entry.line)});
        }
    }
}

const IniSectionLines* IniLines::FindSection(std::wstring_view name) const {
    for (const IniSectionLines& section : sections_)
        if (EqualsIgnoringCase(section.name, name)) return &section;
    return nullptr;
}

int IniLines::LineOf(std::wstring_view section, std::wstring_view key) const {
    IniValue value = ini_.Find(section, key);
    if (value.found) return static_cast<int>(value.line);
    const IniSectionLines* found = FindSection(section);
    return found ? found->line : 0;
}
