// What "Requires" conditions ask of the machine, from the system's own
// answers rather than from what the exe was built for.
#include <windows.h>

#include "system_functions.h"
#include "win32_platform.h"

Architecture Win32Platform::NativeArchitecture() {
    // IsWow64Process2 (Windows 10 1511 and later) also sees through the
    // emulation of x86 and x64 programs on ARM64. Older Windows ran on x86
    // and x64 only, which GetNativeSystemInfo tells apart.
    using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    auto isWow64Process2 = LookUpFunction<IsWow64Process2Fn>(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process2");
    USHORT processMachine = 0, nativeMachine = 0;
    if (isWow64Process2 && isWow64Process2(GetCurrentProcess(), &processMachine, &nativeMachine))
        return static_cast<Architecture>(nativeMachine);
    SYSTEM_INFO info;
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? Architecture::X64 : Architecture::X86;
}

WindowsVersion Win32Platform::RealWindowsVersion() {
    // RtlGetVersion answers the truth whatever the manifest or a
    // compatibility shim makes GetVersionEx say.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto rtlGetVersion = LookUpFunction<RtlGetVersionFn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) return WindowsVersion{};
    return WindowsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

bool Win32Platform::PathExists(WStr path) {
    // The expanded path can be no longer than the longest path Windows takes.
    constexpr DWORD kLongest = 32768;
    Text written(path), expanded;
    wchar_t* buffer = expanded.Reserve(kLongest);
    DWORD length = ExpandEnvironmentStringsW(written.CStr(), buffer, kLongest);
    return length && length <= kLongest && GetFileAttributesW(buffer) != INVALID_FILE_ATTRIBUTES;
}
