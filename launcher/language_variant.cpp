#include "language_variant.h"

bool FindLanguageVariant(WStr key, WStr language, FindKeyFn find, void* context, Text& keyRead) {
    keyRead = key;
    if (!language.empty()) keyRead.Append(L'.').Append(language);
    for (;;) {
        if (find(context, keyRead)) return true;
        if (keyRead.Length() == key.size()) return false;
        // "Caption.de-AT" to "Caption.de" to "Caption".
        keyRead.SetLength(keyRead.View().find_last_of(L"-."));
    }
}

namespace {

bool IsAsciiLetter(wchar_t ch) { return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z'); }
bool IsAsciiDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

bool IsLanguageTag(WStr tag) {
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        std::size_t dash = tag.find(L'-', start);
        WStr subtag = TakeFirst(DropFirst(tag, start), dash - start);
        std::size_t shortest = first ? 2 : 1, longest = first ? 3 : 8;
        if (subtag.size() < shortest || subtag.size() > longest) return false;
        for (wchar_t ch : subtag)
            if (!IsAsciiLetter(ch) && (first || !IsAsciiDigit(ch))) return false;
        if (dash == WStr::npos) return true;
        start = dash + 1;
    }
}

}  // namespace

KeyAndLanguage SplitLanguageVariant(WStr keyName) {
    std::size_t dot = keyName.find(L'.');
    if (dot == WStr::npos || dot == 0 || !IsLanguageTag(DropFirst(keyName, dot + 1))) return {keyName, WStr()};
    return {WStr(keyName.data(), dot), DropFirst(keyName, dot + 1)};
}
