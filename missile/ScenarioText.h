// The missile's scenario keys and the readers and writers of their values. Pure text handling: reading
// never fails loudly, a value that cannot be read is reported as such and the caller keeps its field.
#pragma once

#include <cstddef>

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
    FAILDOUBLES,
    CONTROLSFIXED,
    FAILSTRING,
    FAILIDX1,
    FAILIDX2,
    FAILTYPE,
    MET_GPS,
    TRACK,
};

struct KeyMatch {
    MissileKey key;
    const char *value; // the text after the key, leading blanks skipped; the whole line for None
};

// The key a scenario line begins with, letter case ignored; where one key begins another (MET, MET_MECO),
// the longer one wins.
KeyMatch MatchMissileKey(const char *line);

// Value readers: leading blanks skipped, decimal notation, locale-independent. They return false and leave
// their outputs untouched when the text does not start with a readable value; reals must be finite.
bool ReadReal(const char *text, double &value);
bool ReadInt(const char *text, int &value);
// n reals separated by blanks, all or nothing.
bool ReadReals(const char *text, double *values, int n);
// Largest sizes the missile takes for angles in radians and for distances in metres. Larger values, finite as
// they are, overflow what is derived from them (the wreck's degrees, the guidance's squares): such a key is
// left unread like a value that cannot be read.
inline constexpr double MaxRadians = 1e6;
inline constexpr double MaxMetres = 1e12;
// Whether all n values are no larger than limit in size.
bool Within(const double *values, int n, double limit);
// One track line: index, longitude, latitude, height, phase; all or nothing.
bool ReadTrackPoint(const char *text, int &index, double &lon, double &lat, double &height, int &phase);
// The rest of the text without the blanks around it (a name of several words stays whole), cut to
// size - 1 characters; false when nothing is left.
bool ReadName(const char *text, char *dest, std::size_t size);
// The whole rest of the text, blanks inside included, cut to size - 1 characters.
void CopyRest(const char *text, char *dest, std::size_t size);
// A bounded copy that always terminates dest.
void CopyBounded(const char *src, char *dest, std::size_t size);

// Writers: fixed notation with the given decimals ("%.13f"), into buf (always terminated).
void FormatFixed(double v, int decimals, char *buf, std::size_t size);
// "%d %.13f %.13f %.13f %d"
void FormatTrackPoint(int index, double lon, double lat, double height, int phase, char *buf, std::size_t size);
