// The INI reader: decoding and parsing any bytes, and reading back a file
// written from the input.
// Input: any bytes. They are read once as a file as they are, then taken as
// the text of a file to write: lines split at '\n', a line starting with '['
// names a new section, any other line is a key and value split at its first
// '=' (fuzz_input.h's WideFromBytes reaches every character).
// Invariants: no crash, and every key found again in its section; each
// value of the written file reads back as written, with blanks and line ends
// of every kind around it; the same text saved as UTF-8 with and without a
// mark, UTF-16 LE and UTF-16 BE parses to the same sections, keys, values and
// line numbers.
#include <string>
#include <vector>

#include "fake_platform.h"
#include "fuzz_input.h"
#include "launcher/config.h"
#include "launcher/ini_file.h"

namespace {

struct Written {
    std::wstring section, key, value;
};

// Characters a written name or value cannot hold; the writer puts 'x' there.
bool Unwritable(wchar_t ch, bool isName) {
    if (ch == L'\r' || ch == L'\n' || ch == L'\0' || (ch >= 0xD800 && ch <= 0xDFFF)) return true;
    // Blanks inside a name are fine, but one at its end would be trimmed.
    const bool blank = ch == L' ' || (ch >= L'\t' && ch <= L'\f') || ch == 0x1A;
    return isName && (ch == L'=' || ch == L']' || blank);
}

std::wstring Clean(WStr text, bool isName) {
    std::wstring out;
    for (wchar_t ch : text) out += Unwritable(ch, isName) ? L'x' : ch;
    return out;
}

// Blanks and line ends picked by the input's own characters, so the fuzzer
// steers them too.
const wchar_t* Blank(std::size_t pick) {
    static const wchar_t* const kBlanks[] = {L"", L" ", L"\t", L" \t ", L"\v", L"\f", L"\x1A"};
    return kBlanks[pick % 7];
}
const wchar_t* LineEnd(std::size_t pick) {
    static const wchar_t* const kEnds[] = {L"\r\n", L"\n", L"\r"};
    return kEnds[pick % 3];
}

std::string Encoded(const std::wstring& text, int form) {
    if (form <= 1) return (form == 1 ? "\xEF\xBB\xBF" : "") + Utf8(text);
    std::string bytes = form == 2 ? "\xFF\xFE" : "\xFE\xFF";
    for (wchar_t ch : text) {
        char low = static_cast<char>(ch & 0xFF), high = static_cast<char>((ch >> 8) & 0xFF);
        bytes += form == 2 ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

void Parse(IniFile& ini, const std::string& bytes) {
    FakePlatform platform;
    ini.Parse(DecodeIniText(platform, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

void CheckAnyBytes(const std::uint8_t* data, std::size_t size) {
    IniFile ini;
    Parse(ini, std::string(reinterpret_cast<const char*>(data), size));
    WStr section;
    std::size_t sectionsSeen = 0;
    for (std::size_t i = 0; i < ini.EntryCount(); ++i) {
        const IniEntry& entry = ini.Entry(i);
        FUZZ_CHECK(entry.line >= 1 && entry.name.find(L'\0') == WStr::npos, entry.name);
        FUZZ_CHECK(i == 0 || entry.line >= ini.Entry(i - 1).line, entry.name);
        if (entry.isSection) {
            section = entry.name;
            ++sectionsSeen;
            continue;
        }
        // A key is found again (in the first section, which nothing hides);
        // what is found never comes from a later line.
        IniValue found = ini.Find(section, entry.name);
        if (sectionsSeen == 1) FUZZ_CHECK(found.found, entry.name);
        if (found.found) FUZZ_CHECK(found.line <= entry.line, entry.name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckAnyBytes(data, size);

    std::wstring input = WideFromBytes(data, size);
    std::vector<Written> written;
    std::wstring text;
    std::size_t sections = 0, pick = 0;
    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find(L'\n', start);
        if (end == std::wstring::npos) end = input.size();
        WStr line(input.data() + start, end - start);
        start = end + 1;
        pick += line.size() + (line.empty() ? 0 : line[0]);
        if (!line.empty() && line[0] == L'[') {
            // A numbered prefix keeps names apart whatever letter case they hold.
            std::wstring name = L"s" + std::to_wstring(++sections) + L"_" + Clean(DropFirst(line, 1), true);
            text += Blank(pick) + (L"[" + std::wstring(Blank(pick + 1)) + name + Blank(pick + 2) + L"]") +
                    LineEnd(pick);
            written.push_back({name, L"", L""});
            continue;
        }
        if (written.empty()) continue;
        std::size_t equals = line.find(L'=');
        std::wstring key = L"k" + std::to_wstring(written.size()) + L"_" + Clean(line.substr(0, equals), true);
        std::wstring value = equals == WStr::npos ? L"" : Clean(DropFirst(line, equals + 1), false);
        // In quotes, so blanks and quotes of its own stay part of the value.
        text += Blank(pick + 3) + key + Blank(pick + 4) + L"=" + Blank(pick + 5) + L"\"" + value + L"\"" +
                Blank(pick + 6) + LineEnd(pick + 1);
        written.push_back({written.back().section, key, value});
    }

    IniFile forms[4];
    for (int form = 0; form < 4; ++form) Parse(forms[form], Encoded(text, form));
    for (const Written& w : written) {
        if (w.key.empty()) continue;
        IniValue value = forms[0].Find(w.section, w.key);
        FUZZ_CHECK(value.found && value.text == w.value, text);
    }
    for (int form = 1; form < 4; ++form) {
        FUZZ_CHECK(forms[form].EntryCount() == forms[0].EntryCount(), text);
        for (std::size_t i = 0; i < forms[0].EntryCount(); ++i) {
            const IniEntry &a = forms[0].Entry(i), &b = forms[form].Entry(i);
            FUZZ_CHECK(a.isSection == b.isSection && a.name == b.name && a.value == b.value && a.line == b.line, text);
        }
    }
    return 0;
}
