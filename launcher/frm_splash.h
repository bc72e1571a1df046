// The launcher's one window object: its state for the life of the process
// and the procedures that run on its events.
#pragma once

#include "../window/splash_view.h"

class FrmSplash {
public:
    FrmSplash(Platform& platform, SplashView& view) : platform_(platform), view_(view) {}

    // Runs before the window is shown: finds the configuration file, picks
    // the mode, and either ends the program (direct launch, errors) or sets
    // the window up and returns.
    void FormInitialize();
    // A click on button `index`; starts its action and ends the program.
    // A run starts at most one action: a click that arrives while one is
    // under way (its report is up) does nothing.
    void ButtonClick(int index);
    // The window was closed: ends the program, starting nothing. While an
    // action is under way its own end stands (a report's exit code is not
    // lost), and this returns.
    void FormUnload();

    // Fills the buttons from "BUTTON1" to "BUTTON5"; returns how many.
    std::int16_t SetupButtons();

    const Text& IniPath() const { return iniPath_; }
    std::int16_t ButtonCount() const { return buttonCount_; }
    const Text& Action(int index) const { return actions_[index]; }

private:
    void DialogModeSetup();
    void ApplyLayout(int count);
    Text Read(WStr section, WStr key);

    Platform& platform_;
    SplashView& view_;
    Text iniPath_;
    std::int16_t buttonCount_ = 0;
    bool actionRunning_ = false;
    Text actions_[kButtonSlots];
    Text actionSections_[kButtonSlots];   // for reports: the section each action came from
};
