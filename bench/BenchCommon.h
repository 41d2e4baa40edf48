// Shared by the salvo benchmark and the reliability run: the installation root, missile ship blocks, the
// module's random generator, and stepping a world until its missiles have become wrecks.
#pragma once

#include "orbhost/World.h"

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// --root, else $ORB_ROOT, else the build's installation root.
std::filesystem::path ChooseRoot(const std::string& given);

struct MissilePlan {
    std::string name;
    double lat = 0, lon = 0, heading = 0; // launch site and azimuth, degrees
    double range = 0;                     // metres
    bool realistic = true;
    double reliability = 100; // percent
    int delay = 0;            // seconds after the O key
    std::string target = "Target";
    bool precise = false; // the PRECISE key: the cut-off from the predicted fall
};

// The target RANGE ahead of the launch site along the heading, on the mean sphere; degrees.
void TargetOf(const MissilePlan& m, double& lat, double& lon);
// The missile's ship block as the planning program writes it, with RELIABILITY added.
std::string ShipBlock(const MissilePlan& m);
std::string Scenario(const std::string& ships);

// Restarts the Teski module's generator (it re-seeds from the clock at every creation); false when the
// module is not loaded.
bool SeedMissileModule(const orb::World& world, unsigned seed);

// Ten launch sites in the desert, 50 to 470 km, both flight models, delays 0 to 9 s.
std::vector<MissilePlan> TenMissileSalvo();

size_t CountClass(const orb::World& world, const std::string& className);

} // namespace bench
