// The end of a flight: the figures the missile hands to its wreck and how it fills the wreck's record. Kept
// free of the host, so the figures and the record can be checked on their own; CreateWreck (WreckHandoff.cpp)
// does the host's part.
#pragma once

#include "Angles.h"
#include "FlightResult.h"
#include "GreatCircle.h"
#include "ScenarioText.h"
#include "VesselClasses.h"

#include <cmath>
#include <cstring>
#include <iterator>

// The wreck's name holds at most 99 characters: the missile's name, cut to 93, and the wreck suffix.
inline constexpr int WreckNameSize = 100;
inline constexpr int WreckNameMissileChars = 93;
static_assert(WreckNameMissileChars + sizeof WreckNameSuffix <= WreckNameSize);

inline void MakeWreckName(const char* missileName, char (&wreckName)[WreckNameSize]) {
    std::size_t n = missileName == nullptr ? 0 : ::strnlen(missileName, WreckNameMissileChars);
    std::memcpy(wreckName, missileName == nullptr ? "" : missileName, n);
    std::memcpy(wreckName + n, WreckNameSuffix, sizeof WreckNameSuffix);
}

struct HandoffFigures {
    double rangeActual;    // m, launch point to end point
    double azimuthActual;  // degrees
    double rangeMiss;      // m, target to end point
    double azimuthMiss;    // degrees
    double lateralMiss;    // m, positive right of the launch heading
    double longitudalMiss; // m, positive beyond the target
};

// Figures of a flight that ended at (lat, lon), radians, on the sphere of the launch radius. The target is
// given in degrees, the launch point in radians, the launch heading in degrees.
inline HandoffFigures ComputeHandoffFigures(double launchLat, double launchLon, double targetLatDeg,
                                            double targetLonDeg, double headingIdeal, double lat, double lon,
                                            double radius) {
    HandoffFigures f{};
    RangeAndAzimuth(launchLat, launchLon, lat, lon, radius, f.rangeActual, f.azimuthActual);
    RangeAndAzimuth(RadFromDeg(targetLatDeg), RadFromDeg(targetLonDeg), lat, lon, radius, f.rangeMiss,
                    f.azimuthMiss);
    const double d = RadFromDeg(f.azimuthMiss - headingIdeal);
    f.lateralMiss = f.rangeMiss * std::sin(d);
    f.longitudalMiss = f.rangeMiss * std::cos(d);
    return f;
}

// The final point of the track (phase 3), when there is room for it.
template <class M> void AppendFinalTrackPoint(M& m, double lon, double lat, double height) {
    if (m.trackCount < 0 || m.trackCount >= MaxTrackPoints) return;
    const int n = m.trackCount;
    m.trackLongitude[n] = lon;
    m.trackLatitude[n] = lat;
    m.trackAltitude[n] = height;
    m.trackPhase[n] = TrackPhaseEngineOff;
    m.trackCount = n + 1;
}

// Writes every field of the wreck's record from the missile that ends at (lon, lat).
template <class M>
void FillFlightResult(FlightResult& r, const M& m, double lon, double lat, double airspeed,
                      const HandoffFigures& f, bool groundImpact) {
    r.LATITUDE_TARGET = m.targetLatitude;
    r.LONGITUDE_TARGET = m.targetLongitude;
    r.LONGITUDE_LAST = lon;
    r.LATITUDE_LAST = lat;
    r.FLIGHT_TIME = m.met;
    r.MAX_ALTITUDE = m.maxAltitude;
    r.IMPACT_VELOCITY = airspeed;
    r.RANGE_ACTUAL = f.rangeActual;
    r.AZIMUTH_ACTUAL = f.azimuthActual;
    r.RANGE_MISS = f.rangeMiss;
    r.AZIMUTH_MISS = f.azimuthMiss;
    r.LATERAL_MISS = f.lateralMiss;
    r.LONGITUDAL_MISS = f.longitudalMiss;
    r.LATITUDE_LAUNCH = m.launchLatitude;
    r.LONGITUDE_LAUNCH = m.launchLongitude;
    const int count = m.trackCount < 0 ? 0 : (m.trackCount > MaxTrackPoints ? MaxTrackPoints : m.trackCount);
    r.trackCount = count;
    for (int i = 0; i < count; ++i) {
        r.trackLongitude[i] = m.trackLongitude[i];
        r.trackLatitude[i] = m.trackLatitude[i];
        r.trackAltitude[i] = m.trackAltitude[i];
        r.trackPhase[i] = m.trackPhase[i];
    }
    CopyBounded(r.TARGET, m.targetName);
    CopyBounded(r.FAILURE, m.failString);
    r.LANDED = groundImpact ? 1 : 0;
    r.MJD_LAUNCH = m.launchMJD;
}
