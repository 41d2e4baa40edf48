#include "WreckBlock.h"

#include "Angles.h"
#include "KeyGrammar.h"
#include "ScenarioText.h"
#include "WreckBlockKeys.h"

#include <cmath>

namespace {

// A track point is stored only when all five values of its line can be read and its index fits.
void ReadTrack(const char* p, FlightResult& r) {
    int index = 0, phase = 0;
    double lon = 0, lat = 0, alt = 0;
    if (!ReadTrackPoint(p, index, lon, lat, alt, phase)) return;
    if (index < 0 || index >= MaxTrackPoints) return;
    r.trackLongitude[index] = lon;
    r.trackLatitude[index] = lat;
    r.trackAltitude[index] = alt;
    r.trackPhase[index] = phase;
    r.trackCount = index + 1;
}

void ReadValue(const WreckBlockKey& key, const char* p, FlightResult& r, bool& fallPhase) {
    int flag = 0;
    double number = 0;
    switch (key.value) {
    case WreckValue::Flag:
        if (!ReadInt(p, flag)) break;
        if (key.id == WreckKeyId::LANDED)
            r.LANDED = flag != 0 ? 1 : 0;
        else
            fallPhase = flag != 0;
        break;
    case WreckValue::Angle:
        if (ReadReal(p, number)) r.*key.number = RadFromDeg(number);
        break;
    case WreckValue::Degrees:
    case WreckValue::Number:
    case WreckValue::Date:
        if (ReadReal(p, number)) r.*key.number = number;
        break;
    case WreckValue::Name:
        ReadName(p, r.TARGET, sizeof r.TARGET);
        break;
    case WreckValue::Text:
        ReadRest(p, r.FAILURE, sizeof r.FAILURE);
        break;
    case WreckValue::TrackPoint:
        ReadTrack(p, r);
        break;
    }
}

void WriteTrack(const FlightResult& r, WreckBlockWriter& out) {
    char text[4 * FixedNumberRoom];
    const int count = r.trackCount < 0 ? 0 : (r.trackCount > MaxTrackPoints ? MaxTrackPoints : r.trackCount);
    for (int i = 0; i < count; ++i) {
        // The track ends before a point that is not finite; the points written keep their indices.
        if (!std::isfinite(r.trackLongitude[i]) || !std::isfinite(r.trackLatitude[i]) ||
            !std::isfinite(r.trackAltitude[i]))
            break;
        FormatTrackPoint(i, r.trackLongitude[i], r.trackLatitude[i], r.trackAltitude[i], r.trackPhase[i],
                         text, sizeof text);
        out.WriteString("TRACK", text);
    }
}

// A text field that may lack its terminator, written only when it holds something, cut to the N - 1
// characters the field holds when terminated.
template <std::size_t N> void WriteText(const char* key, const char (&field)[N], WreckBlockWriter& out) {
    char text[N];
    CopyBounded(text, field);
    if (text[0] != '\0') out.WriteString(key, text);
}

} // namespace

void WriteWreckBlock(const FlightResult& r, bool fallPhase, WreckBlockWriter& out) {
    char text[FixedNumberRoom];
    for (const WreckBlockKey& key : WreckBlockKeys) {
        // A number that is not finite (or overflows on the way to degrees) is left out: readers of the block
        // then keep the field at zero instead of refusing the whole scenario at an "inf" or "nan".
        switch (key.value) {
        case WreckValue::Flag:
            if (key.id == WreckKeyId::LANDED)
                out.WriteInt(key.name, r.LANDED != 0 ? 1 : 0);
            else if (r.LANDED == 0)
                out.WriteInt(key.name, fallPhase ? 1 : 0);
            break;
        case WreckValue::Angle:
        case WreckValue::Degrees: {
            const double value = key.value == WreckValue::Angle ? DegFromRad(r.*key.number) : r.*key.number;
            if (!std::isfinite(value)) break;
            FormatFixed(value, 13, text, sizeof text);
            out.WriteString(key.name, text);
            break;
        }
        case WreckValue::Number:
            if (std::isfinite(r.*key.number)) out.WriteFloat(key.name, r.*key.number);
            break;
        case WreckValue::Date:
            // A wreck without the date (loaded from a block saved before missiles kept it) writes its
            // block as it read it.
            if (r.*key.number == 0.0 || !std::isfinite(r.*key.number)) break;
            FormatFixed(r.*key.number, 10, text, sizeof text);
            out.WriteString(key.name, text);
            break;
        case WreckValue::Name:
            WriteText(key.name, r.TARGET, out);
            break;
        case WreckValue::Text:
            WriteText(key.name, r.FAILURE, out);
            break;
        case WreckValue::TrackPoint:
            WriteTrack(r, out);
            break;
        }
    }
}

bool ReadWreckBlockLine(const char* line, FlightResult& r, bool& fallPhase) {
    if (line == nullptr) return false;
    for (const WreckBlockKey& key : WreckBlockKeys) {
        const std::size_t n = MatchKey(line, key.name, PluginKeys);
        if (n == 0) continue;
        ReadValue(key, line + n, r, fallPhase);
        return true;
    }
    return false;
}
