// How a configuration file's bytes become text. The encoding is decided once
// for the whole file: a byte-order mark (UTF-16 LE, UTF-16 BE, UTF-8) names
// it; without one, a file that is valid UTF-8 and holds at least one
// non-ASCII character is UTF-8 (what today's editors save); anything else is
// in the system's ANSI code page, which only the platform can convert.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text.h"

enum class TextEncoding { Utf16Le, Utf16Be, Utf8, Ansi };

struct DetectedEncoding {
    TextEncoding encoding;
    std::size_t markLength;   // bytes of the byte-order mark, skipped when decoding
};

DetectedEncoding DetectTextEncoding(const std::uint8_t* data, std::size_t size);

// Decodes UTF-8 or UTF-16 bytes (without their mark) into UTF-16 code units.
// Characters beyond U+FFFF become surrogate pairs on every build, so the same
// file reads as the same units on Windows and in the native tests. A byte
// that is no valid UTF-8, and a lone last byte of UTF-16, become U+FFFD.
Text DecodeUnicodeText(const std::uint8_t* data, std::size_t size, TextEncoding encoding);
