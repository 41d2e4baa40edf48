// A dispersion: one launch plan flown many times. Collects each run's wrecks per missile, sorts the
// failures by kind and by the phase of flight they struck in, puts every impact into the missile's launch
// frame (metres along and across the launch azimuth, about the target) and computes the statistics over
// the flights without a failure: a failed flight that still reaches the ground is a failure, not a sample
// of the missile's dispersion.
#pragma once

#include "Unit_DispersionStats.h"
#include "Unit_Results.h"

#include <map>
#include <string>
#include <vector>

namespace zm {

// What became of one flight.
struct TFlightOutcome {
    std::string
        Kind; // "none" for a flight without a failure, else the failure's first words, e.g. "Engine shutdown"
    std::string Phase;         // "powered" or "unpowered" for a failure (when it struck); empty without one
    bool ReachedGround = true; // false when the missile was destroyed in the air
};

// Reads a wreck's failure text and track. Failures the missile knows are named by their words
// ("Destructed on reentry", "Control pitch"); any other text is "other".
TFlightOutcome OutcomeOf(const TTeskWreck& wreck);

struct TDispersionImpact {
    int Run = 0; // 1-based run number
    TFlightOutcome Outcome;
    long double Latitude = 0; // degrees, where the wreck came to rest
    long double Longitude = 0;
    TLocalPoint Offset; // from the target, in the launch frame
};

struct TMissileDispersion {
    std::string Missile, Target;
    long double LaunchLatitude = 0, LaunchLongitude = 0; // degrees
    long double TargetLatitude = 0, TargetLongitude = 0; // degrees
    long double LaunchAzimuth = 0;                       // degrees, launch site to target
    long double PlannedRange = 0;                        // metres
    int Runs = 0;                                        // runs flown
    bool Precise = false;                                // flown with the precise cut-off
    std::vector<TDispersionImpact> Impacts;              // one per run that gave this missile's wreck
    std::map<std::string, int> FailuresByKind;           // kind -> flights, failed flights only
    std::map<std::string, int> FailuresByPhase;          // phase -> flights
    int ReachedGround = 0;                               // flights not destroyed in the air, failed ones too
    TDispersionStats Stats;                              // over the flights without a failure

    int Failures() const;
    int Missing() const { return Runs - int(Impacts.size()); } // runs that left no wreck of this missile
};

struct TDispersion {
    int RunsPlanned = 0;
    int RunsFlown = 0;           // runs whose saved state was read
    std::vector<int> RunsFailed; // runs that gave no readable state
    unsigned Seed = 0;
    std::string Plan;
    std::vector<TMissileDispersion> Missiles; // by name once finished
    std::vector<std::string>
        PreciseMissiles; // the plan's missiles with the precise cut-off (set before Finish)

    // Adds the wrecks of one run (1-based number), missiles matched by name.
    void AddRun(int run, const std::vector<TTeskWreck>& wrecks);
    // Counts a run that gave nothing to read.
    void AddFailedRun(int run);
    // Fills each missile's counts, statistics and cut-off; call once all runs are in.
    void Finish();
    bool AnyPrecise() const;
};

// The offset of a point from the target in the launch frame (degrees in, metres out).
TLocalPoint LaunchFrameOffset(long double targetLat, long double targetLon, long double launchAzimuth,
                              long double lat, long double lon);

// A name that is safe as a file name: letters, digits, "-", "_" and "." only.
std::string SafeFileName(const std::string& name);

} // namespace zm
