#include "ini_file.h"

#include "disc.h"
#include "utf.h"

namespace {

std::wstring_view Trim(std::wstring_view text) {
    const wchar_t* blanks = L" \t\r\n\v\f";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring_view::npos) return {};
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::wstring_view Unquote(std::wstring_view value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool SameName(std::wstring_view a, std::wstring_view b) { return FoldCase(a) == FoldCase(b); }

}  // namespace

IniFile IniFile::Parse(const std::vector<std::uint8_t>& bytes) {
    IniFile file;
    std::wstring text = DecodeTextFile(bytes);
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring_view line = Trim(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == L';') continue;
        if (line.front() == L'[') {
            std::size_t close = line.find(L']');
            std::wstring_view name = line.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
            file.sections_.push_back(IniSection{std::wstring(Trim(name)), lineNumber, {}});
            continue;
        }
        // Lines before the first section belong to none and are never read.
        if (file.sections_.empty()) continue;
        std::size_t equals = line.find(L'=');
        IniKey key;
        key.line = lineNumber;
        key.hasEquals = equals != std::wstring_view::npos;
        key.name = std::wstring(Trim(line.substr(0, equals)));
        if (equals != std::wstring_view::npos) key.value = std::wstring(Unquote(Trim(line.substr(equals + 1))));
        file.sections_.back().keys.push_back(std::move(key));
    }
    return file;
}

const IniSection* IniFile::FindSection(std::wstring_view section) const {
    for (const IniSection& s : sections_)
        if (SameName(s.name, section)) return &s;
    return nullptr;
}

const IniKey* IniFile::Find(std::wstring_view section, std::wstring_view key) const {
    const IniSection* s = FindSection(section);
    if (!s) return nullptr;
    for (const IniKey& k : s->keys)
        if (SameName(k.name, key)) return &k;
    return nullptr;
}

int IniFile::LineOf(std::wstring_view section, std::wstring_view key) const {
    if (const IniKey* k = Find(section, key)) return k->line;
    const IniSection* s = FindSection(section);
    return s ? s->line : 0;
}
