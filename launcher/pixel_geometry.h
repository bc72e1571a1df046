// Where the window's parts land in pixels at a given resolution. Every edge
// is rounded from twips on its own, so neighbouring parts keep the gaps the
// design gives them at any DPI.
#pragma once

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct PixelSize {
    int width = 0;
    int height = 0;
};

PixelRect TwipsRectToPixels(int leftTwips, int topTwips, int widthTwips, int heightTwips, int dpi);

PixelSize ClientSizeForDpi(int dpi);

// A button of the design row, moved to leftTwips.
PixelRect ButtonRectForDpi(int leftTwips, int dpi);

// A picture's natural size is its pixel size at 96 DPI; at another DPI it
// scales by dpi / 96. This is the part of it that falls inside the client
// area, in window pixels.
PixelSize VisiblePictureSize(PixelSize naturalPixels, int dpi);

// The part of a raster picture, in its own pixels, that can ever be seen at
// any DPI: the client area at 96 DPI and a small margin for the scaling
// filter. Decoding only this part keeps a huge picture cheap.
PixelSize PictureSourceClip(PixelSize naturalPixels);
