// The missile's scenario keys and how a line is matched against them; the values are read and written with
// the add-on's scenario text (ScenarioText.h).
#pragma once

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

struct KeyMatch {
    MissileKey key;
    const char* value; // the text after the key, leading blanks skipped; the whole line for None
};

// The key a scenario line begins with, letter case ignored; where one key begins another (MET, MET_MECO),
// the longer one wins.
KeyMatch MatchMissileKey(const char* line);
