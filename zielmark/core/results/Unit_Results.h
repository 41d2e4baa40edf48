// Flight results read back from the simulator's saved scenarios, and the rules of the results page that
// need no window: which source is read, which result names are offered, what a save is called.
#pragma once

#include "Unit_GeoPoint.h"
#include "Unit_Result.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// Entries of each track array: the wreck writes at most MaxTrackPoints (FlightResult.h) points, indices
// 0..399; one index beyond still fits, as Zielmark always took it.
constexpr int TrackArraySize = 401;

// One flight result: the figures of one wreck block of a scenario.
struct TTeskWreck {
    std::string Name; // the wreck ship's name, as in the scenario
    long double LatitudeLast = 0;
    long double LongitudeLast = 0;
    long double MaxAltitude = 0;
    long double FlightTime = 0;
    long double ImpactVelocity = 0;
    long double LatitudeTarget = 0;
    long double LongitudeTarget = 0;
    long double RangeActual = 0;
    long double AzimuthActual = 0;
    long double RangeMiss = 0;
    long double AzimuthMiss = 0;
    long double LateralMiss = 0;
    long double LongitudalMiss = 0;
    long double PlannedRange = 0; // metres, launch site to target, computed when the block ends
    long double LaunchAz = 0;     // degrees in [0, 360), launch site to target, computed when the block ends
    long double LatitudeLaunch = 0;
    long double LongitudeLaunch = 0;
    // The simulator's modified Julian date of the first ignition (MJD_LAUNCH); wrecks saved before the
    // missiles kept it do not give it (see Gives).
    long double LaunchMJD = 0;
    std::string Target;
    std::string MissileName; // Name before "-Wreck"; empty when Name has no "-Wreck"
    std::string Failure;
    int32_t TrackCount = 0;                             // index of the last TRACK line read, plus one
    std::array<long double, TrackArraySize> TrackLon{}; // degrees
    std::array<long double, TrackArraySize> TrackLat{}; // degrees
    std::array<long double, TrackArraySize> TrackAlt{}; // metres, as stored
    std::array<int32_t, TrackArraySize> TrackPhase{};   // 1 burning, 2 burning with contrail, 3 engine off

    // The number fields the block gave (PlannedRange and LaunchAz when it gave launch site and target): a
    // figure the block does not give is missing, not zero. The reader starts each block with none; a wreck
    // made in code gives every figure.
    uint32_t Given = ~uint32_t(0);
    bool Gives(long double TTeskWreck::*field) const;
    void MarkGiven(long double TTeskWreck::*field);

    // The launch site and the target as places, for the great circle between them.
    TGeoPoint LaunchPoint() const { return TGeoPoint::FromDegrees(LatitudeLaunch, LongitudeLaunch); }
    TGeoPoint TargetPoint() const { return TGeoPoint::FromDegrees(LatitudeTarget, LongitudeTarget); }
    // Track point i: the block gives it in radians; the arrays keep the degrees the KML file is written in.
    void SetTrackPoint(int i, const TGeoPoint& point) {
        TrackLon[static_cast<size_t>(i)] = point.LonDeg();
        TrackLat[static_cast<size_t>(i)] = point.LatDeg();
    }

    // The results list's caption: missile, " to ", target.
    std::string Caption() const { return MissileName + " to " + Target; }
};

// A scenario holds one wreck per flight; more blocks than this stop the read (a hostile file cannot
// exhaust the memory with empty blocks).
constexpr size_t MaxWreckBlocks = 5000;

// The results list of the "Orbiter to Google Earth" page.
struct TOrbResults {
    std::vector<TTeskWreck> Wrecks; // in file order
    int Selected = -1;              // index into Wrecks, -1 when nothing is selected

    const TTeskWreck* SelectedWreck() const {
        return Selected >= 0 && Selected < static_cast<int>(Wrecks.size()) ? &Wrecks[Selected] : nullptr;
    }
};

// Rebuilds `results` from the scenario at `path`:
//   Ok      the list was rebuilt; the first entry is selected when there is one;
//   Missing no such file (or a folder): nothing was read, the list is as it was;
//   Failed  the file cannot be read, or a bad number or TRACK line stopped the read ("file: line N: cause"):
//           the wrecks finished before it stay, none selected.
// With `bytes` given it receives the file's bytes the wrecks were read from (empty when none were read), so
// that what is made of the results (a KML file, a copy of the scenario) comes from the same firing.
TResult LoadOrbResults(const std::string& path, TOrbResults& results, std::string* bytes = nullptr);

// Reads wreck blocks from a scenario's text (LF or CR LF lines); the work of LoadOrbResults after the file
// is read. `fileName` only names the source in an error message.
TResult ReadOrbResultText(std::string_view text, const std::string& fileName, TOrbResults& results);

// Whether the reader gets wrecks from the scenario (the Value): all its blocks, or those before a bad line.
// The Message says why the read stops early ("file: line N: cause"), empty when it reads to the end. The
// folder check uses it, so what it calls usable is what the results page and zielmark-cli results read.
TResultOf<bool> OrbResultsUsable(const std::string& path);

// The scenario's ship list holds at least one ":TeskiWreck" ship and no ":Teski" ship (header lines compared
// exactly from the first colon). Fails (Value false) when the file cannot be read.
TResultOf<bool> IsFlightResultScenario(const std::string& path);
// The same test of a scenario's text.
bool IsFlightResultScenarioText(std::string_view text);

// ---- The source panel: recent flight or a previous one ----

// What the source panel is filled from (the settings object's folder check results).
struct TResultSourceInputs {
    bool CurrentStateUsable = false;
    std::string CurrentStateFile;
    std::string FltResDir; // ends in the folder separator
    std::vector<std::string> FltResScnFiles;
    std::string NewestFltResScnFile;
};

struct TResultSource {
    bool RecentEnabled = false;   // "Recent flight"
    bool PreviousEnabled = false; // "Previous flights"
    bool RecentChecked = false;
    bool PreviousChecked = false;
    std::vector<std::string> SavedFiles; // the list of saved result scenarios
    int SavedSelected = -1;              // index into SavedFiles, -1 when none
};

// Fills the source panel: the recent flight wins when both sources exist; the newest saved copy is
// preselected (the first when the newest is not in the list).
TResultSource ChooseResultSource(const TResultSourceInputs& in);

// The file to read for the checked source: the current state, or the results folder followed by the
// selected saved scenario (the folder alone when none is selected, which LoadOrbResults does not read).
std::string ResultSourcePath(const TResultSource& source, const TResultSourceInputs& in);

// ---- Result names in the results folder ----

using TFilePredicate = std::function<bool(const std::string& path)>;

// The names the save box offers: "*.kml" files of `dir` that pass `isResultKml` (but for a replay beside
// its result, "NAME-replay.kml" beside "NAME.kml"), then "*.scn" files that pass `isFlightResultScenario`,
// each without extension, in the folder listing's order (by name).
// `dir` ends in a separator.
std::vector<std::string> ListResultNames(const std::string& dir, const TFilePredicate& isResultKml,
                                         const TFilePredicate& isFlightResultScenario);
// The same with the program's tests: IsResultKml and IsFlightResultScenario (FillResultFiles).
std::vector<std::string> ListResultNames(const std::string& dir);

// The save name of a typed name: its extension replaced by ".kml" (or ".scn" for the scenario copy), or
// appended when it has none (ChangeFileExt of Unit_Files): "flight7" and "flight7.scn" give "flight7.kml".
// After a save the box shows the name without its extension:
std::string ResultNameOf(const std::string& savedName);

// The confirmation questions of a save, worded by whether the target already exists.
std::string GEFileQuestion(bool exists);
std::string ScenarioCopyQuestion(bool exists);

// Copies the current-state scenario to `target` through a temporary file, replacing `target` only when
// the copy is complete. A failure names the file.
TResult CopyScenarioFile(const std::string& source, const std::string& target);

} // namespace zm
