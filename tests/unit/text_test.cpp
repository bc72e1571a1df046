#include "launcher/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Str(const Text& text) { return std::wstring(text.View()); }

}  // namespace

TEST(Text, AppendsItsOwnViewWhileGrowing) {
    // Doubling from 40 characters forces the buffer to move on each append;
    // the view must be read from where the characters are now.
    Text text(std::wstring(40, L'a').c_str());
    std::wstring expected(40, L'a');
    for (int i = 0; i < 6; ++i) {
        text.Append(text.View());
        expected += expected;
        ASSERT_EQ(Str(text), expected);
    }
}

TEST(Text, AppendsPartsOfItselfAndCharactersOfItself) {
    Text text(L"0123456789");
    text.Append(DropFirst(text.View(), 7));   // "789" from its own tail
    text.Append(text.View()[0]);              // one of its own characters, by value
    text.Append(WStr(text.CStr() + 2, 3));    // "234" from the middle
    EXPECT_EQ(Str(text), L"01234567897890234");
}

TEST(Text, CopiesMovesAndAssignsItself) {
    Text original(L"Setup");
    Text copy(original);
    copy.Append(L" 2");
    EXPECT_EQ(Str(original), L"Setup");
    EXPECT_EQ(Str(copy), L"Setup 2");

    Text moved(static_cast<Text&&>(copy));
    EXPECT_EQ(Str(moved), L"Setup 2");
    EXPECT_TRUE(copy.Empty());
    EXPECT_STREQ(copy.CStr(), L"");

    Text& alias = moved;
    moved = alias;
    EXPECT_EQ(Str(moved), L"Setup 2");
    moved = static_cast<Text&&>(alias);
    EXPECT_EQ(Str(moved), L"Setup 2");
}

TEST(Text, NumbersInDecimalAndHex) {
    struct Case {
        long long number;
        const wchar_t* decimal;
    } decimals[] = {{0, L"0"}, {7, L"7"}, {-42, L"-42"}, {INT64_MIN, L"-9223372036854775808"},
                    {INT64_MAX, L"9223372036854775807"}};
    for (const auto& c : decimals) EXPECT_EQ(Str(Text().AppendNumber(c.number)), c.decimal);
    EXPECT_EQ(Str(Text().AppendHex(0)), L"0");
    EXPECT_EQ(Str(Text().AppendHex(0x6B1F2F)), L"6B1F2F");
    EXPECT_EQ(Str(Text().AppendHex(0xFFFFFFFFu)), L"FFFFFFFF");
}

TEST(Text, ReserveThenSetLengthKeepsATerminator) {
    Text text(L"old");
    wchar_t* buffer = text.Reserve(100);
    for (int i = 0; i < 100; ++i) buffer[i] = L'x';
    text.SetLength(5);
    EXPECT_EQ(Str(text), L"xxxxx");
    EXPECT_EQ(text.CStr()[5], L'\0');
    text.SetLength(0);
    EXPECT_TRUE(text.Empty());
}

TEST(Text, ReplaceAllAndTrimming) {
    EXPECT_EQ(Str(ReplaceAll(L"%1 not found: %1", L"%1", L"setup.exe")), L"setup.exe not found: setup.exe");
    EXPECT_EQ(Str(ReplaceAll(L"no marker", L"%1", L"x")), L"no marker");
    EXPECT_EQ(Str(ReplaceAll(L"abc", L"", L"x")), L"abc");
    EXPECT_EQ(TrimBlanks(L" \t a b \t"), WStr(L"a b"));
    EXPECT_EQ(TrimLeadingBlanks(L"\t a "), WStr(L"a "));
    EXPECT_TRUE(EqualsIgnoringCase(L"EXIT", L"exit"));
    EXPECT_FALSE(EqualsIgnoringCase(L"exit ", L"exit"));
}
