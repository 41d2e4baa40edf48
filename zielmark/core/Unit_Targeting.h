// The state and rules of the "Google Earth to Orbiter" page without its widgets: waypoints with
// each missile's delay, "Realistic" and "Precise cut-off" flags, the description lines, the focus list, the
// scenario date in UTC and its local/UTC display, the scenario list of the chosen KML file, the warnings and
// Randomize. The GUI binds its widgets to these fields and calls these operations.
#pragma once

#include "Unit_DM.h"
#include "Unit_Objects.h"
#include "Unit_Result.h"

#include <functional>
#include <string>
#include <vector>

namespace zm {

// The description box's prompt while it is empty: shown, never content (an empty description saves no line).
inline constexpr const char* DefaultScenarioDescription = "Type scenario description here";
inline constexpr const char* WarnNoScenarioName = "- Scenario file name is not specified!\r\n";
inline constexpr const char* WarnBadScenarioName = "- Scenario file name is not valid: \"%s\"!\r\n";
// A name whose ".." parts (or a leading separator) lead out of the launch scenario folder.
inline constexpr const char* WarnScenarioNameOutside =
    "- Scenario file name leads out of the scenario folder: \"%s\"!\r\n";
inline constexpr const char* WarnNoTargets = "- No targets assgined!\r\n";
inline constexpr const char* WarnBadDate = "- Date is not valid: \"%s\"!\r\n";
inline constexpr const char* WarnBadTime = "- Time is not valid: \"%s\"!\r\n";
// A note, not a warning: the other launch sites can still be planned and saved.
inline constexpr const char* NoteLeftOutLaunchSite =
    "- Launch site \"%s\" is left out: a vessel name cannot hold ':' or ';'!\r\n";
inline constexpr const char* NoteLaunchSiteWithoutPoint =
    "- Launch site \"%s\" is left out: it has no point!\r\n";
inline constexpr const char* NoteNoCoordinates =
    "- Placemark \"%s\" is left out: its coordinates \"%s\" are not longitude,latitude!\r\n";
inline constexpr const char* NoteNotOnTheEarth =
    "- Placemark \"%s\" is left out: its coordinates \"%s\" are no "
    "place on the Earth (latitude -90..90, longitude -180..180)!\r\n";

// Returns a uniformly drawn integer 0..n-1 (n >= 1). Tests pass their own.
using TRandomInt = std::function<int(int n)>;
// A generator seeded from the clock, as the program uses it.
TRandomInt ClockSeededRandom();
// A generator with a fixed seed: the same draws every time.
TRandomInt SeededRandom(unsigned seed);

// What reading a launch scenario back into the page found: Failed when the file could not be read (the page
// is unchanged); else the Value lists the values that could not be read ("file", line N: ...).
using TScenarioReadResult = TResultOf<std::vector<std::string>>;

// A line from missile Tesk to target Target for the links image.
struct TLink {
    int Tesk = 0;
    int Target = 0;
};

class TTargetingPage {
public:
    TWaypoints Waypoints;
    std::string KmlFileName;                // the chosen KML file, without folder
    std::string KmlDescription;             // the KML file's own description
    std::vector<std::string> Description;   // the scenario description lines
    std::vector<std::string> ScenarioFiles; // scenarios made from the chosen KML file
    std::string ScenarioFileName;           // chosen or typed scenario name
    std::vector<std::string> FocusList;     // assigned missiles, list order
    int FocusIndex = -1;                    // selected entry of FocusList, -1 none
    bool FlipAllChecked = true;             // "Flip all checkboxes"
    bool ShowUtc = false;                   // "UTC" chosen instead of "Local"
    double ScenarioDateUtc = 0;             // day number, UTC
    double NowUtc = 0;
    int ZoneMinutes = 0; // UTC = local + ZoneMinutes for the "Local" display
    int SystemBiasMinutes = 0;
    std::string DateText = "30.12.1899"; // the date field, "DD.MM.YYYY" (day number 0 at first)
    std::string TimeText = "00:00";      // the time field, "HH:MM"
    std::string WarningsText;            // warning lines, each ending in CR LF; saving waits for none
    std::string AdviceText;              // lines of advice shown with the warnings; saving goes ahead
    std::string NotesText; // lines about the KML file that do not stop a save, each ending in CR LF
    std::vector<std::string> ScenarioText; // the scenario built, read or saved
    TScenarioReadResult ScenarioRead;      // what the last read of a chosen scenario found (Ok: none read)
    // The scenario as the page would save it when it was last loaded, read back or saved (the name aside):
    // what the user has not saved is what differs from it.
    std::vector<std::string> UnchangedText;

    bool FocusEnabled() const { return !FocusList.empty(); }
    std::string FocusName() const;
    bool SaveEnabled() const { return WarningsText.empty(); }
    // Whether assignments, delays, flags, description, focus or date differ from what was last loaded, read
    // back or saved: the work a new file, a read-back or closing would throw away.
    bool HasUnsavedChanges() const;
    // What the page shows now counts as saved (after a load, a read-back or a save).
    void MarkUnchanged();

    // Empties the page: no waypoints, no scenarios, an empty description, date = now (UTC).
    void Clear(double nowLocal);
    // Clears the page and imports folder + fileName: waypoints, description and the zone of the
    // alphabetically first missile. Does not fill the scenario list (FillScenarioFileList does).
    // Ok, Empty (no placemarks) or Failed, as DModule().ImportKml.
    TResult LoadKml(const std::string& folder, const std::string& fileName, double nowLocal,
                    TDModule& dm = DModule());

    // Points missile i at target j (-1 clears) and rebuilds the warnings.
    void AssignTarget(int tesk, int target);
    // Drop of the selected missile on target j (-1: below the last item): assign, count links and
    // refill the focus list. Nothing happens without a selected missile (tesk < 0).
    void DropOnTarget(int tesk, int target);
    // Recounts the targets' LinkCount and gives the lines between missiles and their targets.
    std::vector<TLink> RecountLinks();
    // Assigned missiles in list order; preselects the first with the longest delay.
    void FillFocusList();
    // Selects the entry equal to name; none when it is not in the list.
    void SelectFocus(std::string_view name);
    // Random delays 0..9 and targets, a target of its own for every missile while targets last.
    // Without targets the missiles get their delays and stay unassigned.
    void Randomize(const TRandomInt& random);
    // "Flip all checkboxes": every missile's "Realistic" flag takes the box's state.
    void SetAllRealistic(bool checked);
    // One missile's "Realistic" box; the advice follows the model.
    void SetRealistic(int tesk, bool realistic);
    // One missile's precise cut-off, and every missile's; the advice follows.
    void SetPrecise(int tesk, bool precise);
    void SetAllPrecise(bool precise);
    // Rebuilds WarningsText, and AdviceText: waypoints left out of the file, and missiles whose model
    // cannot reach their target or hits it badly.
    void UpdateGEtoOrbWarnings();

    // Shows ScenarioDateUtc in DateText/TimeText, as UTC or as local time.
    void OrbDateTimeToGUI();
    // Takes DateText/TimeText into ScenarioDateUtc; false (date unchanged) when they do not parse.
    bool DateTimeGUItoUTC();
    // Switches the display between "Local" and "UTC"; the stored date stays.
    void SetShowUtc(bool utc);
};

// The KML file the page selects when its file list is filled: the last chosen one when it is listed
// (letter case ignored), else the newest, else none (empty).
std::string PreselectedSourceKml(const std::vector<std::string>& files, const std::string& mru,
                                 const std::string& newest);

} // namespace zm
