#include <windows.h>

#include "../launcher/frm_splash.h"
#include "../window/splash_window.h"
#include "hardening.h"
#include "win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HardenProcess();
    Win32Platform platform;
    SplashWindow window(instance);
    FrmSplash form(platform, window);
    form.FormInitialize();
    form.FormLoad();
    window.Run(form);
}
