// The checker as a whole: options, the disc, the launcher's runs and the
// checks, and what it prints.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "finding.h"
#include "picture_decoder.h"

// The checker cannot run at all: exit status 2.
struct CannotCheck : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CheckOptions {
    std::wstring folder;   // as given
    std::wstring name;     // the exe's base name; empty: find it
    bool json = false;
    bool strict = false;
};

// Throws CannotCheck for a folder that cannot be read or a name that cannot
// be chosen.
std::vector<Finding> CheckDisc(const CheckOptions& options, PictureDecoder& decoder);

// The one .exe at the folder's root with an INI of the same base name, or
// "launcher" when there is none. Throws CannotCheck when several qualify.
class Disc;
std::wstring FindLauncherName(const Disc& disc);

// The whole program: arguments (without the program's own name) in, text
// for standard output and standard error out, and the exit status.
int RunChecker(const std::vector<std::wstring>& args, PictureDecoder& decoder, std::string& out, std::string& err);
