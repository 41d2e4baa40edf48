#include "Unit_Dispersion.h"

#include "Unit_Functions.h"

#include "FailureKinds.h"
#include "FlightResult.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace zm {

TFlightOutcome OutcomeOf(const TTeskWreck& w) {
    TFlightOutcome o;
    if (w.Failure.empty()) {
        o.Kind = "none";
        return o;
    }
    const FailureCause* cause = FailureCauseOf(w.Failure, FailureWordsEnd::Word);
    o.Kind = cause ? cause->words : "other";
    if (cause) o.ReachedGround = !cause->destroyed;
    // Engine and control failures strike only while the engine burns. A destruction strikes when the air
    // load is too high, with or without the engine: the track's last sampled point before the end tells.
    if (cause && (cause->kind == FailEngine || cause->kind == FailControl))
        o.Phase = "powered";
    else if (w.TrackCount >= 2 && w.TrackCount <= TrackArraySize)
        o.Phase = w.TrackPhase[size_t(w.TrackCount - 2)] == TrackPhaseEngineOff ? "unpowered" : "powered";
    else
        o.Phase = "unknown";
    return o;
}

TLocalPoint LaunchFrameOffset(long double targetLat, long double targetLon, long double launchAzimuth,
                              long double lat, long double lon) {
    const long double rad = Pi / 180.0L;
    const TGreatCircle gc = GreatCircleKmDeg(targetLat * rad, targetLon * rad, lat * rad, lon * rad);
    const long double d = gc.Distance * 1000.0L, turn = (gc.Azimuth - launchAzimuth) * rad;
    return {double(d * std::cos(turn)), double(d * std::sin(turn))};
}

std::string SafeFileName(const std::string& name) {
    std::string safe = name.empty() ? "missile" : name.substr(0, 60);
    for (char& c : safe)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.') c = '_';
    return safe;
}

int TMissileDispersion::Failures() const {
    int n = 0;
    for (const auto& [kind, count] : FailuresByKind)
        n += count;
    return n;
}

void TDispersion::AddRun(int run, const std::vector<TTeskWreck>& wrecks) {
    ++RunsFlown;
    for (const TTeskWreck& w : wrecks) {
        const std::string name = w.MissileName.empty() ? w.Name : w.MissileName;
        auto it = std::find_if(Missiles.begin(), Missiles.end(),
                               [&](const TMissileDispersion& m) { return m.Missile == name; });
        if (it == Missiles.end()) {
            TMissileDispersion m;
            m.Missile = name;
            m.Target = w.Target;
            m.LaunchLatitude = w.LatitudeLaunch;
            m.LaunchLongitude = w.LongitudeLaunch;
            m.TargetLatitude = w.LatitudeTarget;
            m.TargetLongitude = w.LongitudeTarget;
            m.LaunchAzimuth = w.LaunchAz;
            m.PlannedRange = w.PlannedRange;
            Missiles.push_back(m);
            it = Missiles.end() - 1;
        }
        TDispersionImpact impact;
        impact.Run = run;
        impact.Outcome = OutcomeOf(w);
        impact.Latitude = w.LatitudeLast;
        impact.Longitude = w.LongitudeLast;
        impact.Offset = LaunchFrameOffset(it->TargetLatitude, it->TargetLongitude, it->LaunchAzimuth,
                                          w.LatitudeLast, w.LongitudeLast);
        it->Impacts.push_back(impact);
    }
}

bool TDispersion::AnyPrecise() const {
    return std::any_of(Missiles.begin(), Missiles.end(),
                       [](const TMissileDispersion& m) { return m.Precise; });
}

void TDispersion::AddFailedRun(int run) {
    RunsFailed.push_back(run);
}

void TDispersion::Finish() {
    std::sort(RunsFailed.begin(), RunsFailed.end());
    // By name: the wrecks come in the order they landed, which differs from run to run.
    std::stable_sort(
        Missiles.begin(), Missiles.end(),
        [](const TMissileDispersion& a, const TMissileDispersion& b) { return a.Missile < b.Missile; });
    for (TMissileDispersion& m : Missiles) {
        std::sort(m.Impacts.begin(), m.Impacts.end(),
                  [](const TDispersionImpact& a, const TDispersionImpact& b) { return a.Run < b.Run; });
        m.Runs = RunsFlown;
        m.Precise =
            std::find(PreciseMissiles.begin(), PreciseMissiles.end(), m.Missile) != PreciseMissiles.end();
        m.FailuresByKind.clear();
        m.FailuresByPhase.clear();
        // A failed flight that still came down (a jammed fin, an engine that stopped) lands anywhere: it is
        // counted as a failure, and the dispersion is that of the flights that flew as planned.
        std::vector<TLocalPoint> nominal;
        m.ReachedGround = 0;
        for (const TDispersionImpact& i : m.Impacts) {
            if (i.Outcome.Kind != "none") {
                ++m.FailuresByKind[i.Outcome.Kind];
                ++m.FailuresByPhase[i.Outcome.Phase];
            } else {
                nominal.push_back(i.Offset);
            }
            m.ReachedGround += i.Outcome.ReachedGround;
        }
        m.Stats = ComputeDispersion(nominal);
    }
}

} // namespace zm
