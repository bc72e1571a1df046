#include "pixbuf_decoder.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "checker/utf.h"
#include "launcher/layout.h"
#include "launcher/picture_format.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

ViewResult Failure(const std::wstring& reason, std::uint32_t systemError = 0) {
    return ViewResult{false, systemError, Text(reason)};
}

// What the launcher's loader says of a file it refuses before decoding.
ViewResult InvalidData() { return Failure(L"The data is invalid.", 13); }

bool ReadFile(const std::filesystem::path& file, Bytes& bytes, ViewResult& failure) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        failure = Failure(FromUtf8(std::strerror(errno)));
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The whole of `bytes` through the incremental loader of `type`.
ViewResult Decode(const Bytes& bytes, const char* type) {
    if (bytes.empty()) return Failure(L"The file is empty.");
    GError* error = nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type(type, &error);
    if (!loader) {
        std::wstring reason = error ? FromUtf8(error->message) : L"no decoder";
        g_clear_error(&error);
        return Failure(reason);
    }
    bool ok = gdk_pixbuf_loader_write(loader, bytes.data(), bytes.size(), &error);
    // Closed in any case; the first error is the one worth telling.
    GError* closeError = nullptr;
    ok = gdk_pixbuf_loader_close(loader, ok ? &closeError : nullptr) && ok;
    if (closeError) error = closeError;
    GdkPixbuf* pixbuf = ok ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    ViewResult result;
    if (!pixbuf) result = Failure(error ? FromUtf8(error->message) : L"The file holds no picture.");
    g_clear_error(&error);
    g_object_unref(loader);
    return result;
}

// The raster formats the launcher's imaging decoders read on every Windows.
bool IsWindowsRasterFormat(const std::string& format) {
    for (const char* known : {"png", "jpeg", "gif", "bmp", "ico", "tiff"})
        if (format == known) return true;
    return false;
}

}  // namespace

ViewResult PixbufDecoder::DecodePicture(const std::filesystem::path& file, PictureFacts& facts) {
    Bytes bytes;
    ViewResult failure;
    if (!ReadFile(file, bytes, failure)) return failure;
    // Metafiles: the launcher plays them through the system's GDI, which has
    // no counterpart here. What it checks itself first, the header and the
    // size it gives, is checked the same way.
    const PictureKind kind = SniffPictureKind(bytes.data(), bytes.size());
    switch (kind) {
        case PictureKind::EnhancedMetafile: {
            TwipsSize size = EnhancedMetafileSize(bytes.data(), bytes.size());
            if (!size.valid) return InvalidData();
            facts = {TwipsToPixels(size.width, kDesignDpi), TwipsToPixels(size.height, kDesignDpi)};
            return ViewResult{};
        }
        case PictureKind::PlaceableMetafile:
        case PictureKind::WindowsMetafile: {
            const bool placeable = kind == PictureKind::PlaceableMetafile;
            if (bytes.size() <= (placeable ? kPlaceableHeaderBytes : 0)) return InvalidData();
            TwipsSize size = placeable ? PlaceableMetafileSize(bytes.data(), bytes.size())
                                       : WindowsMetafileExtent(bytes.data(), bytes.size());
            if (size.valid) facts = {TwipsToPixels(size.width, kDesignDpi), TwipsToPixels(size.height, kDesignDpi)};
            return ViewResult{};
        }
        case PictureKind::Raster:
            break;
    }
    if (!RasterFitsFile(bytes.data(), bytes.size(), bytes.size())) return InvalidData();
    if (bytes.empty()) return Failure(L"The file is empty.");
    // Both of GdkPixbuf's ways to read: each forgives some files that end
    // early (the incremental PNG reader half a picture, the GIF file reader
    // a frame without data), and the launcher's decoders forgive neither.
    const std::string name = file.string();
    GdkPixbufFormat* info = gdk_pixbuf_get_file_info(name.c_str(), nullptr, nullptr);
    gchar* format = info ? gdk_pixbuf_format_get_name(info) : nullptr;
    std::string formatName = format ? format : "";
    g_free(format);
    if (!formatName.empty()) {
        ViewResult incremental = Decode(bytes, formatName.c_str());
        if (!incremental.ok) return incremental;
    }
    GError* error = nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(name.c_str(), &error);
    if (!pixbuf) {
        ViewResult result = Failure(error ? FromUtf8(error->message) : L"The file holds no picture.");
        g_clear_error(&error);
        return result;
    }
    facts = {gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf)};
    g_object_unref(pixbuf);
    if (!IsWindowsRasterFormat(formatName))
        return Failure(L"A " + FromUtf8(formatName) + L" picture, which Windows has no decoder for.");
    return ViewResult{};
}

namespace {

struct IconEntry {
    int size = 0;
    int bitCount = 0;
    std::uint32_t bytes = 0;
    std::uint32_t offset = 0;
};

std::uint32_t Read32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The image a system icon loader picks for a square of `wanted` pixels:
// the nearest size, then the most colours.
const IconEntry* Nearest(const std::vector<IconEntry>& entries, int wanted) {
    const IconEntry* best = nullptr;
    for (const IconEntry& entry : entries) {
        if (!best) {
            best = &entry;
            continue;
        }
        int distance = std::abs(entry.size - wanted), bestDistance = std::abs(best->size - wanted);
        if (distance < bestDistance || (distance == bestDistance && entry.bitCount > best->bitCount)) best = &entry;
    }
    return best;
}

}  // namespace

ViewResult PixbufDecoder::DecodeIcon(const std::filesystem::path& file) {
    Bytes bytes;
    ViewResult failure;
    if (!ReadFile(file, bytes, failure)) return failure;
    const std::size_t count = bytes.size() >= 6 ? (bytes[4] | bytes[5] << 8) : 0;
    if (bytes.size() < 6 || bytes[0] || bytes[1] || bytes[2] != 1 || bytes[3] || count == 0 ||
        bytes.size() < 6 + 16 * count)
        return Failure(L"The file is no icon file.");
    std::vector<IconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t at = 6 + 16 * i;
        IconEntry entry{bytes[at] ? bytes[at] : 256, bytes[at + 6] | bytes[at + 7] << 8, Read32(bytes, at + 8),
                        Read32(bytes, at + 12)};
        entries.push_back(entry);
    }
    // The window's two icons at 100 %: the title bar's and the task bar's.
    for (int wanted : {16, 32}) {
        const IconEntry* entry = Nearest(entries, wanted);
        if (entry->offset > bytes.size() || entry->bytes > bytes.size() - entry->offset)
            return Failure(L"The icon's " + std::to_wstring(entry->size) + L" pixel image lies past the file's end.");
        // That one image as an icon file of its own, for the decoder.
        Bytes single(bytes.begin(), bytes.begin() + 6 + 16);
        single[4] = 1;
        single[5] = 0;
        std::copy(bytes.begin() + 6 + 16 * (entry - entries.data()), bytes.begin() + 6 + 16 * (entry - entries.data()) + 16,
                  single.begin() + 6);
        const std::uint32_t offset = 22;
        for (int k = 0; k < 4; ++k) single[18 + k] = static_cast<std::uint8_t>(offset >> (8 * k));
        single.insert(single.end(), bytes.begin() + entry->offset, bytes.begin() + entry->offset + entry->bytes);
        ViewResult result = Decode(single, "ico");
        if (!result.ok) return result;
    }
    return ViewResult{};
}
