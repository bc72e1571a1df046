#include <fstream>
#include <set>

#include "checks.h"
#include "launcher/layout.h"

namespace {

constexpr int kClientWidth = kClientWidthTwips / 15;
constexpr int kClientHeight = kClientHeightTwips / 15;
constexpr int kAboveButtons = 297;   // the picture area above the button row

// The square sizes an icon file's directory lists; empty when it is no icon file.
std::set<int> IconImageSizes(const std::filesystem::path& file) {
    std::set<int> sizes;
    std::ifstream in(file, std::ios::binary);
    unsigned char header[6] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return sizes;
    if (header[0] || header[1] || header[2] != 1 || header[3]) return sizes;
    int count = header[4] | header[5] << 8;
    for (int i = 0; i < count; ++i) {
        unsigned char entry[16];
        if (!in.read(reinterpret_cast<char*>(entry), sizeof entry)) break;
        // 0 stands for 256.
        int width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
        if (width == height) sizes.insert(width);
    }
    return sizes;
}

void CheckPictureSize(const CheckContext& c, const ViewState& window) {
    const int width = window.pictureFacts.width, height = window.pictureFacts.height;
    if (!window.pictureLoaded || width <= 0 || height <= 0) return;
    if (width == kClientWidth && (height == kClientHeight || height == kAboveButtons)) return;
    std::wstring size = std::to_wstring(width) + L" x " + std::to_wstring(height);
    std::wstring message = L"the picture is " + size + L" pixels; the window is " + std::to_wstring(kClientWidth) +
                           L" x " + std::to_wstring(kClientHeight) + L" (" + std::to_wstring(kClientWidth) + L" x " +
                           std::to_wstring(kAboveButtons) + L" above the buttons): ";
    const bool smaller = width < kClientWidth || height < kAboveButtons;
    const bool larger = width > kClientWidth || height > kClientHeight;
    if (smaller) message += L"the background colour shows where it does not reach";
    if (smaller && larger) message += L", and ";
    if (larger) message += L"what lies beyond the window is cut off";
    c.findings.Add(c.IniShown(), c.LineOf(L"DIALOG", L"Picture"), Severity::Note, 0, message);
}

void CheckIconSizes(const CheckContext& c, const ViewState& window) {
    if (window.icon.empty()) return;
    const DiscEntry* entry = c.disc.Find(window.icon);
    if (!entry || entry->directory) return;
    std::set<int> sizes = IconImageSizes(entry->host);
    if (sizes.empty()) return;   // not an icon file: the launcher's report says so
    std::wstring missing;
    for (int wanted : {16, 32})
        if (!sizes.count(wanted)) missing += (missing.empty() ? L"" : L" and ") + std::to_wstring(wanted);
    if (missing.empty()) return;
    std::wstring has;
    for (int size : sizes) has += (has.empty() ? L"" : L", ") + std::to_wstring(size);
    c.findings.Add(c.IniShown(), c.LineOf(L"DIALOG", L"Icon"), Severity::Warning, 0,
                   L"the icon " + Quoted(window.icon) + L" has no " + missing + L" pixel image (it has " + has +
                       L"): Windows scales another one for the title bar and the task bar, and it looks blurred");
}

}  // namespace

void CheckPictureAndIcon(const CheckContext& c, const LauncherRuns& runs) {
    if (!runs.dialogMode) return;
    CheckPictureSize(c, runs.window);
    CheckIconSizes(c, runs.window);
}
