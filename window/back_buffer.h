// The window's whole client area drawn once into a bitmap: background
// colour, then the picture at its natural size for the DPI. Painting is then
// a single copy, which is what keeps repaints free of flicker.
#pragma once

#include <windows.h>

#include "picture_file.h"

UniqueBitmap ComposeBackBuffer(PixelSize client, COLORREF color, const SplashPicture& picture, UINT dpi);

// Copies the back buffer to a device context at the client origin; without
// one (it could not be made) fills the client area with color instead.
void PaintBackBuffer(HDC target, HBITMAP backBuffer, PixelSize client, COLORREF color);
