// What the checker found, and how it says so: one line per finding
// (FILE:LINE: SEVERITY: MESSAGE) or a JSON array.
#pragma once

#include <set>
#include <string>
#include <tuple>
#include <vector>

enum class Severity { Error, Warning, Note };

struct Finding {
    std::wstring file;   // the INI's path as given, or the file the finding is about
    int line = 0;        // 1-based INI line of the key at fault; 0 when none applies
    Severity severity = Severity::Error;
    int exitCode = 0;    // the launcher's exit code for this fault, 0 when it reports nothing
    std::wstring message;
};

class Findings {
public:
    void Add(Finding finding);
    void Add(const std::wstring& file, int line, Severity severity, int exitCode, const std::wstring& message) {
        Add(Finding{file, line, severity, exitCode, message});
    }
    const std::vector<Finding>& All() const { return all_; }
    // Sorted by file, then line, each kept in the order found.
    std::vector<Finding> Sorted() const;

private:
    std::vector<Finding> all_;
    std::set<std::tuple<std::wstring, int, std::wstring>> seen_;
};

const wchar_t* SeverityName(Severity severity);

// "FILE:LINE: SEVERITY: MESSAGE (exit code N)", one line each, UTF-8.
std::string FormatText(const std::vector<Finding>& findings);
// [{"file":..., "line":..., "severity":..., "code":..., "message":...}], UTF-8.
// line and code are null where none applies.
std::string FormatJson(const std::vector<Finding>& findings);

// 0 without errors, 1 with errors (or, when strict, with warnings too).
int ExitStatus(const std::vector<Finding>& findings, bool strict);
