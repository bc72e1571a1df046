#include "launcher/conditions.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

TEST(Conditions, TheFirstUnknownConditionIsNamed) {
    struct Case {
        const wchar_t* text;
        const wchar_t* unknown;   // empty: all known
    } cases[] = {
        {L"x64", L""},
        {L"  X64\tWIN8.1  !arm64 ", L""},
        {L"x86 !win10 win7 win8 win11", L""},
        {L"exists:%WINDIR%\\notepad.exe !exists:setup\\done.txt", L""},
        {L"exists:\"Program Files\\Acme App\" x64", L""},
        {L"", L""},
        {L"x65", L"x65"},
        {L"win10 winxp win7", L"winxp"},
        {L"win8.2", L"win8.2"},
        {L"!", L"!"},
        {L"!!x64", L"!!x64"},
        {L"! x64", L"!"},
        {L"x64,win10", L"x64,win10"},   // blanks separate, commas do not
        {L"exists:", L"exists:"},
        {L"exists", L"exists"},
        {L"exists:\"\"", L"exists:\"\""},
        {L"exists:\"Acme App x64", L"exists:\"Acme App x64"},   // the quote never closes
        {L"exists:a\"b\"", L"exists:a\"b\""},
        {L"False", L"False"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToStd(FindUnknownCondition(c.text)), c.unknown) << ToStd(c.text);
}

TEST(Conditions, PathsComeWithoutTheirQuotes) {
    WStr rest = L"!exists:\"Acme App\\run me.exe\" exists:%TEMP%";
    Condition condition;
    WStr token;
    ASSERT_EQ(ParseNextCondition(rest, condition, token), ConditionParse::Condition);
    EXPECT_TRUE(condition.negated);
    EXPECT_EQ(condition.kind, ConditionKind::PathExists);
    EXPECT_EQ(ToStd(condition.path), L"Acme App\\run me.exe");
    EXPECT_EQ(ToStd(token), L"!exists:\"Acme App\\run me.exe\"");
    ASSERT_EQ(ParseNextCondition(rest, condition, token), ConditionParse::Condition);
    EXPECT_EQ(ToStd(condition.path), L"%TEMP%");
    EXPECT_EQ(ParseNextCondition(rest, condition, token), ConditionParse::End);
}

namespace {

struct Machine {
    Architecture architecture;
    WindowsVersion version;
};

bool Holds(const Machine& machine, const wchar_t* text) {
    FakePlatform platform;
    platform.architecture = machine.architecture;
    platform.windowsVersion = machine.version;
    platform.existingPaths = {L"%windir%\\notepad.exe", L"acme app\\setup.exe"};
    ConditionsResult result = CheckConditions(text, platform);
    EXPECT_TRUE(result.unknown.empty()) << ToStd(text);
    return result.hold;
}

}  // namespace

TEST(Conditions, ArchitectureVersionAndPathsOnFakeMachines) {
    const Machine win7x86{Architecture::X86, {6, 1, 7601}};
    const Machine win81x64{Architecture::X64, {6, 3, 9600}};
    const Machine win10x64{Architecture::X64, {10, 0, 19045}};
    const Machine win11arm{Architecture::Arm64, {10, 0, 22000}};
    const Machine futureX64{Architecture::X64, {11, 0, 100}};
    struct Case {
        const Machine& machine;
        const wchar_t* text;
        bool holds;
    } cases[] = {
        {win7x86, L"x86", true},          {win7x86, L"x64", false},          {win7x86, L"!x64", true},
        {win7x86, L"win7", true},         {win7x86, L"win8", false},         {win7x86, L"!win8", true},
        {win81x64, L"win8 win8.1", true}, {win81x64, L"win10", false},       {win81x64, L"x64 !arm64", true},
        {win10x64, L"win10", true},       {win10x64, L"win11", false},       {win10x64, L"x64 win10", true},
        {win10x64, L"x64 win11", false},  {win11arm, L"win11 arm64", true},  {win11arm, L"x64", false},
        {futureX64, L"win11", true},      {futureX64, L"win10", true},
        // All must hold; none at all always holds.
        {win10x64, L"", true},
        {win10x64, L"x64 win10 !win7", false},
        // Paths are handed over as written, quotes removed, for the system to expand.
        {win10x64, L"exists:%WINDIR%\\notepad.exe", true},
        {win10x64, L"exists:\"Acme App\\setup.exe\"", true},
        {win10x64, L"!exists:\"Acme App\\setup.exe\"", false},
        {win10x64, L"exists:missing.txt", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Holds(c.machine, c.text), c.holds) << ToStd(c.text);
}

TEST(Conditions, AnUnknownConditionIsFoundWhateverTheMachine) {
    // On this machine the first condition fails; the misspelt second one
    // must still be found, so a disc shows the same fault on every machine.
    FakePlatform platform;
    platform.architecture = Architecture::X86;
    ConditionsResult result = CheckConditions(L"x64 wn10", platform);
    EXPECT_FALSE(result.hold);
    EXPECT_EQ(ToStd(result.unknown), L"wn10");
}
