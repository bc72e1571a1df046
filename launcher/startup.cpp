#include "action.h"
#include "config.h"
#include "frm_splash.h"

void FrmSplash::FormInitialize() {
    iniPath_ = BuildIniPath(platform_.CurrentDirectory(), platform_.ExecutableBaseName());
    if (!platform_.FileExists(iniPath_)) {
        Text message(iniPath_);
        message.Append(L" doesn't exist. INI filename must be the same as EXE filename.");
        EndWithMessage(platform_, message, ErrorKind::IniMissing);
    }
    LoadIniFile(platform_, iniPath_, ini_);
    language_ = platform_.UserLanguage();
    if (!ReadTruthValue(L"DIALOG", L"Show")) {
        ConfigValue defaultAction = Read(L"DIALOG", L"DefaultAction");
        bool elevate = ReadTruthValue(L"DIALOG", L"Elevate");
        ValueOrigin origin{L"DIALOG", defaultAction.key, iniPath_};
        RunAction(platform_, defaultAction.text, L"", &origin, elevate);
    }
    DialogModeSetup();
}

void FrmSplash::FormLoad() {
    ViewResult shown = view_.Show();
    // Only a system out of resources refuses a window; say so rather than
    // end as if the user had closed it.
    if (!shown.ok)
        Fail(platform_, ErrorDetails{ErrorKind::WindowFailed, WStr(), nullptr, shown.systemMessage,
                                     shown.systemError});
}

void FrmSplash::FormUnload() {
    if (!actionRunning_) platform_.EndProgram(0);
}
