#include "conditions.h"

namespace {

struct NamedCondition {
    const wchar_t* name;
    Architecture architecture;   // Unknown: a version of Windows
    WindowsVersion least;
};

// Windows 11 still calls itself 10.0; its builds start at 22000.
constexpr NamedCondition kNamedConditions[] = {
    {L"x86", Architecture::X86, {}},          {L"x64", Architecture::X64, {}},
    {L"arm64", Architecture::Arm64, {}},      {L"win7", Architecture::Unknown, {6, 1, 0}},
    {L"win8", Architecture::Unknown, {6, 2, 0}}, {L"win8.1", Architecture::Unknown, {6, 3, 0}},
    {L"win10", Architecture::Unknown, {10, 0, 0}}, {L"win11", Architecture::Unknown, {10, 0, 22000}},
};

constexpr WStr kExistsPrefix = L"exists:";

// The token up to the next blank; a double quote keeps blanks inside it up
// to the closing quote.
WStr NextToken(WStr& rest) {
    rest = TrimLeadingBlanks(rest);
    std::size_t end = 0;
    bool quoted = false;
    while (end < rest.size() && (quoted || !IsBlank(rest[end]))) {
        if (rest[end] == L'"') quoted = !quoted;
        ++end;
    }
    WStr token(rest.data(), end);
    rest = DropFirst(rest, end);
    return token;
}

bool ParsePath(WStr written, WStr& path) {
    if (!written.empty() && written.front() == L'"') {
        if (written.size() < 2 || written.back() != L'"') return false;
        written = WStr(written.data() + 1, written.size() - 2);
    }
    if (written.empty() || written.find(L'"') != WStr::npos) return false;
    path = written;
    return true;
}

bool ParseName(WStr name, Condition& condition) {
    for (const auto& entry : kNamedConditions) {
        if (!EqualsIgnoringCase(name, entry.name)) continue;
        condition.kind = entry.architecture == Architecture::Unknown ? ConditionKind::WindowsVersion
                                                                     : ConditionKind::Architecture;
        condition.architecture = entry.architecture;
        condition.least = entry.least;
        return true;
    }
    if (!EqualsIgnoringCase(TakeFirst(name, kExistsPrefix.size()), kExistsPrefix)) return false;
    condition.kind = ConditionKind::PathExists;
    return ParsePath(DropFirst(name, kExistsPrefix.size()), condition.path);
}

bool AtLeast(const WindowsVersion& version, const WindowsVersion& least) {
    if (version.major != least.major) return version.major > least.major;
    if (version.minor != least.minor) return version.minor > least.minor;
    return version.build >= least.build;
}

}  // namespace

ConditionParse ParseNextCondition(WStr& rest, Condition& condition, WStr& token) {
    token = NextToken(rest);
    if (token.empty()) return ConditionParse::End;
    condition = Condition{};
    condition.negated = token.front() == L'!';
    return ParseName(DropFirst(token, condition.negated ? 1 : 0), condition) ? ConditionParse::Condition
                                                                              : ConditionParse::Unknown;
}

WStr FindUnknownCondition(WStr text) {
    Condition condition;
    WStr token;
    for (;;) {
        switch (ParseNextCondition(text, condition, token)) {
            case ConditionParse::Condition: continue;
            case ConditionParse::End: return WStr();
            case ConditionParse::Unknown: return token;
        }
    }
}

bool ConditionHolds(const Condition& condition, MachineFacts& machine) {
    bool holds = false;
    switch (condition.kind) {
        case ConditionKind::Architecture:
            holds = machine.NativeArchitecture() == condition.architecture;
            break;
        case ConditionKind::WindowsVersion:
            holds = AtLeast(machine.RealWindowsVersion(), condition.least);
            break;
        case ConditionKind::PathExists:
            holds = machine.PathExists(condition.path);
            break;
    }
    return holds != condition.negated;
}

ConditionsResult CheckConditions(WStr text, MachineFacts& machine) {
    ConditionsResult result{true, WStr()};
    Condition condition;
    WStr token;
    for (;;) {
        switch (ParseNextCondition(text, condition, token)) {
            case ConditionParse::Condition:
                // Once one fails the rest are only parsed, for a misspelt one.
                if (result.hold) result.hold = ConditionHolds(condition, machine);
                continue;
            case ConditionParse::End: return result;
            case ConditionParse::Unknown: return ConditionsResult{false, token};
        }
    }
}
