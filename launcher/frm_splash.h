// The launcher's one window object: its state for the life of the process
// and the procedures that run on its events.
#pragma once

#include "config.h"
#include "splash_view.h"

class FrmSplash final : public SplashEvents {
public:
    FrmSplash(Platform& platform, SplashView& view) : platform_(platform), view_(view) {}

    // Runs before the window is shown: finds the configuration file, picks
    // the mode, and either ends the program (direct launch, errors) or sets
    // the window up and returns.
    void FormInitialize();
    // Shows the window that FormInitialize set up; a system that refuses
    // to create it is reported and ends the program.
    void FormLoad();
    // A click on button `index`; starts its action and ends the program.
    // A run starts at most one action: a click that arrives while one is
    // under way (its report is up) does nothing.
    void ButtonClick(int index) override;
    // The window was closed: ends the program, starting nothing. While an
    // action is under way its own end stands (a report's exit code is not
    // lost), and this returns.
    void FormUnload() override;

    // Fills the buttons from "BUTTON1" to "BUTTON5"; returns how many.
    std::int16_t SetupButtons();

    const Text& IniPath() const { return iniPath_; }
    std::int16_t ButtonCount() const { return buttonCount_; }
    const Text& Action(int index) const { return actions_[index]; }
    // The section button `index` was filled from ("BUTTON3"); empty past
    // the buttons filled so far.
    const Text& ButtonSection(int index) const { return actionSections_[index]; }

private:
    void DialogModeSetup();
    // A shown section's "Requires": whether its conditions hold here.
    bool RequirementsMet(WStr section);
    void ApplyLayout(int count);
    // Reports a file named in the DIALOG section that the view could not use.
    void FailOnView(const ViewResult& result, ErrorKind kind, const ConfigValue& file);
    IniSource Ini() const { return IniSource{platform_, ini_, iniPath_, language_}; }
    ConfigValue Read(WStr section, WStr key) { return GetIniValue(Ini(), section, key); }
    bool ReadTruthValue(WStr section, WStr key) { return GetIniTruthValue(Ini(), section, key); }

    Platform& platform_;
    SplashView& view_;
    Text iniPath_;
    IniFile ini_;   // the configuration file, read once at start-up
    Text language_;   // the user's UI language, asked once
    std::int16_t buttonCount_ = 0;
    bool actionRunning_ = false;
    Text actions_[kButtonSlots];
    // For reports: where each action came from.
    Text actionSections_[kButtonSlots];
    Text actionKeys_[kButtonSlots];
    bool elevate_[kButtonSlots] = {};
};
