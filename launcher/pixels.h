// 32-bit pixels as Windows lays them out in memory (blue, green, red, alpha;
// read as one number 0xAARRGGBB), with colour premultiplied by alpha, and the
// few operations the splash picture needs: smooth scaling and drawing over
// the background colour. Kept free of Windows so it runs in the unit tests.
#pragma once

#include <cstdint>

struct PixelView {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;   // rows follow one another without padding, top row first
};

class Bitmap32 {
public:
    Bitmap32() = default;
    Bitmap32(const Bitmap32&) = delete;
    Bitmap32& operator=(const Bitmap32&) = delete;
    Bitmap32(Bitmap32&& other) noexcept;
    Bitmap32& operator=(Bitmap32&& other) noexcept;
    ~Bitmap32();

    // False when the size is empty, absurd or the memory is not there.
    bool Allocate(int width, int height);
    PixelView View() const { return {pixels_, width_, height_}; }
    std::uint32_t* Pixels() const { return pixels_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Fills every pixel with an opaque colour given as 0x00BBGGRR.
void FillOpaque(PixelView target, std::uint32_t colorBbggrr);

// Draws source over target with its top-left at the origin; what does not
// fit is cut off.
void DrawOver(PixelView target, PixelView source);

// Scales source by scaleNumerator / scaleDenominator into a new bitmap of
// width x height (which may cover only the top-left part of the scaled
// image). A tent filter: bilinear when enlarging, averaging over the covered
// pixels when shrinking. False when memory is short.
bool ScaleBitmap(PixelView source, int scaleNumerator, int scaleDenominator, int width, int height,
                 Bitmap32& out);
