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

// WM_PAINT is taken from the queue, not sent, so the hook sees it before
// it is painted; a thread message posted then is taken right after the
// paint has been dispatched, and that is when the time is read.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        if (message->message == WM_PAINT && message->hwnd && !paintSeen) {
            paintSeen = true;
            PostThreadMessageW(GetCurrentThreadId(), kPaintDone, 0, 0);
        } else if (message->message == kPaintDone && !message->hwnd) {
            LARGE_INTEGER now, frequency;
            QueryPerformanceCounter(&now);
            QueryPerformanceFrequency(&frequency);
            auto micro = (now.QuadPart - entry.QuadPart) * 1000000 / frequency.QuadPart;
            ExitProcess(kTimedExit | static_cast<UINT>(micro & 0x3FFFFFFF));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    QueryPerformanceCounter(&entry);
    // The hook lives as long as the process, which it ends itself.
    SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    return LauncherMain(instance, previous, commandLine, show);
}
