// A configuration file parsed once, read with the rules of the system's
// profile reader on Windows, so a value reads the same here as through it:
// - lines end at CR LF, LF or CR; the last line needs no end;
// - blanks (space, tab, vertical tab, form feed, Ctrl-Z) around a line, a
//   name or a value are dropped; a value that is a pair of double or single
//   quotes around text loses that one pair;
// - "[name" starts a section; the name ends at the first ']' (what follows it
//   is ignored) or at the line's end;
// - a line starting with ';' is a comment; a line without '=' is a key
//   without a value (it reads as empty, and hides a later key of its name);
// - keys before the first section belong to none and are never found;
// - names are found ignoring the letter case of A to Z (other letters must
//   match exactly); only the first section of a name is looked into, and in
//   it the first key of a name wins;
// - a value ends at a NUL character.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text.h"

struct IniValue {
    bool found = false;
    WStr text;                 // without enclosing quotes; empty for a key without '='
    std::uint32_t line = 0;    // 1-based line of the key in the file
};

struct IniEntry {
    bool isSection = false;
    WStr name;
    WStr value;                // keys only, without enclosing quotes
    std::uint32_t line = 0;
};

class IniFile {
public:
    IniFile() = default;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;
    ~IniFile();

    // Replaces what was parsed before with the file's decoded text.
    void Parse(Text text);

    // `key` in the first section named `section`; not found when either is
    // missing. A caller with several candidate names asks for each in turn.
    IniValue Find(WStr section, WStr key) const;

    // Every section header and key in file order, for tools that list them.
    std::size_t EntryCount() const { return count_; }
    const IniEntry& Entry(std::size_t index) const { return entries_[index]; }

private:
    void Add(const IniEntry& entry);

    Text text_;
    IniEntry* entries_ = nullptr;
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
};
