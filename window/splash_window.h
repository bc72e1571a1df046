// The splash window on Win32: frmSplash's look and its event loop. The
// dialog-mode set-up dresses it before it exists; Show creates and shows it,
// Run hands its clicks and closing to the form.
#pragma once

#include <windows.h>

#include "../launcher/splash_view.h"
#include "dpi.h"
#include "picture_file.h"
#include "window_icons.h"

using UniqueWindow = UniqueHandle<HWND, NullHandleTraits<HWND, DestroyWindow>>;

class SplashWindow final : public SplashView {
public:
    explicit SplashWindow(HINSTANCE instance);

    void SetButtonCaption(int index, WStr caption) override;
    void SetButtonTip(int index, WStr tip) override;
    void SetButtonLeft(int index, int leftTwips) override;
    void SetButtonVisible(int index, bool visible) override;
    void SetBackColor(const BackColor& color) override;
    ViewResult SetPicture(WStr path) override;
    ViewResult SetIcon(WStr path) override;
    void SetCaption(WStr caption) override;
    ViewResult Show() override;

    // Runs the window's event loop; clicks and closing go to events, which
    // end the program, so this does not return.
    [[noreturn]] void Run(SplashEvents& events);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // False with the system's error, read where it refused.
    bool Create(DWORD& error);
    // At their places for windowDpi_.
    void CreateButtons();
    // Two tooltip controls: one shows a button's tip while the mouse rests
    // on it, the other under the button that the keyboard moved focus to.
    void CreateTips();
    void ShowFocusTip(HWND button);
    // Everything that depends on the resolution: font, button rectangles,
    // icons, the composed background.
    void ApplyDpi(UINT dpi);
    void ComposeBackground();
    SIZE WindowSize(UINT dpi) const;
    COLORREF BackgroundColor() const;
    void OnCommand(WPARAM wParam);

    HINSTANCE instance_;
    DpiSupport dpi_;
    SplashEvents* events_ = nullptr;   // set by Run; nothing reaches it before

    Text captions_[kButtonSlots];
    int lefts_[kButtonSlots];
    bool visible_[kButtonSlots];
    BackColor backColor_;
    Text title_;
    SplashPicture picture_;
    Text iconPath_;   // empty: the built-in icon
    WindowIcons classIcons_;   // at the system DPI: from iconPath_, or built in; the class's as long as it lives

    UniqueWindow window_;
    HWND buttons_[kButtonSlots] = {};   // children; the window destroys them
    Text tips_[kButtonSlots];
    HWND hoverTips_ = nullptr;   // owned by the window, which destroys them
    HWND focusTips_ = nullptr;
    UINT windowDpi_ = 96;
    UniqueFont font_;
    WindowIcons icons_;   // the window's own, sent to it at another DPI than the system's
    UniqueBitmap backBuffer_;
};
