// The checks of what only bites on another machine or on the medium, and
// the launcher's own reports turned into findings.
#pragma once

#include <string>

#include "disc.h"
#include "finding.h"
#include "ini_lines.h"
#include "launcher_run.h"

inline std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

struct CheckContext {
    const Disc& disc;
    const IniLines* ini;       // null when the disc has no readable INI of the exe's name
    std::wstring exeBaseName;
    std::wstring folderText;   // the folder as the user gave it
    Findings& findings;

    // A path under the folder as the user would write it from where they stand.
    std::wstring Shown(const std::wstring& relative) const;
    std::wstring IniShown() const;
    int LineOf(const std::wstring& section, const std::wstring& key) const {
        return ini ? ini->LineOf(section, key) : 0;
    }
};

// The messages the launcher would show and the exit codes it would end with.
void AddLauncherReports(const CheckContext& context, const LauncherRuns& runs);

// Unknown and repeated sections and keys; buttons without caption or action,
// shared access keys, captions too wide; paths with drive letters.
void CheckIniFile(const CheckContext& context, const LauncherRuns& runs);

// Programs and documents the disc lacks or the user's system may not open.
void CheckCommands(const CheckContext& context, const LauncherRuns& runs);

// The picture's size against the window; the icon's image sizes.
void CheckPictureAndIcon(const CheckContext& context, const LauncherRuns& runs);

// Names and sizes the disc's file system or Windows cannot take; letter-case
// collisions; autorun.inf; the exe itself.
void CheckDiscFiles(const CheckContext& context);
