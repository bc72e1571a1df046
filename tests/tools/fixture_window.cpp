// fixture_window.exe: a known window for the inspector's own tests, so a
// fault in the inspector is told apart from one in the program it watches.
//
// Title "Fixture", client area 481 x 345 filled with RGB(47,31,107) and a
// white 100 x 50 block at the client origin. Buttons (client coordinates):
//   100 "&Alpha" at 2,304 93x33, default push button, focused at start
//   101 "&Beta"  at 98,304
//   102 "Fail"   at 194,304: shows a message box "Failed", then exits 20
//   103 "Hidden" at 290,304, hidden
// Exit codes: button 100+i clicked: 40+i; Escape (IDCANCEL): 50; a click in
// the client area outside the buttons: a message box "Clicked X,Y", then 60;
// closed (SC_CLOSE): 70.
#include <windows.h>

#include <cwchar>

namespace {

constexpr int kClientWidth = 481;
constexpr int kClientHeight = 345;
constexpr COLORREF kBackground = RGB(47, 31, 107);

HWND gWindow = nullptr;

[[noreturn]] void ExitWith(int code) { ExitProcess(static_cast<UINT>(code)); }

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            if (id == IDCANCEL) ExitWith(50);
            if (id == IDOK) id = 100;   // Enter with focus on no button: the default one
            if (id == 102) {
                MessageBoxW(window, L"Failed", L"Fixture", MB_OK | MB_ICONERROR);
                ExitWith(20);
            }
            if (id >= 100 && id <= 104) ExitWith(40 + id - 100);
            return 0;
        }
        case WM_LBUTTONUP: {
            wchar_t text[64];
            swprintf(text, 64, L"Clicked %d,%d", static_cast<short>(LOWORD(lParam)),
                     static_cast<short>(HIWORD(lParam)));
            MessageBoxW(window, text, L"Fixture", MB_OK);
            ExitWith(60);
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT block{0, 0, 100, 50};
            FillRect(dc, &block, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            EndPaint(window, &paint);
            return 0;
        }
        case WM_NEXTDLGCTL: {
            // IsDialogMessage asks for this on Tab; only a dialog's own
            // window procedure would answer it.
            HWND next = GetNextDlgTabItem(window, GetFocus(), wParam != 0);
            if (next) SetFocus(next);
            return 0;
        }
        case WM_CLOSE:
            ExitWith(70);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND AddButton(HWND parent, int id, const wchar_t* caption, int left, DWORD extraStyle) {
    return CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_TABSTOP | extraStyle, left, 304, 93, 33, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(kBackground);
    windowClass.lpszClassName = L"FixtureWindow";
    RegisterClassW(&windowClass);

    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    gWindow = CreateWindowExW(0, L"FixtureWindow", L"Fixture", style, 100, 100, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    HWND first = AddButton(gWindow, 100, L"&Alpha", 2, WS_VISIBLE | BS_DEFPUSHBUTTON);
    AddButton(gWindow, 101, L"&Beta", 98, WS_VISIBLE);
    AddButton(gWindow, 102, L"Fail", 194, WS_VISIBLE);
    AddButton(gWindow, 103, L"Hidden", 290, 0);
    ShowWindow(gWindow, SW_SHOWNORMAL);
    SetFocus(first);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(gWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
