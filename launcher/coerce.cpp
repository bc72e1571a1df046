#include "coerce.h"

#include <cmath>

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

// mantissa times ten to the exponent. Powers up to 10^22 are exact in a
// double, so "2.5" is exactly 25 / 10; larger ones go in two steps, so
// neither leaves a double's range while the product is inside it. Zero
// stays zero whatever the exponent. A product too large for a double is
// infinity, which every range check refuses.
double Scale(double mantissa, long long exponent) {
    if (mantissa == 0 || exponent == 0) return mantissa;
    if (exponent >= -22 && exponent <= 22) {
        double power = 1;
        for (long long n = exponent < 0 ? -exponent : exponent; n > 0; --n) power *= 10;
        return exponent < 0 ? mantissa / power : mantissa * power;
    }
    const long long half = exponent / 2;
    return mantissa * std::pow(10.0, static_cast<double>(half)) *
           std::pow(10.0, static_cast<double>(exponent - half));
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
    if (!std::isfinite(value)) return value;
    double floor = std::floor(value);
    double fraction = value - floor;
    if (fraction > 0.5) return floor + 1;
    if (fraction < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
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
