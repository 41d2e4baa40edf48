// The result KML writer. The layout of every piece is fixed: Google Earth and users' tools read these files.
#include "Unit_GEFile.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_KmlStyles.h"
#include "Unit_Utf8.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace zm {

namespace {

constexpr std::string_view CrLf = "\r\n";

// ---- Fixed-point text without the long double conversions ----
//
// The file's numbers are FormatFixed's texts. FormatFixed asks the library for 18 significant digits and,
// mostly, once more for the rounded places; for a long double each of those goes through the slow general
// path. A long double is m * 2^e with a 64-bit m, so for the magnitudes a track has, the value times a power
// of ten rounded to an integer (half to even, as the library rounds) is exact in 128-bit arithmetic. Values
// outside that range go to FormatFixed itself.

using U128 = unsigned __int128;

constexpr int MaxScale = 27; // m * 5^27 < 2^127

// 5^0 .. 5^27, all below 2^64.
constexpr auto PowersOf5 = [] {
    std::array<uint64_t, MaxScale + 1> p{};
    p[0] = 1;
    for (int i = 1; i <= MaxScale; ++i)
        p[size_t(i)] = p[size_t(i) - 1] * 5;
    return p;
}();

// round(|value| * 10^scale), or false when it does not fit.
bool ScaledInteger(uint64_t m, int e, int scale, U128& n) {
    if (scale < 0 || scale > MaxScale) return false;
    const U128 p = U128(m) * PowersOf5[size_t(scale)];
    const int shift = e + scale; // value * 10^scale = p * 2^shift
    if (shift >= 0) {
        if (shift >= 127 || p > (~U128(0) >> shift)) return false;
        n = p << shift;
        return true;
    }
    const int r = -shift;
    if (r > 127) return false;
    U128 q = p >> r;
    const U128 rest = p & ((U128(1) << r) - 1), half = U128(1) << (r - 1);
    if (rest > half || (rest == half && (q & 1))) ++q;
    n = q;
    return true;
}

// Decimal digits of n into buf (at least 40 bytes); returns their number. One 128-bit division splits off
// the low 18 digits; the rest is 64-bit arithmetic.
size_t Digits(U128 n, char* buf) {
    constexpr uint64_t E18 = 1000000000000000000ull;
    char tmp[40];
    size_t len = 0;
    auto low = [&](uint64_t v, bool full) {
        for (int k = 0; k < 18 && (full || v != 0 || len == 0); ++k) {
            tmp[len++] = char('0' + int(v % 10));
            v /= 10;
        }
    };
    if (n >> 64 == 0 && uint64_t(n) < E18) {
        low(uint64_t(n), false);
    } else {
        const U128 high = n / E18;
        low(uint64_t(n % E18), true);
        if (high >= E18) {
            low(uint64_t(high % E18), true);
            low(uint64_t(high / E18), false);
        } else {
            low(uint64_t(high), false);
        }
    }
    while (len > 1 && tmp[len - 1] == '0')
        --len; // the full groups' leading zeros
    for (size_t i = 0; i < len; ++i)
        buf[i] = tmp[len - 1 - i];
    return len;
}

// A positive normal long double as m * 2^e with a 64-bit m. The x87 format holds exactly these two fields
// (the mantissa with its leading bit, the biased exponent), so they are read as they are: frexp, ldexp and
// the conversion to an integer cost more than all the rest of a number's text.
void SplitMantissa(long double a, uint64_t& m, int& e) {
    if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
        unsigned char bytes[sizeof(long double)];
        std::memcpy(bytes, &a, sizeof bytes);
        uint16_t signAndExponent = 0;
        std::memcpy(&m, bytes, sizeof m);
        std::memcpy(&signAndExponent, bytes + 8, sizeof signAndExponent);
        e = int(signAndExponent & 0x7FFF) - 16383 - 63;
    } else {
        int e2 = 0;
        const long double fraction = std::frexp(a, &e2);
        m = uint64_t(std::ldexp(fraction, 64));
        e = e2 - 64;
    }
}

} // namespace

void AppendFixed(std::string& out, long double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (value == 0.0L) value = 0.0L;
    const long double a = std::fabs(value);
    constexpr U128 E17 = U128(100000000000000000ull), E18 = E17 * 10;
    // Beyond this range the scales do not fit (and NaN, infinities and zero are FormatFixed's own cases).
    const bool inRange = a >= 1e-10L && a < 1e18L;
    uint64_t m = 0;
    int e = 0;
    if (inRange) SplitMantissa(a, m, e);
    // The 18 significant digits: n = round(a * 10^(17 - exponent)) with 10^17 <= n < 10^18. As 2^(e+63) <= a,
    // the first guess of the exponent is its floor or one below; the loop finds which.
    int exponent = inRange ? int(std::floor((e + 63) * 0.30102999566398120)) : 0;
    U128 n = 0;
    bool exact = inRange;
    for (int tries = 0; exact; ++tries) {
        exact = tries < 4 && ScaledInteger(m, e, 17 - exponent, n);
        if (exact && n >= E18)
            ++exponent;
        else if (exact && n < E17)
            --exponent;
        else
            break;
    }
    if (!exact) {
        out += FormatFixed(value, decimals);
        return;
    }
    char digits[40];
    size_t len = Digits(n, digits);
    while (len > 1 && digits[len - 1] == '0')
        --len;
    const int fractionDigits = int(len) - 1 - exponent;
    if (fractionDigits > decimals || exponent > 60) {
        // Rounded to the places, with '.' and without the sign of a value that rounds to zero.
        U128 r = 0;
        if (!ScaledInteger(m, e, decimals, r)) {
            out += FormatFixed(value, decimals);
            return;
        }
        char text[40];
        size_t tlen = Digits(r, text);
        if (r != 0 && value < 0) out += '-';
        if (decimals == 0) {
            out.append(text, tlen);
            return;
        }
        const size_t places = size_t(decimals);
        if (tlen <= places)
            out.append("0");
        else
            out.append(text, tlen - places);
        out += '.';
        if (tlen < places) out.append(places - tlen, '0');
        out.append(text + (tlen > places ? tlen - places : 0), std::min(tlen, places));
        return;
    }
    // The 18 digits padded with zeros.
    if (value < 0) out += '-';
    size_t fracLen = 0;
    if (exponent >= 0) {
        const size_t intLen = size_t(exponent) + 1;
        out.append(digits, std::min(intLen, len));
        if (len < intLen) out.append(intLen - len, '0');
        if (decimals > 0) {
            out += FmtSettings.DecimalSeparator;
            if (len > intLen) out.append(digits + intLen, len - intLen), fracLen = len - intLen;
        }
    } else {
        out += '0';
        if (decimals > 0) {
            out += FmtSettings.DecimalSeparator;
            out.append(size_t(-exponent - 1), '0');
            out.append(digits, len);
            fracLen = size_t(-exponent - 1) + len;
        }
    }
    if (decimals > 0) out.append(size_t(decimals) - fracLen, '0');
}

namespace {

// Where the document goes: into one text, or into a file in pieces of about a megabyte, so that the memory
// a large document needs does not grow with it.
struct TKmlOut {
    std::string Text;
    TAtomicFile* File = nullptr;

    void Spill() {
        if (File && Text.size() >= (1u << 20)) {
            File->Write(Text);
            Text.clear();
        }
    }
};

// A point mark: name, longitude, latitude, style, longitude, latitude.
void WritePointMark(std::string& out, std::string_view name, long double lon, long double lat,
                    std::string_view style) {
    std::string lonText, latText;
    AppendFixed(lonText, lon, 13);
    AppendFixed(latText, lat, 13);
    out += "<Placemark><name>";
    out += name;
    out += "</name><LookAt><longitude>";
    out += lonText;
    out += "</longitude><latitude>";
    out += latText;
    out += "</latitude><range>0</range><tilt>0</tilt><heading>0</heading></LookAt><styleUrl>#";
    out += style;
    out += "</styleUrl><Point><coordinates>";
    out += lonText;
    out += ",";
    out += latText;
    out += ",0</coordinates></Point></Placemark>";
    out += CrLf;
}

// The colour pair is carried from piece to piece, and from missile to missile, for unknown phase codes.
struct TColourState {
    std::string_view Html;
    std::string_view Kml;
};

// Each piece ends where the next begins: the end point's longitude and latitude texts serve twice.
struct TPointText {
    int Index = -1;
    std::string LonLat; // "lon,lat"
};

void AppendLonLat(std::string& out, const TTeskWreck& w, int i) {
    AppendFixed(out, w.TrackLon[i], 13);
    out += ',';
    AppendFixed(out, w.TrackLat[i], 13);
}

void WriteTrackPiece(std::string& out, const TTeskWreck& w, int i, TColourState& colour, TPointText& start) {
    for (const TPhaseColour& pc : PhaseColours)
        if (pc.Phase == w.TrackPhase[i + 1]) colour = {pc.Html, pc.Kml};
    out += "<Placemark><name>&lt;span style=&quot;color:";
    out += colour.Html;
    out += "&quot;&gt;trkpt ";
    out += FormatInt(i);
    out += "&lt;/span&gt;</name><Style><LineStyle><color>";
    out += colour.Kml;
    out += "</color><width>4</width></LineStyle></Style><LineString><altitudeMode>absolute</altitudeMode>"
           "<coordinates>";
    out += CrLf;
    if (start.Index != i) {
        start.LonLat.clear();
        AppendLonLat(start.LonLat, w, i);
    }
    out += start.LonLat;
    out += ',';
    AppendFixed(out, w.TrackAlt[i], 1);
    out += ' ';
    start.LonLat.clear();
    AppendLonLat(start.LonLat, w, i + 1);
    start.Index = i + 1;
    out += start.LonLat;
    out += ',';
    AppendFixed(out, w.TrackAlt[i + 1], 16);
    out += CrLf;
    out += "</coordinates></LineString></Placemark>";
    out += CrLf;
}

void WriteDocument(TKmlOut& doc, const std::string& fileName, const std::vector<TTeskWreck>& wrecks) {
    std::string& out = doc.Text;
    const std::string name = KmlText(fileName);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <kml xmlns=\"http://earth.google.com/kml/2.0\">"
           "<Document><name>";
    out += name;
    out += "</name>";
    out += CrLf;
    for (std::string_view style : MarkStyles) {
        out += style;
        out += CrLf;
    }
    out += "<Folder><name>";
    out += name;
    out += "</name>";
    out += CrLf;
    TColourState colour;
    for (const TTeskWreck& w : wrecks) {
        const std::string missile = KmlText(w.MissileName), target = KmlText(w.Target);
        WritePointMark(out, missile + " to " + target, w.LongitudeLast, w.LatitudeLast, "stWreck");
        WritePointMark(out, target, w.LongitudeTarget, w.LatitudeTarget, "stTarget");
        WritePointMark(out, missile, w.LongitudeLaunch, w.LatitudeLaunch, "stLaunch");
        out += "<Folder><name>trk ";
        out += KmlText(w.Name);
        out += "</name>";
        out += CrLf;
        const int count = std::min(w.TrackCount, static_cast<int32_t>(TrackArraySize));
        TPointText start;
        for (int i = 0; i + 1 < count; ++i) {
            WriteTrackPiece(out, w, i, colour, start);
            doc.Spill();
        }
        out += "</Folder>";
        out += CrLf;
    }
    out += "</Folder></Document></kml>";
    out += CrLf;
}

} // namespace

std::string KmlText(std::string_view text) {
    const std::string utf8 = AsUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (const char ch : utf8) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            // XML 1.0 allows no control characters but tab, LF and CR.
            out +=
                (static_cast<unsigned char>(ch) < 0x20 && ch != '\t' && ch != '\n' && ch != '\r') ? '?' : ch;
        }
    }
    return out;
}

std::string BuildGEFileText(const std::string& fileName, const std::vector<TTeskWreck>& wrecks) {
    TKmlOut doc;
    WriteDocument(doc, fileName, wrecks);
    return std::move(doc.Text);
}

// Written as it is formed, through the same atomic save as every other file.
TResult WriteGEFile(const std::string& dir, const std::string& fileName,
                    const std::vector<TTeskWreck>& wrecks) {
    TAtomicFile file;
    if (TResult opened = file.Open(dir + fileName); !opened.Ok()) return opened;
    TKmlOut doc;
    doc.File = &file;
    WriteDocument(doc, fileName, wrecks);
    file.Write(doc.Text);
    return file.Commit();
}

} // namespace zm
