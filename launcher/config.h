// The configuration file: where it is and how one value is read from it.
#pragma once

#include "errors.h"
#include "ini_file.h"

// What a missing, empty or unreadable value reads as. Callers cannot tell it
// from a value that is literally "False", and existing files rely on that:
// a missing "Show" means false.
inline constexpr WStr kNotFoundMarker = L"False";

// The longest command line Windows accepts; a longer value is an error
// rather than a silently shortened command.
inline constexpr std::uint32_t kLongestValue = 32767;

// Current directory, a backslash, the executable's base name and ".ini".
// The backslash is always inserted, also after a drive's root ("R:\\x.ini"):
// the system's file functions accept the doubled separator.
Text BuildIniPath(WStr currentDirectory, WStr exeBaseName);

// A file larger than this is no configuration file; refusing it keeps a
// damaged disc from filling memory.
inline constexpr std::size_t kLargestIniFile = 16u << 20;

// Reads and parses the file once (one open, one read), in the encoding it
// was saved in. Reports IniUnreadable and ends the program when the file
// exists but cannot be read or is larger than kLargestIniFile.
void LoadIniFile(Platform& platform, WStr iniPath, IniFile& ini);

// The file's text, decoded as text_encoding.h describes.
Text DecodeIniText(Platform& platform, const std::uint8_t* data, std::size_t size);

// Where values are read from: the parsed file, and the language whose
// variants of a key ("Caption.de") win over the key itself.
struct IniSource {
    Platform& platform;
    const IniFile& file;
    WStr path;       // for reports
    WStr language;   // the user's UI language tag, e.g. "de-AT"; empty: plain keys only
};

struct ConfigValue {
    Text text;            // the value, or the not-found marker
    Text key;             // the name it was read under: "Caption.de" for a variant
    bool found = false;   // false: neither a variant nor the key itself has a value
};

// One key by its exact name. False when the key or its section is missing
// or the value empty. Reports ValueTooLong (naming section, key and the
// file) and ends the program for a value past kLongestValue.
bool ReadIniKey(const IniSource& ini, WStr section, WStr keyName, Text& value);

// The key in the user's language (language_variant.h), or the not-found
// marker when no variant and not the key itself has a value. With an empty
// language, the key alone.
ConfigValue GetIniValue(const IniSource& ini, WStr section, WStr key);

// A value that must be a truth value; reports NotATruthValue otherwise,
// naming the variant read.
bool GetIniTruthValue(const IniSource& ini, WStr section, WStr key);
