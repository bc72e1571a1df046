// The truth-value and number conversions of "Show" and colour values.
// Invariants, for any text:
// - blanks around the text change nothing;
// - a truth value of false means the integer conversion gives 0, and a
//   non-zero integer means the truth value is true;
// - a whole number that converts comes back the same from its decimal and
//   from its "&H" form;
// - a plain decimal number agrees with the C library's reading of it,
//   also one of hundreds of digits, and one beyond a double's range is a
//   number for both.
#include <cerrno>
#include <algorithm>
#include <cmath>

#include "fuzz_input.h"
#include "launcher/coerce.h"

namespace {

bool SameNumber(std::optional<double> a, std::optional<double> b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

bool SameInt(const Int32Result& a, const Int32Result& b) { return a.error == b.error && a.value == b.value; }

// Only digits, sign, point and exponent: the texts both readers should agree on.
bool IsPlainDecimal(WStr text, std::string& narrow) {
    if (text.empty()) return false;
    for (wchar_t ch : text) {
        bool allowed = (ch >= L'0' && ch <= L'9') || ch == L'.' || ch == L'+' || ch == L'-' || ch == L'e' ||
                       ch == L'E';
        if (!allowed) return false;
        narrow.push_back(static_cast<char>(ch));
    }
    return true;
}

void CheckAgainstStrtod(WStr text, std::optional<double> number) {
    std::string narrow;
    if (!IsPlainDecimal(text, narrow)) return;
    errno = 0;
    char* end = nullptr;
    double reference = std::strtod(narrow.c_str(), &end);
    const bool whole = end == narrow.c_str() + narrow.size();
    if (number) FUZZ_CHECK(whole, text);   // we accept nothing the C library would not
    if (!whole) return;
    // Beyond the range of a double both readers still see a number: ours
    // says infinity, the library says ERANGE with HUGE_VAL. Near the edge
    // the two may round to either side of it.
    if (std::isinf(reference)) {
        FUZZ_CHECK(number && std::fabs(*number) > 1e300 && std::signbit(*number) == std::signbit(reference), text);
        return;
    }
    if (errno == ERANGE) return;   // an underflow: both near zero
    FUZZ_CHECK(number.has_value(), text);
    double scale = std::fmax(std::fabs(reference), 1e-300);
    FUZZ_CHECK(std::fabs(*number - reference) / scale < 1e-9, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring input = WideFromBytes(data, size);
    WStr text(input);

    std::optional<double> number = ParseNumber(text);
    std::optional<bool> truth = ToTruthValue(text);
    Int32Result integer = ToInt32(text);

    if (number) FUZZ_CHECK(!std::isnan(*number), text);
    FUZZ_CHECK(integer.error == ErrorKind::None || integer.error == ErrorKind::NotANumber ||
                   integer.error == ErrorKind::NumberOutOfRange,
               text);
    if (integer.error != ErrorKind::None) FUZZ_CHECK(integer.value == 0, text);

    std::wstring padded = L" \t" + input + L"\t ";
    FUZZ_CHECK(SameNumber(ParseNumber(padded), number), text);
    FUZZ_CHECK(ToTruthValue(padded) == truth, text);
    FUZZ_CHECK(SameInt(ToInt32(padded), integer), text);

    if (truth == false) FUZZ_CHECK(integer.error == ErrorKind::None && integer.value == 0, text);
    if (integer.error == ErrorKind::None && integer.value != 0) FUZZ_CHECK(truth == true, text);
    if (number) FUZZ_CHECK(truth == (*number != 0), text);

    if (integer.error == ErrorKind::None) {
        Text decimal = Decimal(integer.value);
        FUZZ_CHECK(SameInt(ToInt32(decimal), integer), text);
        FUZZ_CHECK(SameNumber(ParseNumber(decimal), static_cast<double>(integer.value)), text);
        FUZZ_CHECK(SameInt(ToInt32(Hex(static_cast<std::uint32_t>(integer.value))), integer), text);
    }

    CheckAgainstStrtod(TrimBlanks(text), number);
    return 0;
}
