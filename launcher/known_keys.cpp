#include "known_keys.h"

#include "language_variant.h"

namespace {

constexpr const wchar_t* kDialogKeys[] = {L"Show", L"DefaultAction", L"Elevate", L"BackColor",
                                          L"Picture", L"Icon", L"Caption"};
constexpr const wchar_t* kButtonKeys[] = {L"Show", L"Requires", L"Caption", L"Action", L"Elevate", L"Tip"};

bool IsButtonSection(WStr section) {
    return section.size() == 7 && EqualsIgnoringCase(TakeFirst(section, 6), L"BUTTON") && section[6] >= L'1' &&
           section[6] <= L'5';
}

template <std::size_t N>
bool Contains(const wchar_t* const (&keys)[N], WStr key) {
    for (const wchar_t* known : keys)
        if (EqualsIgnoringCase(key, known)) return true;
    return false;
}

}  // namespace

bool IsKnownSection(WStr section) { return EqualsIgnoringCase(section, L"DIALOG") || IsButtonSection(section); }

bool IsKnownKey(WStr section, WStr keyName) {
    WStr key = SplitLanguageVariant(keyName).key;
    if (EqualsIgnoringCase(section, L"DIALOG")) return Contains(kDialogKeys, key);
    return IsButtonSection(section) && Contains(kButtonKeys, key);
}
