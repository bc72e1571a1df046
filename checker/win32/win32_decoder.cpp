#include "win32_decoder.h"

#include "../../window/picture_file.h"
#include "../../window/window_icons.h"
#include "../../win32/win32_platform.h"
#include "../../launcher/layout.h"

ViewResult Win32Decoder::DecodePicture(const std::filesystem::path& file, PictureFacts& facts) {
    SplashPicture picture;
    ViewResult result;
    result.ok = LoadSplashPicture(file.wstring(), picture, result);
    if (!result.ok) return result;
    if (picture.metafile)
        facts = {TwipsToPixels(picture.metafileSize.width, kDesignDpi),
                 TwipsToPixels(picture.metafileSize.height, kDesignDpi)};
    else
        facts = {picture.naturalPixels.width, picture.naturalPixels.height};
    return result;
}

ViewResult Win32Decoder::DecodeIcon(const std::filesystem::path& file) {
    DpiSupport dpi;
    WindowIcons icons = LoadIconFile(file.wstring(), dpi, dpi.SystemDpi());
    if (icons.smallIcon) return ViewResult{};
    DWORD error = icons.loadError;   // read at the failing load
    return ViewResult{false, error, error ? SystemErrorText(error) : Text()};
}
