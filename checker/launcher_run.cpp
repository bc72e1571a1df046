#include "launcher_run.h"

#include "launcher/config.h"
#include "launcher/frm_splash.h"

bool ReportOrigin(std::wstring_view report, IniKeyRef& origin) {
    constexpr std::wstring_view kFrom = L"\nFrom: [";
    std::size_t from = report.find(kFrom);
    if (from == std::wstring_view::npos) return false;
    std::wstring_view line = report.substr(from + kFrom.size());
    line = line.substr(0, line.find_first_of(L"\r\n"));
    std::size_t close = line.find(L"] ");
    std::size_t in = line.find(L" in ", close);
    if (close == std::wstring_view::npos || in == std::wstring_view::npos) return false;
    origin = {std::wstring(line.substr(0, close)), std::wstring(line.substr(close + 2, in - close - 2))};
    return true;
}

namespace {

struct Launcher {
    RecordingPlatform platform;
    CheckerView view;
    FrmSplash form{platform, view};

    Launcher(const Disc& disc, const std::wstring& name, DecodeCache& decoder,
             const std::vector<KeyOverride>& overrides)
        : platform(disc, name, overrides), view(disc, decoder) {}

    // Runs step(); false when the program ended in it.
    template <class Step>
    bool Run(RunRecord& record, Step step) {
        try {
            step();
            return true;
        } catch (const ProgramEnded& ended) {
            record.exitCode = ended.exitCode;
            return false;
        }
    }

    void Finish(RunRecord& record) {
        record.messages = platform.messages;
        record.starts = platform.starts;
    }
};

constexpr int kPictureMissing = static_cast<int>(ErrorKind::PictureMissing);
constexpr int kPictureUnreadable = static_cast<int>(ErrorKind::PictureUnreadable);

// What the next start-up reads in place of the key this one ended on;
// false when nothing sensible can stand in for it.
bool OverrideFor(const RunRecord& run, const std::vector<KeyOverride>& known, KeyOverride& next) {
    if (run.exitCode <= 0 || run.messages.empty()) return false;
    if (run.exitCode == kPictureMissing) {
        next = {{L"DIALOG", L"Picture"}, true};
    } else {
        if (!ReportOrigin(run.messages.back(), next.key)) return false;
        // Without its "Show" the disc would switch mode: nothing to stand in.
        if (next.key.section == L"DIALOG" && next.key.key == L"Show") return false;
        // A failed default action ends the launcher in any case.
        if (next.key.key == L"DefaultAction") return false;
        next.standIn = run.exitCode == kPictureUnreadable;
    }
    for (const KeyOverride& override : known)
        if (override.key.section == next.key.section && override.key.key == next.key.key) return false;
    return true;
}

// Whether the file asks for the window, read as the form reads it.
bool ReadsDialogMode(const Disc& disc, const std::wstring& name, const std::vector<KeyOverride>& overrides) {
    RecordingPlatform platform(disc, name, overrides);
    WStr iniPath = platform.IniPath();
    IniFile ini;
    try {
        LoadIniFile(platform, iniPath, ini);
        return GetIniTruthValue(IniSource{platform, ini, iniPath, WStr()}, L"DIALOG", L"Show");
    } catch (const ProgramEnded&) {
        return false;   // the start-up has reported it already
    }
}

}  // namespace

LauncherRuns RunLauncher(const Disc& disc, const std::wstring& exeBaseName, DecodeCache& decoder) {
    LauncherRuns runs;
    std::vector<KeyOverride> overrides;
    for (;;) {
        Launcher first(disc, exeBaseName, decoder, overrides);
        RunRecord startUp;
        bool shown = first.Run(startUp, [&] { first.form.FormInitialize(); }) &&
                     first.Run(startUp, [&] { first.form.FormLoad(); });
        first.Finish(startUp);
        KeyOverride next;
        if (!shown && OverrideFor(startUp, overrides, next)) {
            runs.faults.push_back(std::move(startUp));
            overrides.push_back(next);
            continue;
        }
        runs.iniPath = first.platform.IniPath();
        runs.startUp = std::move(startUp);
        runs.window = first.view.state;
        if (!first.platform.starts.empty()) runs.startUp.command = {L"DIALOG", L"DefaultAction"};
        if (first.platform.FileExists(first.platform.IniPath()))
            runs.dialogMode = ReadsDialogMode(disc, exeBaseName, overrides);
        // The form's own: a section whose conditions fail here fills no button.
        for (int i = 0; i < kButtonSlots && !first.form.ButtonSection(i).Empty(); ++i)
            runs.buttonSections.emplace_back(first.form.ButtonSection(i).View());
        if (!shown) return runs;
        for (int i = 0; i < first.form.ButtonCount(); ++i) {
            Launcher launcher(disc, exeBaseName, decoder, overrides);
            RunRecord click;
            if (launcher.Run(click, [&] {
                    launcher.form.FormInitialize();
                    launcher.form.FormLoad();
                    launcher.form.ButtonClick(i);
                }))
                click.exitCode = -1;
            launcher.Finish(click);
            if (static_cast<std::size_t>(i) < runs.buttonSections.size())
                click.command = {runs.buttonSections[static_cast<std::size_t>(i)], L"Action"};
            runs.clicks.push_back(std::move(click));
        }
        return runs;
    }
}
