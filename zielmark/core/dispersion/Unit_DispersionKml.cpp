#include "Unit_DispersionKml.h"

#include "Unit_DispersionPlot.h"
#include "Unit_Functions.h"
#include "Unit_GEFile.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zm {

namespace {

constexpr int kOutlinePoints = 72;

std::string Coordinate(long double lat, long double lon) {
    return FormatFixed(lon, 8) + "," + FormatFixed(lat, 8) + ",0";
}

// KML colours are aabbggrr; ours are #rrggbb.
std::string KmlColour(const std::string& rgb, const char* alpha) {
    return alpha + rgb.substr(5, 2) + rgb.substr(3, 2) + rgb.substr(1, 2);
}

std::string PointPlacemark(const std::string& name, const std::string& style, long double lat,
                           long double lon, const std::string& description = {}) {
    return "<Placemark><name>" + KmlText(name) + "</name>" +
           (description.empty() ? std::string() : "<description>" + KmlText(description) + "</description>") +
           "<styleUrl>#" + style + "</styleUrl><Point><coordinates>" + Coordinate(lat, lon) +
           "</coordinates></Point></Placemark>\n";
}

// A closed ring of an ellipse (semi-axes in metres, major axis `angle` degrees clockwise from the launch
// azimuth) about `centre`; a circle when both semi-axes are equal.
std::string RingPlacemark(const TMissileDispersion& m, const std::string& name, const std::string& style,
                          TLocalPoint centre, double semiMajor, double semiMinor, double angle) {
    const double t = angle * 3.14159265358979323846 / 180;
    std::string coords;
    std::string first;
    for (int i = 0; i < kOutlinePoints; ++i) {
        const double p = 2 * 3.14159265358979323846 * i / kOutlinePoints;
        const double a = semiMajor * std::cos(p), b = semiMinor * std::sin(p);
        long double lat = 0, lon = 0;
        LaunchFramePoint(m,
                         {centre.Along + a * std::cos(t) - b * std::sin(t),
                          centre.Across + a * std::sin(t) + b * std::cos(t)},
                         lat, lon);
        const std::string c = Coordinate(lat, lon);
        if (i == 0) first = c;
        coords += c + " ";
    }
    coords += first; // a ring ends where it begins
    return "<Placemark><name>" + KmlText(name) + "</name><styleUrl>#" + style +
           "</styleUrl><Polygon><tessellate>1</tessellate><altitudeMode>clampToGround</"
           "altitudeMode><outerBoundaryIs>"
           "<LinearRing><coordinates>" +
           coords + "</coordinates></LinearRing></outerBoundaryIs></Polygon></Placemark>\n";
}

// Every failure kind of the dispersion, in order of appearance: impact style "impactN" is kind N.
std::vector<std::string> KindsOf(const TDispersion& d) {
    std::vector<std::string> kinds;
    for (const TMissileDispersion& m : d.Missiles)
        for (const TDispersionImpact& i : m.Impacts)
            if (std::find(kinds.begin(), kinds.end(), i.Outcome.Kind) == kinds.end())
                kinds.push_back(i.Outcome.Kind);
    return kinds;
}

std::string Styles(const std::vector<std::string>& kinds) {
    std::string s =
        "<Style id=\"launch\"><IconStyle><color>ff00aaff</color><Icon><href>"
        "http://maps.google.com/mapfiles/kml/shapes/triangle.png</href></Icon></IconStyle></Style>\n"
        "<Style id=\"target\"><IconStyle><color>ff2827d6</color><Icon><href>"
        "http://maps.google.com/mapfiles/kml/shapes/target.png</href></Icon></IconStyle></Style>\n"
        "<Style id=\"mean\"><IconStyle><color>ff000000</color><scale>0.8</scale><Icon><href>"
        "http://maps.google.com/mapfiles/kml/shapes/cross-hairs.png</href></Icon></IconStyle></Style>\n"
        "<Style id=\"ellipse\"><LineStyle><color>ff404040</color><width>2</width></LineStyle>"
        "<PolyStyle><color>18404040</color></PolyStyle></Style>\n"
        "<Style id=\"cep\"><LineStyle><color>ffbf5f1f</color><width>2</width></LineStyle>"
        "<PolyStyle><color>20bf5f1f</color></PolyStyle></Style>\n"
        "<Style id=\"cepTarget\"><LineStyle><color>ff2827d6</color><width>2</width></LineStyle>"
        "<PolyStyle><fill>0</fill></PolyStyle></Style>\n";
    for (size_t k = 0; k < kinds.size(); ++k) {
        const bool failed = kinds[k] != "none";
        s += "<Style id=\"impact" + std::to_string(k) + "\"><IconStyle><color>" +
             KmlColour(FailureColour(kinds[k]), "ff") + "</color><scale>" + (failed ? "0.7" : "0.5") +
             "</scale><Icon><href>http://maps.google.com/mapfiles/kml/shapes/" +
             (failed ? "forbidden.png" : "placemark_circle.png") +
             "</href></Icon></IconStyle><LabelStyle><scale>0</scale></LabelStyle></Style>\n";
    }
    return s;
}

std::string ImpactStyle(const std::vector<std::string>& kinds, const std::string& kind) {
    return "impact" + std::to_string(std::find(kinds.begin(), kinds.end(), kind) - kinds.begin());
}

} // namespace

void LaunchFramePoint(const TMissileDispersion& m, TLocalPoint offset, long double& lat, long double& lon) {
    const long double rad = Pi / 180.0L;
    const long double delta =
        std::hypot((long double)offset.Along, (long double)offset.Across) / (EarthRadiusKm * 1000.0L);
    const long double az =
        m.LaunchAzimuth * rad + std::atan2((long double)offset.Across, (long double)offset.Along);
    const long double lat1 = m.TargetLatitude * rad, lon1 = m.TargetLongitude * rad;
    const long double lat2 = std::asin(std::clamp(
        std::sin(lat1) * std::cos(delta) + std::cos(lat1) * std::sin(delta) * std::cos(az), -1.0L, 1.0L));
    const long double lon2 = lon1 + std::atan2(std::sin(az) * std::sin(delta) * std::cos(lat1),
                                               std::cos(delta) - std::sin(lat1) * std::sin(lat2));
    lat = lat2 / rad;
    lon = std::remainder(lon2 / rad, 360.0L);
}

std::string DispersionKml(const TDispersion& d, const std::string& title) {
    std::string k =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
        "<Document><name>" +
        KmlText(title) + "</name>\n";
    const std::vector<std::string> kinds = KindsOf(d);
    k += Styles(kinds);
    for (const TMissileDispersion& m : d.Missiles) {
        const TDispersionStats& s = m.Stats;
        k += "<Folder><name>" + KmlText(m.Missile + " to " + m.Target) + "</name>\n";
        k += PointPlacemark(m.Missile + " launch site", "launch", m.LaunchLatitude, m.LaunchLongitude);
        k += PointPlacemark(m.Target, "target", m.TargetLatitude, m.TargetLongitude);
        if (s.Count > 0) {
            long double lat = 0, lon = 0;
            LaunchFramePoint(m, s.Mean, lat, lon);
            k += PointPlacemark(m.Missile + " mean point of impact", "mean", lat, lon);
            if (s.CepMean.Value > 0)
                k += RingPlacemark(m, "CEP about the mean point " + FormatFixed(s.CepMean.Value, 0) + " m",
                                   "cep", s.Mean, s.CepMean.Value, s.CepMean.Value, 0);
            if (s.CepTarget.Value > 0)
                k += RingPlacemark(m, "CEP about the target " + FormatFixed(s.CepTarget.Value, 0) + " m",
                                   "cepTarget", {}, s.CepTarget.Value, s.CepTarget.Value, 0);
            for (const TErrorEllipse& e : s.Ellipses)
                if (e.SemiMinor > 0) // a line-thin ellipse is no area
                    k += RingPlacemark(m, FormatFixed(e.Sigma, 0) + " sigma ellipse", "ellipse", s.Mean,
                                       e.SemiMajor, e.SemiMinor, s.MajorAngle);
        }
        k += "<Folder><name>Impacts</name>\n";
        for (const TDispersionImpact& i : m.Impacts)
            k += PointPlacemark(
                "Run " + std::to_string(i.Run), ImpactStyle(kinds, i.Outcome.Kind), i.Latitude, i.Longitude,
                i.Outcome.Kind == "none" ? "no failure"
                                         : i.Outcome.Kind + " (" + i.Outcome.Phase + ")" +
                                               (i.Outcome.ReachedGround ? "" : ", destroyed in the air"));
        k += "</Folder>\n</Folder>\n";
    }
    return k + "</Document>\n</kml>\n";
}

} // namespace zm
