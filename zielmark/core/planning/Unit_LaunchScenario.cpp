#include "Unit_LaunchScenario.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"

#include "KeyGrammar.h"
#include "MissileBlockKeys.h"
#include "VesselClasses.h"

namespace zm {

namespace {

// A text inserted into one line must not break it into several (a name read from KML may hold
// line breaks), which would corrupt the scenario's structure.
std::string OneLine(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

// A line of a ship block: the key as the simulator writes it, then its value.
std::string KeyLine(const char* key, std::string_view value) {
    return std::string("  ") + key + " " + std::string(value);
}
std::string KeyLine(MissileKey key, std::string_view value) {
    return KeyLine(MissileKeyName(key), value);
}

// Length up to the value of a missile key as Zielmark reads it in a launch block; 0 when the line is not
// that key's. PRECISE is read in any letter case, as the missile reads it (a user may have typed it).
size_t MissileValueAt(std::string_view line, MissileKey key) {
    return MatchKey(line, MissileKeyName(key), key == MissileKey::PRECISE ? SavedKeysAnyCase : SavedKeys);
}

} // namespace

std::vector<std::string> PreciseMissileNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    std::string ship; // the missile whose block is being read, empty outside one
    bool inShips = false;
    for (const std::string& line : lines) {
        if (line == "BEGIN_SHIPS") inShips = true;
        if (line == "END_SHIPS") inShips = false;
        if (!inShips) continue;
        if (const size_t colon = line.find(':');
            colon != std::string::npos && line.substr(colon) == TeskiShipTag) {
            ship = line.substr(0, colon);
        } else if (line == "END") {
            ship.clear();
        } else if (const size_t at = MissileValueAt(line, MissileKey::PRECISE);
                   !ship.empty() && at != 0 && StrToIntDef(std::string_view(line).substr(at), 0) != 0) {
            names.push_back(ship);
            ship.clear(); // named once, however often the block repeats the key
        }
    }
    return names;
}

std::vector<std::string> LaunchScenarioLines(const TLaunchPlan& plan) {
    std::vector<std::string> t;
    const std::string focus = OneLine(plan.Focus);
    t.push_back("BEGIN_DESC");
    for (const auto& line : plan.Description)
        t.push_back(OneLine(line));
    t.push_back(std::string(GeneratedFromMarker) + OneLine(plan.KmlFileName) + " ===");
    t.insert(t.end(), {"END_DESC", "", "BEGIN_ENVIRONMENT", "  System Sol"});
    std::string mjd = FormatFixed(DateTimeToMjd(plan.ScenarioDateUtc), 12);
    if (mjd.size() < 5) mjd.insert(0, 5 - mjd.size(), ' ');
    t.push_back("  Date MJD " + mjd);
    t.insert(t.end(), {"END_ENVIRONMENT",
                       "",
                       "BEGIN_FOCUS",
                       "  Ship " + focus,
                       "END_FOCUS",
                       "",
                       "BEGIN_CAMERA",
                       "  TARGET " + focus,
                       "  MODE Extern",
                       "  POS 4.00 -114.61 -45.56",
                       "  TRACKMODE GlobalFrame",
                       "  FOV 50.00",
                       "END_CAMERA",
                       "",
                       "BEGIN_HUD",
                       "  TYPE Surface",
                       "END_HUD",
                       "",
                       "BEGIN_MFD Right",
                       "  TYPE Surface",
                       "  SPDMODE 1",
                       "END_MFD",
                       "",
                       "BEGIN_SHIPS"});
    for (const auto& m : plan.Waypoints.Tesks) {
        if (!m.IsAssigned()) continue;
        t.push_back(OneLine(m.Name) + ":" + TeskiClassName);
        t.push_back(KeyLine(HostKeyStatus, "Landed Earth"));
        t.push_back(KeyLine(HostKeyPosition, FormatFixed(m.Lon, 13) + " " + FormatFixed(m.Lat, 13)));
        t.push_back(KeyLine(HostKeyHeading, FormatFixed(m.Azimuth, 4)));
        t.push_back(KeyLine(HostKeyFuel, "1.000"));
        t.push_back(std::string("  ") + MissileSeparator);
        t.push_back(KeyLine(MissileKey::RANGE, FormatFixed(m.Range, 1)));
        t.push_back(KeyLine(MissileKey::LAUNCHDELAY, FormatInt(m.Delay)));
        t.push_back(KeyLine(MissileKey::REALISTIC, m.Realistic ? "1" : "0"));
        t.push_back(KeyLine(MissileKey::LATITUDE_TARGET, FormatFixed(m.TargetLat, 13)));
        t.push_back(KeyLine(MissileKey::LONGITUDE_TARGET, FormatFixed(m.TargetLon, 13)));
        t.push_back(KeyLine(MissileKey::TARGET, OneLine(m.TargetName)));
        // Last, where the missile saves it too; a missile without it flies and saves as it always did.
        if (m.Precise) t.push_back(KeyLine(MissileKey::PRECISE, "1"));
        t.push_back("END");
    }
    t.push_back("END_SHIPS");
    return t;
}

void BuildLaunchScenario(TTargetingPage& page) {
    page.ScenarioText = LaunchScenarioLines(page);
}

// The two belong to the page; they live here beside the scenario they compare.
bool TTargetingPage::HasUnsavedChanges() const {
    return LaunchScenarioLines(*this) != UnchangedText;
}

void TTargetingPage::MarkUnchanged() {
    UnchangedText = LaunchScenarioLines(*this);
}

std::string LaunchScenarioFileText(const TTargetingPage& page) {
    return JoinLinesCrLf(page.ScenarioText);
}

std::string ScenarioFileNameFor(const std::string& name) {
    return ChangeFileExt(name, ".scn");
}

TScenarioReadResult ReadLaunchScenario(TTargetingPage& page, const std::string& path) {
    std::vector<std::string> lines;
    if (TResult read = ReadTextLines(path, lines); !read.Ok()) return read;
    TScenarioReadResult result;
    page.ScenarioText = lines;

    page.Description.clear();
    for (auto& m : page.Waypoints.Tesks) {
        m.TargetName.clear();
        m.Range = 0;
        m.Azimuth = 0;
        m.Delay = 0;
        m.Realistic = true;
        m.Precise = false;
    }

    bool inDesc = false, inFocus = false, inShip = false;
    std::string focusName;
    int current = -1; // the missile of the ship block being read
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        // Description.
        if (line.find("BEGIN_DESC") != std::string::npos) {
            inDesc = true;
        } else if (inDesc) {
            if (line == "END_DESC") {
                inDesc = false;
                // Earlier versions saved the box's prompt as the description when the user typed none.
                if (page.Description.size() == 1 && page.Description[0] == DefaultScenarioDescription)
                    page.Description.clear();
            } else if (line.find(GeneratedFromMarker) == std::string::npos) {
                page.Description.push_back(line);
            }
        }
        // Focus.
        if (line.find("BEGIN_FOCUS") != std::string::npos) {
            inFocus = true;
        } else if (inFocus) {
            if (line == "END_FOCUS")
                inFocus = false;
            else if (line.find("Ship") != std::string::npos)
                focusName = line.size() > 7 ? line.substr(7) : std::string();
        }
        // Date.
        if (const size_t p = line.find("Date MJD"); p != std::string::npos) {
            double mjd = 0;
            if (line.size() > p + 8 && TryParseFloat(std::string_view(line).substr(p + 8), mjd))
                page.ScenarioDateUtc = MjdToDateTime(mjd);
            else
                result.Value.push_back("\"" + path + "\" line " + std::to_string(n + 1) +
                                       ": the date is not a number; the date is kept");
        }
        // Ships.
        if (const size_t p = line.find(":Tesk"); p != std::string::npos) {
            // The block changes exactly the missile of that name; another that differs only in letter
            // case is left alone.
            current = page.Waypoints.FindTesk(std::string_view(line).substr(0, p));
            if (current >= 0) inShip = true;
        } else if (inShip) {
            if (line == "END") {
                inShip = false;
                current = -1;
            } else if (current >= 0) {
                TTesk& m = page.Waypoints.Tesks[static_cast<size_t>(current)];
                const std::string_view text = line;
                if (const size_t at = MissileValueAt(text, MissileKey::LAUNCHDELAY)) {
                    m.SetDelay(StrToIntDef(text.substr(at), 0));
                } else if (const size_t at = MissileValueAt(text, MissileKey::REALISTIC)) {
                    // Past the key without its blank, as Zielmark always read it.
                    m.Realistic = StrToIntDef(text.substr(at - 1), 0) > 0;
                } else if (const size_t at = MissileValueAt(text, MissileKey::PRECISE)) {
                    // As the missile reads it: any other whole number than 0 turns it on.
                    m.Precise = StrToIntDef(text.substr(at), 0) != 0;
                } else if (const size_t at = MissileValueAt(text, MissileKey::TARGET)) {
                    const int j = page.Waypoints.IndexOfTarget(text.substr(at));
                    if (j >= 0) page.Waypoints.AssignTarget(current, j);
                }
            }
        }
    }
    page.RecountLinks();
    page.OrbDateTimeToGUI();
    page.FillFocusList();
    if (!focusName.empty()) page.SelectFocus(focusName);
    page.UpdateGEtoOrbWarnings();
    page.MarkUnchanged();
    return result;
}

bool IsGeneratedFrom(const std::string& scenarioPath, const std::string& kmlFileName) {
    std::vector<std::string> lines;
    if (!ReadTextLines(scenarioPath, lines).Ok()) return false;
    for (const auto& line : lines) {
        if (line.find(GeneratedFromMarker) == std::string::npos) continue;
        std::string_view named = line.size() > 20 ? std::string_view(line).substr(20) : std::string_view();
        const size_t end = named.find(" ===");
        named = end == std::string_view::npos ? std::string_view() : named.substr(0, end);
        if (named == kmlFileName) return true;
    }
    return ExtractFileName(scenarioPath) == ChangeFileExt(kmlFileName, ".scn");
}

std::string ScenarioSavePath(const TTargetingPage& page, const std::string& orbScnDir) {
    return JoinPath(orbScnDir, ScenarioFileNameFor(page.ScenarioFileName));
}

TResultOf<std::string> SaveLaunchScenario(TTargetingPage& page, const std::string& orbScnDir,
                                          const TConfirm& confirm, std::string& mruEdited) {
    page.DateTimeGUItoUTC();
    BuildLaunchScenario(page);
    const std::string fileName = ScenarioFileNameFor(page.ScenarioFileName);
    const std::string path = ScenarioSavePath(page, orbScnDir);
    page.UpdateGEtoOrbWarnings();
    if (!page.SaveEnabled())
        return {TResult::Failure("Cannot save \"" + path + "\": " + BulletedLines(page.Warnings),
                                 TResultCode::Refused),
                path};
    if (!confirm || !confirm(FileExists(path) ? AskOverwrite : AskCreate))
        return {TResult::Outcome(TResultCode::Declined), path};
    if (TResult written = WriteFileAtomic(path, LaunchScenarioFileText(page)); !written.Ok())
        return {written, path};
    mruEdited = fileName;
    FillScenarioFileList(page, orbScnDir, mruEdited); // selects the saved file and reads it back
    page.MarkUnchanged();
    return {TResult::Success(), path};
}

void FillScenarioFileList(TTargetingPage& page, const std::string& orbScnDir, const std::string& mruEdited) {
    page.ScenarioFiles.clear();
    page.ScenarioFileName.clear();
    page.ScenarioRead = {};
    const std::string folder = orbScnDir.empty() ? std::string() : IncludeTrailingPathDelimiter(orbScnDir);
    std::string newest;
    long long newestTime = 0;
    bool haveNewest = false;
    for (const auto& e : ListFolderFiles(folder, ".scn")) {
        if (!IsGeneratedFrom(folder + e.Name, page.KmlFileName)) continue;
        page.ScenarioFiles.push_back(e.Name);
        if (!haveNewest || e.MTimeNs > newestTime) {
            newest = e.Name;
            newestTime = e.MTimeNs;
            haveNewest = true;
        }
    }
    // A scenario saved below the folder ("sub/plan7.scn") is offered too, once it is the one last edited.
    if (ExtractFilePath(mruEdited) != "" && StaysInFolder(mruEdited) && FileExists(folder + mruEdited) &&
        IsGeneratedFrom(folder + mruEdited, page.KmlFileName))
        page.ScenarioFiles.push_back(mruEdited);
    std::string chosen;
    if (!mruEdited.empty())
        for (const auto& f : page.ScenarioFiles)
            if (SameText(f, mruEdited)) {
                chosen = f;
                break;
            }
    if (chosen.empty() && haveNewest) chosen = newest;
    if (!chosen.empty()) ScenarioNameChanged(page, orbScnDir, chosen);
    page.UpdateGEtoOrbWarnings();
}

bool ScenarioNameReadsFile(const std::string& orbScnDir, const std::string& name) {
    return !name.empty() && StaysInFolder(name) && FileExists(JoinPath(orbScnDir, name));
}

const TScenarioReadResult& ScenarioNameChanged(TTargetingPage& page, const std::string& orbScnDir,
                                               const std::string& name) {
    page.ScenarioFileName = name;
    const std::string path = JoinPath(orbScnDir, name);
    page.ScenarioRead = {};
    if (ScenarioNameReadsFile(orbScnDir, name)) page.ScenarioRead = ReadLaunchScenario(page, path);
    page.UpdateGEtoOrbWarnings();
    return page.ScenarioRead;
}

} // namespace zm
