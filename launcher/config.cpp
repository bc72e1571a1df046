#include "config.h"

#include <cstdlib>

#include "coerce.h"

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

Text GetIniValue(Platform& platform, WStr iniPath, WStr section, WStr key) {
    Text value;
    wchar_t* buffer = value.Reserve(kBufferSize);
    std::uint32_t count = platform.ReadProfileString(iniPath, section, key, buffer, kBufferSize);
    if (count > kLongestValue) {
        value.SetLength(count < kBufferSize ? count : kBufferSize - 1);
        ValueOrigin origin{section, key, iniPath};
        Fail(platform, ErrorKind::ValueTooLong, value, &origin);
    }
    if (count < 1) return Text(kNotFoundMarker);
    value.SetLength(count);
    // The buffer is large; keep only what the value needs.
    return Text(value.View());
}

bool GetIniTruthValue(Platform& platform, WStr iniPath, WStr section, WStr key) {
    Text value = GetIniValue(platform, iniPath, section, key);
    if (auto truth = ToTruthValue(value)) return *truth;
    ValueOrigin origin{section, key, iniPath};
    Fail(platform, ErrorKind::NotATruthValue, value, &origin);
}
