#include "Unit_Objects.h"

#include "Unit_Functions.h"

#include <algorithm>
#include <cmath>

namespace zm {

void TTesk::SetDelay(int seconds) {
    Delay = std::clamp(seconds, 0, MaxLaunchDelay);
}

void TWaypoints::Clear() {
    Tesks.clear();
    Targets.clear();
    LeftOutTesks = 0;
    LeftOutTargets = 0;
    LeftOut.clear();
}

bool IsShipName(std::string_view name) {
    return name.find_first_of(":;\r\n") == std::string_view::npos;
}

int TWaypoints::FindTesk(std::string_view name) const {
    for (size_t i = 0; i < Tesks.size(); ++i)
        if (Tesks[i].Name == name) return static_cast<int>(i);
    return -1;
}

int TWaypoints::IndexOfTesk(std::string_view name) const {
    for (size_t i = 0; i < Tesks.size(); ++i)
        if (SameText(Tesks[i].Name, name)) return static_cast<int>(i);
    return -1;
}

int TWaypoints::IndexOfTarget(std::string_view name) const {
    for (size_t i = 0; i < Targets.size(); ++i)
        if (SameText(Targets[i].Name, name)) return static_cast<int>(i);
    return -1;
}

void TWaypoints::AssignTarget(int tesk, int target) {
    if (tesk < 0 || tesk >= static_cast<int>(Tesks.size()) || target < -1 ||
        target >= static_cast<int>(Targets.size()))
        return;
    TTesk& m = Tesks[static_cast<size_t>(tesk)];
    if (target == -1) {
        m.TargetName.clear();
        m.Range = 0;
        m.Azimuth = 0;
        return;
    }
    const TTarget& t = Targets[static_cast<size_t>(target)];
    m.TargetName = t.Name;
    const TGreatCircle gc =
        GreatCircleKmDeg(DegToRad(m.Lat), DegToRad(m.Lon), DegToRad(t.Lat), DegToRad(t.Lon));
    m.Range = gc.Distance * 1000.0L;
    m.Azimuth = gc.Azimuth;
    m.TargetLat = t.Lat;
    m.TargetLon = t.Lon;
}

bool TWaypoints::AnyAssigned() const {
    return std::any_of(Tesks.begin(), Tesks.end(), [](const TTesk& m) { return m.IsAssigned(); });
}

bool SplitCoordinates(std::string_view coordinates, std::string& lonText, std::string& latText) {
    const size_t comma = coordinates.find(',');
    if (comma == std::string_view::npos) return false;
    lonText = std::string(coordinates.substr(0, comma));
    const std::string_view rest = coordinates.substr(comma + 1);
    latText = std::string(rest.substr(0, rest.find(',')));
    return true;
}

bool IsPlaceOnEarth(long double lat, long double lon) {
    return std::isfinite(lat) && std::isfinite(lon) && lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180;
}

namespace {
// A launch site or target read from the table; each kind keeps at most MaxWaypointsPerKind, in file order,
// and counts the ones it leaves out.
template <class Waypoint>
void AddWaypoint(std::vector<Waypoint>& list, int& leftOut, const std::string& name,
                 const std::string& latText, const std::string& lonText, long double lat, long double lon) {
    if (list.size() >= static_cast<size_t>(MaxWaypointsPerKind)) {
        ++leftOut;
        return;
    }
    Waypoint w;
    w.Name = name;
    w.LatText = latText;
    w.LonText = lonText;
    w.Lat = lat;
    w.Lon = lon;
    list.push_back(std::move(w));
}
} // namespace

void LoadWaypoints(const TKmlTable& table, TWaypoints& waypoints) {
    waypoints.Clear();
    for (size_t i = 0; i < table.RecordCount(); ++i) {
        const std::string* name = table.FieldText(i, "name");
        const std::string* coordinates = table.FieldText(i, "coordinates");
        if (!name) continue;
        std::string lonText, latText;
        long double lat = 0, lon = 0;
        const auto leaveOut = [&](TLeftOutReason why) {
            waypoints.LeftOut.push_back({*name, coordinates ? *coordinates : std::string(), why});
        };
        if (StartsWith(*name, TeskPrefix) &&
            (!coordinates || coordinates->find_first_not_of(" \t\r\n") == std::string::npos))
            leaveOut(TLeftOutReason::NoPoint); // named, not lost behind "no launch site"
        else if (!coordinates || !SplitCoordinates(*coordinates, lonText, latText) ||
                 !TryParseFloat(latText, lat) || !TryParseFloat(lonText, lon))
            leaveOut(TLeftOutReason::NoCoordinates);
        else if (!IsPlaceOnEarth(lat, lon))
            leaveOut(TLeftOutReason::NotOnTheEarth); // a scenario would carry it as another place or none
        else if (StartsWith(*name, TeskPrefix) && !IsShipName(*name))
            leaveOut(TLeftOutReason::NoShipName);
        else if (StartsWith(*name, TeskPrefix))
            AddWaypoint(waypoints.Tesks, waypoints.LeftOutTesks, *name, latText, lonText, lat, lon);
        else
            AddWaypoint(waypoints.Targets, waypoints.LeftOutTargets, *name, latText, lonText, lat, lon);
    }
    const auto byName = [](const auto& a, const auto& b) { return CompareText(a.Name, b.Name) < 0; };
    std::stable_sort(waypoints.Tesks.begin(), waypoints.Tesks.end(), byName);
    std::stable_sort(waypoints.Targets.begin(), waypoints.Targets.end(), byName);
}

} // namespace zm
