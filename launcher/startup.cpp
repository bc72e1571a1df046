#include "action.h"
#include "config.h"
#include "frm_splash.h"

void FrmSplash::FormInitialize() {
    iniPath_ = BuildIniPath(platform_.CurrentDirectory(), platform_.ExecutableBaseName());
    if (!platform_.FileExists(iniPath_)) {
        Text message(iniPath_);
        message.Append(L" doesn't exist. INI filename must be the same as EXE filename.");
        platform_.ShowErrorMessage(message);
        platform_.EndProgram(static_cast<int>(ErrorKind::IniMissing));
    }
    LoadIniFile(platform_, iniPath_, ini_);
    if (!GetIniTruthValue(platform_, ini_, iniPath_, L"DIALOG", L"Show")) {
        Text defaultAction = Read(L"DIALOG", L"DefaultAction");
        ValueOrigin origin{L"DIALOG", L"DefaultAction", iniPath_};
        RunAction(platform_, defaultAction, L"", &origin);
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

Text FrmSplash::Read(WStr section, WStr key) { return GetIniValue(platform_, ini_, iniPath_, section, key); }
