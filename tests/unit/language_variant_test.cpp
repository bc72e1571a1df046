#include "launcher/language_variant.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "launcher/known_keys.h"

TEST(FindLanguageVariant, TheLongestPresentTagWins) {
    struct Case {
        const wchar_t* language;
        std::set<std::wstring> present;   // lower-cased, as the INI lookup ignores case
        const wchar_t* expected;          // nullptr: none found
    } cases[] = {
        {L"de-AT", {L"caption.de-at", L"caption.de", L"caption"}, L"Caption.de-AT"},
        {L"de-AT", {L"caption.de", L"caption"}, L"Caption.de"},
        {L"de-DE", {L"caption.de-at", L"caption"}, L"Caption"},   // another region's variant is not ours
        {L"fr-FR", {L"caption.de", L"caption"}, L"Caption"},
        {L"de-AT", {L"caption.de-at"}, L"Caption.de-AT"},         // a variant without the plain key
        {L"DE-at", {L"caption.de"}, L"Caption.DE"},               // tags ignore letter case
        {L"", {L"caption.de", L"caption"}, L"Caption"},           // no language: the plain key only
        {L"zh-Hant-TW", {L"caption.zh-hant", L"caption.zh"}, L"Caption.zh-Hant"},
        {L"de-AT", {L"caption.d", L"caption.de-"}, nullptr},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> asked;
        Text keyRead;
        bool found = FindLanguageVariant(
            L"Caption", c.language,
            [&](WStr name) {
                asked.emplace_back(name);
                return c.present.count(Lower(std::wstring(name))) > 0;
            },
            keyRead);
        EXPECT_EQ(found, c.expected != nullptr) << ToStd(c.language);
        EXPECT_EQ(ToStd(keyRead), c.expected ? c.expected : L"Caption") << ToStd(c.language);
        // Nothing is asked after the first name that has a value.
        EXPECT_EQ(asked.back(), ToStd(keyRead)) << ToStd(c.language);
    }
}

TEST(FindLanguageVariant, AsksFromTheFullTagDownToThePlainKey) {
    std::vector<std::wstring> asked;
    Text keyRead;
    FindLanguageVariant(L"Show", L"sr-Latn-RS", [&](WStr name) { return asked.emplace_back(name), false; }, keyRead);
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"Show.sr-Latn-RS", L"Show.sr-Latn", L"Show.sr", L"Show"}));
}

TEST(KnownKeys, SectionsKeysAndTheirLanguageVariants) {
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        bool known;
    } cases[] = {
        {L"DIALOG", L"Show", true},           {L"dialog", L"defaultaction", true},
        {L"DIALOG", L"Elevate", true},        {L"DIALOG", L"BackColor.de", true},
        {L"DIALOG", L"Caption.de-AT", true},  {L"DIALOG", L"Caption.zh-Hant-TW", true},
        {L"DIALOG", L"Tip", false},           {L"DIALOG", L"Requires", false},
        {L"DIALOG", L"Action", false},        {L"BUTTON1", L"Requires", true},
        {L"Button5", L"Tip.fr", true},        {L"BUTTON3", L"Elevate", true},
        {L"BUTTON2", L"Picture", false},      {L"BUTTON6", L"Show", false},
        {L"BUTTON0", L"Show", false},         {L"BUTTON", L"Show", false},
        {L"SETUP", L"Show", false},           {L"BUTTON1", L"Caption.", false},
        {L"BUTTON1", L"Caption.d", false},    {L"BUTTON1", L"Caption.deutsch", false},
        {L"BUTTON1", L"Caption.de-", false},  {L"BUTTON1", L"Caption.de_AT", false},
        {L"BUTTON1", L"Captions.de", false},  {L"BUTTON1", L".de", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsKnownKey(c.section, c.key), c.known) << ToStd(c.section) << " " << ToStd(c.key);
    for (const wchar_t* section : {L"DIALOG", L"dialog", L"BUTTON1", L"button5"}) EXPECT_TRUE(IsKnownSection(section));
    for (const wchar_t* section : {L"BUTTON6", L"BUTTON10", L"DIALOGS", L""}) EXPECT_FALSE(IsKnownSection(section));
}

TEST(KnownKeys, SplitsTheLanguageTagOffTheKey) {
    KeyAndLanguage split = SplitLanguageVariant(L"Caption.de-AT");
    EXPECT_EQ(ToStd(split.key), L"Caption");
    EXPECT_EQ(ToStd(split.language), L"de-AT");
    split = SplitLanguageVariant(L"Caption.x1");
    EXPECT_EQ(ToStd(split.key), L"Caption.x1");
    EXPECT_TRUE(split.language.empty());
}
