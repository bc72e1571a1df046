#include "launcher/coerce.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fake_platform.h"

TEST(TruthValue, WordsAndNumbers) {
    struct Case {
        const wchar_t* text;
        std::optional<bool> expected;
    } cases[] = {
        {L"True", true},   {L"TRUE", true},     {L"true", true},   {L"False", false}, {L"fAlSe", false},
        {L"1", true},      {L"-1", true},       {L"0", false},     {L"0.0", false},   {L"2.5", true},
        {L" True ", true}, {L"\t0\t", false},   {L"&H0", false},   {L"&H10", true},   {L"1e3", true},
        {L"yes", {}},      {L"", {}},           {L"Tru", {}},      {L"1 2", {}},      {L"&HG", {}},
        {L"-", {}},        {L".", {}},          {L"1e", {}},       {L"&H", {}},       {L"True!", {}},
        {L"0e999", false}, {L"0.e5100", false},   // zero times a power past a double's range
        // A tiny result survives even when 10^310 alone would not fit a double.
        {L"1000e-310", true}, {L"1e-400", false}, {L"1e-99999", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ToTruthValue(c.text), c.expected) << "text: [" << ToStd(c.text) << "]";
}

TEST(IntegerConversion, DecimalHexSignAndOverflow) {
    struct Case {
        const wchar_t* text;
        ErrorKind error;
        std::int32_t value;
    } cases[] = {
        {L"12632256", ErrorKind::None, 12632256},
        {L"&H00C0C0C0", ErrorKind::None, 0xC0C0C0},
        {L"&hff", ErrorKind::None, 255},
        {L"&HFFFFFFFF", ErrorKind::None, -1},
        {L"&H80000005", ErrorKind::None, static_cast<std::int32_t>(0x80000005u)},
        {L"&H0000100", ErrorKind::None, 256},
        {L"&O17", ErrorKind::None, 15},
        {L"-2147483648", ErrorKind::None, INT32_MIN},
        {L"2147483647", ErrorKind::None, INT32_MAX},
        {L"2.5", ErrorKind::None, 2},   // half to even
        {L"3.5", ErrorKind::None, 4},
        {L"-0.5", ErrorKind::None, 0},
        {L"0e400", ErrorKind::None, 0},
        {L"-2.5", ErrorKind::None, -2},
        {L"-3.5", ErrorKind::None, -4},
        {L"25e-1", ErrorKind::None, 2},   // exactly a half, however it is written
        {L"35E-1", ErrorKind::None, 4},
        {L"2.5000001", ErrorKind::None, 3},
        {L"-0.2", ErrorKind::None, 0},
        {L"1.5e9", ErrorKind::None, 1500000000},
        {L"-2147483648.5", ErrorKind::None, INT32_MIN},   // even already
        {L"2147483647.5", ErrorKind::NumberOutOfRange, 0},   // to the even 2147483648
        {L"4503599627370497", ErrorKind::NumberOutOfRange, 0},   // past 2^52: whole already
        {L"False", ErrorKind::None, 0},   // a missing value
        {L"True", ErrorKind::None, -1},
        {L"2147483648", ErrorKind::NumberOutOfRange, 0},
        {L"-2147483649", ErrorKind::NumberOutOfRange, 0},
        {L"&H100000000", ErrorKind::NumberOutOfRange, 0},
        {L"1e300", ErrorKind::NumberOutOfRange, 0},
        {L"1e400", ErrorKind::NumberOutOfRange, 0},   // beyond a double: a number all the same
        {L"&HXYZ", ErrorKind::NotANumber, 0},
        {L"blue", ErrorKind::NotANumber, 0},
        {L"", ErrorKind::NotANumber, 0},
    };
    for (const auto& c : cases) {
        Int32Result result = ToInt32(c.text);
        EXPECT_EQ(result.error, c.error) << ToStd(c.text);
        EXPECT_EQ(result.value, c.value) << ToStd(c.text);
    }
}

TEST(NumberConversion, LongDecimalsReadLikeTheirExponentForm) {
    const std::wstring zeros400(400, L'0');
    struct Case {
        std::wstring text;
        double expected;
    } cases[] = {
        {L"1" + zeros400, HUGE_VAL},                 // like 1e400: a number, beyond a double
        {L"-1" + zeros400 + L".5", -HUGE_VAL},
        {L"1" + zeros400 + L"e-398", 100},           // the digits only move the point
        {L"0." + zeros400 + L"25e402", 25},
        {L"12345678901234567890123", 1.2345678901234568e22},
        {L"0.1", 0.1},
        {L"2.5", 2.5},
        {L"1e-5", 0.00001},
    };
    for (const auto& c : cases) {
        std::optional<double> number = ParseNumber(c.text);
        ASSERT_TRUE(number.has_value()) << ToStd(c.text);
        EXPECT_DOUBLE_EQ(*number, c.expected) << ToStd(c.text);
        EXPECT_EQ(ToTruthValue(c.text), true) << ToStd(c.text);
    }
    // 1e300 and a decimal of 400 digits are both numbers out of range.
    EXPECT_EQ(ToInt32(L"1" + zeros400).error, ErrorKind::NumberOutOfRange);
    EXPECT_EQ(ToInt32(L"-1e400").error, ErrorKind::NumberOutOfRange);
    EXPECT_EQ(ToInt32(L"1e300").error, ErrorKind::NumberOutOfRange);
}
