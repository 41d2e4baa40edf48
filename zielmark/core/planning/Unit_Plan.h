// A firing as Zielmark plans it, without any page: the missiles with their launch points, headings,
// targets, delays and models, the targets, the description, the vessel the camera follows and the date in
// UTC. The launch scenario is written from a plan; the targeting page edits one and zielmark-cli plan
// builds one directly.
#pragma once

#include "Unit_DM.h"
#include "Unit_Objects.h"
#include "Unit_Result.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// The planning problems that stop a save and the notes and advice beside them: one line each, without
// list marks or line ends; each front end sets them out its own way.
inline constexpr const char* WarnNoScenarioName = "Scenario file name is not specified!";
inline constexpr const char* WarnBadScenarioName = "Scenario file name is not valid: \"%s\"!";
// A name whose ".." parts (or a leading separator) lead out of the launch scenario folder.
inline constexpr const char* WarnScenarioNameOutside =
    "Scenario file name leads out of the scenario folder: \"%s\"!";
inline constexpr const char* WarnNoTargets = "No targets assgined!";
inline constexpr const char* WarnBadDate = "Date is not valid: \"%s\"!";
inline constexpr const char* WarnBadTime = "Time is not valid: \"%s\"!";
// A note, not a warning: the other launch sites can still be planned and saved.
inline constexpr const char* NoteLeftOutLaunchSite =
    "Launch site \"%s\" is left out: a vessel name cannot hold ':' or ';'!";
inline constexpr const char* NoteLaunchSiteWithoutPoint = "Launch site \"%s\" is left out: it has no point!";
inline constexpr const char* NoteNoCoordinates =
    "Placemark \"%s\" is left out: its coordinates \"%s\" are not longitude,latitude!";
inline constexpr const char* NoteNotOnTheEarth =
    "Placemark \"%s\" is left out: its coordinates \"%s\" are no "
    "place on the Earth (latitude -90..90, longitude -180..180)!";

using TLines = std::vector<std::string>;
// The lines as the page's warnings panel sets them out: each after "- " and ending in CR LF.
std::string BulletedLines(const TLines& lines);

// Returns a uniformly drawn integer 0..n-1 (n >= 1). Tests pass their own.
using TRandomInt = std::function<int(int n)>;
// A generator seeded from the clock, as the program uses it.
TRandomInt ClockSeededRandom();
// A generator with a fixed seed: the same draws every time.
TRandomInt SeededRandom(unsigned seed);

// A line from missile Tesk to target Target for the links image.
struct TLink {
    int Tesk = 0;
    int Target = 0;
};

struct TLaunchPlan {
    std::string KmlFileName;              // the KML file the waypoints come from, without folder
    std::vector<std::string> Description; // the scenario description lines
    TWaypoints Waypoints;                 // missiles (with target, delay and models) and targets
    std::string Focus;                    // the vessel the camera follows; empty: none
    double ScenarioDateUtc = 0;           // day number, UTC
};

// Imports the KML file at path into the waypoints (Ok, Empty without placemarks, or Failed, as
// dm.ImportKml); the waypoints are replaced only when the import succeeds.
TResult ImportWaypoints(const std::string& path, TWaypoints& waypoints, TDModule& dm = DModule());

// Recounts the targets' LinkCount and gives the lines between missiles and their targets.
std::vector<TLink> RecountLinks(TWaypoints& waypoints);
// Random delays 0..9 and targets, a target of its own for every missile while targets last. Without
// targets the missiles get their delays and stay unassigned.
void Randomize(TWaypoints& waypoints, const TRandomInt& random);
// Every missile's "Realistic" flag, and every missile's precise cut-off.
void SetAllRealistic(TWaypoints& waypoints, bool realistic);
void SetAllPrecise(TWaypoints& waypoints, bool precise);

// The assigned missiles in list order, and the one the camera follows unless the user picks another: the
// first with the longest delay (empty when none is assigned).
std::vector<std::string> AssignedMissiles(const TWaypoints& waypoints);
std::string DefaultFocus(const TWaypoints& waypoints);

// What stops a save: the scenario name (missing, not valid, leading out of the folder) and no missile with
// a target.
TLines ScenarioNameWarnings(const std::string& scenarioName);
TLines TargetWarnings(const TWaypoints& waypoints);
// The placemarks of the file that cannot be planned, one note each.
TLines LeftOutNotes(const TWaypoints& waypoints);
// Waypoints left out beyond the first ten of a kind, and missiles whose model cannot reach their target or
// hits it badly: advice that lets the save go ahead.
TLines PlanAdvice(const TWaypoints& waypoints);

// The date and time fields of a day number (UTC) shown as UTC or as local time (UTC = local + zoneMinutes).
struct TShownDate {
    std::string Date; // "DD.MM.YYYY"
    std::string Time; // "HH:MM"
};
TShownDate ShownDate(double dateUtc, bool showUtc, int zoneMinutes);
// The day number (UTC) the fields give; false (dateUtc unchanged) when they do not parse.
bool ParseShownDate(const TShownDate& shown, bool showUtc, int zoneMinutes, double& dateUtc);
// The fields that do not parse: a save would keep the last valid date instead.
TLines ShownDateWarnings(const TShownDate& shown);

} // namespace zm
