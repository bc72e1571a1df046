#include "config.h"

#include "coerce.h"
#include "language_variant.h"
#include "text_encoding.h"

Text BuildIniPath(WStr currentDirectory, WStr exeBaseName) {
    Text path(currentDirectory);
    path.Append(L'\\').Append(exeBaseName).Append(L".ini");
    return path;
}

Text DecodeIniText(Platform& platform, const std::uint8_t* data, std::size_t size) {
    DetectedEncoding detected = DetectTextEncoding(data, size);
    data += detected.markLength;
    size -= detected.markLength;
    if (detected.encoding == TextEncoding::Ansi) return platform.TextFromAnsi(data, size);
    return DecodeUnicodeText(data, size, detected.encoding);
}

void LoadIniFile(Platform& platform, WStr iniPath, IniFile& ini) {
    ByteBuffer bytes;
    ReadResult read = platform.ReadWholeFile(iniPath, kLargestIniFile, bytes);
    if (!read.ok) {
        ErrorDetails details{ErrorKind::IniUnreadable, iniPath, nullptr, read.systemMessage, read.systemError};
        Fail(platform, details);
    }
    ini.Parse(DecodeIniText(platform, bytes.Data(), bytes.Size()));
}

bool ReadIniKey(const IniSource& ini, WStr section, WStr keyName, Text& value) {
    WStr found = ini.file.Find(section, keyName).text;
    if (found.size() > kLongestValue) {
        ValueOrigin origin{section, keyName, ini.path};
        Fail(ini.platform, ErrorKind::ValueTooLong, found, &origin);
    }
    value = found;
    return !found.empty();
}

ConfigValue GetIniValue(const IniSource& ini, WStr section, WStr key) {
    ConfigValue value;
    value.found = FindLanguageVariant(
        key, ini.language, [&](WStr keyName) { return ReadIniKey(ini, section, keyName, value.text); }, value.key);
    if (!value.found) value.text = kNotFoundMarker;
    return value;
}

bool GetIniTruthValue(const IniSource& ini, WStr section, WStr key) {
    ConfigValue value = GetIniValue(ini, section, key);
    if (auto truth = ToTruthValue(value.text)) return *truth;
    ValueOrigin origin{section, value.key, ini.path};
    Fail(ini.platform, ErrorKind::NotATruthValue, value.text, &origin);
}
