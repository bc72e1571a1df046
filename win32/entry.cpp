// The exe's entry point, in place of the C runtime's start-up (the product
// links with -nostartfiles). That start-up parses a command line, runs
// constructors, registers exit handlers, installs exception handlers and
// thread-local storage callbacks and fixes up data imports: none of which
// the launcher uses. The launcher takes no arguments, has no object with a
// static constructor or destructor and imports no data, so its entry only
// has to call wWinMain. The C functions it imports from msvcrt.dll
// (allocation, copying) are ready once that DLL is loaded; they need no
// start-up here. Stack probes for large frames come from libgcc, as before.
//
// What the launcher must keep true for this to hold: no global or static
// object with a constructor or destructor, no thread_local, no atexit.
#include <windows.h>

#if defined(__i386__)
// Windows enters a 32-bit exe with the stack aligned to 4 bytes only; the
// compiler assumes 16.
#define ALIGN_STACK_AT_ENTRY __attribute__((force_align_arg_pointer))
#else
#define ALIGN_STACK_AT_ENTRY
#endif

extern "C" [[noreturn]] ALIGN_STACK_AT_ENTRY void WINAPI LauncherEntry() {
    // The launcher reads neither its command line nor the show state it was
    // started with (its window always opens normally), so wWinMain gets
    // none.
    static wchar_t noArguments[] = L"";
    ExitProcess(static_cast<UINT>(wWinMain(GetModuleHandleW(nullptr), nullptr, noArguments, SW_SHOWDEFAULT)));
}
