#include <windows.h>

#include "../launcher/frm_splash.h"
#include "../window/dpi.h"
#include "../window/splash_window.h"
#include "hardening.h"
#include "win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HardenProcess();
    // Before the first window or message box, so both are sharp.
    DeclareDpiAwareness();
    Win32Platform platform;
    SplashWindow window(platform, instance);
    FrmSplash form(platform, window);
    form.FormInitialize();
    window.Run(form);
}
