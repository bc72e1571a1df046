// planted_dll.dll: copied beside a program under the names of system DLLs, it
// tells whether that program loaded it. On DLL_PROCESS_ATTACH it appends one
// UTF-8 line "MODULE|HOST_EXE\n" (its own path, then the process's exe) to
// the file named by the environment variable LAUNCHER_PLANT_LOG, and then
// lets the load go on.
//
// Built without the C runtime (its own entry point, kernel32 only), so that
// loading it runs nothing of ours but DllMain and it cannot fail because a
// runtime DLL is missing. Buffers are static: no stack probes, no memset.
#include <windows.h>

namespace {

constexpr DWORD kPathChars = 1024;
wchar_t g_logPath[kPathChars];
wchar_t g_line[2 * kPathChars + 4];
char g_utf8[sizeof(g_line) * 2];

DWORD Append(DWORD at, const wchar_t* text) {
    while (*text && at + 2 < sizeof(g_line) / sizeof(g_line[0])) g_line[at++] = *text++;
    return at;
}

void LogLoad(HINSTANCE self) {
    DWORD got = GetEnvironmentVariableW(L"LAUNCHER_PLANT_LOG", g_logPath, kPathChars);
    if (got == 0 || got >= kPathChars) return;

    wchar_t path[kPathChars];
    DWORD at = 0;
    DWORD length = GetModuleFileNameW(self, path, kPathChars);
    path[length < kPathChars ? length : kPathChars - 1] = L'\0';
    at = Append(at, path);
    at = Append(at, L"|");
    length = GetModuleFileNameW(nullptr, path, kPathChars);
    path[length < kPathChars ? length : kPathChars - 1] = L'\0';
    at = Append(at, path);
    g_line[at++] = L'\n';

    int bytes = WideCharToMultiByte(CP_UTF8, 0, g_line, static_cast<int>(at), g_utf8, sizeof(g_utf8),
                                    nullptr, nullptr);
    if (bytes <= 0) return;
    HANDLE log = CreateFileW(g_logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(log, g_utf8, static_cast<DWORD>(bytes), &written, nullptr);
    CloseHandle(log);
}

}  // namespace

extern "C" BOOL WINAPI PlantedDllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LogLoad(self);
    return TRUE;
}
