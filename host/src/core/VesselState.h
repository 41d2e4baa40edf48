// The host's default vessel state handling: the generic scenario lines (parse and write), the state records
// VESSELSTATUS / VESSELSTATUS2 (fill and apply).
#pragma once

#include "Orbitersdk.h"
#include "physics/Physics.h"

#include <cmath>
#include <string>

class Vessel;

namespace orb {

// Parses one generic line into a VESSELSTATUS2 (the default parser; unknown keys are ignored). Problems
// are recorded in v.parseErrors.
void parseDefaultLine(Vessel& v, const char* line, VESSELSTATUS2& vs);
// The obsolete parser into a VESSELSTATUS.
void parseDefaultLine(Vessel& v, const char* line, VESSELSTATUS& vs);
// A VESSELSTATUS2 prepared for a scenario load: version 2, port -1, every reset and list flag.
VESSELSTATUS2 scenarioStatus2();

void applyStatus(Vessel& v, const VESSELSTATUS& vs);
void applyStatus2(Vessel& v, const VESSELSTATUS2& vs);
void fillStatus(const Vessel& v, VESSELSTATUS& vs);
void fillStatus2(const Vessel& v, VESSELSTATUS2& vs);

// Largest values a scenario's state lines may hold: far beyond any flight around the Earth, far below
// overflow.
inline constexpr double kMaxScenarioDistance = 1e12; // metres: RPOS, ALT
inline constexpr double kMaxScenarioSpeed = 3e8;     // metres per second: RVEL
inline constexpr double kMaxScenarioAngle = 1e6; // degrees or degrees per second: POS, HEADING, AROT, VROT

// Whether a save of the body's state would load again; a state that is not a finite number would not. The
// world asks after every vessel's step, so the question is cheap.
inline bool scenarioCanHold(const phys::Body& b) {
    const auto within = [](const phys::Vec3& a, double limit) {
        return std::fabs(a.x) <= limit && std::fabs(a.y) <= limit && std::fabs(a.z) <= limit;
    };
    return b.landed || (within(b.pos, kMaxScenarioDistance) && within(b.vel, kMaxScenarioSpeed) &&
                        within(b.omega, kMaxScenarioAngle * PI / 180));
}
// What of the state a scenario could not hold ("velocity of 300000001 m/s is more than the 3e+08 m/s a
// scenario can hold", say), or empty when it can hold all of it.
std::string beyondScenarioLimits(const phys::Body& b);

// The generic lines of a vessel (STATUS, POS/HEADING/ALT/AROT or RPOS/RVEL/AROT/VROT, PRPLEVEL, THLEVEL).
void writeDefaultLines(const Vessel& v, std::string& out);

} // namespace orb
