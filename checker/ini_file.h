// The INI file parsed once, with the line of every section and key, for the
// values the launcher reads and for the checks that need to see the whole
// file (names it does not know, duplicates). Lookup follows the system's
// profile reader: names ignore letter case, the first section of a name and
// the first key of a name win, values are trimmed and lose one pair of
// enclosing quotes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct IniKey {
    std::wstring name;
    std::wstring value;
    int line = 0;
    bool hasEquals = true;   // false for a line with a name and no "="
};

struct IniSection {
    std::wstring name;
    int line = 0;
    std::vector<IniKey> keys;
};

class IniFile {
public:
    static IniFile Parse(const std::vector<std::uint8_t>& bytes);

    const std::vector<IniSection>& Sections() const { return sections_; }
    // The first section of that name, or nullptr.
    const IniSection* FindSection(std::wstring_view section) const;
    // Its first key of that name, or nullptr.
    const IniKey* Find(std::wstring_view section, std::wstring_view key) const;
    // The key's line, or the section's when the key is missing, or 0.
    int LineOf(std::wstring_view section, std::wstring_view key) const;

private:
    std::vector<IniSection> sections_;
};
