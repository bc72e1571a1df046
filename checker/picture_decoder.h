// The checker's seam to a picture decoder: natively the Debian libraries,
// on Windows the launcher's own loaders. Both decode the whole file, so a
// damaged one is found as the launcher would find it.
#pragma once

#include <filesystem>

#include "launcher/splash_view.h"

struct PictureFacts {
    // The picture's natural size in pixels at 100 % (96 DPI); 0 when the
    // decoder cannot tell.
    int width = 0;
    int height = 0;
};

class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    virtual ViewResult DecodePicture(const std::filesystem::path& file, PictureFacts& facts) = 0;
    virtual ViewResult DecodeIcon(const std::filesystem::path& file) = 0;
};
