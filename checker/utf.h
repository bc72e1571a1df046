// Conversions between the wide text the launcher's code works in and the
// bytes of files, file names and the checker's output.
#pragma once

#include <string>
#include <string_view>

// Wide text here holds UTF-16 code units on every build, as the launcher's
// own text does: a character beyond U+FFFF is a surrogate pair even where
// wchar_t has 32 bits.

// UTF-8 of wide text; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);

// Wide text of UTF-8 bytes, decoded as the launcher decodes a UTF-8 INI
// file: invalid bytes become U+FFFD.
std::wstring FromUtf8(std::string_view bytes);

// Windows code page 1252, the ANSI code page of the machines the launcher's
// discs are mostly made on.
std::wstring FromWindows1252(std::string_view bytes);
