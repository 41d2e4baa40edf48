// The state and rules of the "Google Earth to Orbiter" page without its widgets: waypoints with
// each missile's delay, "Realistic" and "Precise cut-off" flags, the description lines, the focus list, the
// scenario date in UTC and its local/UTC display, the scenario list of the chosen KML file, the warnings and
// Randomize. The GUI binds its widgets to these fields and calls these operations.
#pragma once

#include "Unit_DM.h"
#include "Unit_Objects.h"
#include "Unit_Plan.h"
#include "Unit_Result.h"

#include <string>
#include <vector>

namespace zm {

// The description box's prompt while it is empty: shown, never content (an empty description saves no line).
inline constexpr const char* DefaultScenarioDescription = "Type scenario description here";

// What reading a launch scenario back into the page found: Failed when the file could not be read (the page
// is unchanged); else the Value lists the values that could not be read ("file", line N: ...).
using TScenarioReadResult = TResultOf<std::vector<std::string>>;

// The page edits a plan: the plan's fields are the page's missiles, targets, description, date and focus;
// beside them the page keeps what only its widgets need.
class TTargetingPage : public TLaunchPlan {
public:
    std::string KmlDescription;             // the KML file's own description
    std::vector<std::string> ScenarioFiles; // scenarios made from the chosen KML file
    std::string ScenarioFileName;           // chosen or typed scenario name
    std::vector<std::string> FocusList;     // assigned missiles, list order
    int FocusIndex = -1;                    // the entry of FocusList that is the plan's Focus, -1 none
    bool FlipAllChecked = true;             // "Flip all checkboxes"
    bool ShowUtc = false;                   // "UTC" chosen instead of "Local"
    double NowUtc = 0;
    int ZoneMinutes = 0; // UTC = local + ZoneMinutes for the "Local" display
    int SystemBiasMinutes = 0;
    std::string DateText = "30.12.1899"; // the date field, "DD.MM.YYYY" (day number 0 at first)
    std::string TimeText = "00:00";      // the time field, "HH:MM"
    TLines Warnings;                     // what stops a save; saving waits for none
    TLines Advice;                       // shown with the warnings; saving goes ahead
    TLines Notes; // placemarks of the KML file that are left out; they do not stop a save
    std::vector<std::string> ScenarioText; // the scenario built, read or saved
    TScenarioReadResult ScenarioRead;      // what the last read of a chosen scenario found (Ok: none read)
    // The scenario as the page would save it when it was last loaded, read back or saved (the name aside):
    // what the user has not saved is what differs from it.
    std::vector<std::string> UnchangedText;

    bool FocusEnabled() const { return !FocusList.empty(); }
    std::string FocusName() const { return Focus; }
    bool SaveEnabled() const { return Warnings.empty(); }
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

    // Takes a plan made elsewhere: its missiles, targets, description, date and focus; the links, the focus
    // list, the date fields and the warnings follow.
    void TakePlan(const TLaunchPlan& plan);

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
    // Selects entry index of the focus list; none when there is no such entry.
    void SelectFocusAt(int index);
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
    // Rebuilds Warnings, and Advice: waypoints left out of the file, and missiles whose model cannot reach
    // their target or hits it badly.
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
