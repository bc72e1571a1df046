// Functions of newer Windows versions, looked up at run time so the exe
// still starts on Windows 7, where they are missing.
#pragma once

#include <windows.h>

template <class Function>
Function LookUpFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
