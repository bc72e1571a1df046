// "BackColor": ParseColor and the integer conversion after it.
// Invariants, for any text:
// - "#" and six characters becomes "&H" with the pairs in reverse order,
//   any other text starting with "#" is not a number, and other text
//   without a comma passes ParseColor unchanged;
// - "r,g,b" that converts gives "&H" and exactly six hexadecimal digits,
//   each byte being its component as the integer conversion reads it;
// - a colour that converts round-trips to the same number through its
//   decimal, "&H", "r,g,b" and "#RRGGBB" forms, a system colour through
//   "&H800000nn".
#include "fuzz_input.h"
#include "launcher/color.h"

namespace {

bool IsUpperHexDigit(wchar_t ch) { return (ch >= L'0' && ch <= L'9') || (ch >= L'A' && ch <= L'F'); }

Text WebColor(std::uint32_t color) {
    Text text(L"#");
    for (int shift = 0; shift <= 16; shift += 8) {
        std::uint32_t byte = (color >> shift) & 0xFF;
        if (byte < 0x10) text.Append(L'0');
        text.AppendHex(byte);
    }
    return text;
}

Text Components(std::uint32_t color) {
    Text text;
    text.AppendNumber(color & 0xFF).Append(L',').AppendNumber((color >> 8) & 0xFF).Append(L',');
    text.AppendNumber((color >> 16) & 0xFF);
    return text;
}

bool SameColor(const BackColor& a, const BackColor& b) {
    return a.error == b.error && a.isSystemColor == b.isSystemColor && a.value == b.value;
}

void CheckComponents(WStr text, WStr hex) {
    FUZZ_CHECK(hex.size() == 8 && hex.substr(0, 2) == L"&H", text);
    for (wchar_t ch : hex.substr(2)) FUZZ_CHECK(IsUpperHexDigit(ch), text);
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        std::size_t comma = text.find(L',', start);
        WStr piece = text.substr(start, comma == WStr::npos ? WStr::npos : comma - start);
        Int32Result component = ToInt32(piece);
        FUZZ_CHECK(component.error == ErrorKind::None, text);
        Int32Result byte = ToInt32(Text(L"&H").Append(hex.substr(2 + 2 * (2 - i), 2)));
        FUZZ_CHECK(component.value == byte.value, text);
        start = comma + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring input = WideFromBytes(data, size);
    WStr text(input);

    ColorTextResult colorText = ParseColor(text);
    if (!text.empty() && text[0] == L'#') {
        if (text.size() != 7) {
            FUZZ_CHECK(colorText.error == ErrorKind::NotANumber, text);
        } else {
            Text reversed(L"&H");
            reversed.Append(text.substr(5, 2)).Append(text.substr(3, 2)).Append(text.substr(1, 2));
            FUZZ_CHECK(colorText.error == ErrorKind::None && colorText.text == reversed, text);
        }
    } else if (text.find(L',') == WStr::npos) {
        FUZZ_CHECK(colorText.error == ErrorKind::None && colorText.text.View() == text, text);
    } else if (colorText.error == ErrorKind::None) {
        CheckComponents(text, colorText.text);
    }

    BackColor color = BackColorFromText(text);
    if (color.error != ErrorKind::None) {
        FUZZ_CHECK(color.error == ErrorKind::NotANumber || color.error == ErrorKind::NumberOutOfRange ||
                       color.error == ErrorKind::ColorComponents,
                   text);
        return 0;
    }
    FUZZ_CHECK(colorText.error == ErrorKind::None, text);
    if (color.isSystemColor) {
        FUZZ_CHECK(color.value <= 30, text);
        Text system(L"&H800000");
        if (color.value < 0x10) system.Append(L'0');
        system.AppendHex(color.value);
        FUZZ_CHECK(SameColor(BackColorFromText(system), color), text);
        return 0;
    }
    FUZZ_CHECK(color.value <= 0xFFFFFF, text);
    FUZZ_CHECK(SameColor(BackColorFromText(Decimal(color.value)), color), text);
    FUZZ_CHECK(SameColor(BackColorFromText(Hex(color.value)), color), text);
    FUZZ_CHECK(SameColor(BackColorFromText(Components(color.value)), color), text);
    FUZZ_CHECK(SameColor(BackColorFromText(WebColor(color.value)), color), text);
    return 0;
}
