// The keys of the missile's scenario block, listed once: the missile writes them in this order after the
// host's own lines and reads them back in any order; the planner writes a launch block with some of them, and
// the benchmarks with a few more. Values only, no SDK, so the planner can include it without linking a
// plug-in.
#pragma once

#include "KeyGrammar.h"

#include <cstring>
#include <string_view>

enum class MissileKey {
    None,      // not a missile key: the line belongs to the host
    Separator, // "------" lines, dropped
    RANGE,
    LAUNCHDELAY,
    REALISTIC,
    LATITUDE_TARGET,
    LONGITUDE_TARGET,
    TARGET,
    AUTOPILOT,
    RELIABILITY,
    STATEFLAGS,
    POS0,
    HEADING_IDEAL,
    HEADING_REALISTIC,
    RVEL0,
    COSS,
    SINS,
    MET_MECO,
    MET,
    MAX_ALTITUDE,
    MJD_LAUNCH,
    FAILDOUBLES,
    CONTROLSFIXED,
    FAILSTRING,
    FAILIDX1,
    FAILIDX2,
    FAILTYPE,
    MET_GPS,
    TRACK,
    PRECISE,
};

// How a key's value is written; the missile reads each back as it was written.
enum class MissileValue {
    Number,     // the host's floating-point writer
    Fixed,      // "%.13f"
    Position,   // three "%.13f": longitude and latitude in radians, distance from the planet centre in m
    Vector,     // three numbers, the host's vector writer
    Flag,       // an integer, any other than 0 is on
    Integer,    // the host's integer writer
    StateFlags, // the missile's state as bits, an integer
    Date,       // a modified Julian date, "%.10f" (under a millisecond); omitted when 0 (not known)
    Name,       // the target's name, the rest of the line without the blanks around it
    Text,       // the failure text, the rest of the line
    TrackPoint, // one line per point: "index lon lat height phase", angles in radians, height in m
};

// When the missile saves a key.
enum class MissileSaved {
    Never,         // read only: written by the planner or by hand
    Always,        // in every save
    WhenOn,        // a flag saved only when on: absent for the missile as it always flew
    WhileLaunched, // from the launch on; a missile on the pad stops its block before the first of these
};

// Who writes a key into a scenario.
enum class KeyWriters {
    Missile,           // the missile's save alone
    MissileAndPlanner, // also the planner's launch block (and the benchmarks')
    Planner,           // launch blocks only (planner, benchmarks); the missile keeps it within STATEFLAGS
    MissileAndBench,   // also the benchmarks' launch blocks
    ByHand,            // only a user editing the scenario; the missile keeps it within STATEFLAGS
};

// The missile separates the groups of its block with "------" lines.
enum class MissileSection { Target, State, Failure, Track };

struct MissileBlockKey {
    const char* name;
    MissileKey id;
    MissileValue value;
    const char* unit; // of the value as written; empty for flags, counts and texts
    MissileSaved saved;
    MissileSection section;
    KeyWriters writers;
};

// In the order the missile saves them.
inline constexpr MissileBlockKey MissileBlockKeys[] = {
    {"RANGE", MissileKey::RANGE, MissileValue::Number, "m", MissileSaved::Always, MissileSection::Target,
     KeyWriters::MissileAndPlanner},
    {"LAUNCHDELAY", MissileKey::LAUNCHDELAY, MissileValue::Number, "s", MissileSaved::Always,
     MissileSection::Target, KeyWriters::MissileAndPlanner},
    {"REALISTIC", MissileKey::REALISTIC, MissileValue::Flag, "", MissileSaved::Never, MissileSection::Target,
     KeyWriters::Planner},
    {"LATITUDE_TARGET", MissileKey::LATITUDE_TARGET, MissileValue::Fixed, "deg", MissileSaved::Always,
     MissileSection::Target, KeyWriters::MissileAndPlanner},
    {"LONGITUDE_TARGET", MissileKey::LONGITUDE_TARGET, MissileValue::Fixed, "deg", MissileSaved::Always,
     MissileSection::Target, KeyWriters::MissileAndPlanner},
    {"TARGET", MissileKey::TARGET, MissileValue::Name, "", MissileSaved::Always, MissileSection::Target,
     KeyWriters::MissileAndPlanner},
    {"AUTOPILOT", MissileKey::AUTOPILOT, MissileValue::Flag, "", MissileSaved::Never, MissileSection::State,
     KeyWriters::ByHand},
    {"STATEFLAGS", MissileKey::STATEFLAGS, MissileValue::StateFlags, "", MissileSaved::Always,
     MissileSection::State, KeyWriters::Missile},
    {"RELIABILITY", MissileKey::RELIABILITY, MissileValue::Number, "%", MissileSaved::Always,
     MissileSection::State, KeyWriters::MissileAndBench},
    {"PRECISE", MissileKey::PRECISE, MissileValue::Flag, "", MissileSaved::WhenOn, MissileSection::State,
     KeyWriters::MissileAndPlanner},
    {"POS0", MissileKey::POS0, MissileValue::Position, "rad rad m", MissileSaved::WhileLaunched,
     MissileSection::State, KeyWriters::Missile},
    {"HEADING_IDEAL", MissileKey::HEADING_IDEAL, MissileValue::Number, "deg", MissileSaved::WhileLaunched,
     MissileSection::State, KeyWriters::Missile},
    {"HEADING_REALISTIC", MissileKey::HEADING_REALISTIC, MissileValue::Number, "deg",
     MissileSaved::WhileLaunched, MissileSection::State, KeyWriters::Missile},
    {"RVEL0", MissileKey::RVEL0, MissileValue::Vector, "m/s", MissileSaved::WhileLaunched,
     MissileSection::State, KeyWriters::Missile},
    {"COSS", MissileKey::COSS, MissileValue::Vector, "", MissileSaved::WhileLaunched, MissileSection::State,
     KeyWriters::Missile},
    {"SINS", MissileKey::SINS, MissileValue::Vector, "", MissileSaved::WhileLaunched, MissileSection::State,
     KeyWriters::Missile},
    {"MET_MECO", MissileKey::MET_MECO, MissileValue::Number, "s", MissileSaved::WhileLaunched,
     MissileSection::State, KeyWriters::Missile},
    {"MET", MissileKey::MET, MissileValue::Number, "s", MissileSaved::WhileLaunched, MissileSection::State,
     KeyWriters::Missile},
    {"MAX_ALTITUDE", MissileKey::MAX_ALTITUDE, MissileValue::Number, "m", MissileSaved::WhileLaunched,
     MissileSection::State, KeyWriters::Missile},
    {"MJD_LAUNCH", MissileKey::MJD_LAUNCH, MissileValue::Date, "d", MissileSaved::WhileLaunched,
     MissileSection::State, KeyWriters::Missile},
    {"FAILDOUBLES", MissileKey::FAILDOUBLES, MissileValue::Vector, "s Pa -", MissileSaved::WhileLaunched,
     MissileSection::Failure, KeyWriters::Missile},
    {"CONTROLSFIXED", MissileKey::CONTROLSFIXED, MissileValue::Vector, "deg deg deg",
     MissileSaved::WhileLaunched, MissileSection::Failure, KeyWriters::Missile},
    {"FAILSTRING", MissileKey::FAILSTRING, MissileValue::Text, "", MissileSaved::WhileLaunched,
     MissileSection::Failure, KeyWriters::Missile},
    {"FAILIDX1", MissileKey::FAILIDX1, MissileValue::Integer, "", MissileSaved::WhileLaunched,
     MissileSection::Failure, KeyWriters::Missile},
    {"FAILIDX2", MissileKey::FAILIDX2, MissileValue::Integer, "", MissileSaved::WhileLaunched,
     MissileSection::Failure, KeyWriters::Missile},
    {"FAILTYPE", MissileKey::FAILTYPE, MissileValue::Integer, "", MissileSaved::WhileLaunched,
     MissileSection::Failure, KeyWriters::Missile},
    {"MET_GPS", MissileKey::MET_GPS, MissileValue::Number, "s", MissileSaved::WhileLaunched,
     MissileSection::Track, KeyWriters::Missile},
    {"TRACK", MissileKey::TRACK, MissileValue::TrackPoint, "rad rad m", MissileSaved::WhileLaunched,
     MissileSection::Track, KeyWriters::Missile},
};

inline constexpr const char* MissileSeparator = "------";

// The name of a key, as written.
constexpr const char* MissileKeyName(MissileKey id) {
    for (const MissileBlockKey& k : MissileBlockKeys)
        if (k.id == id) return k.name;
    return "";
}

// The host's own lines of a launch block as the planner writes them, before the missile's keys.
inline constexpr const char* HostKeyStatus = "STATUS";   // "Landed Earth"
inline constexpr const char* HostKeyPosition = "POS";    // longitude and latitude, degrees
inline constexpr const char* HostKeyHeading = "HEADING"; // degrees
inline constexpr const char* HostKeyFuel = "FUEL";       // share of a full tank

struct KeyMatch {
    MissileKey key;
    const char* value; // the text after the key, leading blanks skipped; the whole line for None
};

// The key a line as the host hands it to the missile begins with, letter case ignored; where one key begins
// another (MET, MET_MECO), the longer one wins.
inline KeyMatch MatchMissileKey(const char* line) {
    if (std::strncmp(line, MissileSeparator, 6) == 0) return {MissileKey::Separator, line + 6};
    const MissileBlockKey* best = nullptr;
    std::size_t bestLength = 0;
    for (const MissileBlockKey& k : MissileBlockKeys) {
        const std::size_t n = MatchKey(line, k.name, PluginKeysUnindented);
        if (n > bestLength) {
            best = &k;
            bestLength = n;
        }
    }
    if (!best) return {MissileKey::None, line};
    const char* value = line + bestLength;
    while (*value == ' ' || *value == '\t')
        ++value;
    return {best->id, value};
}
