#include "known_names.h"

#include <algorithm>

#include "disc.h"
#include "ini_lines.h"
#include "launcher/known_keys.h"

const std::vector<std::wstring>& KnownSections() {
    static const std::vector<std::wstring> sections = {L"DIALOG",  L"BUTTON1", L"BUTTON2",
                                                       L"BUTTON3", L"BUTTON4", L"BUTTON5"};
    return sections;
}

std::wstring KnownSection(std::wstring_view name) {
    for (const std::wstring& known : KnownSections())
        if (EqualsIgnoringCase(known, name)) return known;
    return {};
}

namespace {

std::vector<std::wstring> KeyList(WStr section) {
    KeyNames keys = KeysOfSection(section);
    return std::vector<std::wstring>(keys.names, keys.names + keys.count);
}

}  // namespace

const std::vector<std::wstring>& KnownKeys(std::wstring_view knownSection) {
    static const std::vector<std::wstring> dialog = KeyList(L"DIALOG");
    static const std::vector<std::wstring> button = KeyList(L"BUTTON1");
    return knownSection == L"DIALOG" ? dialog : button;
}

int NameDistance(std::wstring_view a, std::wstring_view b) {
    std::wstring x = FoldCase(a), y = FoldCase(b);
    const std::size_t n = x.size(), m = y.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (std::size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
    for (std::size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            int cost = x[i - 1] == y[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

std::wstring NearestName(std::wstring_view name, const std::vector<std::wstring>& candidates) {
    std::wstring best;
    int bestDistance = 0;
    for (const std::wstring& candidate : candidates) {
        int distance = NameDistance(name, candidate);
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    // A third of the name may be wrong, at least one letter.
    int allowed = std::max<int>(1, static_cast<int>(best.size()) / 3);
    return bestDistance <= allowed ? best : std::wstring();
}
