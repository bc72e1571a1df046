#include <string_view>

#include "checks.h"
#include "launcher/errors.h"

std::wstring CheckContext::Shown(const std::wstring& relative) const {
#ifdef _WIN32
    const wchar_t separator = L'\\';
#else
    const wchar_t separator = L'/';
#endif
    std::wstring path = folderText;
    if (!path.empty() && path.back() != L'/' && path.back() != L'\\') path += separator;
    for (wchar_t ch : relative) path += ch == L'\\' ? separator : ch;
    return path;
}

std::wstring CheckContext::IniShown() const { return Shown(exeBaseName + L".ini"); }

namespace {

std::vector<std::wstring_view> Lines(std::wstring_view text) {
    std::vector<std::wstring_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The launcher's report, which is laid out for a message box, on one line.
Finding FromReport(const CheckContext& context, const std::wstring& iniPath, std::wstring_view report,
                   int exitCode) {
    Finding finding{context.IniShown(), 0, Severity::Error, exitCode, L""};
    IniKeyRef origin;
    if (ReportOrigin(report, origin)) finding.line = context.LineOf(origin.section, origin.key);
    std::wstring message;
    std::wstring prefix = L"Run-time error " + std::to_wstring(exitCode) + L": ";
    for (std::wstring_view line : Lines(report)) {
        if (line.empty()) continue;
        if (StartsWith(line, L"From: [")) continue;
        if (StartsWith(line, prefix)) line.remove_prefix(prefix.size());
        std::wstring part(line);
        if (StartsWith(part, L"Windows says: ")) part.replace(0, 14, L"Reason: ");
        if (!message.empty()) message += L' ';
        message += part;
        if (message.back() != L'.' && message.back() != L')') message += L'.';
    }
    // The launcher's own messages name the INI by the path it built.
    const std::wstring shown = context.IniShown();
    for (std::size_t at = 0; (at = message.find(iniPath, at)) != std::wstring::npos; at += shown.size())
        message.replace(at, iniPath.size(), shown);
    if (exitCode == static_cast<int>(ErrorKind::PictureMissing)) finding.line = context.LineOf(L"DIALOG", L"Picture");
    finding.message = message;
    return finding;
}

void AddRun(const CheckContext& context, const std::wstring& iniPath, const RunRecord& run) {
    if (run.exitCode <= 0) return;
    if (run.messages.empty()) {
        context.findings.Add(context.IniShown(), 0, Severity::Error, run.exitCode, L"The launcher ends with an error.");
        return;
    }
    for (const std::wstring& message : run.messages)
        context.findings.Add(FromReport(context, iniPath, message, run.exitCode));
}

}  // namespace

void AddLauncherReports(const CheckContext& context, const LauncherRuns& runs) {
    for (const RunRecord& fault : runs.faults) AddRun(context, runs.iniPath, fault);
    AddRun(context, runs.iniPath, runs.startUp);
    for (const RunRecord& click : runs.clicks) AddRun(context, runs.iniPath, click);
}
