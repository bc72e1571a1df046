#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "launcher/picture_format.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, int v) {
    if (b.size() < at + 2) b.resize(at + 2);
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, static_cast<int>(v & 0xFFFF));
    Put16(b, at + 2, static_cast<int>(v >> 16));
}

Bytes WmfHeader() {
    Bytes b(18, 0);
    Put16(b, 0, 1);        // a metafile on disk
    Put16(b, 2, 9);        // header words
    Put16(b, 4, 0x0300);   // version
    return b;
}
void AddRecord(Bytes& b, int function, std::vector<int> params) {
    std::size_t at = b.size();
    Put32(b, at, static_cast<std::uint32_t>(3 + params.size()));
    Put16(b, at + 4, function);
    for (std::size_t i = 0; i < params.size(); ++i) Put16(b, at + 6 + 2 * i, params[i]);
}

Bytes Emf(int left, int top, int right, int bottom) {
    Bytes b(88, 0);
    Put32(b, 0, 1);
    Put32(b, 4, 88);
    Put32(b, 24, static_cast<std::uint32_t>(left));
    Put32(b, 28, static_cast<std::uint32_t>(top));
    Put32(b, 32, static_cast<std::uint32_t>(right));
    Put32(b, 36, static_cast<std::uint32_t>(bottom));
    Put32(b, 40, 0x464D4520);
    return b;
}

Bytes Placeable(int left, int top, int right, int bottom, int inch) {
    Bytes b(22, 0);
    Put32(b, 0, 0x9AC6CDD7);
    Put16(b, 6, left);
    Put16(b, 8, top);
    Put16(b, 10, right);
    Put16(b, 12, bottom);
    Put16(b, 14, inch);
    Bytes wmf = WmfHeader();
    b.insert(b.end(), wmf.begin(), wmf.end());
    return b;
}

}  // namespace

TEST(PictureFormat, SniffsMetafilesAndLeavesTheRestToTheDecoders) {
    Bytes emf = Emf(0, 0, 2540, 2540), placeable = Placeable(0, 0, 100, 100, 96), wmf = WmfHeader();
    EXPECT_EQ(SniffPictureKind(emf.data(), emf.size()), PictureKind::EnhancedMetafile);
    EXPECT_EQ(SniffPictureKind(placeable.data(), placeable.size()), PictureKind::PlaceableMetafile);
    EXPECT_EQ(SniffPictureKind(wmf.data(), wmf.size()), PictureKind::WindowsMetafile);
    const std::uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(SniffPictureKind(png, sizeof png), PictureKind::Raster);
    EXPECT_EQ(SniffPictureKind(nullptr, 0), PictureKind::Raster);
    // Cut short, a metafile signature alone proves nothing.
    EXPECT_EQ(SniffPictureKind(emf.data(), 60), PictureKind::Raster);
    EXPECT_EQ(SniffPictureKind(placeable.data(), 22), PictureKind::Raster);
}

TEST(PictureFormat, MetafileNaturalSizesInTwips) {
    Bytes emf = Emf(0, 0, 2540, 1270);   // 1 x 0.5 inch in hundredths of a millimetre
    TwipsSize size = EnhancedMetafileSize(emf.data(), emf.size());
    EXPECT_TRUE(size.valid);
    EXPECT_EQ(size.width, 1440);
    EXPECT_EQ(size.height, 720);

    Bytes placeable = Placeable(-50, 0, 430, 96, 96);   // 480 x 96 units at 96 to the inch
    size = PlaceableMetafileSize(placeable.data(), placeable.size());
    EXPECT_TRUE(size.valid);
    EXPECT_EQ(size.width, 7200);
    EXPECT_EQ(size.height, 1440);

    Bytes wmf = WmfHeader();
    AddRecord(wmf, 0x020B, {0, 0});      // SetWindowOrg
    AddRecord(wmf, 0x020C, {200, 300});  // SetWindowExt: height, width
    size = WindowsMetafileExtent(wmf.data(), wmf.size());
    EXPECT_TRUE(size.valid);
    EXPECT_EQ(size.width, 300 * 15);
    EXPECT_EQ(size.height, 200 * 15);
}

TEST(PictureFormat, DamagedHeadersGiveNoSize) {
    Bytes noInch = Placeable(0, 0, 100, 100, 0);
    EXPECT_FALSE(PlaceableMetafileSize(noInch.data(), noInch.size()).valid);
    Bytes empty = Emf(10, 10, 10, 500);
    EXPECT_FALSE(EnhancedMetafileSize(empty.data(), empty.size()).valid);
    Bytes huge = Emf(0, 0, 0x7FFFFFFF, 100);
    EXPECT_FALSE(EnhancedMetafileSize(huge.data(), huge.size()).valid);

    // No extent record, a record claiming more than the file, a zero-size record.
    Bytes plain = WmfHeader();
    AddRecord(plain, 0x0000, {});
    EXPECT_FALSE(WindowsMetafileExtent(plain.data(), plain.size()).valid);
    Bytes overlong = WmfHeader();
    AddRecord(overlong, 0x020C, {200, 300});
    Put32(overlong, 18, 1000);
    EXPECT_FALSE(WindowsMetafileExtent(overlong.data(), overlong.size()).valid);
    Bytes zero = WmfHeader();
    AddRecord(zero, 0x020C, {200, 300});
    Put32(zero, 18, 0);
    EXPECT_FALSE(WindowsMetafileExtent(zero.data(), zero.size()).valid);
}

namespace {

// A file header and a 40-byte info header, without the pixels.
Bytes BitmapHeaders(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t compression = 0) {
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bits);
    Put32(b, 30, compression);
    return b;
}

}  // namespace

TEST(PictureFormat, BitmapClaimingMoreRowsThanTheFileHoldsIsRefused) {
    struct Case {
        std::int32_t width, height;
        std::uint16_t bits;
        std::uint32_t compression;
        std::uint64_t fileSize;
        bool fits;
    } cases[] = {
        {64, 48, 24, 0, 54 + 64 * 3 * 48, true},
        {64, 48, 24, 0, 54 + 64 * 3 * 48 - 1, false},
        {64, -48, 24, 0, 54 + 64 * 3 * 48, true},         // top-down rows
        {100000, 100000, 24, 0, 54 + 16, false},           // the header of a 30 GB picture
        {2147483647, 2147483647, 32, 0, 1u << 30, false},  // no overflow on the way
        {1000, 1000, 8, 1, 200, true},                     // run-length: the decoder judges
    };
    for (const auto& c : cases) {
        Bytes b = BitmapHeaders(c.width, c.height, c.bits, c.compression);
        EXPECT_EQ(RasterFitsFile(b.data(), b.size(), c.fileSize), c.fits) << c.width << "x" << c.height;
    }
    const std::uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                0, 1, 0, 0, 0, 1, 0, 0, 8, 2, 0, 0, 0, 0};
    EXPECT_TRUE(RasterFitsFile(png, sizeof png, sizeof png));
}
