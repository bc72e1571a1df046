#include "win32_platform.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "file_bytes.h"
#include "system_functions.h"

#ifndef LAUNCHER_TITLE
#define LAUNCHER_TITLE L"Setup"
#endif

const wchar_t* ApplicationTitle() { return LAUNCHER_TITLE; }

Text Win32Platform::CurrentDirectory() {
    Text directory;
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    DWORD written = GetCurrentDirectoryW(needed, directory.Reserve(needed));
    directory.SetLength(written < needed ? written : 0);
    return directory;
}

Text Win32Platform::ExecutableBaseName() {
    Text path;
    DWORD capacity = MAX_PATH;
    for (;;) {
        DWORD written = GetModuleFileNameW(nullptr, path.Reserve(capacity), capacity);
        if (written < capacity) {
            path.SetLength(written);
            break;
        }
        capacity *= 2;
    }
    WStr name = path.View();
    std::size_t separator = name.find_last_of(L"\\/");
    if (separator != WStr::npos) name = DropFirst(name, separator + 1);
    std::size_t dot = name.find_last_of(L'.');
    if (dot != WStr::npos) name = WStr(name.data(), dot);
    return Text(name);
}

bool Win32Platform::FileExists(WStr path) {
    Text terminated(path);
    DWORD attributes = GetFileAttributesW(terminated.CStr());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ReadResult Win32Platform::ReadWholeFile(WStr path, std::size_t maxBytes, ByteBuffer& bytes) {
    Text terminated(path);
    std::uint64_t fileSize = 0;
    ReadResult result;
    unsigned long error = ReadFileStart(terminated.CStr(), maxBytes, bytes, fileSize);
    if (!error && fileSize > maxBytes) error = ERROR_FILE_TOO_LARGE;
    result.ok = !error;
    if (error) {
        result.systemError = error;
        result.systemMessage = SystemErrorText(error);
    }
    return result;
}

Text Win32Platform::TextFromAnsi(const std::uint8_t* data, std::size_t size) {
    Text text;
    const char* bytes = reinterpret_cast<const char*>(data);
    // Every ANSI code page gives at most one UTF-16 unit per byte.
    int written = size ? MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), text.Reserve(size),
                                             static_cast<int>(size))
                       : 0;
    text.SetLength(written > 0 ? static_cast<std::size_t>(written) : 0);
    return text;
}

namespace {

// The window a report belongs to: this thread's visible top-level window,
// which is the splash window once it is shown (and none before). Owned by
// it, the report stays above it and keeps it disabled until OK.
BOOL CALLBACK TakeVisibleWindow(HWND window, LPARAM found) {
    if (!IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND ReportOwner() {
    HWND owner = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeVisibleWindow, reinterpret_cast<LPARAM>(&owner));
    return owner;
}

}  // namespace

void Win32Platform::ShowErrorMessage(WStr text) {
    Text terminated(text);
    // Task-modal as well: with no owner, every window of the thread is
    // disabled while the report is up.
    MessageBoxW(ReportOwner(), terminated.CStr(), ApplicationTitle(),
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TASKMODAL);
}

Text SystemErrorText(unsigned long error) {
    wchar_t* message = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    Text text;
    if (message) {
        while (length && (message[length - 1] == L'\r' || message[length - 1] == L'\n' ||
                          message[length - 1] == L' '))
            --length;
        text.Append(WStr(message, length));
        LocalFree(message);
    }
    return text;
}

long EnterComApartment() { return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE); }

Text Win32Platform::UserLanguage() {
    // The first of the user's preferred display languages, as Windows 7 and
    // later keep them.
    Text language;
    ULONG count = 0, size = 512;
    wchar_t* buffer = language.Reserve(size);
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, buffer, &size) && count)
        language.SetLength(WStr(buffer).size());
    return language;
}

namespace {

// shell32 is loaded only to start a command: a splash window that is
// closed without one never pays for it at start-up. Only System32 may
// supply it; where that search flag is unknown (Windows 7 without
// KB2533623), shell32 is a known DLL, which the loader takes from System32
// whatever the search order.
HMODULE LoadShell() {
    HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shell || GetLastError() != ERROR_INVALID_PARAMETER ? shell : LoadLibraryW(L"shell32.dll");
}

}  // namespace

StartResult Win32Platform::StartCommand(WStr program, WStr parameters, bool elevate) {
    // The shell may hand the start to COM objects of its own. The program
    // ends right after the start, so the apartment is never left.
    EnterComApartment();
    Text file(program), arguments(parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // NOASYNC: the start must be complete before the launcher ends, or it
    // can be lost with the process. FLAG_NO_UI: failures get our report,
    // which names the INI line, instead of the shell's own box.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = elevate ? L"runas" : nullptr;
    info.lpFile = file.CStr();
    info.lpParameters = arguments.Empty() ? nullptr : arguments.CStr();
    info.nShow = SW_SHOWNORMAL;
    StartResult result;
    auto shellExecuteEx = LookUpFunction<decltype(&ShellExecuteExW)>(LoadShell(), "ShellExecuteExW");
    if (shellExecuteEx && shellExecuteEx(&info)) {
        result.outcome = StartOutcome::Started;
    } else {
        DWORD error = GetLastError();
        if (error == ERROR_CANCELLED) {
            result.outcome = StartOutcome::CancelledByUser;
        } else {
            result.outcome = StartOutcome::Failed;
            result.systemError = error;
            result.systemMessage = SystemErrorText(error);
        }
    }
    return result;
}

void Win32Platform::EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }
