#include "back_buffer.h"

#include "../launcher/layout.h"

namespace {

void DrawRaster(PixelView target, const SplashPicture& picture, UINT dpi) {
    PixelView source = picture.visiblePart.View();
    if (!source.pixels) return;
    if (dpi == kDesignDpi) {
        DrawOver(target, source);
        return;
    }
    PixelSize size = VisiblePictureSize(picture.naturalPixels, static_cast<int>(dpi));
    Bitmap32 scaled;
    // Short of memory for the scaled copy, the unscaled picture still shows.
    if (ScaleBitmap(source, static_cast<int>(dpi), kDesignDpi, size.width, size.height, scaled))
        DrawOver(target, scaled.View());
    else
        DrawOver(target, source);
}

void DrawMetafile(HBITMAP bitmap, const SplashPicture& picture, UINT dpi) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return;
    HGDIOBJ previous = SelectObject(dc.Get(), bitmap);
    RECT frame{0, 0, TwipsToPixels(picture.metafileSize.width, static_cast<int>(dpi)),
               TwipsToPixels(picture.metafileSize.height, static_cast<int>(dpi))};
    PlayEnhMetaFile(dc.Get(), picture.metafile.Get(), &frame);
    GdiFlush();
    SelectObject(dc.Get(), previous);
}

}  // namespace

UniqueBitmap ComposeBackBuffer(PixelSize client, COLORREF color, const SplashPicture& picture, UINT dpi) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.width;
    info.bmiHeader.biHeight = -client.height;   // top row first, like PixelView
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return UniqueBitmap();
    PixelView target{static_cast<std::uint32_t*>(bits), client.width, client.height};
    FillOpaque(target, color);
    DrawRaster(target, picture, dpi);
    if (picture.metafile) DrawMetafile(bitmap.Get(), picture, dpi);
    return bitmap;
}

void PaintBackBuffer(HDC target, HBITMAP backBuffer, PixelSize client, COLORREF color) {
    UniqueDC source(backBuffer ? CreateCompatibleDC(target) : nullptr);
    if (!source) {
        // Short of memory for the composed picture: the colour at least, so
        // the window never shows what lay behind it.
        UniqueBrush brush(CreateSolidBrush(color));
        RECT all{0, 0, client.width, client.height};
        FillRect(target, &all, brush ? brush.Get() : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    HGDIOBJ previous = SelectObject(source.Get(), backBuffer);
    BitBlt(target, 0, 0, client.width, client.height, source.Get(), 0, 0, SRCCOPY);
    SelectObject(source.Get(), previous);
}
