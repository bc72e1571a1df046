// The yardstick for the launcher's start-up: the least a Win32 program can do
// in its place, built with the same compiler and options.
//   baseline.exe                  opens an empty window of the splash's size
//   baseline.exe --start PROGRAM ARGS
//                                 starts a program through the shell as its
//                                 documentation asks (COM initialised first,
//                                 as the launcher does), and ends
//   baseline.exe --start-bare PROGRAM ARGS
//                                 the same without COM, to show what COM's
//                                 start costs
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int OpenEmptyWindow(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BaselineWindow";
    RegisterClassW(&windowClass);
    const DWORD style = WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 481, 345};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowW(L"BaselineWindow", L"Baseline", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int StartProgram(const wchar_t* program, const wchar_t* parameters, bool withCom) {
    HRESULT com = withCom ? CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) : E_FAIL;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpFile = program;
    info.lpParameters = parameters;
    info.nShow = SW_SHOWNORMAL;
    int result = ShellExecuteExW(&info) ? 0 : 1;
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    int result = 0;
    const bool start = count >= 3 && lstrcmpW(arguments[1], L"--start") == 0;
    const bool startBare = count >= 3 && lstrcmpW(arguments[1], L"--start-bare") == 0;
    if (start || startBare)
        result = StartProgram(arguments[2], count >= 4 ? arguments[3] : nullptr, start);
    else
        result = OpenEmptyWindow(instance);
    LocalFree(arguments);
    return result;
}
