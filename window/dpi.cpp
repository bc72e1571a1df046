#include "dpi.h"

#include "../win32/system_functions.h"

namespace {

HMODULE User32() { return GetModuleHandleW(L"user32.dll"); }

// shcore is not loaded by every process; only System32 may supply it. On
// Windows 7 it does not exist (and the search flag may be unknown there).
HMODULE LoadShcore() { return LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); }

constexpr int kMonitorEffectiveDpi = 0;

}  // namespace

DpiSupport::DpiSupport() {
    HMODULE user32 = User32();
    getDpiForWindow_ = LookUpFunction<GetDpiForWindowFn>(user32, "GetDpiForWindow");
    getSystemMetricsForDpi_ = LookUpFunction<GetSystemMetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
    adjustWindowRectExForDpi_ = LookUpFunction<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
    systemParametersInfoForDpi_ = LookUpFunction<SystemParametersInfoForDpiFn>(user32, "SystemParametersInfoForDpi");
    enableNonClientDpiScaling_ = LookUpFunction<EnableNonClientDpiScalingFn>(user32, "EnableNonClientDpiScaling");
    // Only Windows 8.1 to 10 1511 need shcore's answer: later ones give the
    // window's own, and loading a DLL costs start-up time.
    if (!getDpiForWindow_) {
        shcore_.Reset(LoadShcore());
        getDpiForMonitor_ = LookUpFunction<GetDpiForMonitorFn>(shcore_.Get(), "GetDpiForMonitor");
    }
    if (HDC screen = GetDC(nullptr)) {
        int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        if (dpi > 0) systemDpi_ = static_cast<UINT>(dpi);
        ReleaseDC(nullptr, screen);
    }
}

UINT DpiSupport::ForWindow(HWND window) const {
    if (getDpiForWindow_) {
        if (UINT dpi = getDpiForWindow_(window)) return dpi;
    }
    if (getDpiForMonitor_) {
        UINT x = 0, y = 0;
        HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(getDpiForMonitor_(monitor, kMonitorEffectiveDpi, &x, &y)) && y) return y;
    }
    return systemDpi_;
}

int DpiSupport::Metric(int index, UINT dpi) const {
    if (getSystemMetricsForDpi_) return getSystemMetricsForDpi_(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(systemDpi_));
}

SIZE DpiSupport::WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                                     UINT dpi) const {
    RECT rect{0, 0, clientWidth, clientHeight};
    // Without the per-DPI call the frame is drawn at the system DPI, which is
    // what the plain call measures.
    if (!adjustWindowRectExForDpi_ || !adjustWindowRectExForDpi_(&rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

LOGFONTW DpiSupport::MessageFont(UINT dpi) const {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (systemParametersInfoForDpi_ &&
        systemParametersInfoForDpi_(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return metrics.lfMessageFont;
    // Should even this fail, the empty font description gets the system's
    // default font, which is still readable.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi_));
    return metrics.lfMessageFont;
}

void DpiSupport::EnableNonClientScaling(HWND window) const {
    if (enableNonClientDpiScaling_) enableNonClientDpiScaling_(window);
}
