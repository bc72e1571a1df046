// Screenshots for the test tools: a window's client area or the screen,
// saved as a 24-bit bottom-up BMP.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline bool SaveDcAreaAsBmp(HDC source, int width, int height, const std::wstring& path) {
    if (width <= 0 || height <= 0) return false;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;   // bottom-up, as BMP files store rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (rows != height) return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;   // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    header.biSizeImage = static_cast<DWORD>(pixels.size());
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
              WriteFile(out, &header, sizeof header, &written, nullptr) &&
              WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}

inline bool SaveClientScreenshot(HWND window, const std::wstring& path) {
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    bool ok = SaveDcAreaAsBmp(dc, client.right, client.bottom, path);
    ReleaseDC(window, dc);
    return ok;
}

inline bool SaveScreenScreenshot(const std::wstring& path) {
    HDC dc = GetDC(nullptr);
    bool ok = SaveDcAreaAsBmp(dc, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), path);
    ReleaseDC(nullptr, dc);
    return ok;
}
