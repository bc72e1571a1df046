// Entry of the benchmark build of the launcher (never shipped): the shipped
// start-up, timed with the performance counter from entry to the end of the
// window's first WM_PAINT. The process ends there, with the time in
// microseconds as its exit code, marked by kTimedExit so that the driver
// does not take one of the launcher's own exit codes for a time.
#include <windows.h>

// The shipped wWinMain, compiled under this name for the benchmark build.
// The system headers give wWinMain C linkage, and so the renamed one.
extern "C" int WINAPI LauncherMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show);

namespace {

LARGE_INTEGER entry;
bool paintSeen = false;
constexpr UINT kPaintDone = WM_APP + 0x3A7;
constexpr UINT kTimedExit = 0x40000000;

[[noreturn]] void EndWithTime() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    auto micro = (now.QuadPart - entry.QuadPart) * 1000000 / frequency.QuadPart;
    ExitProcess(kTimedExit | static_cast<UINT>(micro & 0x3FFFFFFF));
}

bool IsTopLevel(HWND window) { return window && GetAncestor(window, GA_ROOT) == window; }

// The first paint usually comes from UpdateWindow, which sends WM_PAINT
// straight to the window procedure: this hook sees it return.
LRESULT CALLBACK SentMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_PAINT && IsTopLevel(message->hwnd)) EndWithTime();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A paint taken from the queue is seen before it is painted; a thread
// message posted then is taken right after it has been dispatched.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        if (message->message == WM_PAINT && IsTopLevel(message->hwnd) && !paintSeen) {
            paintSeen = true;
            PostThreadMessageW(GetCurrentThreadId(), kPaintDone, 0, 0);
        } else if (message->message == kPaintDone && !message->hwnd) {
            EndWithTime();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    QueryPerformanceCounter(&entry);
    // The hooks live as long as the process, which they end themselves.
    SetWindowsHookExW(WH_CALLWNDPROCRET, SentMessageHook, nullptr, GetCurrentThreadId());
    SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    return LauncherMain(instance, previous, commandLine, show);
}
