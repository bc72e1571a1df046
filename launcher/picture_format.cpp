#include "picture_format.h"

namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t ReadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::int32_t ReadI32(const std::uint8_t* p) { return static_cast<std::int32_t>(ReadU32(p)); }
std::int16_t ReadI16(const std::uint8_t* p) { return static_cast<std::int16_t>(ReadU16(p)); }

constexpr std::uint32_t kEmfHeaderRecord = 1;
constexpr std::uint32_t kEmfSignature = 0x464D4520;   // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kEmfHeaderBytes = 88;
constexpr std::size_t kWmfHeaderBytes = 18;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint16_t kMetaEof = 0x0000;

// A metafile far larger than any screen is damaged, not a design.
constexpr long long kLargestTwips = 1440LL * 1000;

TwipsSize Checked(long long width, long long height) {
    if (width < 0) width = -width;
    if (height < 0) height = -height;
    TwipsSize size;
    if (width <= 0 || height <= 0 || width > kLargestTwips || height > kLargestTwips) return size;
    size.width = static_cast<int>(width);
    size.height = static_cast<int>(height);
    size.valid = true;
    return size;
}

bool IsWmfHeader(const std::uint8_t* bytes, std::size_t size) {
    if (size < kWmfHeaderBytes) return false;
    std::uint16_t type = ReadU16(bytes), headerWords = ReadU16(bytes + 2), version = ReadU16(bytes + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

}  // namespace

PictureKind SniffPictureKind(const std::uint8_t* bytes, std::size_t size) {
    if (size >= kEmfHeaderBytes && ReadU32(bytes) == kEmfHeaderRecord && ReadU32(bytes + 40) == kEmfSignature)
        return PictureKind::EnhancedMetafile;
    if (size >= kPlaceableHeaderBytes + kWmfHeaderBytes && ReadU32(bytes) == kPlaceableKey)
        return PictureKind::PlaceableMetafile;
    if (IsWmfHeader(bytes, size)) return PictureKind::WindowsMetafile;
    return PictureKind::Raster;
}

TwipsSize EnhancedMetafileSize(const std::uint8_t* bytes, std::size_t size) {
    if (size < kEmfHeaderBytes) return {};
    long long left = ReadI32(bytes + 24), top = ReadI32(bytes + 28);
    long long right = ReadI32(bytes + 32), bottom = ReadI32(bytes + 36);
    // Hundredths of a millimetre: 2540 to the inch.
    return Checked((right - left) * 1440 / 2540, (bottom - top) * 1440 / 2540);
}

TwipsSize PlaceableMetafileSize(const std::uint8_t* bytes, std::size_t size) {
    if (size < kPlaceableHeaderBytes) return {};
    long long left = ReadI16(bytes + 6), top = ReadI16(bytes + 8);
    long long right = ReadI16(bytes + 10), bottom = ReadI16(bytes + 12);
    long long inch = ReadU16(bytes + 14);
    if (inch == 0) return {};
    return Checked((right - left) * 1440 / inch, (bottom - top) * 1440 / inch);
}

TwipsSize WindowsMetafileExtent(const std::uint8_t* bytes, std::size_t size) {
    if (!IsWmfHeader(bytes, size)) return {};
    std::size_t offset = kWmfHeaderBytes;
    // Each record: its size in 16-bit words (at least 3), its function, its
    // parameters. A size that runs past the end stops the walk.
    while (size - offset >= 6) {
        std::uint32_t words = ReadU32(bytes + offset);
        std::uint16_t function = ReadU16(bytes + offset + 4);
        if (function == kMetaEof || words < 3 || words > (size - offset) / 2) break;
        if (function == kMetaSetWindowExt && words >= 5) {
            // Parameters come in reverse order: height, then width.
            long long height = ReadI16(bytes + offset + 6), width = ReadI16(bytes + offset + 8);
            return Checked(width * 15, height * 15);
        }
        offset += static_cast<std::size_t>(words) * 2;
    }
    return {};
}

bool RasterFitsFile(const std::uint8_t* bytes, std::size_t size, std::uint64_t fileSize) {
    // Only uncompressed bitmaps with an info header of 40 bytes or more: the
    // other kinds cannot be measured from their header.
    if (size < 34 || bytes[0] != 'B' || bytes[1] != 'M' || ReadU32(bytes + 14) < 40) return true;
    const std::uint32_t compression = ReadU32(bytes + 30);
    if (compression != 0 && compression != 3 && compression != 6) return true;
    // Negative sizes mean mirrored or top-down rows; the count is the same.
    const long long width = ReadI32(bytes + 18), height = ReadI32(bytes + 22);
    const std::uint64_t stride = (static_cast<std::uint64_t>(width < 0 ? -width : width) * ReadU16(bytes + 28) + 31) / 32 * 4;
    const std::uint64_t pixelOffset = ReadU32(bytes + 10);
    return pixelOffset <= fileSize &&
           (stride == 0 || static_cast<std::uint64_t>(height < 0 ? -height : height) <= (fileSize - pixelOffset) / stride);
}
