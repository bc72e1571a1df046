#include "config.h"

#include "coerce.h"
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

Text GetIniValue(Platform& platform, const IniFile& ini, WStr iniPath, WStr section, WStr key) {
    WStr value = ini.Find(section, key).text;
    if (value.size() > kLongestValue) {
        ValueOrigin origin{section, key, iniPath};
        Fail(platform, ErrorKind::ValueTooLong, value, &origin);
    }
    if (value.empty()) return Text(kNotFoundMarker);
    return Text(value);
}

bool GetIniTruthValue(Platform& platform, const IniFile& ini, WStr iniPath, WStr section, WStr key) {
    Text value = GetIniValue(platform, ini, iniPath, section, key);
    if (auto truth = ToTruthValue(value)) return *truth;
    ValueOrigin origin{section, key, iniPath};
    Fail(platform, ErrorKind::NotATruthValue, value, &origin);
}
