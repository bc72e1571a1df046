// The launcher's system seam for the checker: the disc folder stands for
// the current directory, the INI is read from the parsed file, and messages,
// starts and the end of the program are recorded instead of carried out.
#pragma once

#include <string>
#include <vector>

#include "disc.h"
#include "ini_file.h"
#include "launcher/platform.h"

// The program ending; thrown out of EndProcess so the checker sees where and
// how the launcher would have ended.
struct ProgramEnded {
    int exitCode;
};

struct RecordedStart {
    std::wstring program;
    std::wstring parameters;
};

struct RecordedRead {
    std::wstring section;
    std::wstring key;
};

// The disc as the launcher sees it when started from the disc's root.
inline constexpr wchar_t kDiscRoot[] = L"D:\\";

// A key the checker has already found at fault, read on the next run as if
// it were missing, or as a file that stands for a good one (`standIn`), so
// the run gets past it to the faults behind it.
struct KeyOverride {
    RecordedRead key;
    bool standIn = false;
};
// The path a stand-in key reads as; it names no real file.
inline constexpr wchar_t kStandInFile[] = L"\x01checked";

class RecordingPlatform final : public Platform {
public:
    // ini is null when the disc has no INI file of that name.
    RecordingPlatform(const Disc& disc, const IniFile* ini, std::wstring exeBaseName,
                      std::vector<KeyOverride> overrides = {});

    Text CurrentDirectory() override { return Text(kDiscRoot); }
    Text ExecutableBaseName() override { return Text(exeBaseName_); }
    bool FileExists(WStr path) override;
    std::uint32_t ReadProfileString(WStr path, WStr section, WStr key, wchar_t* buffer,
                                    std::uint32_t size) override;
    void ShowErrorMessage(WStr text) override { messages.emplace_back(text); }
    StartResult StartCommand(WStr program, WStr parameters) override;
    void EndProcess(int exitCode) override { throw ProgramEnded{exitCode}; }

    // The INI's path as the launcher builds it.
    const std::wstring& IniPath() const { return iniPath_; }

    std::vector<std::wstring> messages;
    std::vector<RecordedStart> starts;
    std::vector<RecordedRead> reads;

private:
    const Disc& disc_;
    const IniFile* ini_;
    std::wstring exeBaseName_;
    std::wstring iniPath_;
    std::vector<KeyOverride> overrides_;
};
