#include <cwctype>
#include <string>

#include "caption_width.h"

std::wstring ShownCaption(std::wstring_view caption) {
    std::wstring shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == L'&') continue;
        shown += caption[i];
    }
    return shown;
}

wchar_t AccessKey(std::wstring_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&')
            return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(caption[i + 1])));
        ++i;
    }
    return 0;
}

namespace {

// Advance widths in tenths of a pixel of the default dialog font (Segoe UI,
// 9 point, 96 DPI) for the printable ASCII characters, from its published
// metrics and rounded: an estimate, good to a pixel or two on a caption.
// Hinting, kerning and ClearType shift the true widths a little.
constexpr short kAsciiTenths[95] = {
    // space ! " # $ % & ' ( ) * + , - . /
    33, 36, 47, 69, 69, 101, 99, 27, 38, 38, 52, 88, 29, 46, 29, 49,
    // 0-9
    69, 69, 69, 69, 69, 69, 69, 69, 69, 69,
    // : ; < = > ? @
    29, 29, 88, 88, 88, 57, 119,
    // A-Z
    81, 71, 80, 91, 63, 61, 88, 92, 34, 46, 72, 58, 115, 96, 96, 69, 96, 74, 66, 65, 87, 77, 117, 74, 68, 70,
    // [ \ ] ^ _ `
    38, 48, 38, 88, 52, 31,
    // a-z
    62, 71, 55, 71, 63, 37, 71, 68, 30, 30, 60, 30, 104, 68, 71, 71, 71, 41, 51, 42, 68, 58, 88, 56, 58, 54,
    // { | } ~
    38, 27, 38, 88};

int CharacterTenths(wchar_t ch) {
    if (ch >= 0x20 && ch < 0x7F) return kAsciiTenths[ch - 0x20];
    // East Asian ideographs and kana are drawn about one em wide.
    if (ch >= 0x2E80 && ch <= 0xFFEF) return 120;
    // Accented Latin, Greek, Cyrillic: about an average letter.
    return 70;
}

}  // namespace

int EstimatedCaptionPixels(std::wstring_view caption) {
    int tenths = 0;
    for (wchar_t ch : ShownCaption(caption)) tenths += CharacterTenths(ch);
    return (tenths + 5) / 10;
}
