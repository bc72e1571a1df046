// Carrying out an action: a command line to start, or the keyword "exit".
#pragma once

#include <type_traits>

#include "errors.h"

// "exit" in any letter case, exactly: " exit" is a command line.
bool IsExitKeyword(WStr action);

struct CommandParts {
    WStr program;
    WStr parameters;
};

// Splits a command line the way Windows users expect: a quoted first token is
// the program; otherwise the shortest prefix ending before a blank that names
// an existing file (also with ".exe" added) is the program, as CreateProcess
// reads an unquoted path with spaces; failing that, the first token.
using FileExistsFn = bool (*)(void* context, WStr path);
CommandParts SplitCommandLine(WStr line, FileExistsFn fileExists, void* context);

// The same with any callable fileExists(WStr) -> bool.
template <class FileExists>
CommandParts SplitCommandLine(WStr line, FileExists&& fileExists) {
    using Callable = std::remove_reference_t<FileExists>;
    FileExistsFn call = [](void* context, WStr path) {
        return static_cast<bool>((*static_cast<Callable*>(context))(path));
    };
    return SplitCommandLine(line, call, const_cast<void*>(static_cast<const void*>(&fileExists)));
}

// True when the last path component has a dot, as "setup.exe" does.
bool HasExtension(WStr path);

// Starts the action (the text exactly as written; only the keyword is read
// in any case) and ends the program. A failed start is reported first.
// `elevate` starts it with administrator rights, through the system's prompt.
[[noreturn]] void RunAction(Platform& platform, WStr action, WStr label, const ValueOrigin* origin,
                            bool elevate = false);
