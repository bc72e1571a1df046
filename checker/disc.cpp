#include "disc.h"

#include <algorithm>
#include <cwctype>

#include "utf.h"

std::wstring FoldCase(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& ch : folded) ch = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(ch)));
    return folded;
}

std::wstring HostPathText(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.wstring();
#else
    // File names on this side are bytes, nearly always UTF-8.
    return FromUtf8(path.string());
#endif
}

std::filesystem::path HostPath(const std::wstring& text) {
#ifdef _WIN32
    return std::filesystem::path(text);
#else
    return std::filesystem::path(ToUtf8(text));
#endif
}

bool HasDriveLetter(std::wstring_view path) {
    return path.size() >= 2 && path[1] == L':' && std::iswalpha(static_cast<std::wint_t>(path[0]));
}

bool IsAbsoluteWindowsPath(std::wstring_view path) {
    return HasDriveLetter(path) || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
}

std::wstring WithoutRoot(std::wstring_view path) {
    std::size_t start = HasDriveLetter(path) ? 2 : 0;
    while (start < path.size() && (path[start] == L'\\' || path[start] == L'/')) ++start;
    return std::wstring(path.substr(start));
}

namespace {

// Names between separators, with "." dropped and ".." applied; false when
// the path climbs above its start.
bool SplitPath(std::wstring_view path, std::vector<std::wstring>& names) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring_view::npos) end = path.size();
        std::wstring_view name = path.substr(start, end - start);
        if (name == L"..") {
            if (names.empty()) return false;
            names.pop_back();
        } else if (!name.empty() && name != L".") {
            names.emplace_back(name);
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

Disc Disc::List(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    Disc disc;
    disc.root_ = root;
    std::vector<DiscEntry> entries;
    for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied), end; it != end; ++it) {
        DiscEntry entry;
        entry.host = it->path();
        std::wstring relative = HostPathText(fs::relative(it->path(), root));
        for (wchar_t& ch : relative)
            if (ch == L'/') ch = L'\\';
        entry.path = relative;
        std::error_code error;
        entry.directory = it->is_directory(error);
        if (!entry.directory) entry.size = it->file_size(error);
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const DiscEntry& a, const DiscEntry& b) { return a.path < b.path; });
    disc.entries_ = std::move(entries);
    for (std::size_t i = 0; i < disc.entries_.size(); ++i)
        disc.byFoldedPath_.emplace(FoldCase(disc.entries_[i].path), i);
    return disc;
}

const DiscEntry* Disc::Find(std::wstring_view relativePath) const {
    std::vector<std::wstring> names;
    if (IsAbsoluteWindowsPath(relativePath) || !SplitPath(relativePath, names) || names.empty()) return nullptr;
    std::wstring joined;
    for (const std::wstring& name : names) {
        if (!joined.empty()) joined += L'\\';
        joined += name;
    }
    auto found = byFoldedPath_.find(FoldCase(joined));
    return found == byFoldedPath_.end() ? nullptr : &entries_[found->second];
}
