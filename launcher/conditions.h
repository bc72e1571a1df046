// The "Requires" value of a BUTTON section: conditions separated by blanks,
// all of which must hold for the button to be offered. A leading "!"
// negates one. The conditions:
//   x86, x64, arm64             the machine's native architecture
//   win7, win8, win8.1, win10, win11
//                               this version of Windows or later
//   exists:PATH                 a file or folder exists; PATH may be in
//                               double quotes, to hold blanks
// Names ignore letter case.
#pragma once

#include <cstdint>

#include "text.h"

// Numbered as the machine types of Windows' executable files, which is how
// the system names the machine's architecture.
enum class Architecture : std::uint16_t { Unknown = 0, X86 = 0x14C, X64 = 0x8664, Arm64 = 0xAA64 };

struct WindowsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// What conditions ask of the machine. Platform provides it; tests fake it.
class MachineFacts {
public:
    // The architecture of the machine itself, whatever the exe is built for:
    // a 32-bit exe on 64-bit Windows sees X64.
    virtual Architecture NativeArchitecture() = 0;
    // The version Windows really is, not one a compatibility shim reports.
    virtual WindowsVersion RealWindowsVersion() = 0;
    // A file or folder; environment variables such as %WINDIR% are
    // expanded, and a relative path is taken from the current directory.
    virtual bool PathExists(WStr path) = 0;

protected:
    ~MachineFacts() = default;
};

enum class ConditionKind { Architecture, WindowsVersion, PathExists };

struct Condition {
    bool negated = false;
    ConditionKind kind = ConditionKind::Architecture;
    Architecture architecture = Architecture::Unknown;
    WindowsVersion least;   // WindowsVersion: the oldest that satisfies it
    WStr path;              // PathExists: the path as written, without quotes
};

enum class ConditionParse {
    Condition,   // `condition` holds the next one
    End,         // no more conditions
    Unknown,     // `token` is not a condition
};

// Reads the next condition from `rest` and moves `rest` past it. `token`
// is the condition as written, "!" and quotes included.
ConditionParse ParseNextCondition(WStr& rest, Condition& condition, WStr& token);

// The first condition of text that is not known, or an empty view when
// every one is.
WStr FindUnknownCondition(WStr text);

// Whether one condition holds on this machine.
bool ConditionHolds(const Condition& condition, MachineFacts& machine);

struct ConditionsResult {
    bool hold = false;   // every condition holds (also when there are none)
    WStr unknown;        // not empty: this condition is not known
};

// Checks the conditions of text; every one is parsed whatever the machine,
// so a misspelt condition shows on every machine alike.
ConditionsResult CheckConditions(WStr text, MachineFacts& machine);
