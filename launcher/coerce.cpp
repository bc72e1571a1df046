#include "coerce.h"

#include <cmath>
#include <cstdint>

namespace {

int DigitValue(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9') return ch - L'0';
    if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
    return 99;
}

// "&H..." or "&O...": the digits, read as an unsigned pattern. Returns false
// when the text is no radix literal or has more significant digits than 32
// bits hold.
bool ParseRadixLiteral(WStr text, bool& isLiteral, std::uint32_t& pattern) {
    isLiteral = text.size() >= 2 && text[0] == L'&' &&
                (text[1] == L'H' || text[1] == L'h' || text[1] == L'O' || text[1] == L'o');
    if (!isLiteral) return false;
    const bool hex = text[1] == L'H' || text[1] == L'h';
    const int radix = hex ? 16 : 8;
    WStr digits = DropFirst(text, 2);
    if (digits.empty()) return false;
    std::uint64_t value = 0;
    for (wchar_t ch : digits) {
        int digit = DigitValue(ch);
        if (digit >= radix) return false;
        value = value * radix + digit;
        if (value > 0xFFFFFFFFull) return false;
    }
    pattern = static_cast<std::uint32_t>(value);
    return true;
}

// 10^n for n up to 22; every one of them is a double exactly.
double ExactPowerOfTen(int n) {
    double power = 1;
    while (n-- > 0) power *= 10;
    return power;
}

// mantissa times ten to the exponent, in steps of exact powers of ten: "2.5"
// is exactly 25 / 10, and a small result is not lost to an intermediate
// power beyond a double's range ("1000e-310"). Zero stays zero whatever the
// exponent; a product too large for a double is infinity, which every range
// check refuses. Written out rather than taken from the maths library, whose
// general power function is many times the size of the launcher's own
// number reading.
double Scale(double mantissa, long long exponent) {
    const bool down = exponent < 0;
    long long remaining = down ? -exponent : exponent;
    while (remaining > 0 && mantissa != 0 && std::isfinite(mantissa)) {
        const int step = remaining < 22 ? static_cast<int>(remaining) : 22;
        const double power = ExactPowerOfTen(step);
        mantissa = down ? mantissa / power : mantissa * power;
        remaining -= step;
    }
    return mantissa;
}

}  // namespace

std::optional<double> ParseNumber(WStr text) {
    text = TrimBlanks(text);
    bool isLiteral = false;
    std::uint32_t pattern = 0;
    if (ParseRadixLiteral(text, isLiteral, pattern))
        return static_cast<double>(static_cast<std::int32_t>(pattern));
    if (isLiteral) return std::nullopt;

    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    // The first significant digits make the mantissa; every further digit
    // only moves the decimal point. So a decimal of 400 digits reads like
    // "1e400", and a long fraction never falls below a double's range
    // before its exponent lifts it.
    constexpr double kMantissaLimit = 1e17;
    double mantissa = 0;
    long long exponent = 0;
    int digits = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        if (mantissa < kMantissaLimit) mantissa = mantissa * 10 + (text[i] - L'0');
        else ++exponent;
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == L'.') {
        ++i;
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
            if (mantissa < kMantissaLimit) {
                mantissa = mantissa * 10 + (text[i] - L'0');
                --exponent;
            }
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negativeExponent = text[i++] == L'-';
        long long written = 0;
        int exponentDigits = 0;
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
            if (written < 100000) written = written * 10 + (text[i] - L'0');
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) return std::nullopt;
        exponent += negativeExponent ? -written : written;
    }
    if (i != text.size()) return std::nullopt;
    return negative ? -Scale(mantissa, exponent) : Scale(mantissa, exponent);
}

std::optional<bool> ToTruthValue(WStr text) {
    WStr word = TrimBlanks(text);
    if (EqualsIgnoringCase(word, L"True")) return true;
    if (EqualsIgnoringCase(word, L"False")) return false;
    if (auto number = ParseNumber(word)) return *number != 0;
    return std::nullopt;
}

double RoundHalfEven(double value) {
    // From 2^52 on every double is a whole number; below it a 64-bit
    // integer holds the whole part exactly.
    constexpr double kAllWhole = 4503599627370496.0;
    if (!(value > -kAllWhole && value < kAllWhole)) return value;
    auto floor = static_cast<std::int64_t>(value);   // toward zero
    if (static_cast<double>(floor) > value) --floor;
    const double fraction = value - static_cast<double>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && (floor & 1))) ++floor;
    return static_cast<double>(floor);
}

Int32Result ToInt32(WStr text) {
    WStr word = TrimBlanks(text);
    if (EqualsIgnoringCase(word, L"True")) return {ErrorKind::None, -1};
    if (EqualsIgnoringCase(word, L"False")) return {ErrorKind::None, 0};
    bool isLiteral = false;
    std::uint32_t pattern = 0;
    if (ParseRadixLiteral(word, isLiteral, pattern))
        return {ErrorKind::None, static_cast<std::int32_t>(pattern)};
    if (isLiteral) {
        // "&H" followed by valid digits that do not fit is an overflow, not a typo.
        bool allDigits = word.size() > 2;
        const int radix = (word[1] == L'H' || word[1] == L'h') ? 16 : 8;
        for (wchar_t ch : DropFirst(word, 2)) allDigits = allDigits && DigitValue(ch) < radix;
        return {allDigits ? ErrorKind::NumberOutOfRange : ErrorKind::NotANumber, 0};
    }
    auto number = ParseNumber(word);
    if (!number) return {ErrorKind::NotANumber, 0};
    double rounded = RoundHalfEven(*number);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return {ErrorKind::NumberOutOfRange, 0};
    return {ErrorKind::None, static_cast<std::int32_t>(rounded)};
}
