// The seam between the form and its window. The form dresses the window
// through SplashView and hears of clicks and closing through SplashEvents;
// the Win32 window implements the one and calls the other, and the unit
// tests stand in for both. The view only shows and reports: what it could
// not do comes back as a ViewResult, and the form decides what follows.
#pragma once

#include "color.h"

inline constexpr int kButtonSlots = 5;

// What a view operation that asks the system for something got: ok, or the
// system's reason for refusing.
struct ViewResult {
    bool ok = true;
    std::uint32_t systemError = 0;   // the system's error number, or 0
    Text systemMessage;              // the system's own text, if it gave one
};

class SplashView {
public:
    virtual void SetButtonCaption(int index, WStr caption) = 0;
    virtual void SetButtonLeft(int index, int leftTwips) = 0;
    virtual void SetButtonVisible(int index, bool visible) = 0;
    virtual void SetBackColor(const BackColor& color) = 0;
    // Loads the picture now, so a file that is no picture is known before
    // anything is shown.
    virtual ViewResult SetPicture(WStr path) = 0;
    // Loads the icon now, likewise.
    virtual ViewResult SetIcon(WStr path) = 0;
    virtual void SetCaption(WStr caption) = 0;
    // Creates the window as dressed and shows it.
    virtual ViewResult Show() = 0;

protected:
    ~SplashView() = default;
};

// What the user does to the shown window.
class SplashEvents {
public:
    virtual void ButtonClick(int index) = 0;
    // The window was closed, by the user or the system.
    virtual void FormUnload() = 0;

protected:
    ~SplashEvents() = default;
};
