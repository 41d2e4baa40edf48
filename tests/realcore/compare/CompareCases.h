// The flights that the host comparison flies in both hosts, and the scenario that holds them.
#pragma once

#include <string>
#include <vector>

namespace hostcompare {

constexpr double kEarthRadius = 6.37101e6; // the mean radius both hosts give the Earth [m]
constexpr double kDeg = 3.14159265358979323846 / 180.0;

// A missile of one model from its pad toward a target at a range and azimuth.
struct MissileCase {
    std::string name;
    bool realistic = false;
    double lng = 0, lat = 0;   // pad [deg]
    double azimuth = 0;        // toward the target [deg]
    double range = 0;          // [m]
    double tlng = 0, tlat = 0; // target [deg]
    double delay = 0;          // launch delay after the O key [s]
    bool precise = false;      // the precise cut-off (PRECISE 1)
};

// A plain body of our own (HostProbe) in one of the situations that the missile's flight is made of.
struct ProbeCase {
    std::string name;
    std::string what;  // what it shows, for the table
    std::string state; // its host lines (STATUS, POS or RPOS, ...) and its own keys
};

struct CaseSet {
    std::vector<MissileCase> missiles;
    std::vector<ProbeCase> probes;
    double dateMjd = 60676.0625; // the scenario's start
};

// Both models, ranges 50 to 450 km, four directions, two latitudes.
std::vector<MissileCase> missileMatrix();
// One flight of each model: what the test flies.
std::vector<MissileCase> missileCheck();
// The drag-free ballistic body, the fall through the atmosphere, the lift-off on thrust, the spin.
std::vector<ProbeCase> probeCases();

// The scenario text (CR LF lines) with these vessels; the first vessel has the focus.
std::string scenarioText(const CaseSet& set);

// Great-circle distance [m] and the point at a distance along an azimuth, on a sphere of the Earth's radius.
double greatCircle(double lng1, double lat1, double lng2, double lat2); // degrees in
double bearing(double lng1, double lat1, double lng2, double lat2);     // degrees from north, 0..360
void pointAlong(double lng, double lat, double azimuth, double dist, double& outLng, double& outLat);

} // namespace hostcompare
