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

// One value, read whole from the parsed file, or the not-found marker.
// Reports ValueTooLong (naming section, key and iniPath) and ends the
// program for a value past kLongestValue.
Text GetIniValue(Platform& platform, const IniFile& ini, WStr iniPath, WStr section, WStr key);

// A value that must be a truth value; reports NotATruthValue otherwise.
bool GetIniTruthValue(Platform& platform, const IniFile& ini, WStr iniPath, WStr section, WStr key);
