#include "color.h"

namespace {

constexpr int kLastSystemColor = 30;   // COLOR_MENUBAR, the highest the system defines

// One component: a number (blanks allowed) rounded to a whole number; it
// must fit a byte, since a larger one would shift into its neighbour.
ErrorKind AppendComponent(Text& out, WStr piece) {
    auto number = ParseNumber(piece);
    if (!number) return ErrorKind::NotANumber;
    double rounded = RoundHalfEven(*number);
    if (rounded < 0 || rounded > 255) return ErrorKind::NumberOutOfRange;
    auto byte = static_cast<std::uint32_t>(rounded);
    if (byte < 0x10) out.Append(L'0');
    out.AppendHex(byte);
    return ErrorKind::None;
}

// "#RRGGBB", red first as on the web, becomes "&HBBGGRR". Digits are not
// checked here: the integer conversion that follows refuses a non-digit.
ColorTextResult ParseWebColor(WStr text) {
    if (text.size() != 7) return {ErrorKind::NotANumber, Text()};
    ColorTextResult result;
    result.text.Append(L"&H");
    for (int start = 5; start >= 1; start -= 2) result.text.Append(TakeFirst(DropFirst(text, start), 2));
    return result;
}

}  // namespace

ColorTextResult ParseColor(WStr text) {
    if (!text.empty() && text.front() == L'#') return ParseWebColor(text);
    if (text.find(L',') == WStr::npos) return {ErrorKind::None, Text(text)};
    WStr pieces[3];
    std::size_t found = 0, start = 0;
    while (found < 3) {
        std::size_t comma = text.find(L',', start);
        std::size_t end = comma == WStr::npos ? text.size() : comma;
        pieces[found++] = WStr(text.data() + start, end - start);
        if (comma == WStr::npos) break;
        start = comma + 1;
    }
    if (found < 3) return {ErrorKind::ColorComponents, Text()};
    ColorTextResult result;
    result.text.Append(L"&H");
    for (int i = 2; i >= 0; --i) {   // blue first, red last
        result.error = AppendComponent(result.text, pieces[i]);
        if (result.error != ErrorKind::None) return {result.error, Text()};
    }
    return result;
}

BackColor BackColorFromText(WStr text) {
    ColorTextResult colorText = ParseColor(text);
    if (colorText.error != ErrorKind::None) return {colorText.error};
    Int32Result number = ToInt32(colorText.text);
    if (number.error != ErrorKind::None) return {number.error};
    auto pattern = static_cast<std::uint32_t>(number.value);
    if ((pattern & 0xFF000000u) == 0) return {ErrorKind::None, false, pattern};
    if ((pattern & 0xFFFFFF00u) == 0x80000000u && (pattern & 0xFF) <= kLastSystemColor)
        return {ErrorKind::None, true, pattern & 0xFF};
    return {ErrorKind::NumberOutOfRange};
}
