// Zielmark's waypoints: launch sites (one missile each, TTesk) and targets (TTarget), made from the
// records of an imported KML file, and the pointing of a missile at a target.
#pragma once

#include "Unit_DM.h"

#include <string>
#include <vector>

namespace zm {

inline constexpr int MaxWaypointsPerKind = 10;
inline constexpr int MaxLaunchDelay = 100;

// One launch site and the missile fired from it. Delay, Realistic and Precise are the page's per-missile
// settings (the delay spinner, the "Realistic" box and the "Precise cut-off" box).
class TTesk {
public:
    std::string Name;
    std::string LatText;
    std::string LonText;
    long double Lat = 0;     // degrees, north positive
    long double Lon = 0;     // degrees, east positive
    long double Azimuth = 0; // launch azimuth to the target, degrees 0..360; 0 while unassigned
    long double Range = 0;   // metres to the target; 0 while unassigned
    std::string TargetName;  // empty while the missile has no target
    long double TargetLat = 0;
    long double TargetLon = 0;
    int Delay = 0; // launch delay, whole seconds 0..MaxLaunchDelay
    bool Realistic = true;
    // The engine stops when the fall predicted with drag and the Earth's rotation reaches the target
    // (the missile's PRECISE key); off, the missile flies its model's own cut-off.
    bool Precise = false;

    bool IsAssigned() const { return !TargetName.empty(); }
    // Clamped to 0..MaxLaunchDelay like the spinner.
    void SetDelay(int seconds);
};

class TTarget {
public:
    std::string Name;
    std::string LatText;
    std::string LonText;
    long double Lat = 0;
    long double Lon = 0;
    int LinkCount = 0; // missiles pointed at this name; recounted by TTargetingPage::RecountLinks
};

// A placemark that is no waypoint, and why.
enum class TLeftOutReason {
    NoShipName,    // a launch site whose name no ship line can carry
    NoCoordinates, // no "lon,lat" pair of numbers
    NotOnTheEarth, // numbers outside latitude -90..90 or longitude -180..180 (or not finite)
    NoPoint, // a launch site without a point (no coordinates, or empty ones): the user sees it in the file
};
struct TLeftOut {
    std::string Name;
    std::string Coordinates; // as the file gives them
    TLeftOutReason Reason = TLeftOutReason::NoShipName;
    bool operator==(const TLeftOut&) const = default;
};

// The two lists of the targeting page, each sorted by name (letter case ignored); indices are
// display positions.
class TWaypoints {
public:
    std::vector<TTesk> Tesks;
    std::vector<TTarget> Targets;
    int LeftOutTesks = 0;          // launch sites of the file beyond the first MaxWaypointsPerKind
    int LeftOutTargets = 0;        // targets likewise
    std::vector<TLeftOut> LeftOut; // placemarks that cannot be planned, in file order

    void Clear();
    // The missile whose Name equals name exactly, or -1.
    int FindTesk(std::string_view name) const;
    // Position of the first item whose name equals name, letter case ignored, or -1.
    int IndexOfTesk(std::string_view name) const;
    int IndexOfTarget(std::string_view name) const;
    // Points missile i at target j (display positions); j == -1 clears the assignment.
    // Out-of-range indices change nothing.
    void AssignTarget(int tesk, int target);
    bool AnyAssigned() const;
};

// Whether a launch site's name can stand in a scenario's ship line ("name:Teski"): a ':' would end the
// name early and a ';' begin a comment, and the simulator could not load the scenario.
bool IsShipName(std::string_view name);

// Latitude -90..90 and longitude -180..180 degrees, both finite.
bool IsPlaceOnEarth(long double lat, long double lon);

// Splits "lon,lat[,alt]" into the longitude and latitude texts; false without a comma.
bool SplitCoordinates(std::string_view coordinates, std::string& lonText, std::string& latText);

// Replaces the waypoints with those of the table's records: records without a name are skipped;
// placemarks without a "lon,lat" pair of numbers, with numbers that are no place on the Earth, and launch
// sites whose names are no ship names go to LeftOut; the first ten of each kind in file order are kept (the
// others are counted as left out), then both lists are sorted by name.
void LoadWaypoints(const TKmlTable& table, TWaypoints& waypoints);

} // namespace zm
