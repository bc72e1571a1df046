// The window's design, in twips (1440 to the inch; 15 to a pixel at 96 DPI),
// and where the buttons go for each number of buttons shown.
#pragma once

#include "splash_view.h"

inline constexpr int kDesignDpi = 96;   // the resolution the design is drawn at
inline constexpr int kClientWidthTwips = 7215;
inline constexpr int kClientHeightTwips = 5175;
inline constexpr int kButtonTopTwips = 4560;
inline constexpr int kButtonWidthTwips = 1395;
inline constexpr int kButtonHeightTwips = 495;
inline constexpr int kDesignButtonLeft[kButtonSlots] = {30, 1470, 2910, 4350, 5790};
inline constexpr wchar_t kDesignButtonCaption[] = L"Command1";
inline constexpr int kDesignBackColor = 0x006B1F2F;   // red 47, green 31, blue 107

struct ButtonPlacement {
    int left = 0;        // twips
    bool setsLeft = false;
    bool visible = false;
};

// One button stands in the middle; two in the middle and at the right; three
// and four run from left to right in equal steps; five keep the design row.
// A count outside 0 to 5 changes nothing.
bool LayoutForCount(int count, ButtonPlacement (&placements)[kButtonSlots]);

// Twips to pixels at a resolution, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);
