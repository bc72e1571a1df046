#include "splash_window.h"

#include <commctrl.h>

#include "../win32/win32_platform.h"
#include "back_buffer.h"
#include "../launcher/layout.h"
#include "../launcher/pixel_geometry.h"

// Windows 10 1703 messages; the headers declare them only for newer targets.
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

constexpr wchar_t kWindowClass[] = L"LauncherSplash";
constexpr int kFirstButtonId = 100;
// A fixed dialog frame with title bar and close command; children are not
// painted over by the background.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

}  // namespace

SplashWindow::SplashWindow(HINSTANCE instance) : instance_(instance), title_(ApplicationTitle()) {
    for (int i = 0; i < kButtonSlots; ++i) {
        captions_[i] = kDesignButtonCaption;
        lefts_[i] = kDesignButtonLeft[i];
        visible_[i] = true;
    }
    backColor_.value = kDesignBackColor;
}

void SplashWindow::SetButtonCaption(int index, WStr caption) { captions_[index] = caption; }
void SplashWindow::SetButtonTip(int index, WStr tip) { tips_[index] = tip; }
void SplashWindow::SetButtonLeft(int index, int leftTwips) { lefts_[index] = leftTwips; }
void SplashWindow::SetButtonVisible(int index, bool visible) { visible_[index] = visible; }
void SplashWindow::SetBackColor(const BackColor& color) { backColor_ = color; }
void SplashWindow::SetCaption(WStr caption) { title_ = caption; }

ViewResult SplashWindow::SetPicture(WStr path) {
    ViewResult result;
    result.ok = LoadSplashPicture(path, picture_, result);
    return result;
}

ViewResult SplashWindow::SetIcon(WStr path) {
    // Loaded now so a bad file is known in its turn; kept for the window
    // when it opens at the system DPI, loaded again at its own otherwise.
    WindowIcons icons = LoadIconFile(path, dpi_, dpi_.SystemDpi());
    if (!icons.smallIcon) {
        // The loader often gives no reason; "Success" would be no help.
        DWORD error = icons.loadError;
        return ViewResult{false, error, error ? SystemErrorText(error) : Text()};
    }
    iconPath_ = path;
    classIcons_ = static_cast<WindowIcons&&>(icons);
    return ViewResult{};
}

COLORREF SplashWindow::BackgroundColor() const {
    return backColor_.isSystemColor ? GetSysColor(static_cast<int>(backColor_.value)) : backColor_.value;
}

SIZE SplashWindow::WindowSize(UINT dpi) const {
    PixelSize client = ClientSizeForDpi(static_cast<int>(dpi));
    return dpi_.WindowSizeForClient(client.width, client.height, kWindowStyle, kWindowExStyle, dpi);
}

void SplashWindow::ComposeBackground() {
    backBuffer_ = ComposeBackBuffer(ClientSizeForDpi(static_cast<int>(windowDpi_)), BackgroundColor(), picture_,
                                    windowDpi_);
    InvalidateRect(window_.Get(), nullptr, FALSE);
}

void SplashWindow::ApplyDpi(UINT dpi) {
    // The buttons were created in place for the first DPI.
    const bool moveButtons = dpi != windowDpi_;
    const BOOL visible = IsWindowVisible(window_.Get());
    windowDpi_ = dpi;
    LOGFONTW font = dpi_.MessageFont(dpi);
    UniqueFont newFont(CreateFontIndirectW(&font));
    for (int i = 0; i < kButtonSlots; ++i) {
        if (moveButtons) {
            PixelRect rect = ButtonRectForDpi(lefts_[i], static_cast<int>(dpi));
            SetWindowPos(buttons_[i], nullptr, rect.x, rect.y, rect.width, rect.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        // A hidden button is never drawn; a hidden window has nothing to
        // redraw yet.
        if (newFont && visible_[i])
            SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(newFont.Get()), visible);
    }
    if (newFont) font_ = static_cast<UniqueFont&&>(newFont);

    // The class's icons serve the window at the system DPI until it has
    // icons of its own; only another DPI needs them loaded again.
    if (icons_.smallIcon || dpi != dpi_.SystemDpi()) {
        WindowIcons icons;
        if (!iconPath_.Empty()) icons = LoadIconFile(iconPath_, dpi_, dpi);
        // The file was an icon a moment ago; should it be gone now, the
        // built-in icon is better than none.
        if (!icons.smallIcon) icons = LoadBuiltInIcon(instance_, dpi_, dpi);
        ApplyIcons(window_.Get(), icons_, static_cast<WindowIcons&&>(icons));
    }

    ComposeBackground();
}

bool SplashWindow::Create(DWORD& error) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    // A dialog's window extra bytes let DefDlgProc run the keyboard
    // interface: default button, Tab order, Enter, Escape and access keys.
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // Icons the window has from birth cost no WM_SETICON, each of which the
    // system answers by updating the frame and the taskbar's copy.
    if (!classIcons_.smallIcon) classIcons_ = LoadBuiltInIcon(instance_, dpi_, dpi_.SystemDpi());
    windowClass.hIcon = classIcons_.largeIcon.Get();
    windowClass.hIconSm = classIcons_.smallIcon.Get();
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass)) {
        error = GetLastError();
        return false;
    }

    SIZE size = WindowSize(dpi_.SystemDpi());
    HWND window = CreateWindowExW(kWindowExStyle, kWindowClass, title_.CStr(), kWindowStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance_, this);
    if (!window) {
        error = GetLastError();
        return false;
    }
    window_.Reset(window);
    return true;
}

void SplashWindow::CreateButtons() {
    // Named before the buttons exist, the default costs no restyling of
    // them: the first is created with the default style.
    if (visible_[0]) SendMessageW(window_.Get(), DM_SETDEFID, kFirstButtonId, 0);
    for (int i = 0; i < kButtonSlots; ++i) {
        // Hidden buttons are disabled too, so nothing can click them.
        DWORD style = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | (visible_[i] ? WS_VISIBLE : WS_DISABLED);
        if (i == 0 && visible_[i]) style |= BS_DEFPUSHBUTTON;
        PixelRect rect = ButtonRectForDpi(lefts_[i], static_cast<int>(windowDpi_));
        buttons_[i] = CreateWindowExW(0, L"BUTTON", captions_[i].CStr(), style, rect.x, rect.y, rect.width,
                                      rect.height, window_.Get(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + i)),
                                      instance_, nullptr);
    }
}

void SplashWindow::CreateTips() {
    for (int i = 0; i < kButtonSlots; ++i) {
        if (!visible_[i] || tips_[i].Empty()) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = window_.Get();
        tool.uId = reinterpret_cast<UINT_PTR>(buttons_[i]);
        tool.lpszText = const_cast<wchar_t*>(tips_[i].CStr());
        static constexpr UINT kToolFlags[2] = {TTF_IDISHWND | TTF_SUBCLASS, TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE};
        HWND* tips[2] = {&hoverTips_, &focusTips_};
        for (int k = 0; k < 2; ++k) {
            // The manifest's common controls 6 bring the class with them.
            // ALWAYSTIP: also while another window is active; NOPREFIX: an
            // "&" in a tip is shown as written.
            if (!*tips[k])
                *tips[k] = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, window_.Get(),
                                           nullptr, instance_, nullptr);
            tool.uFlags = kToolFlags[k];
            SendMessageW(*tips[k], TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

// Hides the focus tip, then shows the one of `button`, if it has one.
void SplashWindow::ShowFocusTip(HWND button) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_.Get();
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    SendMessageW(focusTips_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    if (!button) return;
    RECT rect;
    GetWindowRect(button, &rect);
    SendMessageW(focusTips_, TTM_TRACKPOSITION, 0, MAKELPARAM(rect.left, rect.bottom));
    SendMessageW(focusTips_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

ViewResult SplashWindow::Show() {
    DWORD error = 0;
    if (!Create(error)) {
        return ViewResult{false, error, SystemErrorText(error)};
    }
    HWND window = window_.Get();
    windowDpi_ = dpi_.ForWindow(window);
    CreateButtons();
    CreateTips();
    ApplyDpi(windowDpi_);

    // Centred in the work area of the monitor the window starts on.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    SIZE size = WindowSize(windowDpi_);
    int x = area.left + (area.right - area.left - size.cx) / 2;
    int y = area.top + (area.bottom - area.top - size.cy) / 2;
    if (y < area.top) y = area.top;   // a title bar off screen could not be dragged back
    // Created at the system DPI's size: at that DPI only the place changes.
    const UINT keepSize = windowDpi_ == dpi_.SystemDpi() ? SWP_NOSIZE : 0;
    SetWindowPos(window, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | keepSize);

    ShowWindow(window, SW_SHOWNORMAL);
    for (int i = 0; i < kButtonSlots; ++i) {
        if (!visible_[i]) continue;
        SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(buttons_[i]), TRUE);
        break;
    }
    // Painted now, focus included, rather than once the queue has nothing
    // else: the picture is what the user waits for.
    UpdateWindow(window);
    return ViewResult{};
}

void SplashWindow::Run(SplashEvents& events) {
    events_ = &events;
    HWND window = window_.Get();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND focus = GetFocus();
        if (IsDialogMessageW(window, &message)) {
            // A key that moved the focus (Tab, an arrow) shows the new
            // button's tip; focus moved by the mouse hides it.
            HWND moved = GetFocus();
            if (moved != focus) {
                bool byKey = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
                ShowFocusTip(byKey ? moved : nullptr);
            }
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The loop ends only on a quit message, never while an action runs.
    events.FormUnload();
    std::abort();
}

void SplashWindow::OnCommand(WPARAM wParam) {
    if (!events_) return;
    const int id = LOWORD(wParam);
    if (id == IDCANCEL) {   // Escape, like the close command
        events_->FormUnload();
        return;
    }
    const int index = id - kFirstButtonId;
    if (HIWORD(wParam) != BN_CLICKED || index < 0 || index >= kButtonSlots || !visible_[index]) return;
    events_->ButtonClick(index);
}

bool SplashWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_ERASEBKGND:
            result = 1;   // WM_PAINT covers every pixel, with or without a back buffer
            return true;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_.Get(), &paint);
            PaintBackBuffer(dc, backBuffer_.Get(), ClientSizeForDpi(static_cast<int>(windowDpi_)),
                            BackgroundColor());
            EndPaint(window_.Get(), &paint);
            return true;
        }
        case WM_PRINTCLIENT:
            // Themed buttons ask for what lies behind their rounded corners.
            PaintBackBuffer(reinterpret_cast<HDC>(wParam), backBuffer_.Get(),
                            ClientSizeForDpi(static_cast<int>(windowDpi_)), BackgroundColor());
            return true;
        case WM_COMMAND:
            OnCommand(wParam);
            return true;
        case WM_ACTIVATE:
        case WM_MOVE:
            // The focus tip stands where the button was, and only while
            // the window is the one in use.
            ShowFocusTip(nullptr);
            return false;
        case WM_CLOSE:
            if (events_) events_->FormUnload();
            return true;
        case WM_ENDSESSION:
            if (wParam && events_) events_->FormUnload();
            return true;
        case WM_GETDPISCALEDSIZE: {
            *reinterpret_cast<SIZE*>(lParam) = WindowSize(static_cast<UINT>(wParam));
            result = TRUE;
            return true;
        }
        case WM_DPICHANGED: {
            ApplyDpi(LOWORD(wParam));
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SIZE size = WindowSize(windowDpi_);
            SetWindowPos(window_.Get(), nullptr, suggested->left, suggested->top, size.cx, size.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return true;
        }
        case WM_SYSCOLORCHANGE:
            if (backColor_.isSystemColor) ComposeBackground();
            return false;
        default:
            return false;
    }
}

LRESULT CALLBACK SplashWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<SplashWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->dpi_.EnableNonClientScaling(window);
    }
    LRESULT result;
    // Messages before CreateWindowEx returns find window_ not yet set.
    if (self && self->window_.Get() == window && self->Handle(message, wParam, lParam, result)) return result;
    return DefDlgProcW(window, message, wParam, lParam);
}
