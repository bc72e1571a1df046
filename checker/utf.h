// Conversions between the wide text the launcher's code works in and the
// bytes of files, file names and the checker's output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 of wide text (UTF-16 on Windows, UTF-32 elsewhere); a lone
// surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);

// Wide text of UTF-8 bytes; invalid bytes become U+FFFD. `valid`, when
// given, tells whether all of it was well-formed.
std::wstring FromUtf8(std::string_view bytes, bool* valid = nullptr);

// Windows code page 1252, the ANSI code page of the machines the launcher's
// discs are mostly made on.
std::wstring FromWindows1252(std::string_view bytes);

// A text file's content as the launcher's INI reader takes it: UTF-16 with
// a byte-order mark (either order), UTF-8 with or without one, anything
// else in the ANSI code page.
std::wstring DecodeTextFile(const std::vector<std::uint8_t>& bytes);
