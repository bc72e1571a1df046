#include "command_place.h"

#include <cwctype>

namespace {

std::wstring ExtensionOf(std::wstring_view path) {
    std::size_t separator = path.find_last_of(L"\\/");
    std::size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring_view::npos || (separator != std::wstring_view::npos && dot < separator)) return {};
    return FoldCase(path.substr(dot + 1));
}

bool IsUrl(std::wstring_view text) {
    std::size_t colon = text.find(L':');
    // One letter before the colon is a drive.
    if (colon == std::wstring_view::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i)
        if (!std::iswalnum(static_cast<std::wint_t>(text[i])) && text[i] != L'+' && text[i] != L'-' && text[i] != L'.')
            return false;
    return true;
}

bool IsIn(const std::wstring& extension, std::initializer_list<const wchar_t*> list) {
    for (const wchar_t* item : list)
        if (extension == item) return true;
    return false;
}

}  // namespace

bool IsProgramFile(std::wstring_view path) {
    return IsIn(ExtensionOf(path), {L"exe", L"com", L"bat", L"cmd", L"msi", L"msp", L"msu", L"lnk", L"pif", L"scr",
                                    L"vbs", L"js", L"wsf", L"hta", L"cpl", L"reg", L"ps1"});
}

bool HasUsualAssociation(std::wstring_view path) {
    if (IsProgramFile(path)) return true;
    return IsIn(ExtensionOf(path), {L"txt", L"log", L"ini", L"inf", L"htm", L"html", L"mht", L"url", L"xml",
                                    L"rtf", L"wri", L"pdf", L"bmp", L"jpg", L"jpeg", L"gif", L"png", L"tif",
                                    L"tiff", L"ico", L"wav", L"mp3", L"wma", L"wmv", L"mp4", L"avi", L"chm",
                                    L"hlp", L"zip", L"cab", L"xps", L"svg"});
}

ProgramJudgement JudgeProgram(const Disc& disc, std::wstring_view program) {
    ProgramJudgement judgement;
    if (FoldCase(program) == L"false") {
        judgement.place = ProgramPlace::NotFoundMarker;
        if ((judgement.entry = disc.Find(program))) judgement.place = ProgramPlace::OnDisc;
        return judgement;
    }
    if (IsUrl(program)) {
        judgement.place = ProgramPlace::Url;
        return judgement;
    }
    if (IsAbsoluteWindowsPath(program)) {
        judgement.place = ProgramPlace::OutsideDisc;
        return judgement;
    }
    const bool bare = program.find_first_of(L"\\/") == std::wstring_view::npos;
    if (const DiscEntry* entry = disc.Find(program)) {
        judgement.entry = entry;
        judgement.place = entry->directory ? ProgramPlace::FolderOnDisc : ProgramPlace::OnDisc;
        return judgement;
    }
    if (ExtensionOf(program).empty()) {
        for (const wchar_t* extension : {L".exe", L".com", L".bat", L".cmd"}) {
            const DiscEntry* entry = disc.Find(std::wstring(program) + extension);
            if (entry && !entry->directory) {
                judgement.entry = entry;
                judgement.place = ProgramPlace::OnDisc;
                return judgement;
            }
        }
    }
    if (bare) {
        const bool isProgram = ExtensionOf(program).empty() || IsProgramFile(program);
        judgement.place = isProgram ? ProgramPlace::MissingBareName : ProgramPlace::MissingDocument;
        return judgement;
    }
    judgement.place = ProgramPlace::MissingFromFolder;
    std::wstring_view folder = program.substr(0, program.find_last_of(L"\\/"));
    const DiscEntry* folderEntry = folder.empty() ? nullptr : disc.Find(folder);
    judgement.folderMissing = !folderEntry || !folderEntry->directory;
    return judgement;
}
