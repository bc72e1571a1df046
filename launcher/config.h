// The configuration file: where it is and how one value is read from it.
#pragma once

#include "errors.h"

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

// One value, read whole through the system's profile reader (so lookup
// ignores letter case, and values are trimmed and unquoted as it does).
// Reports ValueTooLong and ends the program for a value past kLongestValue.
Text GetIniValue(Platform& platform, WStr iniPath, WStr section, WStr key);

// A value that must be a truth value; reports NotATruthValue otherwise.
bool GetIniTruthValue(Platform& platform, WStr iniPath, WStr section, WStr key);
