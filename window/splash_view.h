// What the dialog-mode set-up does to the splash window. The Win32 window
// implements it; the unit tests record the calls.
#pragma once

#include "../launcher/color.h"

inline constexpr int kButtonSlots = 5;

class SplashView {
public:
    virtual void SetButtonCaption(int index, WStr caption) = 0;
    virtual void SetButtonLeft(int index, int leftTwips) = 0;
    virtual void SetButtonVisible(int index, bool visible) = 0;
    virtual void SetBackColor(const BackColor& color) = 0;
    // Loads the picture now; a file that is no picture is reported (with
    // origin) and ends the program.
    virtual void SetPicture(WStr path, const ValueOrigin& origin) = 0;
    // Loads the icon now; a file that is no icon is reported likewise.
    virtual void SetIcon(WStr path, const ValueOrigin& origin) = 0;
    virtual void SetCaption(WStr caption) = 0;

protected:
    ~SplashView() = default;
};
