#include "action.h"
#include "config.h"
#include "frm_splash.h"
#include "layout.h"

std::int16_t FrmSplash::SetupButtons() {
    std::int16_t count = 0;
    for (int i = 1; i <= kButtonSlots; ++i) {
        Text section(L"BUTTON");
        section.AppendNumber(i);
        if (!ReadTruthValue(section, L"Show") || !RequirementsMet(section)) continue;
        view_.SetButtonCaption(count, Read(section, L"Caption").text);
        ConfigValue action = Read(section, L"Action");
        actions_[count] = static_cast<Text&&>(action.text);
        actionKeys_[count] = static_cast<Text&&>(action.key);
        actionSections_[count] = section;
        elevate_[count] = ReadTruthValue(section, L"Elevate");
        ConfigValue tip = Read(section, L"Tip");
        if (tip.found) view_.SetButtonTip(count, tip.text);
        ++count;
    }
    return count;
}

bool FrmSplash::RequirementsMet(WStr section) {
    ConfigValue requirement = Read(section, L"Requires");
    if (!requirement.found) return true;
    ConditionsResult conditions = CheckConditions(requirement.text, platform_);
    if (!conditions.unknown.empty()) {
        ValueOrigin origin{section, requirement.key, iniPath_};
        Fail(platform_, ErrorKind::UnknownCondition, conditions.unknown, &origin);
    }
    return conditions.hold;
}

void FrmSplash::FailOnView(const ViewResult& result, ErrorKind kind, const ConfigValue& file) {
    if (result.ok) return;
    ValueOrigin origin{L"DIALOG", file.key, iniPath_};
    Fail(platform_, ErrorDetails{kind, file.text, &origin, result.systemMessage, result.systemError});
}

void FrmSplash::DialogModeSetup() {
    buttonCount_ = SetupButtons();

    ConfigValue backColorText = Read(L"DIALOG", L"BackColor");
    BackColor backColor = BackColorFromText(backColorText.text);
    if (backColor.error != ErrorKind::None) {
        ValueOrigin origin{L"DIALOG", backColorText.key, iniPath_};
        Fail(platform_, backColor.error, backColorText.text, &origin);
    }
    view_.SetBackColor(backColor);

    ConfigValue picture = Read(L"DIALOG", L"Picture");
    if (!platform_.FileExists(picture.text)) {
        Text message(L"Couldn't find splash screen picture - ");
        message.Append(picture.text);
        EndWithMessage(platform_, message, ErrorKind::PictureMissing);
    }
    FailOnView(view_.SetPicture(picture.text), ErrorKind::PictureUnreadable, picture);

    ConfigValue icon = Read(L"DIALOG", L"Icon");
    if (platform_.FileExists(icon.text)) FailOnView(view_.SetIcon(icon.text), ErrorKind::IconUnreadable, icon);

    view_.SetCaption(Read(L"DIALOG", L"Caption").text);
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
    ValueOrigin origin{actionSections_[index], actionKeys_[index], iniPath_};
    RunAction(platform_, actions_[index], L"", &origin, elevate_[index]);
}
