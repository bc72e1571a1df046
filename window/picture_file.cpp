#include "picture_file.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstdlib>

#include "../win32/file_bytes.h"
#include "../win32/win32_platform.h"

namespace {

// Defined here rather than taken from libuuid, whose imaging object file
// would bring every imaging GUID into the exe.
constexpr GUID kImagingFactoryV1 = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kPremultipliedBgra = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};

// error: the Win32 error read where the call failed, before any handle
// was closed (closing one can change the thread's last error).
bool FailWithError(ViewResult& failure, DWORD error) {
    failure.systemError = error;
    failure.systemMessage = SystemErrorText(error);
    return false;
}

// COM and imaging errors are HRESULTs, which read better in hexadecimal.
bool FailWithResult(ViewResult& failure, HRESULT result) {
    Text message = SystemErrorText(static_cast<unsigned long>(result));
    if (message.Empty() && result == WINCODEC_ERR_COMPONENTNOTFOUND)
        message = L"No imaging component can read this format.";
    if (message.Empty()) message.Append(L"Error 0x").AppendHex(static_cast<std::uint32_t>(result));
    else message.Append(L" (0x").AppendHex(static_cast<std::uint32_t>(result)).Append(L')');
    failure.systemError = 0;
    failure.systemMessage = message;
    return false;
}

// The first bytes of a file, or why they could not be read.
class FileBytes {
public:
    // Reads up to limit bytes from the start of the file; false with
    // Error() set when it cannot.
    bool Read(const Text& path, std::size_t limit) {
        error_ = ReadFileStart(path.CStr(), limit, bytes_, fileSize_);
        return !error_;
    }
    const std::uint8_t* Data() const { return bytes_.Data(); }
    std::size_t Size() const { return bytes_.Size(); }
    std::uint64_t FileSize() const { return fileSize_; }
    DWORD Error() const { return error_; }

private:
    ByteBuffer bytes_;
    DWORD error_ = 0;
    std::uint64_t fileSize_ = 0;
};

// Metafiles of more than this are not pictures anyone puts on a disc's
// splash screen; refusing them keeps a damaged file from eating memory.
constexpr std::size_t kLargestMetafile = 64u << 20;

bool LoadWindowsMetafile(const Text& path, PictureKind kind, SplashPicture& picture,
                         ViewResult& failure) {
    FileBytes file;
    if (!file.Read(path, kLargestMetafile)) return FailWithError(failure, file.Error());
    const bool placeable = kind == PictureKind::PlaceableMetafile;
    const std::size_t skip = placeable ? kPlaceableHeaderBytes : 0;
    if (file.Size() <= skip) return FailWithError(failure, ERROR_INVALID_DATA);
    TwipsSize size = placeable ? PlaceableMetafileSize(file.Data(), file.Size())
                               : WindowsMetafileExtent(file.Data(), file.Size());
    METAFILEPICT frame{MM_ANISOTROPIC, MulDiv(size.width, 2540, 1440), MulDiv(size.height, 2540, 1440), nullptr};
    HENHMETAFILE metafile = SetWinMetaFileBits(static_cast<UINT>(file.Size() - skip), file.Data() + skip, nullptr,
                                               size.valid ? &frame : nullptr);
    if (!metafile) return FailWithError(failure, GetLastError());
    picture.metafile.Reset(metafile);
    if (!size.valid) {
        // No size of its own: GDI fitted it to the screen; take that frame.
        ENHMETAHEADER header{};
        GetEnhMetaFileHeader(picture.metafile.Get(), sizeof header, &header);
        size = EnhancedMetafileSize(reinterpret_cast<const std::uint8_t*>(&header), sizeof header);
    }
    picture.metafileSize = size;
    if (!size.valid) return FailWithError(failure, ERROR_INVALID_DATA);
    return true;
}

bool LoadEnhancedMetafile(const Text& path, const FileBytes& head, SplashPicture& picture,
                          ViewResult& failure) {
    picture.metafileSize = EnhancedMetafileSize(head.Data(), head.Size());
    if (!picture.metafileSize.valid) return FailWithError(failure, ERROR_INVALID_DATA);
    HENHMETAFILE metafile = GetEnhMetaFileW(path.CStr());
    if (!metafile) return FailWithError(failure, GetLastError());
    picture.metafile.Reset(metafile);
    return true;
}

bool LoadRaster(const Text& path, SplashPicture& picture, ViewResult& failure) {
    HRESULT result = EnterComApartment();
    if (FAILED(result) && result != RPC_E_CHANGED_MODE) return FailWithResult(failure, result);
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(result = CoCreateInstance(kImagingFactoryV1, nullptr, CLSCTX_INPROC_SERVER,
                                         __uuidof(IWICImagingFactory), factory.PutVoid())) ||
        FAILED(result = factory->CreateDecoderFromFilename(path.CStr(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand, decoder.Put())) ||
        FAILED(result = decoder->GetFrame(0, frame.Put())) ||
        FAILED(result = frame->GetSize(&width, &height)) ||
        FAILED(result = factory->CreateFormatConverter(converter.Put())) ||
        FAILED(result = converter->Initialize(frame.Get(), kPremultipliedBgra, WICBitmapDitherTypeNone,
                                              nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return FailWithResult(failure, result);
    constexpr UINT kLargestSide = 1u << 30;
    picture.naturalPixels = {static_cast<int>(width < kLargestSide ? width : kLargestSide),
                             static_cast<int>(height < kLargestSide ? height : kLargestSide)};
    PixelSize clip = PictureSourceClip(picture.naturalPixels);
    if (!picture.visiblePart.Allocate(clip.width, clip.height)) return FailWithResult(failure, E_OUTOFMEMORY);
    // Only the visible part is converted, so an 8000 x 6000 photo costs
    // this window no more than a small one.
    WICRect part{0, 0, clip.width, clip.height};
    const UINT stride = static_cast<UINT>(clip.width) * 4;
    result = converter->CopyPixels(&part, stride, stride * static_cast<UINT>(clip.height),
                                   reinterpret_cast<BYTE*>(picture.visiblePart.Pixels()));
    if (FAILED(result)) return FailWithResult(failure, result);
    return true;
}

}  // namespace

bool LoadSplashPicture(WStr path, SplashPicture& picture, ViewResult& failure) {
    // Relative paths are resolved against the current directory, like the
    // configuration file's own.
    Text full(path);
    FileBytes head;
    if (!head.Read(full, kPictureSniffBytes)) return FailWithError(failure, head.Error());
    PictureKind kind = SniffPictureKind(head.Data(), head.Size());
    switch (kind) {
        case PictureKind::EnhancedMetafile:
            return LoadEnhancedMetafile(full, head, picture, failure);
        case PictureKind::PlaceableMetafile:
        case PictureKind::WindowsMetafile:
            return LoadWindowsMetafile(full, kind, picture, failure);
        case PictureKind::Raster:
            break;
    }
    if (!RasterFitsFile(head.Data(), head.Size(), head.FileSize())) return FailWithError(failure, ERROR_INVALID_DATA);
    return LoadRaster(full, picture, failure);
}
