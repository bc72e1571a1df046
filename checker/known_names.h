// The sections and keys the launcher reads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The known section of this name, spelt as the launcher spells it; empty
// when the launcher reads no such section.
std::wstring KnownSection(std::wstring_view name);
// The keys the launcher reads in a known section.
const std::vector<std::wstring>& KnownKeys(std::wstring_view knownSection);
const std::vector<std::wstring>& KnownSections();

// Edit distance ignoring letter case; swapping two neighbours counts one.
int NameDistance(std::wstring_view a, std::wstring_view b);
// The candidate nearest to name when it is near enough to be a slip of the
// pen; empty otherwise.
std::wstring NearestName(std::wstring_view name, const std::vector<std::wstring>& candidates);
