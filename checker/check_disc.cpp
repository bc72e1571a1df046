#include "check_disc.h"

#include "checks.h"
#include "launcher/config.h"
#include "utf.h"

std::wstring FindLauncherName(const Disc& disc) {
    std::vector<std::wstring> names;
    for (const DiscEntry& entry : disc.Entries()) {
        if (entry.directory || entry.path.find(L'\\') != std::wstring::npos) continue;
        if (entry.path.size() <= 4 || FoldCase(entry.path.substr(entry.path.size() - 4)) != L".exe") continue;
        std::wstring base = entry.path.substr(0, entry.path.size() - 4);
        const DiscEntry* ini = disc.Find(base + L".ini");
        if (ini && !ini->directory) names.push_back(base);
    }
    if (names.empty()) return L"launcher";
    if (names.size() > 1)
        throw CannotCheck("several .exe files at the folder's root have an INI of their name (" + ToUtf8(names[0]) +
                          ", " + ToUtf8(names[1]) + "); choose one with --name");
    return names[0];
}

namespace {

Disc ListDisc(const std::wstring& folder) {
    std::filesystem::path root = HostPath(folder);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error))
        throw CannotCheck("\"" + ToUtf8(folder) + "\" is not a folder");
    try {
        return Disc::List(root);
    } catch (const std::filesystem::filesystem_error& failure) {
        throw CannotCheck("cannot read the folder: " + std::string(failure.what()));
    }
}

}  // namespace

std::vector<Finding> CheckDisc(const CheckOptions& options, PictureDecoder& decoder) {
    Disc disc = ListDisc(options.folder);
    std::wstring name = options.name.empty() ? FindLauncherName(disc) : options.name;
    // The file as the launcher reads it, for the lines of its keys.
    IniFile ini;
    bool haveIni = false;
    RecordingPlatform reader(disc, name);
    if (reader.FileExists(reader.IniPath())) {
        try {
            LoadIniFile(reader, reader.IniPath(), ini);
            haveIni = true;
        } catch (const ProgramEnded&) {
            // Unreadable: the launcher's own report says so below.
        }
    }
    IniLines lines(ini);

    Findings findings;
    CheckContext context{disc, haveIni ? &lines : nullptr, name, options.folder, findings};
    DecodeCache cache(decoder);
    LauncherRuns runs = RunLauncher(disc, name, cache);
    AddLauncherReports(context, runs);
    CheckIniFile(context, runs);
    CheckCommands(context, runs);
    CheckPictureAndIcon(context, runs);
    CheckDiscFiles(context);
    return findings.Sorted();
}

namespace {

constexpr char kUsage[] = "usage: launcher-check [--name NAME] [--json] [--strict] FOLDER\n";

}  // namespace

int RunChecker(const std::vector<std::wstring>& args, PictureDecoder& decoder, std::string& out, std::string& err) {
    CheckOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"--json") {
            options.json = true;
        } else if (arg == L"--strict") {
            options.strict = true;
        } else if (arg == L"--name" && i + 1 < args.size()) {
            options.name = args[++i];
        } else if (arg.rfind(L"--name=", 0) == 0) {
            options.name = arg.substr(7);
        } else if (arg == L"--help" || arg == L"-h") {
            out = kUsage;
            return 0;
        } else if (arg.rfind(L"--", 0) == 0 || !options.folder.empty()) {
            err = "launcher-check: unexpected argument \"" + ToUtf8(arg) + "\"\n" + kUsage;
            return 2;
        } else {
            options.folder = arg;
        }
    }
    if (options.folder.empty()) {
        err = kUsage;
        return 2;
    }
    if (options.name.size() > 4 && FoldCase(options.name.substr(options.name.size() - 4)) == L".exe")
        options.name.resize(options.name.size() - 4);
    try {
        std::vector<Finding> findings = CheckDisc(options, decoder);
        out = options.json ? FormatJson(findings) : FormatText(findings);
        return ExitStatus(findings, options.strict);
    } catch (const CannotCheck& failure) {
        err = std::string("launcher-check: ") + failure.what() + "\n";
        return 2;
    }
}
