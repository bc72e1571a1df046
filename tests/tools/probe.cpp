// probe.exe: a stand-in for the programs a disc starts. It appends one JSON
// line to the file named by the environment variable LAUNCHER_PROBE_LOG and
// exits 0:
//   {"command_line": "...", "argv": ["...", ...], "cwd": "...", "module": "...", "pid": N}
// command_line is GetCommandLineW() exactly, argv is CommandLineToArgvW's
// reading of it, cwd the current directory, module this exe's own path.
// All text is UTF-8. It is a GUI-subsystem program so that starting it
// never opens a console window.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "json_writer.h"

namespace {

std::wstring CurrentDirectory() {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(needed, L'\0');
    DWORD written = GetCurrentDirectoryW(needed, directory.data());
    directory.resize(written);
    return directory;
}

std::wstring ModulePath() {
    std::wstring path(32768, L'\0');
    DWORD written = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(written);
    return path;
}

std::wstring EnvironmentValue(const wchar_t* name) {
    DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0) return {};
    std::wstring value(needed, L'\0');
    DWORD written = GetEnvironmentVariableW(name, value.data(), needed);
    value.resize(written);
    return value;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const wchar_t* commandLine = GetCommandLineW();
    JsonWriter json;
    json.BeginObject();
    json.Key("command_line").String(commandLine);
    json.Key("argv").BeginArray();
    int argc = 0;
    if (wchar_t** argv = CommandLineToArgvW(commandLine, &argc)) {
        for (int i = 0; i < argc; ++i) json.String(argv[i]);
        LocalFree(argv);
    }
    json.EndArray();
    json.Key("cwd").String(CurrentDirectory());
    json.Key("module").String(ModulePath());
    json.Key("pid").Number(static_cast<long long>(GetCurrentProcessId()));
    json.EndObject();
    std::string line = json.Utf8() + "\n";

    std::wstring logPath = EnvironmentValue(L"LAUNCHER_PROBE_LOG");
    if (logPath.empty()) return 2;
    HANDLE log = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    BOOL ok = WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return ok && written == line.size() ? 0 : 4;
}
