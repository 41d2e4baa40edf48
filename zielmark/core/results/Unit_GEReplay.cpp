// The replay writer: KML 2.2 with Google's extensions (time-stamped tracks, a tour), for the time slider.
#include "Unit_GEReplay.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_GEFile.h"
#include "Unit_KmlStyles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace zm {

namespace {

constexpr std::string_view CrLf = "\r\n";
constexpr int64_t MsPerDay = 86400000;
constexpr long double MjdOfUnixEpoch = 40587;      // 1970-01-01
constexpr int64_t FirstMs = -62135596800000;       // 0001-01-01T00:00:00Z
constexpr int64_t EndMs = 253402300800000;         // 10000-01-01T00:00:00Z
constexpr int MaxTrackPoints = TrackArraySize - 1; // a full track has no final point at the impact
constexpr long double LongestFlight = 1e7;         // s; a longer flight time is no flight time

// The camera's view: one every few seconds of the firing, played ten times faster.
constexpr int64_t MinCameraStepMs = 5000;
constexpr size_t MaxCameraViews = 400;
constexpr double CameraSpeedUp = 10;
constexpr double MinCameraRange = 30000; // m
constexpr double EarthRadius = 6371010;  // m

// Days since 1970-01-01 to a civil date (the proleptic Gregorian calendar).
void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int64_t(yoe) + era * 400 + (m <= 2);
}

struct TFlight {
    const TTeskWreck* Wreck;
    TFlightTimes Times;
};

// Where a flight is at `t`: its launch point before it, the track point passed last during it, the impact
// after it.
struct TPlace {
    double Lon, Lat, Alt;
};

TPlace PlaceAt(const TFlight& f, int64_t t) {
    const TTeskWreck& w = *f.Wreck;
    const auto& points = f.Times.Points;
    if (points.empty() || t < f.Times.Launch) return {double(w.LongitudeLaunch), double(w.LatitudeLaunch), 0};
    const size_t k = size_t(std::upper_bound(points.begin(), points.end(), t) - points.begin());
    const size_t i = k == 0 ? 0 : k - 1;
    return {double(w.TrackLon[i]), double(w.TrackLat[i]), double(w.TrackAlt[i])};
}

void AppendTimeSpan(std::string& out, std::string_view tag, int64_t begin, std::optional<int64_t> end) {
    out += '<';
    out += tag;
    out += "><begin>";
    out += IsoTime(begin);
    out += "</begin>";
    if (end) {
        out += "<end>";
        out += IsoTime(*end);
        out += "</end>";
    }
    out += "</";
    out += tag;
    out += '>';
}

// Where the flights in the air at `t` are (all flights when none flies then).
std::vector<TPlace> PlacesAt(const std::vector<TFlight>& flights, int64_t t) {
    std::vector<TPlace> places;
    for (const TFlight& f : flights)
        if (f.Times.Launch <= t && t <= f.Times.End) places.push_back(PlaceAt(f, t));
    if (places.empty())
        for (const TFlight& f : flights)
            places.push_back(PlaceAt(f, t));
    return places;
}

// Every launch site and impact point of the firing.
std::vector<TPlace> WholeFiring(const std::vector<TFlight>& flights) {
    std::vector<TPlace> places;
    for (const TFlight& f : flights) {
        places.push_back(PlaceAt(f, f.Times.Launch - 1));
        places.push_back(PlaceAt(f, f.Times.End));
    }
    return places;
}

// A view from above and south that takes in the places, showing the firing from `begin` up to `t`.
void AppendLookAt(std::string& out, std::vector<TPlace> places, int64_t begin, int64_t t) {
    // Longitudes taken near the first, so a salvo across the date line is framed where it flies.
    const double lon0 = places.front().Lon;
    double lon = 0, lat = 0, top = 0;
    for (TPlace& p : places) {
        p.Lon = lon0 + std::remainder(p.Lon - lon0, 360.0);
        lon += p.Lon;
        lat += p.Lat;
        top = std::max(top, p.Alt);
    }
    lon /= double(places.size());
    lat /= double(places.size());
    double spread = 0;
    for (const TPlace& p : places) {
        const double north = double(DegToRad(p.Lat - lat)) * EarthRadius;
        const double east = double(DegToRad(p.Lon - lon)) * EarthRadius * std::cos(double(DegToRad(lat)));
        spread = std::max(spread, std::hypot(north, east));
    }
    const double range = std::max({MinCameraRange, 3 * spread, 2.5 * top});
    out += "<LookAt>";
    AppendTimeSpan(out, "gx:TimeSpan", begin, t);
    out += "<longitude>";
    AppendFixed(out, std::remainder(lon, 360.0), 13);
    out += "</longitude><latitude>";
    AppendFixed(out, lat, 13);
    out += "</latitude><altitude>0</altitude><heading>0</heading><tilt>50</tilt><range>";
    AppendFixed(out, range, 0);
    out += "</range><altitudeMode>absolute</altitudeMode></LookAt>";
}

void AppendPointMark(std::string& out, std::string_view name, long double lon, long double lat,
                     std::string_view style, std::optional<int64_t> from) {
    out += "<Placemark><name>";
    out += name;
    out += "</name>";
    if (from) AppendTimeSpan(out, "TimeSpan", *from, std::nullopt);
    out += "<styleUrl>#";
    out += style;
    out += "</styleUrl><Point><coordinates>";
    AppendFixed(out, lon, 13);
    out += ',';
    AppendFixed(out, lat, 13);
    out += ",0</coordinates></Point></Placemark>";
    out += CrLf;
}

// One time-stamped track for points first..last, in the style of its phase (none before the first known
// phase of the file).
void AppendTrack(std::string& out, const TFlight& f, int first, int last, const TPhaseColour* style) {
    const TTeskWreck& w = *f.Wreck;
    out += "<Placemark><name>trkpt ";
    out += FormatInt(first);
    out += "</name>";
    if (style) {
        out += "<styleUrl>#";
        out += style->StyleId;
        out += "</styleUrl>";
    }
    out += "<gx:Track><altitudeMode>absolute</altitudeMode>";
    out += CrLf;
    for (int i = first; i <= last; ++i) {
        out += "<when>";
        out += IsoTime(f.Times.Points[size_t(i)]);
        out += "</when>";
    }
    out += CrLf;
    for (int i = first; i <= last; ++i) {
        out += "<gx:coord>";
        AppendFixed(out, w.TrackLon[i], 13);
        out += ' ';
        AppendFixed(out, w.TrackLat[i], 13);
        out += ' ';
        AppendFixed(out, w.TrackAlt[i], 1);
        out += "</gx:coord>";
    }
    out += CrLf;
    out += "</gx:Track></Placemark>";
    out += CrLf;
}

// A missile's folder: its marks, then its track cut where the colour changes. The colour of the piece
// from point i to i + 1 is that of point i + 1's phase; an unknown code keeps the colour before it, from
// whichever missile, as in the result KML.
void AppendFlight(std::string& out, const TFlight& f, const TPhaseColour*& style) {
    const TTeskWreck& w = *f.Wreck;
    const std::string missile = KmlText(w.MissileName), target = KmlText(w.Target);
    out += "<Folder><name>";
    out += KmlText(w.Name);
    out += "</name>";
    out += CrLf;
    AppendPointMark(out, missile, w.LongitudeLaunch, w.LatitudeLaunch, "stLaunch", f.Times.Launch);
    AppendPointMark(out, target, w.LongitudeTarget, w.LatitudeTarget, "stTarget", std::nullopt);
    AppendPointMark(out, missile + " to " + target, w.LongitudeLast, w.LatitudeLast, "stWreck", f.Times.End);
    const int count = int(f.Times.Points.size());
    int first = 0;
    for (int i = 0; i + 1 < count; ++i) {
        const TPhaseColour* before = style;
        for (const TPhaseColour& s : PhaseColours)
            if (s.Phase == w.TrackPhase[size_t(i) + 1]) style = &s;
        if (i > first && style != before) {
            AppendTrack(out, f, first, i, before); // the pieces up to point i had the colour before
            first = i;
        }
        if (i + 2 == count) AppendTrack(out, f, first, i + 1, style);
    }
    out += "</Folder>";
    out += CrLf;
}

void AppendTour(std::string& out, const std::vector<TFlight>& flights, int64_t begin, int64_t end) {
    const int64_t span = end - begin;
    const int64_t step = std::max<int64_t>(MinCameraStepMs, span / int64_t(MaxCameraViews) + 1);
    std::string duration;
    AppendFixed(duration, double(step) / 1000 / CameraSpeedUp, 1);
    out += "<gx:Tour><name>Follow the salvo</name><gx:Playlist>";
    out += CrLf;
    for (int64_t t = begin;; t = std::min(t + step, end)) {
        out += "<gx:FlyTo><gx:duration>";
        out += t == begin ? "1.0" : duration;
        out += "</gx:duration><gx:flyToMode>smooth</gx:flyToMode>";
        AppendLookAt(out, PlacesAt(flights, t), begin, t);
        out += "</gx:FlyTo>";
        out += CrLf;
        if (t == end) break;
    }
    out += "</gx:Playlist></gx:Tour>";
    out += CrLf;
}

using TSink = std::function<void(std::string&)>;

// The flights that have their times, and the wrecks left out with their reasons.
std::vector<TFlight> FlightsOf(const std::vector<TTeskWreck>& wrecks, std::vector<std::string>& leftOut) {
    std::vector<TFlight> flights;
    for (const TTeskWreck& w : wrecks) {
        TResultOf<TFlightTimes> times = FlightTimesOf(w);
        if (times.Ok())
            flights.push_back({&w, std::move(times.Value)});
        else
            leftOut.push_back(w.Name + ": " + times.Message);
    }
    return flights;
}

std::vector<std::string> WriteReplay(const std::string& fileName, const std::vector<TTeskWreck>& wrecks,
                                     const TSink& spill) {
    std::vector<std::string> leftOut;
    const std::vector<TFlight> flights = FlightsOf(wrecks, leftOut);
    std::string out;
    const std::string name = KmlText(fileName);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    out += CrLf;
    out += "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">"
           "<Document><name>";
    out += name;
    out += "</name><open>1</open><description>";
    out += "The firing in time: play it with the time slider, or the tour \"Follow the salvo\".";
    for (const std::string& note : leftOut)
        out += " Left out: " + KmlText(note) + ".";
    out += "</description>";
    out += CrLf;
    int64_t begin = 0, end = 0;
    for (const TFlight& f : flights) {
        begin = &f == &flights.front() ? f.Times.Launch : std::min(begin, f.Times.Launch);
        end = &f == &flights.front() ? f.Times.End : std::max(end, f.Times.End);
    }
    if (!flights.empty()) {
        AppendLookAt(out, WholeFiring(flights), begin, end);
        out += CrLf;
    }
    for (std::string_view style : MarkStyles) {
        out += style;
        out += CrLf;
    }
    for (const TPhaseColour& s : PhaseColours) {
        out += "<Style id=\"";
        out += s.StyleId;
        out += "\"><LineStyle><color>";
        out += s.Kml;
        out += "</color><width>4</width></LineStyle></Style>";
        out += CrLf;
    }
    if (!flights.empty()) AppendTour(out, flights, begin, end);
    out += "<Folder><name>";
    out += name;
    out += "</name>";
    out += CrLf;
    const TPhaseColour* style = nullptr;
    for (const TFlight& f : flights) {
        AppendFlight(out, f, style);
        spill(out);
    }
    out += "</Folder></Document></kml>";
    out += CrLf;
    spill(out);
    return leftOut;
}

} // namespace

std::string ReplayFileName(const std::string& kmlName) {
    return ChangeFileExt(kmlName, "") + "-replay.kml";
}

std::optional<int64_t> MillisecondsOfMjd(long double mjd) {
    if (!std::isfinite(mjd)) return std::nullopt;
    const long double ms = std::round((mjd - MjdOfUnixEpoch) * MsPerDay);
    if (ms < FirstMs || ms >= EndMs) return std::nullopt;
    return int64_t(ms);
}

std::string IsoTime(int64_t milliseconds) {
    const int64_t days = (milliseconds >= 0 ? milliseconds : milliseconds - (MsPerDay - 1)) / MsPerDay;
    const int64_t rest = milliseconds - days * MsPerDay;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    char text[96]; // room for any year the compiler can imagine
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ",
                  static_cast<long long>(year), month, day, static_cast<long long>(rest / 3600000),
                  static_cast<long long>(rest / 60000 % 60), static_cast<long long>(rest / 1000 % 60),
                  static_cast<long long>(rest % 1000));
    return text;
}

TResultOf<TFlightTimes> FlightTimesOf(const TTeskWreck& w) {
    if (!w.Gives(&TTeskWreck::LaunchMJD) || w.LaunchMJD == 0)
        return TResult::Failure("no launch date (its block has no MJD_LAUNCH line: it was saved before the "
                                "missiles kept the date of their ignition)");
    const std::optional<int64_t> launch = MillisecondsOfMjd(w.LaunchMJD);
    if (!launch) return TResult::Failure("its launch date MJD_LAUNCH is not a date of the years 1 to 9999");
    TFlightTimes times;
    times.Launch = *launch;
    const int count = std::clamp(w.TrackCount, int32_t(0), int32_t(TrackArraySize));
    // A point a second of mission time, as the missile samples its track; the final point of a flight that
    // did not fill its track is the impact, at the flight time.
    for (int i = 0; i < count; ++i)
        times.Points.push_back(times.Launch + 1000 * int64_t(i));
    const bool flightTime = w.Gives(&TTeskWreck::FlightTime) && std::isfinite(w.FlightTime) &&
                            w.FlightTime >= 0 && w.FlightTime < LongestFlight;
    if (count >= 2 && count < MaxTrackPoints && flightTime) {
        const int64_t impact = times.Launch + int64_t(std::llround(w.FlightTime * 1000));
        if (impact > times.Points[size_t(count) - 2]) times.Points.back() = impact;
    }
    times.End = times.Points.empty()
                    ? times.Launch + (flightTime ? int64_t(std::llround(w.FlightTime * 1000)) : 0)
                    : times.Points.back();
    if (times.End >= EndMs) return TResult::Failure("its flight ends after the year 9999");
    return {TResult::Success(), std::move(times)};
}

TReplay BuildGEReplay(const std::string& fileName, const std::vector<TTeskWreck>& wrecks) {
    TReplay replay;
    std::string text;
    replay.LeftOut = WriteReplay(fileName, wrecks, [&](std::string& piece) {
        text += piece;
        piece.clear();
    });
    replay.Text = std::move(text);
    return replay;
}

TResultOf<std::vector<std::string>> WriteGEReplay(const std::string& dir, const std::string& fileName,
                                                  const std::vector<TTeskWreck>& wrecks) {
    TAtomicFile file;
    TResult opened = file.Open(dir + fileName);
    if (!opened.Ok()) {
        std::vector<std::string> leftOut;
        FlightsOf(wrecks, leftOut);
        return {opened, std::move(leftOut)};
    }
    std::vector<std::string> leftOut = WriteReplay(fileName, wrecks, [&](std::string& piece) {
        file.Write(piece);
        piece.clear();
    });
    return {file.Commit(), std::move(leftOut)};
}

} // namespace zm
