// The window's small (title bar) and large (task switcher) icons at the
// sizes the system uses for the window's DPI.
#pragma once

#include <windows.h>

#include "../launcher/text.h"
#include "dpi.h"

struct WindowIcons {
    UniqueIcon smallIcon;
    UniqueIcon largeIcon;
    DWORD loadError = 0;   // when both are empty: the system's error, often 0
};

// From an icon file; both empty (and loadError set) when it is no icon.
WindowIcons LoadIconFile(WStr path, const DpiSupport& dpi, UINT windowDpi);

// The application icon built into the exe; empty when the exe has none.
WindowIcons LoadBuiltInIcon(HINSTANCE instance, const DpiSupport& dpi, UINT windowDpi);

// Hands both to the window, then keeps them alive (the window does not own
// them); the ones shown before are released.
void ApplyIcons(HWND window, WindowIcons& shown, WindowIcons&& icons);
