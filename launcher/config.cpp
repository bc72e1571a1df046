#include "config.h"

#include <cstdlib>

#include "coerce.h"
#include "language_variant.h"

Text BuildIniPath(WStr currentDirectory, WStr exeBaseName) {
    Text path(currentDirectory);
    path.Append(L'\\').Append(exeBaseName).Append(L".ini");
    return path;
}

namespace {

// One character more than the longest value, so a value that is too long
// fills the buffer and can be told from one that fits.
constexpr std::uint32_t kBufferSize = kLongestValue + 2;

}  // namespace

bool ReadIniKey(Platform& platform, WStr iniPath, WStr section, WStr keyName, Text& value) {
    value = Text();
    wchar_t* buffer = value.Reserve(kBufferSize);
    std::uint32_t count = platform.ReadProfileString(iniPath, section, keyName, buffer, kBufferSize);
    if (count > kLongestValue) {
        value.SetLength(count < kBufferSize ? count : kBufferSize - 1);
        ValueOrigin origin{section, keyName, iniPath};
        Fail(platform, ErrorKind::ValueTooLong, value, &origin);
    }
    if (count < 1) return false;
    value.SetLength(count);
    // The buffer is large; keep only what the value needs.
    value = Text(value.View());
    return true;
}

ConfigValue GetIniValue(const IniSource& ini, WStr section, WStr key) {
    ConfigValue value;
    value.found = FindLanguageVariant(
        key, ini.language,
        [&](WStr keyName) { return ReadIniKey(ini.platform, ini.path, section, keyName, value.text); },
        value.key);
    if (!value.found) value.text = kNotFoundMarker;
    return value;
}

Text GetIniValue(Platform& platform, WStr iniPath, WStr section, WStr key) {
    return static_cast<Text&&>(GetIniValue(IniSource{platform, iniPath, WStr()}, section, key).text);
}

bool GetIniTruthValue(const IniSource& ini, WStr section, WStr key) {
    ConfigValue value = GetIniValue(ini, section, key);
    if (auto truth = ToTruthValue(value.text)) return *truth;
    ValueOrigin origin{section, value.key, ini.path};
    Fail(ini.platform, ErrorKind::NotATruthValue, value.text, &origin);
}

bool GetIniTruthValue(Platform& platform, WStr iniPath, WStr section, WStr key) {
    return GetIniTruthValue(IniSource{platform, iniPath, WStr()}, section, key);
}
