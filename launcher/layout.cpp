#include "layout.h"

namespace {

constexpr int kNone = -1;   // keeps the design Left
constexpr int kHidden = -2;

// Rows are counts 0 to 5; columns are buttons 0 to 4.
constexpr int kLayout[6][kButtonSlots] = {
    {kHidden, kHidden, kHidden, kHidden, kHidden},
    {2910, kHidden, kHidden, kHidden, kHidden},
    {2910, 5790, kHidden, kHidden, kHidden},
    {kNone, 2910, 5790, kHidden, kHidden},
    {kNone, 1950, 3870, 5790, kHidden},
    {kNone, kNone, kNone, kNone, 5790},
};

}  // namespace

bool LayoutForCount(int count, ButtonPlacement (&placements)[kButtonSlots]) {
    if (count < 0 || count > 5) return false;
    for (int i = 0; i < kButtonSlots; ++i) {
        int cell = kLayout[count][i];
        placements[i].visible = cell != kHidden;
        placements[i].setsLeft = cell >= 0;
        placements[i].left = cell >= 0 ? cell : kDesignButtonLeft[i];
    }
    return true;
}

int TwipsToPixels(int twips, int dpi) {
    long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + (scaled >= 0 ? 720 : -720)) / 1440);
}
