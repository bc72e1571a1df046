// The splash window on Win32: frmSplash's look and its event loop. The
// dialog-mode set-up dresses it before it exists; Run creates and shows it.
#pragma once

#include <windows.h>

#include "../launcher/frm_splash.h"
#include "../launcher/platform.h"
#include "dpi.h"
#include "picture_file.h"
#include "window_icons.h"

using UniqueWindow = UniqueHandle<HWND, NullHandleTraits<HWND, DestroyWindow>>;

class SplashWindow final : public SplashView {
public:
    SplashWindow(Platform& platform, HINSTANCE instance);

    void SetButtonCaption(int index, WStr caption) override;
    void SetButtonLeft(int index, int leftTwips) override;
    void SetButtonVisible(int index, bool visible) override;
    void SetBackColor(const BackColor& color) override;
    void SetPicture(WStr path, const ValueOrigin& origin) override;
    void SetIcon(WStr path, const ValueOrigin& origin) override;
    void SetCaption(WStr caption) override;

    // Shows the window and runs its event loop; clicks and closing go to
    // form, which ends the program, so this does not return.
    [[noreturn]] void Run(FrmSplash& form);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool Create();
    // At their places for windowDpi_.
    void CreateButtons();
    // Everything that depends on the resolution: font, button rectangles,
    // icons, the composed background.
    void ApplyDpi(UINT dpi);
    void ComposeBackground();
    SIZE WindowSize(UINT dpi) const;
    COLORREF BackgroundColor() const;
    void OnCommand(WPARAM wParam);

    Platform& platform_;
    HINSTANCE instance_;
    DpiSupport dpi_;
    FrmSplash* form_ = nullptr;

    Text captions_[kButtonSlots];
    int lefts_[kButtonSlots];
    bool visible_[kButtonSlots];
    BackColor backColor_;
    Text title_;
    SplashPicture picture_;
    Text iconPath_;   // empty: the built-in icon
    WindowIcons loadedIcons_;   // from iconPath_ at loadedIconsDpi_, until the window takes them
    UINT loadedIconsDpi_ = 0;

    UniqueWindow window_;
    HWND buttons_[kButtonSlots] = {};   // children; the window destroys them
    UINT windowDpi_ = 96;
    UniqueFont font_;
    WindowIcons icons_;
    UniqueBitmap backBuffer_;
};
