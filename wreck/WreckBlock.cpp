#include "WreckBlock.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

enum class Kind { Landed, FallPhase, Angle, Number, Name, Rest, Track };

struct Key {
    const char *name;
    Kind kind;
    double FlightResult::*field; // for Angle and Number
};

// The keys in the order a line is matched against them: a line belongs to the first key it begins with.
constexpr Key readOrder[] = {
    {"LANDED", Kind::Landed, nullptr},
    {"FALLPHASE", Kind::FallPhase, nullptr},
    {"LATITUDE_LAST", Kind::Angle, &FlightResult::LATITUDE_LAST},
    {"LONGITUDE_LAST", Kind::Angle, &FlightResult::LONGITUDE_LAST},
    {"MAX_ALTITUDE", Kind::Number, &FlightResult::MAX_ALTITUDE},
    {"FLIGHT_TIME", Kind::Number, &FlightResult::FLIGHT_TIME},
    {"IMPACT_VELOCITY", Kind::Number, &FlightResult::IMPACT_VELOCITY},
    {"LATITUDE_TARGET", Kind::Number, &FlightResult::LATITUDE_TARGET},
    {"LONGITUDE_TARGET", Kind::Number, &FlightResult::LONGITUDE_TARGET},
    {"RANGE_ACTUAL", Kind::Number, &FlightResult::RANGE_ACTUAL},
    {"AZIMUTH_ACTUAL", Kind::Number, &FlightResult::AZIMUTH_ACTUAL},
    {"RANGE_MISS", Kind::Number, &FlightResult::RANGE_MISS},
    {"AZIMUTH_MISS", Kind::Number, &FlightResult::AZIMUTH_MISS},
    {"LATERAL_MISS", Kind::Number, &FlightResult::LATERAL_MISS},
    {"LONGITUDAL_MISS", Kind::Number, &FlightResult::LONGITUDAL_MISS},
    {"TARGET", Kind::Name, nullptr},
    {"FAILURE", Kind::Rest, nullptr},
    {"LATITUDE_LAUNCH", Kind::Angle, &FlightResult::LATITUDE_LAUNCH},
    {"LONGITUDE_LAUNCH", Kind::Angle, &FlightResult::LONGITUDE_LAUNCH},
    {"TRACK", Kind::Track, nullptr},
};

// How a numeric field is written between LONGITUDE_LAST and TARGET: degrees of a radian field, a value
// held in degrees, both as "%.13f" text, or through the host's floating-point writer.
enum class Out { Degrees, Fixed13, Float };
struct WrittenNumber {
    const char *name;
    Out how;
    double FlightResult::*field;
};
constexpr WrittenNumber writeOrder[] = {
    {"LATITUDE_LAST", Out::Degrees, &FlightResult::LATITUDE_LAST},
    {"LONGITUDE_LAST", Out::Degrees, &FlightResult::LONGITUDE_LAST},
    {"MAX_ALTITUDE", Out::Float, &FlightResult::MAX_ALTITUDE},
    {"FLIGHT_TIME", Out::Float, &FlightResult::FLIGHT_TIME},
    {"IMPACT_VELOCITY", Out::Float, &FlightResult::IMPACT_VELOCITY},
    {"LATITUDE_TARGET", Out::Fixed13, &FlightResult::LATITUDE_TARGET},
    {"LONGITUDE_TARGET", Out::Fixed13, &FlightResult::LONGITUDE_TARGET},
    {"RANGE_ACTUAL", Out::Float, &FlightResult::RANGE_ACTUAL},
    {"AZIMUTH_ACTUAL", Out::Float, &FlightResult::AZIMUTH_ACTUAL},
    {"RANGE_MISS", Out::Float, &FlightResult::RANGE_MISS},
    {"AZIMUTH_MISS", Out::Float, &FlightResult::AZIMUTH_MISS},
    {"LATERAL_MISS", Out::Float, &FlightResult::LATERAL_MISS},
    {"LONGITUDAL_MISS", Out::Float, &FlightResult::LONGITUDAL_MISS},
    {"LATITUDE_LAUNCH", Out::Degrees, &FlightResult::LATITUDE_LAUNCH},
    {"LONGITUDE_LAUNCH", Out::Degrees, &FlightResult::LONGITUDE_LAUNCH},
};

// Room for any double in fixed notation with 13 decimals (up to 309 digits before the point).
constexpr int NumberRoom = 340;

// "%.13f" without the user's locale. Returns the end of the text written.
char *PutFixed13(char *first, char *last, double value)
{
    const auto res = std::to_chars(first, last, value, std::chars_format::fixed, 13);
    return res.ec == std::errc() ? res.ptr : first;
}

char *PutInt(char *first, char *last, int value)
{
    const auto res = std::to_chars(first, last, value);
    return res.ec == std::errc() ? res.ptr : first;
}

// Length of a text field that may lack its terminator.
template <int N> int BoundedLength(const char (&text)[N])
{
    int n = 0;
    while (n < N - 1 && text[n] != '\0') ++n;
    return n;
}

template <int N> void BoundedCopy(char (&to)[N], const char *from, int length)
{
    if (length > N - 1) length = N - 1;
    std::memcpy(to, from, static_cast<std::size_t>(length));
    to[length] = '\0';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char *SkipBlanks(const char *p)
{
    while (IsBlank(*p)) ++p;
    return p;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Does the line begin with the key, letter case ignored?
bool BeginsWith(const char *line, const char *key)
{
    for (; *key != '\0'; ++line, ++key)
        if (Lower(*line) != Lower(*key)) return false;
    return true;
}

// Reads a decimal number at p, leading blanks skipped; only finite values count as read.
bool ReadDouble(const char *&p, double &value)
{
    const char *s = SkipBlanks(p);
    if (*s == '+') ++s;
    double v = 0;
    const auto res = std::from_chars(s, s + std::strlen(s), v, std::chars_format::general);
    if (res.ec != std::errc() || !std::isfinite(v)) return false;
    value = v;
    p = res.ptr;
    return true;
}

bool ReadInt(const char *&p, int &value)
{
    const char *s = SkipBlanks(p);
    if (*s == '+') ++s;
    int v = 0;
    const auto res = std::from_chars(s, s + std::strlen(s), v);
    if (res.ec != std::errc()) return false;
    value = v;
    p = res.ptr;
    return true;
}

// Length of the rest of the line without a trailing line end.
int RestLength(const char *p)
{
    int n = static_cast<int>(std::strlen(p));
    while (n > 0 && (p[n - 1] == '\r' || p[n - 1] == '\n')) --n;
    return n;
}

// A track point is stored only when all five values of its line can be read and its index fits.
void ReadTrack(const char *p, FlightResult &r)
{
    int index = 0, phase = 0;
    double lon = 0, lat = 0, alt = 0;
    if (!ReadInt(p, index) || !ReadDouble(p, lon) || !ReadDouble(p, lat) || !ReadDouble(p, alt) ||
        !ReadInt(p, phase))
        return;
    if (index < 0 || index >= MaxTrackPoints) return;
    r.trackLongitude[index] = lon;
    r.trackLatitude[index] = lat;
    r.trackAltitude[index] = alt;
    r.trackPhase[index] = phase;
    r.trackCount = index + 1;
}

void ReadValue(const Key &key, const char *p, FlightResult &r, bool &fallPhase)
{
    int flag = 0;
    double number = 0;
    switch (key.kind) {
    case Kind::Landed:
        if (ReadInt(p, flag)) r.LANDED = flag != 0 ? 1 : 0;
        break;
    case Kind::FallPhase:
        if (ReadInt(p, flag)) fallPhase = flag != 0;
        break;
    case Kind::Angle:
        if (ReadDouble(p, number)) r.*key.field = WreckRadFromDeg(number);
        break;
    case Kind::Number:
        if (ReadDouble(p, number)) r.*key.field = number;
        break;
    case Kind::Name: {
        // The rest of the line without the blanks around it: a name of several words stays whole.
        const char *name = SkipBlanks(p);
        int n = RestLength(name);
        while (n > 0 && IsBlank(name[n - 1])) --n;
        if (n > 0) BoundedCopy(r.TARGET, name, n);
        break;
    }
    case Kind::Rest: {
        const char *text = SkipBlanks(p);
        const int n = RestLength(text);
        if (n > 0) BoundedCopy(r.FAILURE, text, n);
        break;
    }
    case Kind::Track:
        ReadTrack(p, r);
        break;
    }
}

} // namespace

void WriteWreckBlock(const FlightResult &r, bool fallPhase, WreckBlockWriter &out)
{
    char text[4 * NumberRoom];
    char *const end = text + sizeof text - 1;

    out.WriteInt("LANDED", r.LANDED != 0 ? 1 : 0);
    if (r.LANDED == 0) out.WriteInt("FALLPHASE", fallPhase ? 1 : 0);

    for (const WrittenNumber &n : writeOrder) {
        const double value = n.how == Out::Degrees ? WreckDegFromRad(r.*n.field) : r.*n.field;
        // A number that is not finite (or overflows on the way to degrees) is left out: readers of the block
        // then keep the field at zero instead of refusing the whole scenario at an "inf" or "nan".
        if (!std::isfinite(value)) continue;
        if (n.how == Out::Float) {
            out.WriteFloat(n.name, value);
            continue;
        }
        *PutFixed13(text, end, value) = '\0';
        out.WriteString(n.name, text);
    }

    if (const int n = BoundedLength(r.TARGET); n > 0) {
        char name[FlightResultTargetSize];
        BoundedCopy(name, r.TARGET, n);
        out.WriteString("TARGET", name);
    }
    if (const int n = BoundedLength(r.FAILURE); n > 0) {
        char failure[FlightResultFailureSize];
        BoundedCopy(failure, r.FAILURE, n);
        out.WriteString("FAILURE", failure);
    }

    const int count = r.trackCount < 0 ? 0 : (r.trackCount > MaxTrackPoints ? MaxTrackPoints : r.trackCount);
    for (int i = 0; i < count; ++i) {
        // The track ends before a point that is not finite; the points written keep their indices.
        if (!std::isfinite(r.trackLongitude[i]) || !std::isfinite(r.trackLatitude[i]) || !std::isfinite(r.trackAltitude[i]))
            break;
        char *p = PutInt(text, end, i);
        *p++ = ' ';
        p = PutFixed13(p, end, r.trackLongitude[i]);
        *p++ = ' ';
        p = PutFixed13(p, end, r.trackLatitude[i]);
        *p++ = ' ';
        p = PutFixed13(p, end, r.trackAltitude[i]);
        *p++ = ' ';
        p = PutInt(p, end, r.trackPhase[i]);
        *p = '\0';
        out.WriteString("TRACK", text);
    }
}

bool ReadWreckBlockLine(const char *line, FlightResult &r, bool &fallPhase)
{
    if (line == nullptr) return false;
    line = SkipBlanks(line);
    for (const Key &key : readOrder) {
        if (!BeginsWith(line, key.name)) continue;
        ReadValue(key, line + std::strlen(key.name), r, fallPhase);
        return true;
    }
    return false;
}
