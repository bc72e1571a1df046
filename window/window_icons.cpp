#include "window_icons.h"

#include "../res/resource_ids.h"

namespace {

WindowIcons Load(HINSTANCE instance, const wchar_t* name, UINT flags, const DpiSupport& dpi, UINT windowDpi) {
    WindowIcons icons;
    const int smallSize = dpi.Metric(SM_CXSMICON, windowDpi), largeSize = dpi.Metric(SM_CXICON, windowDpi);
    // The error is read at the failing load: releasing the small icon
    // afterwards can change the thread's last error.
    icons.smallIcon.Reset(static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, smallSize, smallSize, flags)));
    if (!icons.smallIcon) {
        icons.loadError = GetLastError();
        return icons;
    }
    icons.largeIcon.Reset(static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, largeSize, largeSize, flags)));
    if (!icons.largeIcon) {
        icons.loadError = GetLastError();
        icons.smallIcon.Reset();
    }
    return icons;
}

}  // namespace

WindowIcons LoadIconFile(WStr path, const DpiSupport& dpi, UINT windowDpi) {
    Text file(path);
    return Load(nullptr, file.CStr(), LR_LOADFROMFILE, dpi, windowDpi);
}

WindowIcons LoadBuiltInIcon(HINSTANCE instance, const DpiSupport& dpi, UINT windowDpi) {
    return Load(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), 0, dpi, windowDpi);
}

void ApplyIcons(HWND window, WindowIcons& shown, WindowIcons&& icons) {
    if (!icons.smallIcon) return;
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.smallIcon.Get()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.largeIcon.Get()));
    shown.smallIcon = static_cast<UniqueIcon&&>(icons.smallIcon);
    shown.largeIcon = static_cast<UniqueIcon&&>(icons.largeIcon);
}
