// Decoding on Windows with the launcher's own loaders: the imaging
// component and GDI for the picture, the system's icon loader for the icon,
// at the sizes the window asks for.
#pragma once

#include "checker/picture_decoder.h"

class Win32Decoder final : public PictureDecoder {
public:
    ViewResult DecodePicture(const std::filesystem::path& file, PictureFacts& facts) override;
    ViewResult DecodeIcon(const std::filesystem::path& file) override;
};
