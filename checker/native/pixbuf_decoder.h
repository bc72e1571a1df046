// Decoding with GdkPixbuf, the picture library of Debian's desktops: its
// loaders hand BMP, GIF and ICO to its own well-tested readers and PNG and
// JPEG to libpng and libjpeg-turbo.
#pragma once

#include "checker/picture_decoder.h"

class PixbufDecoder final : public PictureDecoder {
public:
    ViewResult DecodePicture(const std::filesystem::path& file, PictureFacts& facts) override;
    ViewResult DecodeIcon(const std::filesystem::path& file) override;
};
