// Scaling and drawing the splash picture, and where it lands at any DPI.
// Input: sizes, scale and flags in the first bytes, pixels after them.
// Invariants, beyond no sanitizer report:
// - scaling succeeds for every shrink up to the limit it documents;
// - a flat picture scales to the same flat colour (the weights add to one);
// - premultiplied pixels stay premultiplied (no channel above its alpha);
// - drawing an opaque picture copies it where it overlaps and leaves the
//   rest of the target alone;
// - the visible part of any picture lies inside the client area, and the
//   part decoded is no larger than the picture.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "launcher/layout.h"
#include "launcher/pixel_geometry.h"
#include "launcher/pixels.h"

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

std::uint32_t Premultiplied(std::uint32_t pixel) {
    std::uint32_t alpha = pixel >> 24, out = alpha << 24;
    for (int c = 0; c < 24; c += 8) out |= (((pixel >> c) & 0xFF) * alpha / 255) << c;
    return out;
}

bool IsPremultiplied(std::uint32_t pixel) {
    std::uint32_t alpha = pixel >> 24;
    for (int c = 0; c < 24; c += 8)
        if (((pixel >> c) & 0xFF) > alpha) return false;
    return true;
}

int Int32At(const std::uint8_t* p) {
    return static_cast<int>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                            static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

void CheckGeometry(const std::uint8_t* data) {
    PixelSize natural{Int32At(data), Int32At(data + 4)};
    int dpi = 24 + (data[8] | data[9] << 8) % 2377;   // 25% to about 2500%
    PixelSize client = ClientSizeForDpi(dpi);
    PixelSize visible = VisiblePictureSize(natural, dpi);
    Require(visible.width >= 0 && visible.height >= 0, "visible size is not negative");
    Require(visible.width <= client.width && visible.height <= client.height, "visible part inside the client area");
    PixelSize clip = PictureSourceClip(natural);
    Require(clip.width >= 0 && clip.height >= 0, "decoded part is not negative");
    Require(clip.width <= (natural.width > 0 ? natural.width : 0), "decoded part no wider than the picture");
    Require(clip.height <= (natural.height > 0 ? natural.height : 0), "decoded part no higher than the picture");
    for (int left : kDesignButtonLeft) {
        PixelRect button = ButtonRectForDpi(left, dpi);
        Require(button.width > 0 && button.height > 0, "a button has an area");
        Require(button.x + button.width <= client.width && button.y + button.height <= client.height,
                "a button lies inside the client area");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 16;
    if (size < kHeader) return 0;
    CheckGeometry(data + 6);
    const int sourceWidth = 1 + data[0] % 48, sourceHeight = 1 + data[1] % 48;
    const int numerator = 1 + data[2], denominator = 1 + data[3];
    const int width = 1 + data[4] % 96, height = 1 + data[5] % 96;
    const bool flat = data[16 - 1] & 1;
    const std::uint8_t* pixels = data + kHeader;
    const std::size_t pixelBytes = size - kHeader;

    Bitmap32 source;
    Require(source.Allocate(sourceWidth, sourceHeight), "a small bitmap allocates");
    const std::size_t count = static_cast<std::size_t>(sourceWidth) * sourceHeight;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t pixel = 0xFF6B1F2Fu;
        if (!flat && pixelBytes >= 4) {
            std::size_t at = (i * 4) % (pixelBytes - pixelBytes % 4);
            pixel = static_cast<std::uint32_t>(Int32At(pixels + at));
        }
        source.Pixels()[i] = Premultiplied(pixel);
    }

    Bitmap32 scaled;
    const bool scalable = denominator <= numerator * 30;
    Require(ScaleBitmap(source.View(), numerator, denominator, width, height, scaled) == scalable,
            "scaling works up to the documented shrink");
    if (scalable) {
        for (int i = 0; i < width * height; ++i) {
            std::uint32_t pixel = scaled.Pixels()[i];
            Require(IsPremultiplied(pixel), "scaled pixels stay premultiplied");
            if (flat) Require(pixel == source.Pixels()[0], "a flat picture stays flat");
        }
    }

    Bitmap32 target;
    const int targetWidth = 1 + data[4] % 64, targetHeight = 1 + data[5] % 64;
    Require(target.Allocate(targetWidth, targetHeight), "a small bitmap allocates");
    FillOpaque(target.View(), 0x6B1F2F);
    const std::uint32_t background = target.Pixels()[0];
    Require(background == 0xFF2F1F6Bu, "the fill is opaque 0xAARRGGBB");
    DrawOver(target.View(), source.View());
    for (int y = 0; y < targetHeight; ++y) {
        for (int x = 0; x < targetWidth; ++x) {
            std::uint32_t pixel = target.Pixels()[y * targetWidth + x];
            Require(IsPremultiplied(pixel), "drawn pixels stay premultiplied");
            if (x >= sourceWidth || y >= sourceHeight) {
                Require(pixel == background, "outside the picture the background stays");
                continue;
            }
            std::uint32_t top = source.Pixels()[y * sourceWidth + x];
            if (top >> 24 == 0xFF) Require(pixel == top, "an opaque pixel is copied");
            if (top >> 24 == 0) Require(pixel == background, "a clear pixel leaves the background");
        }
    }
    return 0;
}
