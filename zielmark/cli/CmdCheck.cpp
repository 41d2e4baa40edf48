// zielmark-cli check: the folder check of the settings, as the program runs it at start-up.
#include "CliArgs.h"
#include "Commands.h"

#include "Unit_DM.h"
#include "Unit_Files.h"
#include "Unit_GlobalOptions.h"

#include <cstdio>

using namespace zm;

namespace {

const char* kUsage =
    "Usage: zielmark-cli check [OPTIONS]\n"
    "\n"
    "Checks Zielmark's folders as the program does at start-up: prints the warning lines, the\n"
    "source KML files that follow the naming convention and the flight result scenarios.\n"
    "\n"
    "Options:\n"
    "  --settings FILE    settings file to read (default: Zielmark.ini beside this program)\n"
    "  --src DIR          source waypoint folder (instead of the setting)\n"
    "  --scn DIR          launch scenario folder (instead of the setting)\n"
    "  --results DIR      flight results folder (instead of the setting)\n"
    "  --transforms DIR   folder of kml2datD.xtr and kml2datF.xtr (default: beside this program)\n"
    "  --help             this text\n"
    "\n"
    "Exit codes: 0 no warnings, 1 warnings were given, 2 wrong usage.\n";

void PrintList(const char* title, const std::vector<std::string>& list, const std::string& newest) {
    std::printf("%s (%zu)%s%s\n", title, list.size(), newest.empty() ? "" : ", newest: ", newest.c_str());
    for (const auto& name : list)
        std::printf("  %s\n", name.c_str());
}

} // namespace

int RunCheck(int argc, char** argv) {
    const TCliArgs args = ParseCliArgs(argc, argv,
                                       {{"settings", true},
                                        {"src", true},
                                        {"scn", true},
                                        {"results", true},
                                        {"transforms", true},
                                        {"help", false}});
    if (!args.Error.empty() || !args.Positional.empty()) {
        std::fprintf(stderr, "zielmark-cli check: %s\n\n%s",
                     args.Error.empty() ? "no arguments expected" : args.Error.c_str(), kUsage);
        return 2;
    }
    if (args.Has("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    DModule().TransformDir = IncludeTrailingPathDelimiter(args.Value("transforms", ProgramDir()));

    TGlobalOptions options;
    const std::string settings = args.Value("settings", ProgramDir() + "Zielmark.ini");
    if (args.Has("settings") && !FileExists(settings)) {
        std::fprintf(stderr, "zielmark-cli check: settings file \"%s\" does not exist\n", settings.c_str());
        return 2;
    }
    // A settings file named here that cannot be read (a pipe, a device) is refused, not taken as empty.
    if (std::string text; args.Has("settings")) {
        if (const TResult read = ReadWholeFile(settings, text); !read.Ok()) {
            std::fprintf(stderr, "zielmark-cli check: %s\n", read.Message.c_str());
            return 2;
        }
    }
    options.LoadFromIni(settings);
    if (args.Has("src")) options.SrcWptDir = args.Value("src");
    if (args.Has("scn")) options.OrbScnDir = args.Value("scn");
    if (args.Has("results")) options.FltResDir = args.Value("results");
    options.CheckFolders();

    std::printf("Settings file: %s\n", options.IniFileName.c_str());
    std::printf("Source waypoint folder: %s\n", options.SrcWptDir.c_str());
    std::printf("Launch scenario folder: %s\n", options.OrbScnDir.c_str());
    std::printf("Flight results folder: %s\n", options.FltResDir.c_str());
    std::printf("Current state scenario: %s (%s)\n", options.CurrentStateFile.c_str(),
                options.CurrentStateUsable ? "usable" : "not usable");
    std::printf("Google Earth to Orbiter: %s\n", options.GeToOrbEnabled ? "available" : "not available");
    std::printf("Orbiter to Google Earth: %s\n", options.OrbToGeEnabled ? "available" : "not available");
    std::printf("\nWarnings (%zu)\n", options.Warnings.size());
    for (const auto& w : options.Warnings)
        std::printf("%s\n", w.c_str());
    std::printf("\n");
    PrintList("Source KML files", options.SrcKmlFiles, options.NewestSrcKmlFile);
    PrintList("Flight result scenarios", options.FltResScnFiles, options.NewestFltResScnFile);
    if (!options.FileProblems.empty()) {
        std::printf("\nFile problems (%zu)\n", options.FileProblems.size());
        for (const auto& p : options.FileProblems)
            std::printf("%s\n", p.c_str());
    }
    return options.HasWarnings ? 1 : 0;
}
