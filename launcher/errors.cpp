#include "errors.h"

namespace {

struct KindText {
    ErrorKind kind;
    const wchar_t* description;
    const wchar_t* hint;
};

constexpr KindText kKindTexts[] = {
    {ErrorKind::IniUnreadable, L"The INI file could not be read.",
     L"The INI file must be readable and at most 16 MiB."},
    {ErrorKind::NotATruthValue, L"The value is not a truth value.",
     L"Write True or False, or a number (0 is false, any other number true)."},
    {ErrorKind::NotANumber, L"The value is not a number.",
     L"Write red,green,blue (47,31,107), #RRGGBB (#2F1F6B), a decimal number, or &H00BBGGRR: "
     L"after &H blue comes first (&H0000FF is red)."},
    {ErrorKind::NumberOutOfRange, L"The number is out of range.",
     L"A colour is &H00BBGGRR (at most &H00FFFFFF), a system colour &H800000nn, "
     L"and each of red, green and blue is 0 to 255."},
    {ErrorKind::ColorComponents, L"The colour needs three components.",
     L"Write red, green and blue separated by commas, for example 47,31,107."},
    {ErrorKind::ValueTooLong, L"The value is too long.",
     L"A value may be at most 32767 characters, the longest command line Windows accepts."},
    {ErrorKind::UnknownCondition, L"The condition is not known.",
     L"Known: x86 x64 arm64 win7 win8 win8.1 win10 win11 exists:PATH, each may start with !"},
    {ErrorKind::StartFailed, L"The command line could not be started.", nullptr},
    {ErrorKind::PictureUnreadable, L"The picture file could not be read as a picture.",
     L"Use a BMP, JPEG, GIF, PNG, ICO, WMF or EMF file."},
    {ErrorKind::IconUnreadable, L"The icon file could not be read as an icon.",
     L"Use an ICO file."},
    {ErrorKind::WindowFailed, L"The window could not be created.", nullptr},
};

const KindText* FindKind(ErrorKind kind) {
    for (const auto& entry : kKindTexts)
        if (entry.kind == kind) return &entry;
    return nullptr;
}

// A message box cannot show a 32767-character value usefully; its start and
// its length say enough to find it.
constexpr std::size_t kLongestShownValue = 300;

void AppendQuoted(Text& out, WStr value) {
    if (value.size() <= kLongestShownValue) {
        out.Append(L'"').Append(value).Append(L'"');
        return;
    }
    out.Append(L'"').Append(WStr(value.data(), kLongestShownValue)).Append(L"...\" (");
    out.AppendNumber(static_cast<long long>(value.size())).Append(L" characters)");
}

const wchar_t* ValueLabel(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::StartFailed: return L"Command line: ";
        case ErrorKind::PictureUnreadable:
        case ErrorKind::IconUnreadable:
        case ErrorKind::IniUnreadable: return L"File: ";
        case ErrorKind::UnknownCondition: return L"Condition: ";
        default: return L"Value: ";
    }
}

}  // namespace

Text FormatErrorReport(const ErrorDetails& details) {
    Text out;
    out.Append(L"Run-time error ").AppendNumber(static_cast<int>(details.kind)).Append(L": ");
    const KindText* kind = FindKind(details.kind);
    out.Append(kind ? kind->description : L"Unexpected error.");
    out.Append(L"\r\n\r\n");

    // Values read from the file are never empty (a missing one reads as
    // "False"); only a report about no value at all has none to show.
    if (!details.value.empty()) {
        out.Append(ValueLabel(details.kind));
        AppendQuoted(out, details.value);
        out.Append(L"\r\n");
    }
    if (details.origin) {
        out.Append(L"From: [").Append(details.origin->section).Append(L"] ")
            .Append(details.origin->key).Append(L" in ").Append(details.origin->iniPath)
            .Append(L"\r\n");
    }
    if (!details.systemMessage.empty() || details.systemError) {
        out.Append(L"Windows says: ").Append(TrimBlanks(details.systemMessage));
        if (details.systemError) out.Append(L" (error ").AppendNumber(details.systemError).Append(L')');
        out.Append(L"\r\n");
    }
    if (kind && kind->hint) out.Append(L"\r\n").Append(kind->hint);
    return out;
}

void EndWithMessage(Platform& platform, WStr message, ErrorKind kind) {
    platform.ShowErrorMessage(message);
    platform.EndProgram(static_cast<int>(kind));
}

void Fail(Platform& platform, const ErrorDetails& details) {
    EndWithMessage(platform, FormatErrorReport(details), details.kind);
}

void Fail(Platform& platform, ErrorKind kind, WStr value, const ValueOrigin* origin) {
    ErrorDetails details{kind, value, origin, WStr(), 0};
    Fail(platform, details);
}
