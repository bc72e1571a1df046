// Shared by the fuzz targets: turning fuzz bytes into configuration text,
// and stopping loudly when an invariant breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "launcher/text.h"

// Each byte is one character (so seeds are readable text files), except
// that 0xFF takes the next two bytes as one UTF-16 code unit, little-endian:
// that reaches every character the Windows build can meet.
inline std::wstring WideFromBytes(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text.push_back(static_cast<wchar_t>(data[i + 1] | (data[i + 2] << 8)));
            i += 2;
        } else {
            text.push_back(static_cast<wchar_t>(data[i]));
        }
    }
    return text;
}

inline std::string Printable(WStr text) {
    std::string out;
    for (wchar_t ch : text) {
        if (ch >= 0x20 && ch < 0x7F) {
            out.push_back(static_cast<char>(ch));
        } else {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(ch));
            out += escaped;
        }
    }
    return out;
}

// A broken invariant is a finding like a crash: libFuzzer keeps the input.
#define FUZZ_CHECK(condition, text)                                                                  \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "invariant broken: %s\n  at %s:%d\n  text: [%s]\n", #condition,     \
                         __FILE__, __LINE__, Printable(text).c_str());                               \
            std::abort();                                                                            \
        }                                                                                            \
    } while (0)

inline Text Decimal(long long value) {
    Text text;
    text.AppendNumber(value);
    return text;
}

inline Text Hex(std::uint32_t value) {
    Text text(L"&H");
    text.AppendHex(value);
    return text;
}
