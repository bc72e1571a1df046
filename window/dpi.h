// The window's resolution on every Windows from 7 on. The per-monitor calls
// came with Windows 8.1 and 10 and are looked up at run time; where one is
// missing, the system-wide DPI stands in, which is all those versions have.
#pragma once

#include <windows.h>

#include "../win32/unique_handle.h"

// Asks for per-monitor DPI awareness when the manifest has not settled it
// already (the manifest wins; these calls then change nothing).
void DeclareDpiAwareness();

class DpiSupport {
public:
    DpiSupport();

    UINT SystemDpi() const { return systemDpi_; }
    UINT ForWindow(HWND window) const;
    int Metric(int index, UINT dpi) const;
    // The window rectangle, at the origin, around a client area of this size.
    SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) const;
    // The system's message font at this resolution.
    LOGFONTW MessageFont(UINT dpi) const;
    // Windows 10 1607 scales a per-monitor window's title bar only on request.
    void EnableNonClientScaling(HWND window) const;

private:
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

    UINT systemDpi_ = 96;
    UniqueModule shcore_;
    GetDpiForWindowFn getDpiForWindow_ = nullptr;
    GetSystemMetricsForDpiFn getSystemMetricsForDpi_ = nullptr;
    AdjustWindowRectExForDpiFn adjustWindowRectExForDpi_ = nullptr;
    SystemParametersInfoForDpiFn systemParametersInfoForDpi_ = nullptr;
    EnableNonClientDpiScalingFn enableNonClientDpiScaling_ = nullptr;
    GetDpiForMonitorFn getDpiForMonitor_ = nullptr;
};
