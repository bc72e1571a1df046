// Keys in the user's language: "Caption.de-AT" for Austrian German users,
// "Caption.de" for every German user, "Caption" for everyone else.
#pragma once

#include <type_traits>

#include "text.h"

// Looks a key up in the user's language. Tries "key.<language>", then the
// language cut back one subtag at a time ("key.de-AT", then "key.de"), then
// the key itself; `find` is asked for one exact key name at a time and says
// whether that name has a value. Stops at the first that has. Returns
// whether any had; `keyRead` is then that name (for reports), otherwise
// the key itself. language may be empty: then only the key is tried.
using FindKeyFn = bool (*)(void* context, WStr keyName);
bool FindLanguageVariant(WStr key, WStr language, FindKeyFn find, void* context, Text& keyRead);

// The same with any callable find(WStr keyName) -> bool.
template <class Find>
bool FindLanguageVariant(WStr key, WStr language, Find&& find, Text& keyRead) {
    using Callable = std::remove_reference_t<Find>;
    FindKeyFn call = [](void* context, WStr keyName) {
        return static_cast<bool>((*static_cast<Callable*>(context))(keyName));
    };
    return FindLanguageVariant(key, language, call, const_cast<void*>(static_cast<const void*>(&find)), keyRead);
}

// A key name split into the key and its language tag: "Caption.de-AT" is
// "Caption" and "de-AT". A name without a well-formed tag (two or three
// letters, then subtags of one to eight letters or digits, joined by "-")
// is all key, with an empty language.
struct KeyAndLanguage {
    WStr key;
    WStr language;
};
KeyAndLanguage SplitLanguageVariant(WStr keyName);
