#include "recording_platform.h"

#include <algorithm>

#include "command_place.h"
#include "launcher/config.h"

RecordingPlatform::RecordingPlatform(const Disc& disc, const IniFile* ini, std::wstring exeBaseName,
                                     std::vector<KeyOverride> overrides)
    : disc_(disc), ini_(ini), exeBaseName_(std::move(exeBaseName)),
      iniPath_(BuildIniPath(kDiscRoot, exeBaseName_).View()), overrides_(std::move(overrides)) {}

bool RecordingPlatform::FileExists(WStr path) {
    if (path == WStr(iniPath_)) return ini_ != nullptr;
    if (path == WStr(kStandInFile)) return true;
    // Any other absolute path is somewhere on the user's machine, which the
    // disc cannot promise.
    const DiscEntry* entry = disc_.Find(path);
    return entry && !entry->directory;
}

std::uint32_t RecordingPlatform::ReadProfileString(WStr, WStr section, WStr key, wchar_t* buffer,
                                                   std::uint32_t size) {
    reads.push_back({std::wstring(section), std::wstring(key)});
    const IniKey* found = ini_ ? ini_->Find(section, key) : nullptr;
    std::wstring_view value = found ? std::wstring_view(found->value) : std::wstring_view();
    for (const KeyOverride& override : overrides_)
        if (FoldCase(override.key.section) == FoldCase(section) && FoldCase(override.key.key) == FoldCase(key))
            value = override.standIn ? std::wstring_view(kStandInFile) : std::wstring_view();
    std::uint32_t count = static_cast<std::uint32_t>(std::min<std::size_t>(value.size(), size - 1));
    std::copy_n(value.data(), count, buffer);
    buffer[count] = L'\0';
    return count;
}

StartResult RecordingPlatform::StartCommand(WStr program, WStr parameters) {
    starts.push_back({std::wstring(program), std::wstring(parameters)});
    ProgramJudgement judgement = JudgeProgram(disc_, program);
    // Only what fails on every machine is a failed start here; what depends
    // on the user's system is for the checks that follow.
    if (judgement.place == ProgramPlace::NotFoundMarker || judgement.place == ProgramPlace::MissingDocument ||
        (judgement.place == ProgramPlace::MissingFromFolder && !judgement.folderMissing))
        return StartResult{StartOutcome::Failed, 2, Text(L"The system cannot find the file specified.")};
    if (judgement.place == ProgramPlace::MissingFromFolder)
        return StartResult{StartOutcome::Failed, 3, Text(L"The system cannot find the path specified.")};
    return StartResult{StartOutcome::Started, 0, Text()};
}
