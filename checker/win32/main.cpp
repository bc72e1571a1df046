// launcher-check on Windows: checks a disc folder before it is made into a
// disc, with the launcher's own picture and icon loaders.
#include <windows.h>

#include <cstdio>

#include "../../win32/win32_platform.h"
#include "../check_disc.h"
#include "win32_decoder.h"

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    EnterComApartment();
    std::vector<std::wstring> args(argv + 1, argv + argc);
    Win32Decoder decoder;
    std::string out, err;
    int status = RunChecker(args, decoder, out, err);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fwrite(err.data(), 1, err.size(), stderr);
    return status;
}
