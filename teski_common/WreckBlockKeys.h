// The keys of the wreck's scenario block, listed once: the wreck writes them in this order and reads them
// back by this list, and Zielmark reads the saved blocks by the same list. Values only, no SDK, so Zielmark
// can include it without linking a plug-in.
#pragma once

#include "FlightResult.h"

enum class WreckKeyId {
    LANDED,
    FALLPHASE,
    LATITUDE_LAST,
    LONGITUDE_LAST,
    MAX_ALTITUDE,
    FLIGHT_TIME,
    IMPACT_VELOCITY,
    LATITUDE_TARGET,
    LONGITUDE_TARGET,
    RANGE_ACTUAL,
    AZIMUTH_ACTUAL,
    RANGE_MISS,
    AZIMUTH_MISS,
    LATERAL_MISS,
    LONGITUDAL_MISS,
    LATITUDE_LAUNCH,
    LONGITUDE_LAUNCH,
    MJD_LAUNCH,
    TARGET,
    FAILURE,
    TRACK,
};

// How a key's value is written; a reader takes each back as it was written.
enum class WreckValue {
    Flag,       // 0 or 1 (the host's integer writer)
    Angle,      // held in radians, written in degrees as "%.13f"
    Degrees,    // held in degrees, written as "%.13f"
    Number,     // the host's floating-point writer
    Date,       // a modified Julian date, "%.10f" (under a millisecond); omitted when 0 (not known)
    Name,       // the target's name, the rest of the line without the blanks around it; omitted when empty
    Text,       // the failure text, the rest of the line; omitted when empty
    TrackPoint, // one line per point: "index lon lat height phase", angles in radians
};

struct WreckBlockKey {
    const char* name;
    WreckKeyId id;
    WreckValue value;
    double FlightResult::*number; // the record's field of a number (Angle, Degrees, Number, Date); else null
    const char* unit;             // of the value as written; empty for flags and texts
};

// In the order the wreck writes them. No key begins another, so a line belongs to at most one key.
inline constexpr WreckBlockKey WreckBlockKeys[] = {
    {"LANDED", WreckKeyId::LANDED, WreckValue::Flag, nullptr, ""},
    {"FALLPHASE", WreckKeyId::FALLPHASE, WreckValue::Flag, nullptr, ""}, // only while the wreck is not landed
    {"LATITUDE_LAST", WreckKeyId::LATITUDE_LAST, WreckValue::Angle, &FlightResult::LATITUDE_LAST, "deg"},
    {"LONGITUDE_LAST", WreckKeyId::LONGITUDE_LAST, WreckValue::Angle, &FlightResult::LONGITUDE_LAST, "deg"},
    {"MAX_ALTITUDE", WreckKeyId::MAX_ALTITUDE, WreckValue::Number, &FlightResult::MAX_ALTITUDE, "m"},
    {"FLIGHT_TIME", WreckKeyId::FLIGHT_TIME, WreckValue::Number, &FlightResult::FLIGHT_TIME, "s"},
    {"IMPACT_VELOCITY", WreckKeyId::IMPACT_VELOCITY, WreckValue::Number, &FlightResult::IMPACT_VELOCITY,
     "m/s"},
    {"LATITUDE_TARGET", WreckKeyId::LATITUDE_TARGET, WreckValue::Degrees, &FlightResult::LATITUDE_TARGET,
     "deg"},
    {"LONGITUDE_TARGET", WreckKeyId::LONGITUDE_TARGET, WreckValue::Degrees, &FlightResult::LONGITUDE_TARGET,
     "deg"},
    {"RANGE_ACTUAL", WreckKeyId::RANGE_ACTUAL, WreckValue::Number, &FlightResult::RANGE_ACTUAL, "m"},
    {"AZIMUTH_ACTUAL", WreckKeyId::AZIMUTH_ACTUAL, WreckValue::Number, &FlightResult::AZIMUTH_ACTUAL, "deg"},
    {"RANGE_MISS", WreckKeyId::RANGE_MISS, WreckValue::Number, &FlightResult::RANGE_MISS, "m"},
    {"AZIMUTH_MISS", WreckKeyId::AZIMUTH_MISS, WreckValue::Number, &FlightResult::AZIMUTH_MISS, "deg"},
    {"LATERAL_MISS", WreckKeyId::LATERAL_MISS, WreckValue::Number, &FlightResult::LATERAL_MISS, "m"},
    {"LONGITUDAL_MISS", WreckKeyId::LONGITUDAL_MISS, WreckValue::Number, &FlightResult::LONGITUDAL_MISS, "m"},
    {"LATITUDE_LAUNCH", WreckKeyId::LATITUDE_LAUNCH, WreckValue::Angle, &FlightResult::LATITUDE_LAUNCH,
     "deg"},
    {"LONGITUDE_LAUNCH", WreckKeyId::LONGITUDE_LAUNCH, WreckValue::Angle, &FlightResult::LONGITUDE_LAUNCH,
     "deg"},
    // When the missile first lit its engine; blocks saved before the missiles kept it have no such line.
    {"MJD_LAUNCH", WreckKeyId::MJD_LAUNCH, WreckValue::Date, &FlightResult::MJD_LAUNCH, "d"},
    {"TARGET", WreckKeyId::TARGET, WreckValue::Name, nullptr, ""},
    {"FAILURE", WreckKeyId::FAILURE, WreckValue::Text, nullptr, ""},
    {"TRACK", WreckKeyId::TRACK, WreckValue::TrackPoint, nullptr, "rad rad m"},
};
