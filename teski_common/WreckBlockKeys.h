// The keys of the wreck's scenario block, listed once: the wreck writes them in this order and reads them
// back by this list, and Zielmark reads the saved blocks by the same list. Values only, no SDK, so Zielmark
// can include it without linking a plug-in.
#pragma once

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
};

// In the order the wreck writes them. No key begins another, so a line belongs to at most one key.
inline constexpr WreckBlockKey WreckBlockKeys[] = {
    {"LANDED", WreckKeyId::LANDED, WreckValue::Flag},
    {"FALLPHASE", WreckKeyId::FALLPHASE, WreckValue::Flag}, // only while the wreck is not landed
    {"LATITUDE_LAST", WreckKeyId::LATITUDE_LAST, WreckValue::Angle},
    {"LONGITUDE_LAST", WreckKeyId::LONGITUDE_LAST, WreckValue::Angle},
    {"MAX_ALTITUDE", WreckKeyId::MAX_ALTITUDE, WreckValue::Number},
    {"FLIGHT_TIME", WreckKeyId::FLIGHT_TIME, WreckValue::Number},
    {"IMPACT_VELOCITY", WreckKeyId::IMPACT_VELOCITY, WreckValue::Number},
    {"LATITUDE_TARGET", WreckKeyId::LATITUDE_TARGET, WreckValue::Degrees},
    {"LONGITUDE_TARGET", WreckKeyId::LONGITUDE_TARGET, WreckValue::Degrees},
    {"RANGE_ACTUAL", WreckKeyId::RANGE_ACTUAL, WreckValue::Number},
    {"AZIMUTH_ACTUAL", WreckKeyId::AZIMUTH_ACTUAL, WreckValue::Number},
    {"RANGE_MISS", WreckKeyId::RANGE_MISS, WreckValue::Number},
    {"AZIMUTH_MISS", WreckKeyId::AZIMUTH_MISS, WreckValue::Number},
    {"LATERAL_MISS", WreckKeyId::LATERAL_MISS, WreckValue::Number},
    {"LONGITUDAL_MISS", WreckKeyId::LONGITUDAL_MISS, WreckValue::Number},
    {"LATITUDE_LAUNCH", WreckKeyId::LATITUDE_LAUNCH, WreckValue::Angle},
    {"LONGITUDE_LAUNCH", WreckKeyId::LONGITUDE_LAUNCH, WreckValue::Angle},
    // When the missile first lit its engine; blocks saved before the missiles kept it have no such line.
    {"MJD_LAUNCH", WreckKeyId::MJD_LAUNCH, WreckValue::Date},
    {"TARGET", WreckKeyId::TARGET, WreckValue::Name},
    {"FAILURE", WreckKeyId::FAILURE, WreckValue::Text},
    {"TRACK", WreckKeyId::TRACK, WreckValue::TrackPoint},
};
