#include "Unit_Functions.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>

namespace zm {

// ---- Geodesy ----------------------------------------------------------------------------------

TGreatCircle GreatCircle(long double lat1, long double lon1, long double lat2, long double lon2) {
    const long double cosD =
        std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(lon2 - lon1);
    // Rounding can push the cosine past 1 (same point, antipode); the arc is limited to 0..pi.
    const long double x = std::clamp(cosD, -1.0L, 1.0L);
    TGreatCircle r;
    r.Distance = std::atan2(std::sqrt(1.0L - x * x), x);
    if (r.Distance == 0.0L) return r; // no direction to a point on the spot: azimuth 0
    // From a pole every course leads south (north pole) or north, whatever the longitudes say. The cosine of
    // a pole's latitude is rounding noise rather than 0, and dividing by it gives any azimuth at all.
    constexpr long double PoleCosine = 1e-12L; // about 6 micrometres from the pole
    if (std::fabs(std::cos(lat1)) < PoleCosine) {
        r.Azimuth = lat1 > 0 ? Pi : 0.0L;
        return r;
    }
    const long double denom = std::cos(lat1) * std::sin(r.Distance);
    long double q = (std::sin(lat2) - std::sin(lat1) * std::cos(r.Distance)) / denom;
    if (std::isnan(q)) q = 1.0L;
    q = std::clamp(q, -1.0L, 1.0L);
    r.Azimuth = std::atan2(std::sqrt(1.0L - q * q), q);
    if (lon1 > lon2) r.Azimuth = 2.0L * Pi - r.Azimuth;
    return r;
}

TGreatCircle GreatCircleKmDeg(long double lat1, long double lon1, long double lat2, long double lon2) {
    TGreatCircle r = GreatCircle(lat1, lon1, lat2, lon2);
    r.Distance *= EarthRadiusKm;
    r.Azimuth = r.Azimuth * 180.0L / Pi;
    return r;
}

// ---- Day numbers --------------------------------------------------------------------------------

int ZoneMinutesForLongitude(long double longitudeDeg) {
    if (!std::isfinite(longitudeDeg)) return 0;
    // A longitude beyond the date line (a damaged or odd KML file) means the same meridian as its wrapped
    // value; wrapping also keeps the hour count far inside an int.
    if (std::fabs(longitudeDeg) > 180.0L) longitudeDeg = std::remainder(longitudeDeg, 360.0L);
    return -60 * static_cast<int>(std::nearbyint(static_cast<double>(longitudeDeg / 15.0L)));
}

namespace {

// Days since 1 January 1970 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(era * 400 + yoe + (month <= 2));
}

const long long kDayNumberEpoch = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

std::string TwoDigits(int v) {
    std::string s(2, '0');
    s[0] = static_cast<char>('0' + (v / 10) % 10);
    s[1] = static_cast<char>('0' + v % 10);
    return s;
}

// Reads 1..maxDigits decimal digits; false when there are none or more.
bool ReadDigits(std::string_view text, size_t& i, size_t minDigits, size_t maxDigits, int& value) {
    size_t start = i;
    value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < maxDigits)
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] >= '0' && text[i] <= '9') return false;
    return i - start >= minDigits;
}

std::string StripBlanks(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '_') s += c;
    return s;
}

} // namespace

bool TryEncodeDate(int year, int month, int day, double& dayNumber) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    dayNumber = static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDayNumberEpoch);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, double& fraction) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
        msec > 999)
        return false;
    fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / 86400000.0;
    return true;
}

TDateTimeParts DecodeDateTime(double dayNumber) {
    TDateTimeParts p;
    if (!std::isfinite(dayNumber) || std::fabs(dayNumber) > 3.0e6) return p;
    double days = std::floor(dayNumber);
    long long ms = std::llround((dayNumber - days) * 86400000.0);
    if (ms >= 86400000) { // rounding reached midnight
        ms -= 86400000;
        days += 1;
    }
    CivilFromDays(static_cast<long long>(days) + kDayNumberEpoch, p.Year, p.Month, p.Day);
    p.MilliSecond = static_cast<int>(ms % 1000);
    p.Second = static_cast<int>(ms / 1000 % 60);
    p.Minute = static_cast<int>(ms / 60000 % 60);
    p.Hour = static_cast<int>(ms / 3600000);
    return p;
}

std::string FormatDate(double dayNumber) {
    const TDateTimeParts p = DecodeDateTime(dayNumber);
    std::string year = std::to_string(p.Year);
    if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
    return TwoDigits(p.Day) + FmtSettings.DateSeparator + TwoDigits(p.Month) + FmtSettings.DateSeparator +
           year;
}

std::string FormatTime(double dayNumber) {
    const TDateTimeParts p = DecodeDateTime(dayNumber);
    return TwoDigits(p.Hour) + FmtSettings.TimeSeparator + TwoDigits(p.Minute);
}

bool TryParseDate(std::string_view text, double& dayNumber) {
    const std::string s = StripBlanks(text);
    size_t i = 0;
    int d, m, y;
    if (!ReadDigits(s, i, 1, 2, d) || i >= s.size() || s[i++] != FmtSettings.DateSeparator) return false;
    if (!ReadDigits(s, i, 1, 2, m) || i >= s.size() || s[i++] != FmtSettings.DateSeparator) return false;
    if (!ReadDigits(s, i, 4, 4, y) || i != s.size()) return false;
    return TryEncodeDate(y, m, d, dayNumber);
}

bool TryParseTime(std::string_view text, double& fraction) {
    const std::string s = StripBlanks(text);
    size_t i = 0;
    int h, m;
    if (!ReadDigits(s, i, 1, 2, h) || i >= s.size() || s[i++] != FmtSettings.TimeSeparator) return false;
    if (!ReadDigits(s, i, 2, 2, m) || i != s.size()) return false;
    return TryEncodeTime(h, m, 0, 0, fraction);
}

int SystemBiasMinutes() {
    tzset();
    return static_cast<int>(timezone / 60); // seconds west of UTC, standard time
}

double NowLocal() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    double date = 0, time = 0;
    TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
    TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), 0, time);
    return date + time;
}

// ---- Text helpers -------------------------------------------------------------------------------

bool IsValidFileName(std::string_view text) {
    if (text.empty()) return false;
    return text.find_first_of("\"*<>?|") == std::string_view::npos;
}

std::string QuestionNamingFile(std::string_view question, std::string_view path) {
    return std::string(question) + "\n" + std::string(path);
}

void SplitText(std::string_view text, std::string_view separator, std::vector<std::string>* list) {
    if (!list || text.empty() || separator.empty()) return;
    const char sep = separator[0];
    size_t from = 0;
    for (size_t p = text.find(sep); p != std::string_view::npos; p = text.find(sep, from)) {
        list->emplace_back(text.substr(from, p - from));
        from = p + 1;
    }
    list->emplace_back(text.substr(from));
}

size_t PosFrom(std::string_view pattern, size_t start, std::string_view text) {
    if (start < 1) start = 1;
    if (pattern.empty() || start > text.size()) return 0;
    const size_t p = text.find(pattern, start - 1);
    return p == std::string_view::npos ? 0 : p + 1;
}

size_t PosAfter(std::string_view pattern, size_t start, std::string_view text) {
    const size_t p = PosFrom(pattern, start, text);
    return p == 0 ? 0 : p + pattern.size();
}

std::string TextBetween(std::string_view startMarker, std::string_view endMarker, size_t& position,
                        std::string_view text) {
    const size_t a = PosAfter(startMarker, position, text);
    if (a == 0) {
        position = 0;
        return {};
    }
    const size_t b = PosFrom(endMarker, a, text);
    position = b;
    if (b == 0) return {};
    return std::string(text.substr(a - 1, b - a));
}

namespace {
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(Lower(a[i])),
                            y = static_cast<unsigned char>(Lower(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// ---- Numbers ------------------------------------------------------------------------------------

std::string FormatFixed(long double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (value == 0.0L) value = 0.0L; // no "-0.000"
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    char buf[128];
    // 18 significant digits in scientific form tell how many decimals the value really has.
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 17);
    if (ec != std::errc()) return "0";
    const std::string_view sci(buf, static_cast<size_t>(end - buf));
    const size_t e = sci.find('e');
    int exponent = 0;
    std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+'), sci.data() + sci.size(), exponent);
    std::string mantissa;
    for (char c : sci.substr(0, e))
        if (c >= '0' && c <= '9') mantissa += c;
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    const int fractionDigits = static_cast<int>(mantissa.size()) - 1 - exponent;
    if (fractionDigits > decimals || exponent > 60) {
        // The digits run past the requested places: plain rounding to the places is exact enough.
        static thread_local char big[8192];
        auto [e2, ec2] = std::to_chars(big, big + sizeof big, value, std::chars_format::fixed, decimals);
        if (ec2 != std::errc()) return "0";
        std::string s(big, e2);
        if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
        return s;
    }
    // Build the fixed text from the 18 significant digits and pad with zeros.
    std::string s = value < 0 ? "-" : "";
    std::string intPart, fracPart;
    if (exponent >= 0) {
        const size_t intLen = static_cast<size_t>(exponent) + 1;
        intPart = mantissa.substr(0, std::min(intLen, mantissa.size()));
        if (intPart.size() < intLen) intPart.append(intLen - intPart.size(), '0');
        if (mantissa.size() > intLen) fracPart = mantissa.substr(intLen);
    } else {
        intPart = "0";
        fracPart = std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
    }
    fracPart.resize(static_cast<size_t>(decimals), '0');
    s += intPart;
    if (decimals > 0) s += FmtSettings.DecimalSeparator + fracPart;
    return s;
}

std::string FormatInt(long long value) {
    return std::to_string(value);
}

namespace {
template <class T> bool ParseFloatImpl(std::string_view text, T& value) {
    text = TrimBlanks(text);
    if (text.empty()) return false;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // Only digits or a decimal point may start the number: no inf, nan, second sign or blank.
    if (text.empty() || !((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) return false;
    T v{};
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (ec != std::errc() || ptr != text.data() + text.size()) return false;
    value = negative ? -v : v;
    return true;
}
} // namespace

bool TryParseFloat(std::string_view text, long double& value) {
    return ParseFloatImpl(text, value);
}
bool TryParseFloat(std::string_view text, double& value) {
    return ParseFloatImpl(text, value);
}

bool TryParseInt(std::string_view text, int& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    if (text.empty() || text[0] == '+' || text[0] == ' ') return false;
    int v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 10);
    if (ec != std::errc() || ptr != text.data() + text.size()) return false;
    value = v;
    return true;
}

int StrToIntDef(std::string_view text, int fallback) {
    int v;
    return TryParseInt(text, v) ? v : fallback;
}

} // namespace zm
