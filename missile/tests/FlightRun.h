// One whole flight in orbhost: a missile on a pad at Woomera, launched by the O key, flown until the wreck
// takes over at ground contact; the figures of the flight as the wreck keeps them.
#pragma once

#include "Teski.h"
#include "TeskiWreck.h"
#include "orbhost/World.h"

#include <cstdio>
#include <functional>
#include <string>

namespace missiletest {

struct FlightFigures {
    bool realistic = false;
    double commandedRange = 0; // m
    double burnTime = -1;      // s of mission time at the end of powered flight
    double apogee = 0;         // m
    double actualRange = 0;    // m, launch point to ground contact
    double miss = 0;           // m, target to ground contact
    double longitudinalMiss = 0, lateralMiss = 0;
    double flightTime = 0;
    bool landed = false; // the flight ended in a ground impact
    bool completed = false;
};

// afterCreate runs once the missile exists, before the key (a test seeds the module's generator there).
inline FlightFigures FlyOnce(orb::World& world, bool realistic, double range, double headingDeg = 300.0,
                             const std::function<void()>& afterCreate = {}) {
    FlightFigures f;
    f.realistic = realistic;
    f.commandedRange = range;
    const std::string lines =
        "STATUS Landed Earth\nPOS 136.52 -30.95\nHEADING " + std::to_string(headingDeg) +
        "\nFUEL 1.000\n------\nRANGE " + std::to_string(range) + "\nLAUNCHDELAY 0\nREALISTIC " +
        (realistic ? "1" : "0") + "\nLATITUDE_TARGET 0\nLONGITUDE_TARGET 0\nRELIABILITY 100\n";
    world.createVessel("F", "Teski", lines);
    if (afterCreate) afterCreate();
    world.sendKey(OAPI_KEY_O);
    f.completed = world.runUntil(
        [&] {
            const Teski* m = world.moduleAs<Teski>("F");
            if (!m) return true;
            if (m->launched && !m->engineBurning && f.burnTime < 0) f.burnTime = m->met;
            return false;
        },
        1500);
    const TeskiWreck* w = world.moduleAs<TeskiWreck>("F-Wreck");
    if (!w) {
        f.completed = false;
        return f;
    }
    const FlightResult& r = w->FlightResult;
    f.apogee = r.MAX_ALTITUDE;
    f.actualRange = r.RANGE_ACTUAL;
    f.miss = r.RANGE_MISS;
    f.longitudinalMiss = r.LONGITUDAL_MISS;
    f.lateralMiss = r.LATERAL_MISS;
    f.flightTime = r.FLIGHT_TIME;
    f.landed = r.LANDED == 1;
    return f;
}

inline void PrintFlightHeader() {
    std::printf("%-9s %9s %8s %9s %10s %9s %6s %10s %9s %8s\n", "model", "range km", "burn s", "apogee km",
                "actual km", "miss km", "miss %", "long. km", "lat. km", "time s");
}

inline void PrintFlight(const FlightFigures& f) {
    std::printf("%-9s %9.1f %8.2f %9.1f %10.2f %9.2f %6.2f %10.2f %9.2f %8.1f\n",
                f.realistic ? "realistic" : "simple", f.commandedRange / 1000, f.burnTime, f.apogee / 1000,
                f.actualRange / 1000, f.miss / 1000, 100 * f.miss / f.commandedRange,
                f.longitudinalMiss / 1000, f.lateralMiss / 1000, f.flightTime);
}

} // namespace missiletest
