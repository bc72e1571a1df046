// The folder that becomes the disc: every file and folder under it, and
// lookup of the paths the INI writes, as Windows resolves them (either
// slash, letter case ignored).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct DiscEntry {
    std::wstring path;                 // from the root, '\\' between names, as spelt on disk
    std::filesystem::path host;        // where it is on this machine
    bool directory = false;
    std::uintmax_t size = 0;
};

class Disc {
public:
    // Throws std::filesystem::filesystem_error when the folder cannot be read.
    static Disc List(const std::filesystem::path& root);

    const std::filesystem::path& Root() const { return root_; }
    const std::vector<DiscEntry>& Entries() const { return entries_; }
    // The entry a relative path names ("setup\\Install.CMD", "./a/b"), or
    // nullptr. A path that climbs out of the root names nothing.
    const DiscEntry* Find(std::wstring_view relativePath) const;

private:
    std::filesystem::path root_;
    std::vector<DiscEntry> entries_;
    std::map<std::wstring, std::size_t> byFoldedPath_;   // first entry of each folded path
};

// Letter case folded as Windows compares file names.
std::wstring FoldCase(std::wstring_view text);

// A path's form on this machine as wide text, and back.
std::wstring HostPathText(const std::filesystem::path& path);
std::filesystem::path HostPath(const std::wstring& text);

// True for "C:...", "\\\\server\\...", "\\..." and "/...": paths that do not
// lie under the current directory.
bool IsAbsoluteWindowsPath(std::wstring_view path);
bool HasDriveLetter(std::wstring_view path);
// The path without its drive letter and leading separators.
std::wstring WithoutRoot(std::wstring_view path);
