#include "action.h"
#include "config.h"
#include "frm_splash.h"
#include "layout.h"

std::int16_t FrmSplash::SetupButtons() {
    std::int16_t count = 0;
    for (int i = 1; i <= kButtonSlots; ++i) {
        Text section(L"BUTTON");
        section.AppendNumber(i);
        if (!GetIniTruthValue(platform_, ini_, iniPath_, section, L"Show")) continue;
        view_.SetButtonCaption(count, Read(section, L"Caption"));
        actions_[count] = Read(section, L"Action");
        actionSections_[count] = section;
        ++count;
    }
    return count;
}

void FrmSplash::FailOnView(const ViewResult& result, ErrorKind kind, WStr file, WStr key) {
    if (result.ok) return;
    ValueOrigin origin{L"DIALOG", key, iniPath_};
    Fail(platform_, ErrorDetails{kind, file, &origin, result.systemMessage, result.systemError});
}

void FrmSplash::DialogModeSetup() {
    buttonCount_ = SetupButtons();

    Text backColorText = Read(L"DIALOG", L"BackColor");
    BackColor backColor = BackColorFromText(backColorText);
    if (backColor.error != ErrorKind::None) {
        ValueOrigin origin{L"DIALOG", L"BackColor", iniPath_};
        Fail(platform_, backColor.error, backColorText, &origin);
    }
    view_.SetBackColor(backColor);

    Text picture = Read(L"DIALOG", L"Picture");
    if (!platform_.FileExists(picture)) {
        Text message(L"Couldn't find splash screen picture - ");
        message.Append(picture);
        platform_.ShowErrorMessage(message);
        platform_.EndProgram(static_cast<int>(ErrorKind::PictureMissing));
    }
    FailOnView(view_.SetPicture(picture), ErrorKind::PictureUnreadable, picture, L"Picture");

    Text icon = Read(L"DIALOG", L"Icon");
    if (platform_.FileExists(icon)) FailOnView(view_.SetIcon(icon), ErrorKind::IconUnreadable, icon, L"Icon");

    view_.SetCaption(Read(L"DIALOG", L"Caption"));
    ApplyLayout(buttonCount_);
}

void FrmSplash::ApplyLayout(int count) {
    ButtonPlacement placements[kButtonSlots];
    if (!LayoutForCount(count, placements)) return;
    for (int i = 0; i < kButtonSlots; ++i) {
        if (placements[i].setsLeft) view_.SetButtonLeft(i, placements[i].left);
        view_.SetButtonVisible(i, placements[i].visible);
    }
}

void FrmSplash::ButtonClick(int index) {
    if (actionRunning_ || index < 0 || index >= kButtonSlots) return;
    actionRunning_ = true;
    ValueOrigin origin{actionSections_[index], L"Action", iniPath_};
    RunAction(platform_, actions_[index], L"", &origin);
}
