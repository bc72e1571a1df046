// Where the program of a command line is, as far as the disc can tell.
#pragma once

#include <string_view>

#include "disc.h"

enum class ProgramPlace {
    OnDisc,              // a file of the disc
    FolderOnDisc,        // a folder of the disc: the shell opens it in a file window
    MissingFromFolder,   // a relative path into a folder, which the disc lacks
    MissingBareName,     // a bare program name the disc lacks: the user's system must provide it
    MissingDocument,     // a document the disc lacks: no system provides that
    NotFoundMarker,      // "False": the key was missing or empty
    OutsideDisc,         // a drive letter, a network or a rooted path
    Url,                 // "https://...", "mailto:...": opened by its handler
};

struct ProgramJudgement {
    ProgramPlace place = ProgramPlace::MissingBareName;
    const DiscEntry* entry = nullptr;   // the file or folder, when on the disc
    bool folderMissing = false;         // MissingFromFolder: the folder is missing too
};

// A bare name without an extension is also looked for with the extensions
// Windows tries for programs (.exe, .com, .bat, .cmd).
ProgramJudgement JudgeProgram(const Disc& disc, std::wstring_view program);

// The standard programs' extensions; anything else is a document, opened by
// the program the user's system associates with its extension.
bool IsProgramFile(std::wstring_view path);
// Extensions every Windows from 7 on opens out of the box.
bool HasUsualAssociation(std::wstring_view path);
