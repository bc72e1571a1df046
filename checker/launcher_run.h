// The launcher's own start-up, dialog set-up and clicks, run against the
// checker's platform and view: what the exe would show, start and end with.
#pragma once

#include <string>
#include <vector>

#include "checker_view.h"
#include "recording_platform.h"

struct RunRecord {
    int exitCode = -1;   // -1: the window is shown and waits
    std::vector<std::wstring> messages;
    std::vector<RecordedStart> starts;
    IniKeyRef command;   // the section and key of the command line it started or tried
};

struct LauncherRuns {
    std::wstring iniPath;   // as the launcher builds it
    // Start-ups that ended on a fault; each next one reads the faulty key
    // as missing (or its file as a good one) to find what lies behind it.
    std::vector<RunRecord> faults;
    RunRecord startUp;      // the last start-up and, in dialog mode, showing the window
    bool dialogMode = false;
    ViewState window;       // the window as the form dressed it
    std::vector<std::wstring> buttonSections;   // "BUTTON2", ... for each button shown, in order
    std::vector<RunRecord> clicks;              // a click on each button, each in a fresh launcher
};

LauncherRuns RunLauncher(const Disc& disc, const std::wstring& exeBaseName, DecodeCache& decoder);

// The key a launcher report names in its "From:" line.
bool ReportOrigin(std::wstring_view report, IniKeyRef& origin);
