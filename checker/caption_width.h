// How wide a button caption is drawn at 100 % display scaling, estimated
// from the default dialog font's metrics.
#pragma once

#include <string>
#include <string_view>

// The caption as shown: "&&" is one ampersand, a single "&" only marks the
// access key.
std::wstring ShownCaption(std::wstring_view caption);

// The access key a caption marks, lower case; 0 when none.
wchar_t AccessKey(std::wstring_view caption);

// Estimated width in pixels of the shown caption in the default dialog font
// (9 point at 96 DPI).
int EstimatedCaptionPixels(std::wstring_view caption);

// Pixels a 93-pixel button has for its text once its frame and the focus
// rectangle's margins are taken off.
inline constexpr int kButtonTextPixels = 83;
