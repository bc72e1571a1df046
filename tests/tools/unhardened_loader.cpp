// unhardened_loader.exe: the control for the DLL planting tests. It does
// what a program that does not protect itself does: LoadLibraryW on each
// bare DLL name given on its command line, with the default search order
// (its own folder first). Exit code: how many names failed to load.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        if (!LoadLibraryW(argv[i])) ++failed;
    }
    return failed;
}
