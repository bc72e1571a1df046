// Recognising metafiles by their first bytes and reading their sizes, for
// any file content at all.
// Invariants: nothing is read past the bytes given (the sanitizer sees to
// it); the kind depends only on the first kPictureSniffBytes bytes, which is
// all the window reads to decide; a size that is valid is positive and at
// most 1000 inches; a windows metafile extent exists only for a file the
// sniffer calls a windows metafile; a bitmap that fits a file fits any
// larger one.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "launcher/picture_format.h"

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void CheckSize(TwipsSize size) {
    if (!size.valid) return;
    Require(size.width > 0 && size.height > 0, "valid size is positive");
    Require(size.width <= 1440 * 1000 && size.height <= 1440 * 1000, "valid size is at most 1000 inches");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact copy, so a read one byte past the end is a sanitizer report.
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size ? size : 1]);
    if (size) std::memcpy(bytes.get(), data, size);

    PictureKind kind = SniffPictureKind(bytes.get(), size);
    std::size_t head = size < kPictureSniffBytes ? size : kPictureSniffBytes;
    Require(SniffPictureKind(bytes.get(), head) == kind, "the first bytes decide the kind");

    CheckSize(EnhancedMetafileSize(bytes.get(), size));
    CheckSize(PlaceableMetafileSize(bytes.get(), size));
    TwipsSize extent = WindowsMetafileExtent(bytes.get(), size);
    CheckSize(extent);
    if (extent.valid) Require(kind == PictureKind::WindowsMetafile, "an extent only for a windows metafile");
    if (size > kPlaceableHeaderBytes)
        CheckSize(WindowsMetafileExtent(bytes.get() + kPlaceableHeaderBytes, size - kPlaceableHeaderBytes));
    std::uint64_t fileSize = size >= 8 ? (static_cast<std::uint64_t>(bytes[size - 1]) << 24 | bytes[size - 2] << 16 |
                                          bytes[size - 3] << 8 | bytes[size - 4]) : size;
    if (RasterFitsFile(bytes.get(), size, fileSize))
        Require(RasterFitsFile(bytes.get(), size, fileSize + 1), "what fits a file fits a larger one");
    return 0;
}
