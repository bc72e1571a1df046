#include "text_encoding.h"

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The length of the valid UTF-8 sequence at data, with its character in
// `code`; 0 for bytes that are no valid UTF-8 (overlong forms, surrogates and
// values past U+10FFFF included).
std::size_t DecodeUtf8Sequence(const std::uint8_t* data, std::size_t size, std::uint32_t& code) {
    const std::uint8_t lead = data[0];
    std::size_t length;
    std::uint32_t smallest;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, smallest = 0x80, code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, smallest = 0x800, code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, smallest = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    if (size < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((data[i] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (data[i] & 0x3Fu);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool IsUtf8WithNonAscii(const std::uint8_t* data, std::size_t size) {
    bool nonAscii = false;
    for (std::size_t i = 0; i < size;) {
        std::uint32_t code;
        std::size_t length = DecodeUtf8Sequence(data + i, size - i, code);
        if (!length) return false;
        nonAscii |= length > 1;
        i += length;
    }
    return nonAscii;
}

}  // namespace

DetectedEncoding DetectTextEncoding(const std::uint8_t* data, std::size_t size) {
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) return {TextEncoding::Utf8, 3};
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return {TextEncoding::Utf16Le, 2};
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return {TextEncoding::Utf16Be, 2};
    if (IsUtf8WithNonAscii(data, size)) return {TextEncoding::Utf8, 0};
    return {TextEncoding::Ansi, 0};
}

Text DecodeUnicodeText(const std::uint8_t* data, std::size_t size, TextEncoding encoding) {
    Text text;
    // Never more code units than bytes: UTF-8 needs at least one byte per
    // unit (four for a pair), UTF-16 two.
    wchar_t* out = text.Reserve(size);
    std::size_t length = 0;
    if (encoding == TextEncoding::Utf8) {
        for (std::size_t i = 0; i < size;) {
            std::uint32_t code;
            std::size_t sequence = DecodeUtf8Sequence(data + i, size - i, code);
            if (!sequence) {
                out[length++] = kReplacement;
                ++i;
                continue;
            }
            i += sequence;
            if (code > 0xFFFF) {
                code -= 0x10000;
                out[length++] = static_cast<wchar_t>(0xD800 + (code >> 10));
                out[length++] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            } else {
                out[length++] = static_cast<wchar_t>(code);
            }
        }
    } else {
        const bool bigEndian = encoding == TextEncoding::Utf16Be;
        for (std::size_t i = 0; i + 1 < size; i += 2)
            out[length++] = static_cast<wchar_t>(bigEndian ? (data[i] << 8) | data[i + 1]
                                                           : data[i] | (data[i + 1] << 8));
        if (size % 2) out[length++] = kReplacement;
    }
    text.SetLength(length);
    return text;
}
