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
// fileExists(WStr) -> bool answers whether a path names an existing file.
template <class FileExists>
CommandParts SplitCommandLine(WStr line, FileExists&& fileExists);

namespace detail {
WStr SkipBlanks(WStr text);
bool HasExtension(WStr path);
CommandParts SplitQuoted(WStr line);
CommandParts SplitAt(WStr line, std::size_t blank);
bool NamesFile(WStr candidate, bool (*exists)(void*, WStr), void* context);
}  // namespace detail

template <class FileExists>
CommandParts SplitCommandLine(WStr line, FileExists&& fileExists) {
    line = detail::SkipBlanks(line);
    if (!line.empty() && line.front() == L'"') return detail::SplitQuoted(line);
    using Callable = std::remove_reference_t<FileExists>;
    bool (*exists)(void*, WStr) = [](void* context, WStr path) {
        return static_cast<bool>((*static_cast<Callable*>(context))(path));
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != L' ' && line[i] != L'\t') continue;
        if (detail::NamesFile(WStr(line.data(), i), exists, const_cast<void*>(static_cast<const void*>(&fileExists)))) return detail::SplitAt(line, i);
    }
    if (detail::NamesFile(line, exists, const_cast<void*>(static_cast<const void*>(&fileExists)))) return {line, WStr()};
    std::size_t firstBlank = line.find_first_of(L" \t");
    return firstBlank == WStr::npos ? CommandParts{line, WStr()} : detail::SplitAt(line, firstBlank);
}

// Starts the action (the text exactly as written; only the keyword is read
// in any case) and ends the program. A failed start is reported first.
[[noreturn]] void RunAction(Platform& platform, WStr action, WStr label, const ValueOrigin* origin);
