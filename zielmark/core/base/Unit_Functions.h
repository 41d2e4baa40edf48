// Zielmark's shared helpers: great circle, day numbers and MJD, time zones, text positions and
// locale-independent number formatting. Stateless; no toolkit dependency.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// ---- Constants --------------------------------------------------------------------------------

inline constexpr long double EarthRadiusKm = 6371.01L;
inline constexpr long double Pi = 3.141592653589793238462643383279502884L;
// MJD = day number + MjdOffset (day numbers count from 30 December 1899).
inline constexpr double MjdOffset = 15018.0;
inline constexpr int MinutesPerDay = 1440;

// The program's one number and date format: '.' decimals, no thousands separator,
// dates "DD.MM.YYYY", times "HH:MM".
struct TFormatSettings {
    char DecimalSeparator = '.';
    char DateSeparator = '.';
    char TimeSeparator = ':';
};
inline constexpr TFormatSettings FmtSettings{};

// ---- Geodesy ----------------------------------------------------------------------------------

struct TGreatCircle {
    long double Distance = 0; // radians of arc (GreatCircle) or kilometres (GreatCircleKmDeg)
    long double Azimuth = 0;  // radians 0..2 pi (GreatCircle) or degrees 0..360 (GreatCircleKmDeg)
};

// Distance and initial course from point 1 to point 2 on the unit sphere (all angles in radians).
// Never NaN: the arc arguments are limited to -1..1 and a zero distance gives azimuth 0.
// West or east is decided by comparing lon1 and lon2 as numbers (so 179.5 -> -179.5 is "west").
TGreatCircle GreatCircle(long double lat1, long double lon1, long double lat2, long double lon2);
// The same on a sphere of EarthRadiusKm: kilometres and degrees.
TGreatCircle GreatCircleKmDeg(long double lat1, long double lon1, long double lat2, long double lon2);

inline constexpr long double DegToRad(long double deg) {
    return deg * Pi / 180.0L;
}
inline constexpr long double RadToDeg(long double rad) {
    return rad * 180.0L / Pi;
}

// ---- Day numbers, MJD, time zones -------------------------------------------------------------

inline double MjdToDateTime(double mjd) {
    return mjd - MjdOffset;
}
inline double DateTimeToMjd(double dayNumber) {
    return dayNumber + MjdOffset;
}
inline double AddMinutes(int minutes, double dayNumber) {
    return dayNumber + minutes / double(MinutesPerDay);
}
inline double SubtractMinutes(int minutes, double dayNumber) {
    return dayNumber - minutes / double(MinutesPerDay);
}
// -60 * round(longitude / 15), halves to even: 7.5 -> 0, 7.6 -> -60, 22.5 -> -120, 180 -> -720.
int ZoneMinutesForLongitude(long double longitudeDeg);

// Calendar <-> day number. TryEncodeDate/TryEncodeTime refuse impossible values (31.02., 24:00).
bool TryEncodeDate(int year, int month, int day, double& dayNumber);
bool TryEncodeTime(int hour, int minute, int second, int msec, double& fraction);
struct TDateTimeParts {
    int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
};
// Splits a day number into calendar parts, rounded to the millisecond.
TDateTimeParts DecodeDateTime(double dayNumber);

// "DD.MM.YYYY" and "HH:MM" (minutes truncated, seconds dropped).
std::string FormatDate(double dayNumber);
std::string FormatTime(double dayNumber);
// Parse what the date and time fields show; blanks are ignored. Day and month take one or two
// digits, the year four; hours one or two, minutes two. False for impossible dates/times.
bool TryParseDate(std::string_view text, double& dayNumber);
bool TryParseTime(std::string_view text, double& fraction);

// The operating system's standard time-zone bias in minutes (no daylight saving),
// with UTC = local + bias.
int SystemBiasMinutes();
// The current local date and time as a day number.
double NowLocal();

// ---- Text helpers (1-based positions) ---------------------------------------------------------

// Not empty and none of  " * < > ? |
bool IsValidFileName(std::string_view text);
// A confirmation question with the file it is about on a line of its own.
std::string QuestionNamingFile(std::string_view question, std::string_view path);
// Appends the pieces of text between single-character separators, empty pieces included.
// Nothing happens when list is null or text or separator is empty.
void SplitText(std::string_view text, std::string_view separator, std::vector<std::string>* list);
// Position of the first occurrence of pattern at or after start, or 0.
size_t PosFrom(std::string_view pattern, size_t start, std::string_view text);
// Position just behind the first occurrence of pattern at or after start, or 0.
size_t PosAfter(std::string_view pattern, size_t start, std::string_view text);
// Text between startMarker and the next endMarker, searched from position; position becomes the
// end marker's position (0 when either marker is missing).
std::string TextBetween(std::string_view startMarker, std::string_view endMarker, size_t& position,
                        std::string_view text);
// 1-based position of pattern in text, or 0 (Pos).
inline size_t Pos(std::string_view pattern, std::string_view text) {
    return PosFrom(pattern, 1, text);
}

// ASCII letter case ignored.
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix); // letter case counting
std::string_view TrimBlanks(std::string_view text);              // blanks, tabs, CR, LF

// ---- Numbers (locale-independent) -------------------------------------------------------------

// Fixed-point text with the given decimals; at most 18 significant digits are taken from the
// value, the remaining places are zeros (5231.7 with 16 decimals -> 5231.7000000000000000).
// Negative zero is written as zero.
std::string FormatFixed(long double value, int decimals);
std::string FormatInt(long long value);
// An optional sign, digits with '.' as decimal separator, an optional exponent, blanks allowed
// around; no thousands separator, no inf/nan, nothing else.
bool TryParseFloat(std::string_view text, long double& value);
bool TryParseFloat(std::string_view text, double& value);
// An optional sign and decimal digits, blanks allowed around.
bool TryParseInt(std::string_view text, int& value);
// TryParseInt, or fallback when the text is not an integer.
int StrToIntDef(std::string_view text, int fallback);

} // namespace zm
