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
    if (!GetIniTruthValue(platform_, iniPath_, L"DIALOG", L"Show")) {
        Text defaultAction = Read(L"DIALOG", L"DefaultAction");
        ValueOrigin origin{L"DIALOG", L"DefaultAction", iniPath_};
        RunAction(platform_, defaultAction, L"", &origin);
    }
    DialogModeSetup();
}

void FrmSplash::FormUnload() {
    if (!actionRunning_) platform_.EndProgram(0);
}

Text FrmSplash::Read(WStr section, WStr key) { return GetIniValue(platform_, iniPath_, section, key); }
