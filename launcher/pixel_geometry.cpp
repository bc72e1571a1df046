#include "pixel_geometry.h"

#include "layout.h"

namespace {

constexpr int kTwipsPerPixelAt96 = 15;
constexpr int kFilterMargin = 2;

int Smaller(int a, int b) { return a < b ? a : b; }

}  // namespace

PixelRect TwipsRectToPixels(int leftTwips, int topTwips, int widthTwips, int heightTwips, int dpi) {
    PixelRect rect;
    rect.x = TwipsToPixels(leftTwips, dpi);
    rect.y = TwipsToPixels(topTwips, dpi);
    rect.width = TwipsToPixels(leftTwips + widthTwips, dpi) - rect.x;
    rect.height = TwipsToPixels(topTwips + heightTwips, dpi) - rect.y;
    return rect;
}

PixelSize ClientSizeForDpi(int dpi) {
    return {TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
}

PixelRect ButtonRectForDpi(int leftTwips, int dpi) {
    return TwipsRectToPixels(leftTwips, kButtonTopTwips, kButtonWidthTwips, kButtonHeightTwips, dpi);
}

PixelSize VisiblePictureSize(PixelSize naturalPixels, int dpi) {
    PixelSize client = ClientSizeForDpi(dpi);
    // Natural pixel counts can be large; the twips products stay in range
    // once clipped to what is visible at 96 DPI plus the margin.
    PixelSize clip = PictureSourceClip(naturalPixels);
    return {Smaller(client.width, TwipsToPixels(clip.width * kTwipsPerPixelAt96, dpi)),
            Smaller(client.height, TwipsToPixels(clip.height * kTwipsPerPixelAt96, dpi))};
}

PixelSize PictureSourceClip(PixelSize naturalPixels) {
    int width = naturalPixels.width > 0 ? naturalPixels.width : 0;
    int height = naturalPixels.height > 0 ? naturalPixels.height : 0;
    return {Smaller(width, kClientWidthTwips / kTwipsPerPixelAt96 + kFilterMargin),
            Smaller(height, kClientHeightTwips / kTwipsPerPixelAt96 + kFilterMargin)};
}
