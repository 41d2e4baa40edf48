// Zielmark's settings and health check: the three working folders, the last page and files in the
// settings file, the required transformation files, the simulator's current-state scenario, the
// lists of usable KML files and result scenarios, and the warning lines.
#pragma once

#include "Unit_Result.h"
#include "Unit_ResultRead.h"
#include "Unit_Results.h"

#include <string>
#include <vector>

namespace zm {

inline constexpr const char* CurrentStateFileName = "(Current state).scn";
inline constexpr const char* WarnRequiredFile = "- Required file does not exist: \"%s\"!";
inline constexpr const char* WarnFolder = "- Folder does not exist: \"%s\"!";
inline constexpr const char* WarnNoSourceKml =
    "- No source *.kml files found that conform Zielmark format conventnion!";
inline constexpr const char* WarnNoResultScenario =
    "- No Tesk flight result scenario *.scn files found that are suitable for analysis!";

// The settings file for a program: beside it with ".ini", or in the user's configuration folder
// ($XDG_CONFIG_HOME or ~/.config, then "Zielmark/") when the program's folder is not writable;
// notice then tells the user so.
std::string SettingsFileFor(const std::string& programPath, std::string* notice = nullptr);

class TGlobalOptions {
public:
    std::string IniFileName;
    int ActiveMainTab = 0; // 0 "Folder Setup", 1 "Google Earth to Orbiter", 2 "Orbiter to Google Earth"
    std::string SrcWptDir;
    std::string OrbScnDir;
    std::string FltResDir;
    std::string MRUSourceKmlFile;
    std::string MRUEditedScnFile;
    std::string OrbRootDir;
    bool GeToOrbEnabled = false;
    bool OrbToGeEnabled = false;
    bool HasWarnings = false;
    std::vector<std::string> Warnings; // lines without line end
    std::vector<std::string> SrcKmlFiles;
    std::vector<std::string> FltResScnFiles;
    std::string NewestSrcKmlFile;
    std::string NewestFltResScnFile;
    std::string CurrentStateFile;
    bool CurrentStateUsable = false;
    // Files the listings skipped because they could not be read or parsed, each naming the file.
    std::vector<std::string> FileProblems;
    // Set when the settings live in the user's configuration folder instead of beside the program.
    std::string IniNotice;
    // The usable result scenarios as the last folder check read them, for the results page to show.
    TResultReads ResultReads;

    // The program's start: settings file beside programPath, LoadFromIni, CheckFolders.
    void Init(const std::string& programPath);
    // Reads the six settings from iniFile (which becomes IniFileName); missing values give defaults.
    void LoadFromIni(const std::string& iniFile);
    // Writes the six settings to IniFileName atomically, keeping other sections of the file.
    TResult SaveToIni() const;
    // Normalises the folders, derives the scenario root and the current-state file, rebuilds the
    // warnings and the listings, and sets the availability flags. The transformation files are
    // looked for in DModule().TransformDir.
    void CheckFolders();
    bool ListSrcKmlFiles();
    bool ListFltResScnFiles();
    // The warning lines, each followed by CR LF.
    std::string WarningsText() const;

private:
    // What the results page would get from a scenario, read once (and kept in ResultReads when usable).
    TResultOf<bool> ResultScenarioUsable(const std::string& path);
};

// The results page's source panel inputs as the settings object's last folder check left them.
TResultSourceInputs ResultSourceInputsOf(const TGlobalOptions& options);

} // namespace zm
