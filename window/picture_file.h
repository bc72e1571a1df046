// Reading the splash picture from its file: raster formats through the
// Windows Imaging Component (the classic picture loader takes no PNG on
// Windows), metafiles through GDI so they stay sharp at any DPI.
#pragma once

#include <windows.h>

#include "../launcher/splash_view.h"
#include "../win32/unique_handle.h"
#include "../launcher/picture_format.h"
#include "../launcher/pixel_geometry.h"
#include "../launcher/pixels.h"

struct SplashPicture {
    // Raster: the part that can ever be seen, premultiplied, and the whole
    // picture's size in its own pixels (its natural size at 96 DPI).
    Bitmap32 visiblePart;
    PixelSize naturalPixels;
    // Metafile: drawn into the natural size at the window's DPI.
    UniqueEnhMetaFile metafile;
    TwipsSize metafileSize;
};

// False when the file cannot be read as a picture; failure then says why.
bool LoadSplashPicture(WStr path, SplashPicture& picture, ViewResult& failure);
