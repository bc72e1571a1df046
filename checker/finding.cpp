#include "finding.h"

#include <algorithm>

#include "utf.h"

void Findings::Add(Finding finding) {
    // The same fault met on two paths through the launcher is one finding.
    if (!seen_.emplace(finding.file, finding.line, finding.message).second) return;
    all_.push_back(std::move(finding));
}

std::vector<Finding> Findings::Sorted() const {
    std::vector<Finding> sorted = all_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    return sorted;
}

const wchar_t* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Error: return L"error";
        case Severity::Warning: return L"warning";
        case Severity::Note: return L"note";
    }
    return L"error";
}

std::string FormatText(const std::vector<Finding>& findings) {
    std::wstring out;
    for (const Finding& f : findings) {
        out += f.file;
        if (f.line > 0) out += L":" + std::to_wstring(f.line);
        out += L": ";
        out += SeverityName(f.severity);
        out += L": ";
        out += f.message;
        if (f.exitCode) out += L" (exit code " + std::to_wstring(f.exitCode) + L")";
        out += L"\n";
    }
    return ToUtf8(out);
}

namespace {

void AppendJsonString(std::wstring& out, const std::wstring& text) {
    out += L'"';
    for (wchar_t ch : text) {
        switch (ch) {
            case L'"': out += L"\\\""; break;
            case L'\\': out += L"\\\\"; break;
            case L'\n': out += L"\\n"; break;
            case L'\r': out += L"\\r"; break;
            case L'\t': out += L"\\t"; break;
            default:
                if (static_cast<unsigned>(ch) < 0x20) {
                    static constexpr wchar_t kHex[] = L"0123456789abcdef";
                    out += L"\\u00";
                    out += kHex[(ch >> 4) & 0xF];
                    out += kHex[ch & 0xF];
                } else {
                    out += ch;
                }
        }
    }
    out += L'"';
}

}  // namespace

std::string FormatJson(const std::vector<Finding>& findings) {
    std::wstring out = L"[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out += i ? L",\n " : L"\n ";
        out += L"{\"file\": ";
        AppendJsonString(out, f.file);
        out += L", \"line\": " + (f.line > 0 ? std::to_wstring(f.line) : std::wstring(L"null"));
        out += L", \"severity\": \"";
        out += SeverityName(f.severity);
        out += L"\", \"code\": " + (f.exitCode ? std::to_wstring(f.exitCode) : std::wstring(L"null"));
        out += L", \"message\": ";
        AppendJsonString(out, f.message);
        out += L"}";
    }
    out += findings.empty() ? L"]\n" : L"\n]\n";
    return ToUtf8(out);
}

int ExitStatus(const std::vector<Finding>& findings, bool strict) {
    for (const Finding& f : findings)
        if (f.severity == Severity::Error || (strict && f.severity == Severity::Warning)) return 1;
    return 0;
}
