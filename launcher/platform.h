// The seam between the launcher's decisions and the operating system.
// The Win32 build implements it with the real calls; the unit tests use a
// fake, so everything behind it compiles and runs without windows.h.
#pragma once

#include <cstdlib>

#include "byte_buffer.h"
#include "text.h"

enum class StartOutcome {
    Started,
    CancelledByUser,   // the user declined the elevation prompt
    Failed,
};

struct StartResult {
    StartOutcome outcome = StartOutcome::Failed;
    std::uint32_t systemError = 0;   // the system's error number when Failed
    Text systemMessage;              // the system's own text for it
};

struct ReadResult {
    bool ok = false;
    std::uint32_t systemError = 0;   // the system's error number when not ok
    Text systemMessage;              // the system's own text for it
};

class Platform {
public:
    // The process's current directory as an absolute path, as the system
    // writes it (a drive's root keeps its trailing backslash).
    virtual Text CurrentDirectory() = 0;
    // The running executable's file name without directory and extension.
    virtual Text ExecutableBaseName() = 0;
    // True when the path names an existing file (not a folder).
    virtual bool FileExists(WStr path) = 0;
    // The whole file, with one open and one read. A file larger than
    // maxBytes fails with the system's "file too large" error.
    virtual ReadResult ReadWholeFile(WStr path, std::size_t maxBytes, ByteBuffer& bytes) = 0;
    // Text in the system's ANSI code page, converted as the system does.
    virtual Text TextFromAnsi(const std::uint8_t* data, std::size_t size) = 0;
    // A message box with the error icon, one OK button and the application's
    // title; returns when the user has closed it.
    virtual void ShowErrorMessage(WStr text) = 0;
    // Starts a program (or opens a document) with a normal, focused window
    // through the shell, without waiting for it.
    virtual StartResult StartCommand(WStr program, WStr parameters) = 0;
    // Ends the process with the exit code; never returns.
    virtual void EndProcess(int exitCode) = 0;

    [[noreturn]] void EndProgram(int exitCode) {
        EndProcess(exitCode);
        std::abort();   // unreachable: no implementation returns
    }

protected:
    ~Platform() = default;
};
