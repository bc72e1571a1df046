#include "known_keys.h"

#include <iterator>

#include "language_variant.h"

namespace {

constexpr const wchar_t* kDialogKeys[] = {L"Show", L"DefaultAction", L"Elevate", L"BackColor",
                                          L"Picture", L"Icon", L"Caption"};
constexpr const wchar_t* kButtonKeys[] = {L"Show", L"Requires", L"Caption", L"Action", L"Elevate", L"Tip"};

bool IsButtonSection(WStr section) {
    return section.size() == 7 && EqualsIgnoringCase(TakeFirst(section, 6), L"BUTTON") && section[6] >= L'1' &&
           section[6] <= L'5';
}

}  // namespace

bool IsKnownSection(WStr section) { return EqualsIgnoringCase(section, L"DIALOG") || IsButtonSection(section); }

KeyNames KeysOfSection(WStr section) {
    if (EqualsIgnoringCase(section, L"DIALOG")) return {kDialogKeys, std::size(kDialogKeys)};
    if (IsButtonSection(section)) return {kButtonKeys, std::size(kButtonKeys)};
    return {};
}

bool IsKnownKey(WStr section, WStr keyName) {
    WStr key = SplitLanguageVariant(keyName).key;
    KeyNames keys = KeysOfSection(section);
    for (std::size_t i = 0; i < keys.count; ++i)
        if (EqualsIgnoringCase(key, keys.names[i])) return true;
    return false;
}
