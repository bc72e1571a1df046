// The launcher's system seam for the checker: the disc folder stands for
// the current directory, files are read from it, text in the ANSI code page
// is Windows-1252, and messages, starts and the end of the program are
// recorded instead of carried out.
#pragma once

#include <string>
#include <vector>

#include "disc.h"
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

// A key of the INI file.
struct IniKeyRef {
    std::wstring section;
    std::wstring key;
};

// The disc as the launcher sees it when started from the disc's root.
inline constexpr wchar_t kDiscRoot[] = L"D:\\";

// A key the checker has already found at fault, read on the next run as if
// it were missing, or as a file that stands for a good one (`standIn`), so
// the run gets past it to the faults behind it.
struct KeyOverride {
    IniKeyRef key;
    bool standIn = false;
};
// The path a stand-in key reads as; it names no real file.
inline constexpr wchar_t kStandInFile[] = L"\x01checked";

class RecordingPlatform final : public Platform {
public:
    RecordingPlatform(const Disc& disc, std::wstring exeBaseName, std::vector<KeyOverride> overrides = {});

    Text CurrentDirectory() override { return Text(kDiscRoot); }
    Text ExecutableBaseName() override { return Text(exeBaseName_); }
    bool FileExists(WStr path) override;
    ReadResult ReadWholeFile(WStr path, std::size_t maxBytes, ByteBuffer& bytes) override;
    Text TextFromAnsi(const std::uint8_t* data, std::size_t size) override;
    void ShowErrorMessage(WStr text) override { messages.emplace_back(text); }
    StartResult StartCommand(WStr program, WStr parameters) override;
    void EndProcess(int exitCode) override { throw ProgramEnded{exitCode}; }

    // The INI's path as the launcher builds it.
    const std::wstring& IniPath() const { return iniPath_; }

    std::vector<std::wstring> messages;
    std::vector<RecordedStart> starts;

private:
    // The INI's bytes with the overridden keys' lines rewritten.
    std::string OverriddenIni(const std::string& bytes);

    const Disc& disc_;
    std::wstring exeBaseName_;
    std::wstring iniPath_;
    std::vector<KeyOverride> overrides_;
};
