// Entry of the benchmark build of the launcher (never shipped): the shipped
// start-up, timed with the performance counter from entry to the end of the
// window's first WM_PAINT. The process ends there, with the time in
// microseconds as its exit code, marked by kTimedExit so that the driver
// does not take one of the launcher's own exit codes for a time.
//
//   launcher_bench.exe [--steps FILE]
// With --steps, the calls to the system that mark the launcher's steps
// (screen DC, INI reads, picture, icons, window, buttons, back buffer, show,
// paint) are timed too, through the exe's own import table, and appended to
// FILE as "name<TAB>enter<TAB>leave" in microseconds since entry, one line a
// call, then "end<TAB>total<TAB>0". The time inside a call includes any call
// it makes back into the launcher (CreateWindowEx sends messages). The
// loading before entry comes first, as a step that ends at 0.
#include <windows.h>
#include <objbase.h>

// The shipped wWinMain, compiled under this name for the benchmark build.
// The system headers give wWinMain C linkage, and so the renamed one.
extern "C" int WINAPI LauncherMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show);

namespace {

LARGE_INTEGER entry;
bool paintSeen = false;
constexpr UINT kPaintDone = WM_APP + 0x3A7;
constexpr UINT kTimedExit = 0x40000000;

long long MicrosecondsSinceEntry() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (now.QuadPart - entry.QuadPart) * 1000000 / frequency.QuadPart;
}

struct Call {
    const char* name;
    long long enter, leave;
};
Call calls[1024];
int callCount = 0;
const wchar_t* stepsFile = nullptr;

int Enter(const char* name) {
    if (callCount == 1024) return -1;
    calls[callCount] = {name, MicrosecondsSinceEntry(), 0};
    return callCount++;
}

void Leave(int index) {
    if (index >= 0) calls[index].leave = MicrosecondsSinceEntry();
}

void WriteSteps(long long total) {
    HANDLE file = CreateFileW(stepsFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char line[128];
    DWORD written;
    for (int i = 0; i < callCount; ++i) {
        int length = wsprintfA(line, "%s\t%d\t%d\r\n", calls[i].name, static_cast<int>(calls[i].enter),
                               static_cast<int>(calls[i].leave));
        WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    }
    int length = wsprintfA(line, "end\t%d\t0\r\n", static_cast<int>(total));
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

[[noreturn]] void EndWithTime() {
    long long micro = MicrosecondsSinceEntry();
    if (stepsFile) WriteSteps(micro);
    ExitProcess(kTimedExit | static_cast<UINT>(micro & 0x3FFFFFFF));
}

// A timed stand-in for each system function that marks a step: it notes
// when the call begins and ends, and calls the real function.
#define TIMED(result, name, parameters, arguments)                     \
    using name##Function = result(WINAPI*) parameters;                  \
    name##Function real##name;                                          \
    result WINAPI Timed##name parameters {                              \
        int call = Enter(#name);                                        \
        result returned = real##name arguments;                          \
        Leave(call);                                                    \
        return returned;                                                \
    }

TIMED(DWORD, GetPrivateProfileStringW,
      (LPCWSTR section, LPCWSTR key, LPCWSTR fallback, LPWSTR buffer, DWORD size, LPCWSTR file),
      (section, key, fallback, buffer, size, file))
TIMED(HDC, GetDC, (HWND window), (window))
TIMED(DWORD, GetFileAttributesW, (LPCWSTR path), (path))
TIMED(HANDLE, CreateFileW,
      (LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
       HANDLE model),
      (path, access, share, security, disposition, flags, model))
TIMED(HMODULE, LoadLibraryExW, (LPCWSTR name, HANDLE file, DWORD flags), (name, file, flags))
TIMED(HRESULT, CoInitializeEx, (LPVOID reserved, DWORD flags), (reserved, flags))
TIMED(HRESULT, CoCreateInstance, (REFCLSID id, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object),
      (id, outer, context, iid, object))
TIMED(HANDLE, LoadImageW, (HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags),
      (instance, name, type, width, height, flags))
TIMED(ATOM, RegisterClassExW, (const WNDCLASSEXW* windowClass), (windowClass))
TIMED(HWND, CreateWindowExW,
      (DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width, int height,
       HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter),
      (exStyle, className, title, style, x, y, width, height, parent, menu, instance, parameter))
TIMED(BOOL, SystemParametersInfoW, (UINT action, UINT parameter, PVOID data, UINT flags),
      (action, parameter, data, flags))
TIMED(HFONT, CreateFontIndirectW, (const LOGFONTW* font), (font))
TIMED(LRESULT, SendMessageW, (HWND window, UINT message, WPARAM wParam, LPARAM lParam),
      (window, message, wParam, lParam))
TIMED(BOOL, SetWindowPos, (HWND window, HWND after, int x, int y, int width, int height, UINT flags),
      (window, after, x, y, width, height, flags))
TIMED(HBITMAP, CreateDIBSection,
      (HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset),
      (dc, info, usage, bits, section, offset))
TIMED(BOOL, ShowWindow, (HWND window, int show), (window, show))
TIMED(HDC, BeginPaint, (HWND window, LPPAINTSTRUCT paint), (window, paint))
TIMED(BOOL, BitBlt, (HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop),
      (target, x, y, width, height, source, sourceX, sourceY, rop))
TIMED(BOOL, EndPaint, (HWND window, const PAINTSTRUCT* paint), (window, paint))

struct Hook {
    const char* name;
    void* timed;
    void** real;
};

#define HOOK(name) {#name, reinterpret_cast<void*>(Timed##name), reinterpret_cast<void**>(&real##name)}
const Hook kHooks[] = {
    HOOK(GetDC),                    HOOK(GetPrivateProfileStringW), HOOK(GetFileAttributesW), HOOK(CreateFileW),
    HOOK(LoadLibraryExW),
    HOOK(CoInitializeEx),           HOOK(CoCreateInstance),   HOOK(LoadImageW),    HOOK(RegisterClassExW),
    HOOK(CreateWindowExW),          HOOK(SystemParametersInfoW), HOOK(CreateFontIndirectW), HOOK(SendMessageW),
    HOOK(SetWindowPos),             HOOK(CreateDIBSection),   HOOK(ShowWindow),    HOOK(BeginPaint),
    HOOK(BitBlt),                   HOOK(EndPaint),
};

// The time from the creation of the process to this entry (loading the
// exe and the DLLs it imports, and their start-up), as a step that ends at
// entry, from the system's clock.
void NoteLoading() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& time) {
        return static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    calls[callCount++] = {"process start to entry", -(ticks(now) - ticks(created)) / 10, 0};
}

// Points the exe's import slots of those functions at their timed stand-ins.
void TimeSteps() {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; module->Name; ++module) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            for (const Hook& hook : kHooks) {
                if (lstrcmpA(reinterpret_cast<const char*>(name), hook.name) != 0) continue;
                *hook.real = reinterpret_cast<void*>(slots->u1.Function);
                DWORD previous;
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &previous);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook.timed);
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, previous, &previous);
            }
        }
    }
}

// The FILE of "--steps FILE" on the command line, or null.
const wchar_t* StepsFile() {
    const wchar_t* line = GetCommandLineW();
    for (const wchar_t* at = line; *at; ++at) {
        if (at[0] == L'-' && at[1] == L'-' && at[2] == L's' && at[3] == L't' && at[4] == L'e' && at[5] == L'p' &&
            at[6] == L's' && at[7] == L' ')
            return at + 8;
    }
    return nullptr;
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
    stepsFile = StepsFile();
    if (stepsFile) NoteLoading();
    if (stepsFile) TimeSteps();
    // The hooks live as long as the process, which they end themselves.
    SetWindowsHookExW(WH_CALLWNDPROCRET, SentMessageHook, nullptr, GetCurrentThreadId());
    SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    return LauncherMain(instance, previous, commandLine, show);
}
