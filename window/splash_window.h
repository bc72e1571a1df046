// The splash window on Win32: frmSplash's look and its event loop.
#pragma once

#include <windows.h>

#include "../launcher/frm_splash.h"
#include "../launcher/platform.h"

class SplashWindow final : public SplashView {
public:
    SplashWindow(Platform& platform, HINSTANCE instance) : platform_(platform), instance_(instance) {}

    void SetButtonCaption(int index, WStr caption) override;
    void SetButtonLeft(int index, int leftTwips) override;
    void SetButtonVisible(int index, bool visible) override;
    void SetBackColor(const BackColor& color) override;
    void SetPicture(WStr path, const ValueOrigin& origin) override;
    void SetIcon(WStr path, const ValueOrigin& origin) override;
    void SetCaption(WStr caption) override;

    // Shows the window and runs its event loop; clicks go to form.
    int Run(FrmSplash& form);

private:
    Platform& platform_;
    HINSTANCE instance_;
};
