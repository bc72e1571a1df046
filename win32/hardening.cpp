#include "hardening.h"

#include <windows.h>

#include "system_functions.h"

void HardenProcess() {
    // SetDefaultDllDirectories is missing on Windows 7 without KB2533623, so
    // it is looked up rather than imported.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefaultDllDirectories = LookUpFunction<SetDefaultDllDirectoriesFn>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}
