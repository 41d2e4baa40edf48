// The result KML writer. The layout of every piece is fixed: Google Earth and users' tools read these files.
#include "Unit_GEFile.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_Utf8.h"

#include <algorithm>

namespace zm {

namespace {

constexpr std::string_view CrLf = "\r\n";

// The colour of a track piece, in HTML and in KML (aabbggrr) notation, by the phase code of its end point.
struct TPhaseColour {
    int Phase;
    std::string_view Html;
    std::string_view Kml;
};

constexpr TPhaseColour PhaseColours[] = {
    {1, "#CC0500", "FF0005CC"}, // engine burning without contrail: red, opaque
    {2, "#CCCCCC", "CCCCCCCC"}, // engine burning with contrail: grey, 80 % opaque
    {3, "#0005CC", "FFCC0500"}, // engine off: blue, opaque
};

constexpr std::string_view Styles[] = {
    "<Style id=\"stWreck\"><IconStyle id=\"stIconFlag\"><Icon><href>root://icons/palette-2.png</href>"
    "<x>160</x><y>192</y><w>32</w><h>32</h></Icon></IconStyle></Style>",
    "<Style id=\"stTarget\"><IconStyle id=\"stIconBuilding\"><Icon><href>root://icons/palette-3.png</href>"
    "<x>160</x><y>160</y><w>32</w><h>32</h></Icon></IconStyle></Style>",
    "<Style id=\"stLaunch\"><IconStyle id=\"stIconR\"><Icon><href>root://icons/palette-5.png</href>"
    "<x>32</x><y>128</y><w>32</w><h>32</h></Icon></IconStyle></Style>",
};

// A point mark: name, longitude, latitude, style, longitude, latitude.
void WritePointMark(std::string& out, std::string_view name, long double lon, long double lat,
                    std::string_view style) {
    const std::string lonText = FormatFixed(lon, 13), latText = FormatFixed(lat, 13);
    out += "<Placemark><name>";
    out += name;
    out += "</name><LookAt><longitude>" + lonText + "</longitude><latitude>" + latText +
           "</latitude><range>0</range><tilt>0</tilt><heading>0</heading></LookAt><styleUrl>#";
    out += style;
    out +=
        "</styleUrl><Point><coordinates>" + lonText + "," + latText + ",0</coordinates></Point></Placemark>";
    out += CrLf;
}

// The colour pair is carried from piece to piece, and from missile to missile, for unknown phase codes.
struct TColourState {
    std::string_view Html;
    std::string_view Kml;
};

void WriteTrackPiece(std::string& out, const TTeskWreck& w, int i, TColourState& colour) {
    for (const TPhaseColour& pc : PhaseColours)
        if (pc.Phase == w.TrackPhase[i + 1]) colour = {pc.Html, pc.Kml};
    out += "<Placemark><name>&lt;span style=&quot;color:";
    out += colour.Html;
    out += "&quot;&gt;trkpt " + FormatInt(i) + "&lt;/span&gt;</name><Style><LineStyle><color>";
    out += colour.Kml;
    out += "</color><width>4</width></LineStyle></Style><LineString><altitudeMode>absolute</altitudeMode>"
           "<coordinates>";
    out += CrLf;
    out += FormatFixed(w.TrackLon[i], 13) + "," + FormatFixed(w.TrackLat[i], 13) + "," +
           FormatFixed(w.TrackAlt[i], 1) + " " + FormatFixed(w.TrackLon[i + 1], 13) + "," +
           FormatFixed(w.TrackLat[i + 1], 13) + "," + FormatFixed(w.TrackAlt[i + 1], 16);
    out += CrLf;
    out += "</coordinates></LineString></Placemark>";
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
    const std::string name = KmlText(fileName);
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <kml xmlns=\"http://earth.google.com/kml/2.0\">"
           "<Document><name>" +
           name + "</name>";
    out += CrLf;
    for (std::string_view style : Styles) {
        out += style;
        out += CrLf;
    }
    out += "<Folder><name>" + name + "</name>";
    out += CrLf;
    TColourState colour;
    for (const TTeskWreck& w : wrecks) {
        const std::string missile = KmlText(w.MissileName), target = KmlText(w.Target);
        WritePointMark(out, missile + " to " + target, w.LongitudeLast, w.LatitudeLast, "stWreck");
        WritePointMark(out, target, w.LongitudeTarget, w.LatitudeTarget, "stTarget");
        WritePointMark(out, missile, w.LongitudeLaunch, w.LatitudeLaunch, "stLaunch");
        out += "<Folder><name>trk " + KmlText(w.Name) + "</name>";
        out += CrLf;
        const int count = std::min(w.TrackCount, static_cast<int32_t>(TrackArraySize));
        for (int i = 0; i + 1 < count; ++i)
            WriteTrackPiece(out, w, i, colour);
        out += "</Folder>";
        out += CrLf;
    }
    out += "</Folder></Document></kml>";
    out += CrLf;
    return out;
}

bool WriteGEFile(const std::string& dir, const std::string& fileName, const std::vector<TTeskWreck>& wrecks,
                 std::string& error) {
    return WriteFileAtomic(dir + fileName, BuildGEFileText(fileName, wrecks), error);
}

} // namespace zm
