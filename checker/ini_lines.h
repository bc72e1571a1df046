// The launcher's parsed INI file seen as sections and their keys, each with
// its line, for the checks that look at the whole file rather than at the
// values the launcher reads.
#pragma once

#include <string>
#include <vector>

#include "launcher/ini_file.h"

struct IniKeyLine {
    std::wstring name;
    std::wstring value;
    int line = 0;
};

struct IniSectionLines {
    std::wstring name;
    int line = 0;
    std::vector<IniKeyLine> keys;
};

class IniLines {
public:
    explicit IniLines(const IniFile& ini);

    const std::vector<IniSectionLines>& Sections() const { return sections_; }
    // The first section of that name, or nullptr.
    const IniSectionLines* FindSection(std::wstring_view name) const;
    // The value as the launcher reads it.
    IniValue Find(std::wstring_view section, std::wstring_view key) const { return ini_.Find(section, key); }
    // The key's line, or its section's when the key is missing, or 0.
    int LineOf(std::wstring_view section, std::wstring_view key) const;

private:
    const IniFile& ini_;
    std::vector<IniSectionLines> sections_;
};

// The name with a to z in upper case: equal for names the reader takes as
// one (EqualsIgnoringCase).
std::wstring IniNameKey(std::wstring_view name);
