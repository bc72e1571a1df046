// Every section and key the launcher reads, for tools that check a disc's
// INI file before it ships. The launcher itself reads keys by name.
#pragma once

#include "text.h"

// "DIALOG", or "BUTTON1" to "BUTTON5"; letter case is ignored, as the
// system's INI lookup ignores it.
bool IsKnownSection(WStr section);

// A key the launcher reads in that section, also as a language variant
// ("Caption.de-AT"). False for an unknown section.
bool IsKnownKey(WStr section, WStr keyName);

// The keys the launcher reads in that section, spelt as it spells them,
// without variants; none for an unknown section.
struct KeyNames {
    const wchar_t* const* names = nullptr;
    std::size_t count = 0;
};
KeyNames KeysOfSection(WStr section);
