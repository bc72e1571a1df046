#include "recording_platform.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "command_place.h"
#include "launcher/config.h"
#include "utf.h"

RecordingPlatform::RecordingPlatform(const Disc& disc, std::wstring exeBaseName, std::vector<KeyOverride> overrides)
    : disc_(disc), exeBaseName_(std::move(exeBaseName)), iniPath_(BuildIniPath(kDiscRoot, exeBaseName_).View()),
      overrides_(std::move(overrides)) {}

namespace {

// The disc's entry for a path the launcher asks about: its own INI path
// (which starts with the disc's root) or a path of the INI (relative).
const DiscEntry* FileOnDisc(const Disc& disc, WStr path, const std::wstring& iniPath, const std::wstring& iniName) {
    const DiscEntry* entry = disc.Find(path == WStr(iniPath) ? WStr(iniName) : path);
    return entry && !entry->directory ? entry : nullptr;
}

}  // namespace

bool RecordingPlatform::FileExists(WStr path) {
    if (path == WStr(kStandInFile)) return true;
    // Any other absolute path is somewhere on the user's machine, which the
    // disc cannot promise.
    return FileOnDisc(disc_, path, iniPath_, exeBaseName_ + L".ini") != nullptr;
}

ReadResult RecordingPlatform::ReadWholeFile(WStr path, std::size_t maxBytes, ByteBuffer& bytes) {
    const DiscEntry* entry = FileOnDisc(disc_, path, iniPath_, exeBaseName_ + L".ini");
    if (!entry) return ReadResult{false, 2, Text(L"The system cannot find the file specified.")};
    if (entry->size > maxBytes)
        return ReadResult{false, 223, Text(L"The file size exceeds the limit allowed and cannot be saved.")};
    std::ifstream in(entry->host, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return ReadResult{false, 5, Text(L"Access is denied.")};
    if (path == WStr(iniPath_) && !overrides_.empty()) data = OverriddenIni(data);
    std::uint8_t* buffer = bytes.Allocate(data.size());
    if (!buffer) return ReadResult{false, 8, Text(L"Not enough memory resources are available to process this command.")};
    std::copy(data.begin(), data.end(), buffer);
    bytes.SetSize(data.size());
    return ReadResult{true, 0, Text()};
}

Text RecordingPlatform::TextFromAnsi(const std::uint8_t* data, std::size_t size) {
    return Text(FromWindows1252(std::string_view(reinterpret_cast<const char*>(data), size)));
}

std::string RecordingPlatform::OverriddenIni(const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    Text text = DecodeIniText(*this, data, bytes.size());
    IniFile ini;
    ini.Parse(Text(text.View()));
    std::map<std::uint32_t, std::wstring> replaced;
    for (const KeyOverride& override : overrides_) {
        IniValue value = ini.Find(override.key.section, override.key.key);
        // An empty value reads as missing and still hides a later key of the name.
        if (value.found)
            replaced[value.line] = override.key.key + L"=" + (override.standIn ? std::wstring(kStandInFile) : L"");
    }
    // Lines end as the reader ends them: CR LF, LF or CR.
    std::wstring out;
    WStr rest = text.View();
    for (std::uint32_t line = 1; !rest.empty() || line == 1; ++line) {
        std::size_t end = rest.find_first_of(L"\r\n");
        WStr content = rest.substr(0, end);
        auto found = replaced.find(line);
        out += found != replaced.end() ? found->second : std::wstring(content);
        out += L"\r\n";
        if (end == WStr::npos) break;
        std::size_t next = end + (rest[end] == L'\r' && end + 1 < rest.size() && rest[end + 1] == L'\n' ? 2 : 1);
        rest = rest.substr(next);
    }
    return "\xEF\xBB\xBF" + ToUtf8(out);
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
