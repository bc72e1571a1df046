// ini_diff.exe: reads every INI file of a folder with the launcher's own
// reader (the portable core, as the launcher runs it) and with the system's
// profile reader, and prints one JSON line per file with every lookup and
// both results.
//
//   ini_diff.exe FOLDER
//
// Lookups: every section the system lists (GetPrivateProfileSectionNamesW)
// or our reader finds, and in each every key the system lists
// (GetPrivateProfileStringW with no key) or our reader finds in any section
// of that name, plus the lines "SECTION<TAB>KEY" of FILE.probes beside
// FILE.ini (names the files do not list, such as other letter case or
// comment lines). A key that is not found reads as empty on both sides.
//
// Output per file: {"file": NAME, "lookups": [
//   {"section": S, "key": K, "ours": V, "system": V}, ...]}, or
//   {"file": NAME, "read_error": N} when our side cannot read it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../launcher/config.h"
#include "../../win32/win32_platform.h"
#include "json_writer.h"

namespace {

using Names = std::vector<std::wstring>;

void AddName(Names& names, const std::wstring& name) {
    for (const auto& known : names)
        if (known == name) return;
    names.push_back(name);
}

// A list of NUL-terminated names, ended by an empty one, as the system's
// reader returns sections and keys.
void AddNameList(Names& names, const std::wstring& buffer, DWORD length) {
    for (DWORD start = 0; start < length;) {
        std::wstring name(buffer.c_str() + start);
        if (name.empty()) break;
        AddName(names, name);
        start += static_cast<DWORD>(name.size()) + 1;
    }
}

constexpr DWORD kBufferChars = 1 << 20;

std::wstring SystemValue(const std::wstring& path, const std::wstring& section, const std::wstring& key) {
    std::wstring buffer(kBufferChars, L'\0');
    DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), nullptr, buffer.data(), kBufferChars,
                                            path.c_str());
    return buffer.substr(0, length);
}

std::vector<std::pair<std::wstring, std::wstring>> Probes(const std::wstring& probesPath) {
    std::vector<std::pair<std::wstring, std::wstring>> probes;
    Win32Platform platform;
    ByteBuffer bytes;
    if (!platform.ReadWholeFile(probesPath, kLargestIniFile, bytes).ok) return probes;
    Text text = DecodeIniText(platform, bytes.Data(), bytes.Size());
    WStr rest = text.View();
    while (!rest.empty()) {
        std::size_t end = rest.find(L'\n');
        WStr line(rest.data(), end == WStr::npos ? rest.size() : end);
        rest = DropFirst(rest, line.size() + 1);
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        std::size_t tab = line.find(L'\t');
        if (tab != WStr::npos) probes.emplace_back(std::wstring(line.substr(0, tab)), std::wstring(line.substr(tab + 1)));
    }
    return probes;
}

std::string CompareFile(const std::wstring& folder, const std::wstring& name) {
    const std::wstring path = folder + L"\\" + name;
    Win32Platform platform;
    ByteBuffer bytes;
    IniFile ini;
    JsonWriter json;
    json.BeginObject().Key("file").String(name);
    ReadResult read = platform.ReadWholeFile(path, kLargestIniFile, bytes);
    if (!read.ok) {
        json.Key("read_error").Number(read.systemError).EndObject();
        return json.Utf8();
    }
    ini.Parse(DecodeIniText(platform, bytes.Data(), bytes.Size()));

    std::wstring buffer(kBufferChars, L'\0');
    Names sections;
    AddNameList(sections, buffer, GetPrivateProfileSectionNamesW(buffer.data(), kBufferChars, path.c_str()));
    for (std::size_t i = 0; i < ini.EntryCount(); ++i)
        if (ini.Entry(i).isSection) AddName(sections, std::wstring(ini.Entry(i).name));

    std::vector<std::pair<std::wstring, std::wstring>> lookups;
    for (const auto& section : sections) {
        Names keys;
        AddNameList(keys, buffer,
                    GetPrivateProfileStringW(section.c_str(), nullptr, nullptr, buffer.data(), kBufferChars, path.c_str()));
        bool inSection = false;
        for (std::size_t i = 0; i < ini.EntryCount(); ++i) {
            const IniEntry& entry = ini.Entry(i);
            if (entry.isSection) inSection = std::wstring(entry.name) == section;
            else if (inSection) AddName(keys, std::wstring(entry.name));
        }
        for (const auto& key : keys) lookups.emplace_back(section, key);
    }
    std::wstring probesPath = path.substr(0, path.size() - 4) + L".probes";
    for (const auto& probe : Probes(probesPath)) lookups.push_back(probe);

    json.Key("lookups").BeginArray();
    for (const auto& [section, key] : lookups) {
        json.BeginObject().Key("section").String(section).Key("key").String(key);
        json.Key("ours").String(std::wstring(ini.Find(section, key).text));
        json.Key("system").String(SystemValue(path, section, key)).EndObject();
    }
    json.EndArray().EndObject();
    return json.Utf8();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: ini_diff.exe FOLDER\n", stderr);
        return 2;
    }
    const std::wstring folder = argv[1];
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 1;
    do {
        std::string line = CompareFile(folder, found.cFileName) + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return 0;
}
