// The launcher's own messages and its report of a run-time error. Each kind
// has a number of its own, which is also the process's exit code.
#pragma once

#include "platform.h"

enum class ErrorKind : int {
    None = 0,
    IniMissing = 1,           // the configuration file does not exist
    PictureMissing = 2,       // the splash picture does not exist
    IniUnreadable = 3,        // the configuration file exists but cannot be read
    NotATruthValue = 10,      // a Show or Elevate key that is neither True/False nor a number
    NotANumber = 11,          // a value that does not convert to a number
    NumberOutOfRange = 12,    // a number that does not fit where it is used
    ColorComponents = 13,     // r,g,b with fewer than three pieces
    ValueTooLong = 14,        // a value longer than the longest command line
    UnknownCondition = 15,    // a Requires condition the launcher does not know
    StartFailed = 20,         // the command line could not be started
    PictureUnreadable = 30,   // the picture file exists but is no picture
    IconUnreadable = 31,      // the icon file exists but is no icon
    WindowFailed = 40,        // the system refused to create the window
};

// Where a value came from, so a report can point at the line to fix.
struct ValueOrigin {
    WStr section;
    WStr key;
    WStr iniPath;
};

struct ErrorDetails {
    ErrorKind kind;
    WStr value;               // the text at fault, as read
    const ValueOrigin* origin = nullptr;
    WStr systemMessage;       // for a failed start or load: the system's reason
    std::uint32_t systemError = 0;
};

Text FormatErrorReport(const ErrorDetails& details);

// Shows a message of the launcher's own (a missing INI or picture) and ends
// the program with the kind's number.
[[noreturn]] void EndWithMessage(Platform& platform, WStr message, ErrorKind kind);
// Shows the report and ends the program with the error's number.
[[noreturn]] void Fail(Platform& platform, const ErrorDetails& details);
[[noreturn]] void Fail(Platform& platform, ErrorKind kind, WStr value, const ValueOrigin* origin);
