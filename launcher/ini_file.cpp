#include "ini_file.h"

#include <cstdlib>

namespace {

// Space, tab, vertical tab and form feed, and Ctrl-Z (an old end-of-file
// mark that files on old discs still carry).
bool IsIniBlank(wchar_t ch) { return ch == L' ' || (ch >= L'\t' && ch <= L'\f') || ch == 0x1A; }

WStr TrimIniBlanks(WStr text) {
    while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The text before the first `stop` character (all of it when there is none).
WStr Before(WStr text, wchar_t stop) {
    std::size_t found = text.find(stop);
    return found == WStr::npos ? text : WStr(text.data(), found);
}

WStr WithoutEnclosingQuotes(WStr value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return WStr(value.data() + 1, value.size() - 2);
    return value;
}

}  // namespace

IniFile::~IniFile() { std::free(entries_); }

void IniFile::Add(const IniEntry& entry) {
    if (count_ == capacity_) {
        std::size_t capacity = capacity_ ? capacity_ * 2 : 64;
        auto* grown = static_cast<IniEntry*>(std::realloc(entries_, capacity * sizeof(IniEntry)));
        // As for Text: out of memory here leaves nothing sensible to report with.
        if (!grown) std::abort();
        entries_ = grown;
        capacity_ = capacity;
    }
    entries_[count_++] = entry;
}

void IniFile::Parse(Text text) {
    // The entries point into the text, which stays put while this owns it.
    text_ = static_cast<Text&&>(text);
    count_ = 0;
    const wchar_t* next = text_.CStr();
    const wchar_t* const end = next + text_.Length();
    bool inSection = false;
    for (std::uint32_t lineNumber = 1; next < end; ++lineNumber) {
        const wchar_t* lineEnd = next;
        while (lineEnd < end && *lineEnd != L'\r' && *lineEnd != L'\n') ++lineEnd;
        WStr line = TrimIniBlanks(WStr(next, lineEnd - next));
        next = lineEnd;
        if (next < end && *next == L'\r') ++next;
        if (next < end && *next == L'\n') ++next;

        if (line.empty() || line.front() == L';') continue;
        const bool isSection = line.front() == L'[';
        WStr name = line, value;
        if (isSection) {
            name = TrimIniBlanks(Before(DropFirst(line, 1), L']'));
            inSection = true;
        } else if (!inSection) {
            continue;
        } else if (std::size_t equals = line.find(L'='); equals != WStr::npos) {
            name = TrimIniBlanks(WStr(line.data(), equals));
            // Names and values are C strings to the system's reader: a NUL
            // ends them, after the blanks around them are gone.
            value = WithoutEnclosingQuotes(Before(TrimIniBlanks(DropFirst(line, equals + 1)), L'\0'));
        }
        Add({isSection, Before(name, L'\0'), value, lineNumber});
    }
}

IniValue IniFile::Find(WStr section, WStr key) const {
    std::size_t i = 0;
    while (i < count_ && !(entries_[i].isSection && EqualsIgnoringCase(entries_[i].name, section))) ++i;
    for (++i; i < count_ && !entries_[i].isSection; ++i)
        if (EqualsIgnoringCase(entries_[i].name, key)) return IniValue{true, entries_[i].value, entries_[i].line};
    return IniValue{};
}
