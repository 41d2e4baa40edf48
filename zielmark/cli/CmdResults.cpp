// zielmark-cli results: the figures of every wreck of a flight result scenario, and on request the result
// KML file for Google Earth and each wreck's impact-area diagram as SVG.
#include "CliArgs.h"
#include "Commands.h"
#include "TextTable.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_GEFile.h"
#include "Unit_GEReplay.h"
#include "Unit_ImpactChart.h"
#include "Unit_Results.h"
#include "Unit_Utf8.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace zm;

constexpr const char* Usage =
    "Usage: zielmark-cli results SCENARIO [--kml FILE] [--replay FILE] [--diagrams DIR] [--force]\n"
    "\n"
    "Reads the wrecks of a flight result scenario (the scenario the simulator saves after a firing, or a "
    "copy\n"
    "of it) and prints each wreck's figures: launch azimuth (degrees), planned and actual range, miss and "
    "its\n"
    "longitudinal and lateral parts (metres), and the failure.\n"
    "\n"
    "Options:\n"
    "  --kml FILE       also write the result KML file for Google Earth; FILE gets the extension \".kml\"\n"
    "                   (its folder is created)\n"
    "  --replay FILE    also write the replay file for Google Earth's time slider: each missile's track\n"
    "                   stamped with its times, and a tour that follows the salvo; FILE gets the extension\n"
    "                   \".kml\" (its folder is created). Wrecks saved without their launch date (by "
    "missiles\n"
    "                   of before) are left out, each named with a note\n"
    "  --diagrams DIR   also write each wreck's impact-area diagram as DIR/NN_MISSILE.svg (DIR is created)\n"
    "  --force          overwrite files that already exist\n"
    "  -h, --help       show this help\n"
    "\n"
    "A bad value stops the read at its line: the wrecks before it are still shown and written.\n"
    "Exit codes: 0 done, 1 failed (scenario missing or unreadable, a bad value in it, a file not written or\n"
    "already there without --force, no wreck to replace a KML file with), 2 wrong arguments.\n";

struct TOptions {
    std::string Scenario;
    std::string Kml;
    std::string Diagrams;
    std::string Replay;
    bool KmlGiven = false; // an empty --kml is refused, not taken for none
    bool DiagramsGiven = false;
    bool ReplayGiven = false;
    bool Force = false;
    bool Help = false;
};

int UsageError(const std::string& message) {
    std::fprintf(stderr, "zielmark-cli results: %s\n\n%s", message.c_str(), Usage);
    return 2;
}

int Failure(const std::string& message) {
    std::fprintf(stderr, "zielmark-cli results: %s\n", TerminalSafe(AsUtf8(message)).c_str());
    return 1;
}

// Parses the arguments behind the command name; returns an error text, empty when fine.
std::string ParseOptions(int argc, char** argv, TOptions& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](const char* name, std::string& into) {
            const std::string prefix = std::string(name) + "=";
            if (arg.rfind(prefix, 0) == 0) {
                into = arg.substr(prefix.size());
                return true;
            }
            if (arg != name) return false;
            if (i + 1 >= argc) throw std::string(name) + " needs a value";
            into = argv[++i];
            return true;
        };
        try {
            if (arg == "-h" || arg == "--help")
                o.Help = true;
            else if (arg == "--force")
                o.Force = true;
            else if (value("--kml", o.Kml))
                o.KmlGiven = true;
            else if (value("--replay", o.Replay))
                o.ReplayGiven = true;
            else if (value("--diagrams", o.Diagrams))
                o.DiagramsGiven = true;
            else if (arg.size() > 1 && arg[0] == '-')
                return "unknown option \"" + arg + "\"";
            else if (!o.Scenario.empty())
                return "only one scenario, please (\"" + arg + "\" is one too many)";
            else
                o.Scenario = arg;
        } catch (const std::string& error) {
            return error;
        }
    }
    return {};
}

// A file name made of the missile's name: letters, digits, "-", "_" and "." only.
std::string DiagramFileName(size_t index, const TTeskWreck& w) {
    std::string name = w.MissileName.empty() ? "wreck" : w.MissileName.substr(0, 60);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.') c = '_';
    const std::string number = std::to_string(index + 1);
    return std::string(number.size() < 2 ? "0" : "") + number + "_" + name + ".svg";
}

// One row of the figures table, caption first; names and failure texts of any file shown as UTF-8.
std::vector<std::string> Row(const TTeskWreck& w) {
    const TResultFigures f = ResultFigures(w);
    return {AsUtf8(w.Caption()), f.LaunchAz,       f.PlannedRange, f.ActualRange,
            f.RangeMiss,         f.LongitudalMiss, f.LateralMiss,  AsUtf8(w.Failure)};
}

void PrintTable(const std::vector<TTeskWreck>& wrecks) {
    std::vector<std::vector<std::string>> rows = {{"Missile to target", "Launch azimuth", "Target range",
                                                   "Actual range", "Miss", "Longitudal miss", "Lateral miss",
                                                   "Failure"}};
    for (const TTeskWreck& w : wrecks)
        rows.push_back(Row(w));
    // Text columns to the left, figures to the right.
    PrintTextTable(rows, {false, true, true, true, true, true, true, false});
}

} // namespace

int RunResults(int argc, char** argv) {
    TOptions o;
    const std::string error = ParseOptions(argc, argv, o);
    if (!error.empty()) return UsageError(error);
    if (o.Help) {
        std::printf("%s", Usage);
        return 0;
    }
    if (o.Scenario.empty()) return UsageError("which scenario? Give its path");

    // Where the outputs go, checked before anything is written.
    if (o.KmlGiven)
        if (const std::string problem = OutputPathProblem("--kml", o.Kml); !problem.empty())
            return UsageError(problem);
    if (o.DiagramsGiven && o.Diagrams.empty())
        return UsageError("--diagrams needs a folder, not an empty text");
    if (o.ReplayGiven)
        if (const std::string problem = OutputPathProblem("--replay", o.Replay); !problem.empty())
            return UsageError(problem);
    // A KML file's folder and name, with ".kml".
    const auto kmlTarget = [](const char* option, const std::string& given, std::string& dir,
                              std::string& name) {
        if (given.empty()) return std::string();
        dir = ExtractFilePath(given);
        name = ChangeFileExt(ExtractFileName(given), ".kml");
        if (ExtractFileName(given).empty() || !IsValidFileName(name))
            return "\"" + given + "\" is not a usable file name for " + option;
        return std::string();
    };
    std::string kmlDir, kmlName, replayDir, replayName;
    if (const std::string problem = kmlTarget("--kml", o.Kml, kmlDir, kmlName); !problem.empty())
        return UsageError(problem);
    if (const std::string problem = kmlTarget("--replay", o.Replay, replayDir, replayName); !problem.empty())
        return UsageError(problem);
    if (!o.Kml.empty() && !o.Replay.empty() && kmlDir + kmlName == replayDir + replayName)
        return UsageError("--kml and --replay name the same file \"" + kmlDir + kmlName + "\"");

    if (DirectoryExists(o.Scenario))
        return Failure("\"" + o.Scenario + "\" is a folder, not a scenario file");
    if (!FileExists(o.Scenario)) return Failure("scenario \"" + o.Scenario + "\" does not exist");
    if (const TResultOf<bool> test = IsFlightResultScenario(o.Scenario); !test.Value) {
        if (!test.Ok()) return Failure(test.Message);
        std::fprintf(
            stderr,
            "zielmark-cli results: note: \"%s\" is not a flight result scenario (its ship list needs a "
            "TeskiWreck ship and no Teski ship); reading its wrecks anyway\n",
            o.Scenario.c_str());
    }
    TOrbResults results;
    const TResult read = LoadOrbResults(o.Scenario, results);
    if (read.Code == TResultCode::Missing) return Failure("scenario \"" + o.Scenario + "\" does not exist");
    // After a bad line the wrecks before it are kept; the line is named at the end.
    if (!read.Ok() && results.Wrecks.empty()) return Failure(read.Message);
    const bool readInPart = !read.Ok();

    std::vector<std::string> targets;
    if (!o.Kml.empty()) targets.push_back(kmlDir + kmlName);
    if (!o.Replay.empty()) targets.push_back(replayDir + replayName);
    std::vector<std::string> diagramFiles;
    const std::string diagramDir =
        o.Diagrams.empty() ? std::string() : IncludeTrailingPathDelimiter(o.Diagrams);
    if (!o.Diagrams.empty()) {
        for (size_t i = 0; i < results.Wrecks.size(); ++i)
            diagramFiles.push_back(diagramDir + DiagramFileName(i, results.Wrecks[i]));
        targets.insert(targets.end(), diagramFiles.begin(), diagramFiles.end());
    }
    if (!o.Force)
        for (const std::string& t : targets)
            if (FileExists(t)) return Failure("\"" + t + "\" already exists; use --force to overwrite it");

    if (results.Wrecks.empty()) {
        std::printf("No wrecks in \"%s\".\n", o.Scenario.c_str());
        // An empty result never replaces the results of an earlier firing.
        if (!o.Kml.empty() && FileExists(kmlDir + kmlName))
            return Failure("\"" + kmlDir + kmlName + "\" is not replaced: the scenario holds no wreck");
        if (!o.Replay.empty() && FileExists(replayDir + replayName))
            return Failure("\"" + replayDir + replayName + "\" is not replaced: the scenario holds no wreck");
    } else {
        PrintTable(results.Wrecks);
    }

    if (!o.Kml.empty()) {
        // The KML file's folder is made like the diagrams' folder.
        std::error_code ec;
        if (!kmlDir.empty()) std::filesystem::create_directories(kmlDir, ec);
        if (!kmlDir.empty() && !DirectoryExists(kmlDir))
            return Failure("cannot create folder \"" + kmlDir + "\"");
        if (const TResult written = WriteGEFile(kmlDir, kmlName, results.Wrecks); !written.Ok())
            return Failure(written.Message);
        std::printf("Wrote %s\n", (kmlDir + kmlName).c_str());
    }
    if (!o.Replay.empty()) {
        std::error_code ec;
        if (!replayDir.empty()) std::filesystem::create_directories(replayDir, ec);
        if (!replayDir.empty() && !DirectoryExists(replayDir))
            return Failure("cannot create folder \"" + replayDir + "\"");
        const TResultOf<std::vector<std::string>> written =
            WriteGEReplay(replayDir, replayName, results.Wrecks);
        if (!written.Ok()) return Failure(written.Message);
        std::printf("Wrote %s\n", (replayDir + replayName).c_str());
        for (const std::string& note : written.Value)
            std::fprintf(stderr, "zielmark-cli results: note: the replay leaves out %s\n",
                         TerminalSafe(AsUtf8(note)).c_str());
    }
    if (!o.Diagrams.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(o.Diagrams, ec);
        if (!DirectoryExists(diagramDir)) return Failure("cannot create folder \"" + o.Diagrams + "\"");
        for (size_t i = 0; i < results.Wrecks.size(); ++i) {
            const TImpactChart chart = BuildImpactChart(results.Wrecks[i], SvgTextSize);
            const TResult written = WriteFileAtomic(diagramFiles[i], ImpactChartSvg(chart));
            if (!written.Ok()) return Failure(written.Message);
            std::printf("Wrote %s%s\n", diagramFiles[i].c_str(),
                        chart.FiguresMissing ? " (figures missing: empty diagram)"
                        : chart.HasScale     ? ""
                                             : " (no miss: empty diagram)");
        }
    }
    if (readInPart)
        return Failure(read.Message + "; the read stopped there, after " +
                       std::to_string(results.Wrecks.size()) +
                       (results.Wrecks.size() == 1 ? " wreck" : " wrecks") + " (shown" +
                       (o.Kml.empty() && o.Replay.empty() && o.Diagrams.empty() ? ")" : " and written)"));
    return 0;
}
