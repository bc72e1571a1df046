#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "launcher/pixels.h"

namespace {

std::uint32_t Channel(std::uint32_t pixel, int index) { return (pixel >> (8 * index)) & 0xFF; }

Bitmap32 Filled(int width, int height, std::uint32_t pixel) {
    Bitmap32 bitmap;
    EXPECT_TRUE(bitmap.Allocate(width, height));
    for (int i = 0; i < width * height; ++i) bitmap.Pixels()[i] = pixel;
    return bitmap;
}

}  // namespace

TEST(Pixels, FillTurnsBbggrrIntoOpaqueBgra) {
    Bitmap32 target = Filled(3, 2, 0);
    FillOpaque(target.View(), 0x006B1F2F);   // red 47, green 31, blue 107
    for (int i = 0; i < 6; ++i) EXPECT_EQ(target.Pixels()[i], 0xFF2F1F6Bu);
}

TEST(Pixels, DrawOverCompositesPremultipliedAlphaAndCutsOff) {
    Bitmap32 target = Filled(4, 1, 0xFF0000FF);   // opaque blue
    Bitmap32 source;
    ASSERT_TRUE(source.Allocate(6, 1));
    std::uint32_t row[6] = {0xFFFF0000, 0x80800000, 0x00000000, 0x40202020, 0xFF00FF00, 0xFF00FF00};
    for (int i = 0; i < 6; ++i) source.Pixels()[i] = row[i];
    DrawOver(target.View(), source.View());
    EXPECT_EQ(target.Pixels()[0], 0xFFFF0000u);   // opaque red replaces
    EXPECT_EQ(target.Pixels()[1], 0xFF80007Fu);   // half red over blue
    EXPECT_EQ(target.Pixels()[2], 0xFF0000FFu);   // transparent leaves blue
    EXPECT_EQ(Channel(target.Pixels()[3], 0), 0x20u + 191u);
    EXPECT_EQ(Channel(target.Pixels()[3], 3), 0xFFu);   // stays opaque
}

TEST(Pixels, ScaleByOneIsExact) {
    Bitmap32 source;
    ASSERT_TRUE(source.Allocate(5, 4));
    for (int i = 0; i < 20; ++i) source.Pixels()[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 12345);
    Bitmap32 out;
    ASSERT_TRUE(ScaleBitmap(source.View(), 96, 96, 5, 4, out));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(out.Pixels()[i], source.Pixels()[i]) << i;
}

TEST(Pixels, EnlargingIsSmoothNotNearestNeighbour) {
    // A black and a white pixel side by side, doubled: the middle pixels
    // must take values in between, rising from left to right.
    Bitmap32 source;
    ASSERT_TRUE(source.Allocate(2, 1));
    source.Pixels()[0] = 0xFF000000;
    source.Pixels()[1] = 0xFFFFFFFF;
    Bitmap32 out;
    ASSERT_TRUE(ScaleBitmap(source.View(), 192, 96, 4, 2, out));
    std::vector<std::uint32_t> greens;
    for (int x = 0; x < 4; ++x) greens.push_back(Channel(out.Pixels()[x], 1));
    EXPECT_EQ(greens.front(), 0u);
    EXPECT_EQ(greens.back(), 255u);
    EXPECT_GT(greens[1], 0u);
    EXPECT_LT(greens[1], greens[2]);
    EXPECT_LT(greens[2], 255u);
    EXPECT_EQ(out.Pixels()[4], out.Pixels()[0]);   // rows alike: the source has one row
}

TEST(Pixels, ScalingKeepsFlatAreasAndPremultipliedInvariant) {
    const std::uint32_t flat = 0x80402010;   // half transparent, premultiplied
    const int scales[][2] = {{144, 96}, {96, 120}, {288, 96}, {96, 96 * 7}};
    for (const auto& scale : scales) {
        Bitmap32 source = Filled(37, 23, flat);
        Bitmap32 out;
        ASSERT_TRUE(ScaleBitmap(source.View(), scale[0], scale[1], 20, 11, out));
        for (int i = 0; i < 20 * 11; ++i) ASSERT_EQ(out.Pixels()[i], flat) << scale[0] << "/" << scale[1];
    }
    // A hard alpha edge: no colour may exceed its alpha after filtering.
    Bitmap32 edge;
    ASSERT_TRUE(edge.Allocate(3, 3));
    const std::uint32_t cells[9] = {0xFFFFFFFF, 0, 0x10101010, 0, 0xFFFF0000, 0, 0x80008000, 0, 0xFF0000FF};
    for (int i = 0; i < 9; ++i) edge.Pixels()[i] = cells[i];
    Bitmap32 out;
    ASSERT_TRUE(ScaleBitmap(edge.View(), 250, 96, 8, 8, out));
    for (int i = 0; i < 64; ++i)
        for (int c = 0; c < 3; ++c) EXPECT_LE(Channel(out.Pixels()[i], c), Channel(out.Pixels()[i], 3));
}

TEST(Pixels, RefusesEmptyAndAbsurdSizes) {
    Bitmap32 bitmap;
    EXPECT_FALSE(bitmap.Allocate(0, 10));
    EXPECT_FALSE(bitmap.Allocate(100000, 100000));
    Bitmap32 out;
    EXPECT_FALSE(ScaleBitmap(bitmap.View(), 144, 96, 4, 4, out));          // empty source
    Bitmap32 source = Filled(2, 2, 0xFF000000);
    EXPECT_FALSE(ScaleBitmap(source.View(), 1, 96, 4, 4, out));            // shrinking past the filter
}
