#include "launcher/color.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

TEST(ParseColor, ComponentsBecomeHexInBlueGreenRedOrder) {
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L"255,0,0", L"&H0000FF"},
        {L"0,128,255", L"&HFF8000"},
        {L"10, 20, 30", L"&H1E140A"},
        {L"1,2,3,4", L"&H030201"},      // pieces after the third are ignored
        {L"47,31,107", L"&H6B1F2F"},
        {L"&H00C0C0C0", L"&H00C0C0C0"},  // no comma: unchanged
        {L"12632256", L"12632256"},
        {L"False", L"False"},
    };
    for (const auto& c : cases) {
        ColorTextResult result = ParseColor(c.text);
        EXPECT_EQ(result.error, ErrorKind::None) << ToStd(c.text);
        EXPECT_EQ(ToStd(result.text), c.expected) << ToStd(c.text);
    }
}

TEST(ParseColor, MalformedComponentsAreErrors) {
    struct Case {
        const wchar_t* text;
        ErrorKind error;
    } cases[] = {
        {L"255,0", ErrorKind::ColorComponents},
        {L",", ErrorKind::ColorComponents},
        {L"red,0,0", ErrorKind::NotANumber},
        {L"1,,3", ErrorKind::NotANumber},
        // A component past 255 would shift into its neighbour ("256,0,0"
        // would be a green of 1, nearly black): reported instead.
        {L"256,0,0", ErrorKind::NumberOutOfRange},
        {L"0,0,-1", ErrorKind::NumberOutOfRange},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseColor(c.text).error, c.error) << ToStd(c.text);
}

TEST(BackColor, ColourNumbersSystemColoursAndMissingValue) {
    struct Case {
        const wchar_t* text;
        ErrorKind error;
        bool system;
        std::uint32_t value;
    } cases[] = {
        {L"0,128,255", ErrorKind::None, false, 16744448},
        {L"&H006B1F2F", ErrorKind::None, false, 0x6B1F2F},
        {L"16777215", ErrorKind::None, false, 0xFFFFFF},
        {L"&H8000000F", ErrorKind::None, true, 15},   // the system's button face colour
        {L"False", ErrorKind::None, false, 0},        // missing: black
        {L"&H80000050", ErrorKind::NumberOutOfRange, false, 0},
        {L"&H01000000", ErrorKind::NumberOutOfRange, false, 0},
        {L"-1", ErrorKind::NumberOutOfRange, false, 0},
        {L"teal", ErrorKind::NotANumber, false, 0},
    };
    for (const auto& c : cases) {
        BackColor color = BackColorFromText(c.text);
        EXPECT_EQ(color.error, c.error) << ToStd(c.text);
        if (c.error == ErrorKind::None) {
            EXPECT_EQ(color.isSystemColor, c.system) << ToStd(c.text);
            EXPECT_EQ(color.value, c.value) << ToStd(c.text);
        }
    }
}

TEST(BackColor, ANumberTooLargeForADoubleIsOutOfRangeHoweverItIsWritten) {
    // 1e300 fits a double, 1e400 and a 400-digit decimal do not: all three
    // are numbers, too large for a colour, as a whole value and as a component.
    const std::wstring digits400 = L"1" + std::wstring(399, L'0');
    for (const std::wstring& huge : {std::wstring(L"1e300"), std::wstring(L"1e400"), digits400,
                                     L"-" + digits400, L"0." + digits400 + L"e400"}) {
        EXPECT_EQ(BackColorFromText(huge).error, ErrorKind::NumberOutOfRange) << ToStd(huge);
        EXPECT_EQ(BackColorFromText(L"0," + huge + L",0").error, ErrorKind::NumberOutOfRange) << ToStd(huge);
    }
}
