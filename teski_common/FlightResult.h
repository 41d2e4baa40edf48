// The flight result record: the contract between the missile module, which fills it once at the hand-off,
// and the wreck module, which owns it and writes it into every saved scenario. It holds values only.
#pragma once

#include <cstdint>

// Capacity of the flight track, in the missile and in the wreck.
inline constexpr int MaxTrackPoints = 400;

// Track phase codes, shared by missile, wreck and the planning program.
inline constexpr int TrackPhaseBurning = 1;   // engine burning, no contrail
inline constexpr int TrackPhaseContrail = 2;  // engine burning with the contrail shown
inline constexpr int TrackPhaseEngineOff = 3; // engine off; also the final point of a flight

// Fixed text sizes, terminator included: the target name holds at most 49 characters, the failure text 249.
inline constexpr int FlightResultTargetSize = 50;
inline constexpr int FlightResultFailureSize = 250;

struct FlightResult {
    double LATITUDE_TARGET;                // degrees
    double LONGITUDE_TARGET;               // degrees
    double LONGITUDE_LAST;                 // radians: hand-off point, then the wreck's resting place
    double LATITUDE_LAST;                  // radians
    double FLIGHT_TIME;                    // s, the missile's mission time at the hand-off
    double MAX_ALTITUDE;                   // m
    double IMPACT_VELOCITY;                // m/s, airspeed at the hand-off
    double RANGE_ACTUAL;                   // m, launch point to hand-off point
    double AZIMUTH_ACTUAL;                 // degrees, 0..360 from north
    double RANGE_MISS;                     // m, target to hand-off point
    double AZIMUTH_MISS;                   // degrees, 0..360 from north
    double LATERAL_MISS;                   // m, positive right of the launch heading
    double LONGITUDAL_MISS;                // m, positive beyond the target
    double LATITUDE_LAUNCH;                // radians
    double LONGITUDE_LAUNCH;               // radians
    std::int32_t trackCount;               // valid points, 0..MaxTrackPoints
    double trackLongitude[MaxTrackPoints]; // radians
    double trackLatitude[MaxTrackPoints];  // radians
    double trackAltitude[MaxTrackPoints];  // m above the launch point's distance from the planet centre
    std::int32_t trackPhase[MaxTrackPoints];
    char TARGET[FlightResultTargetSize];
    char FAILURE[FlightResultFailureSize];
    std::uint8_t LANDED; // 1: lies on the ground; 0: still in free flight
    double MJD_LAUNCH;   // the host's modified Julian date of the first ignition; 0 when not known
};
