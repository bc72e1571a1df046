// The program a direct-launch run starts: it tells the benchmark driver that
// it is running, through the named event given as its argument, and ends.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count >= 2) {
        HANDLE started = OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[1]);
        if (started) {
            SetEvent(started);
            CloseHandle(started);
        }
    }
    LocalFree(arguments);
    return 0;
}
