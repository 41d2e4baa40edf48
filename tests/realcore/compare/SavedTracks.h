// What the host comparison reads back from a saved state: each wreck's impact and track, each probe's track,
// and the pose of every vessel still landed.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace hostcompare {

struct TrackSample {
    double t = 0;               // seconds: the missile's mission second, the probe's simulation time
    double lng = 0, lat = 0;    // [rad]
    double alt = 0;             // [m]
    double pitch = 0, bank = 0; // probes only [rad]
};

struct SavedVessel {
    std::string className;
    std::vector<std::string> lines; // the block's lines, blanks in front removed
    bool hasImpact = false;
    double impactLng = 0, impactLat = 0; // wrecks [deg]
    double rangeActual = 0;              // wrecks [m]
    std::vector<TrackSample> track;
};

// The ship blocks of a saved state by vessel name; an unreadable file gives an empty map and a message.
std::map<std::string, SavedVessel> readSavedState(const std::string& path, std::string& error);

// The value of a block's line "KEY ..." (the rest of the line), empty when absent.
std::string lineValue(const SavedVessel& v, const std::string& key);

} // namespace hostcompare
