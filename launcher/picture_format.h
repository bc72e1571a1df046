// Telling metafiles from raster pictures by their first bytes, and reading
// a metafile's natural size. Raster formats are left to the system's
// decoders, which know far more of them than a signature list would.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PictureKind {
    Raster,               // anything else: BMP, ICO, GIF, JPEG, PNG, or no picture at all
    EnhancedMetafile,     // EMF
    PlaceableMetafile,    // WMF with the 22-byte placeable header in front
    WindowsMetafile,      // WMF without it
};

inline constexpr std::size_t kPictureSniffBytes = 96;

PictureKind SniffPictureKind(const std::uint8_t* bytes, std::size_t size);

struct TwipsSize {
    int width = 0;
    int height = 0;
    bool valid = false;   // both positive and sensible
};

// EMF: the header's frame rectangle, in hundredths of a millimetre.
TwipsSize EnhancedMetafileSize(const std::uint8_t* bytes, std::size_t size);

// Placeable WMF: the bounding box in units of which "inch" make one inch.
TwipsSize PlaceableMetafileSize(const std::uint8_t* bytes, std::size_t size);

// WMF without placeable header: the window extent its records set, taken as
// pixels at 96 DPI, the way such files are usually drawn. Not valid when no
// record sets one.
TwipsSize WindowsMetafileExtent(const std::uint8_t* bytes, std::size_t size);

// False for an uncompressed bitmap whose header claims more rows than the
// file holds: decoders would try to read (or allocate) gigabytes for it.
// Any other file passes, to be judged by the decoder.
bool RasterFitsFile(const std::uint8_t* bytes, std::size_t size, std::uint64_t fileSize);

// Offset of the metafile records behind a placeable header.
inline constexpr std::size_t kPlaceableHeaderBytes = 22;
