// The replay file: dates, the times of a flight's points, the tracks cut by colour, the wrecks left out,
// well-formed KML 2.2 that GDAL's LIBKML driver lists whole.
#include "TestFolder.h"
#include "TestResult.h"
#include "Unit_GEReplay.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

using namespace zm;
using zm::test::TTempFolder;

namespace {

TTeskWreck Flight(const std::string& missile, long double launchMjd, const std::vector<int>& phases) {
    TTeskWreck w;
    w.Name = missile + "-Wreck";
    w.MissileName = missile;
    w.Target = "Mesa & <North>";
    w.LatitudeLaunch = 52.5L;
    w.LongitudeLaunch = 13.4L;
    w.LatitudeTarget = 52.0L;
    w.LongitudeTarget = 14.0L;
    w.LatitudeLast = 52.01L;
    w.LongitudeLast = 14.02L;
    w.LaunchMJD = launchMjd;
    for (const int phase : phases) {
        const int i = w.TrackCount++;
        w.TrackLon[i] = 13.4L + 0.01L * i;
        w.TrackLat[i] = 52.5L - 0.01L * i;
        w.TrackAlt[i] = 1000.0L * i;
        w.TrackPhase[i] = phase;
    }
    w.FlightTime = w.TrackCount - 1.6L; // the final point comes 0.4 s after the last sampled one
    return w;
}

std::string Attr(const pugi::xml_node& n, const char* child) {
    return n.child(child).text().get();
}

// Each track placemark of the document: its missile's folder, its style and its times and points.
struct TTrack {
    std::string Folder, Style;
    std::vector<std::string> Whens;
    int Coords = 0;
};

std::vector<TTrack> Tracks(const pugi::xml_document& doc) {
    std::vector<TTrack> tracks;
    for (const pugi::xpath_node& x : doc.select_nodes("//Placemark[gx:Track]")) {
        const pugi::xml_node p = x.node();
        TTrack t{Attr(p.parent(), "name"), Attr(p, "styleUrl"), {}, 0};
        for (const pugi::xml_node when : p.child("gx:Track").children("when"))
            t.Whens.push_back(when.text().get());
        for ([[maybe_unused]] const pugi::xml_node c : p.child("gx:Track").children("gx:coord"))
            ++t.Coords;
        tracks.push_back(t);
    }
    return tracks;
}

TEST(GEReplayTime, ModifiedJulianDatesBecomeUtcTimesOfTheYearsOneTo9999) {
    const struct {
        long double Mjd;
        const char* Text; // nullptr: no date
    } cases[] = {
        {40587, "1970-01-01T00:00:00.000Z"},
        {51544.5L, "2000-01-01T12:00:00.000Z"},
        {60369, "2024-02-29T00:00:00.000Z"},
        {60000.25L + 0.5L / 86400, "2023-02-25T06:00:00.500Z"},
        {40586.75L, "1969-12-31T18:00:00.000Z"},
        {-678575, "0001-01-01T00:00:00.000Z"},
        {2973483.999L, "9999-12-31T23:58:33.600Z"},
        {-678575.001L, nullptr},
        {2973484, nullptr},
        {1e300L, nullptr},
        {std::numeric_limits<long double>::quiet_NaN(), nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<int64_t> ms = MillisecondsOfMjd(c.Mjd);
        ASSERT_EQ(ms.has_value(), c.Text != nullptr) << double(c.Mjd);
        if (ms) {
            EXPECT_EQ(IsoTime(*ms), c.Text) << double(c.Mjd);
        }
    }
    EXPECT_EQ(ReplayFileName("salvo.kml"), "salvo-replay.kml");
    EXPECT_EQ(ReplayFileName("salvo"), "salvo-replay.kml");
}

TEST(GEReplayTime, PointsOneSecondApartAndTheFinalPointAtTheImpact) {
    TTeskWreck w = Flight("Tesk_1", 60000, {1, 1, 3, 3, 3});
    TResultOf<TFlightTimes> t = FlightTimesOf(w);
    ASSERT_TRUE(t.Ok()) << t.Message;
    const int64_t launch = *MillisecondsOfMjd(60000);
    EXPECT_EQ(t.Value.Launch, launch);
    EXPECT_EQ(t.Value.Points,
              (std::vector<int64_t>{launch, launch + 1000, launch + 2000, launch + 3000, launch + 3400}));
    EXPECT_EQ(t.Value.End, launch + 3400);

    // A flight time that does not lie after the point before keeps the one-second rule; so does a full
    // track, whose last point was sampled in flight.
    w.FlightTime = 1.5L;
    EXPECT_EQ(FlightTimesOf(w).Value.End, launch + 4000);
    TTeskWreck full = Flight("Tesk_2", 60000, std::vector<int>(400, 3));
    full.FlightTime = 420;
    EXPECT_EQ(FlightTimesOf(full).Value.End, launch + 399000);

    TTeskWreck old = Flight("Tesk_3", 0, {1, 3});
    old.Given = 0; // read from a block without MJD_LAUNCH
    EXPECT_FALSE(FlightTimesOf(old).Ok());
    EXPECT_NE(FlightTimesOf(old).Message.find("MJD_LAUNCH"), std::string::npos);
    EXPECT_FALSE(FlightTimesOf(Flight("Tesk_4", 1e12L, {1, 3})).Ok());
}

TEST(GEReplayFile, WellFormedTracksInTimeColouredByPhaseAndTheOldWreckLeftOut) {
    TTeskWreck old = Flight("Tesk_0", 0, {1, 3});
    old.Given = 0;
    const std::vector<TTeskWreck> wrecks = {
        Flight("Tesk_1", 60000, {1, 1, 2, 2, 3, 3}), old,
        Flight("Tesk_2", 60000 + 7.0L / 86400, {1, 9, 2}), // an unknown code keeps the colour before it
    };
    const TReplay replay = BuildGEReplay("a&b.kml", wrecks);
    ASSERT_EQ(replay.LeftOut.size(), 1u);
    EXPECT_EQ(replay.LeftOut[0].rfind("Tesk_0-Wreck: no launch date", 0), 0u) << replay.LeftOut[0];

    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_string(replay.Text.c_str());
    ASSERT_TRUE(parsed) << parsed.description();
    const pugi::xml_node kml = doc.child("kml");
    EXPECT_STREQ(kml.attribute("xmlns").value(), "http://www.opengis.net/kml/2.2");
    EXPECT_STREQ(kml.attribute("xmlns:gx").value(), "http://www.google.com/kml/ext/2.2");
    EXPECT_EQ(Attr(kml.child("Document"), "name"), "a&b.kml");
    EXPECT_NE(Attr(kml.child("Document"), "description").find("Left out: Tesk_0-Wreck: no launch date"),
              std::string::npos);
    EXPECT_TRUE(doc.select_node("//Folder[name='Tesk_0-Wreck']").node().empty());

    // Pieces take the colour of their end point, cut where it changes; neighbouring tracks share a point.
    const std::vector<TTrack> tracks = Tracks(doc);
    struct Expected {
        const char* Folder;
        const char* Style;
        std::vector<std::string> Whens;
    };
    const std::vector<Expected> expected = {
        {"Tesk_1-Wreck", "#stPhase1", {"2023-02-25T00:00:00.000Z", "2023-02-25T00:00:01.000Z"}},
        {"Tesk_1-Wreck",
         "#stPhase2",
         {"2023-02-25T00:00:01.000Z", "2023-02-25T00:00:02.000Z", "2023-02-25T00:00:03.000Z"}},
        {"Tesk_1-Wreck",
         "#stPhase3",
         {"2023-02-25T00:00:03.000Z", "2023-02-25T00:00:04.000Z", "2023-02-25T00:00:04.400Z"}},
        {"Tesk_2-Wreck", "#stPhase3", {"2023-02-25T00:00:07.000Z", "2023-02-25T00:00:08.000Z"}},
        {"Tesk_2-Wreck", "#stPhase2", {"2023-02-25T00:00:08.000Z", "2023-02-25T00:00:08.400Z"}},
    };
    ASSERT_EQ(tracks.size(), expected.size());
    for (size_t i = 0; i < tracks.size(); ++i) {
        EXPECT_EQ(tracks[i].Folder, expected[i].Folder) << i;
        EXPECT_EQ(tracks[i].Style, expected[i].Style) << i;
        EXPECT_EQ(tracks[i].Whens, expected[i].Whens) << i;
        EXPECT_EQ(tracks[i].Coords, int(tracks[i].Whens.size())) << i;
    }

    // The marks appear at their times (the target stands throughout); the names are escaped and whole.
    const pugi::xml_node folder = doc.select_node("//Folder[name='Tesk_2-Wreck']").node();
    std::map<std::string, std::string> appears;
    for (const pugi::xml_node mark : folder.children("Placemark"))
        if (mark.child("Point"))
            appears[Attr(mark, "styleUrl")] = mark.child("TimeSpan").child_value("begin");
    EXPECT_EQ(appears["#stLaunch"], "2023-02-25T00:00:07.000Z");
    EXPECT_EQ(appears["#stWreck"], "2023-02-25T00:00:08.400Z");
    EXPECT_EQ(appears["#stTarget"], "");
    EXPECT_FALSE(doc.select_node("//Placemark[name='Tesk_2 to Mesa & <North>']").node().empty());

    // The tour's views run from the first launch to the last impact, each showing the firing so far.
    const pugi::xpath_node_set views = doc.select_nodes("//gx:Tour/gx:Playlist/gx:FlyTo/LookAt/gx:TimeSpan");
    ASSERT_GE(views.size(), 2u);
    EXPECT_EQ(std::string(views.first().node().child_value("begin")), "2023-02-25T00:00:00.000Z");
    EXPECT_EQ(std::string(views.first().node().child_value("end")), "2023-02-25T00:00:00.000Z");
    EXPECT_EQ(std::string(views[views.size() - 1].node().child_value("end")), "2023-02-25T00:00:08.400Z");
}

// The program runs under the user's locale: a decimal comma must reach no number of the file.
TEST(GEReplayFile, TheSameBytesUnderALocaleWithDecimalCommas) {
    const std::vector<TTeskWreck> wrecks = {Flight("Tesk_1", 60000.5L, std::vector<int>(30, 1)),
                                            Flight("Tesk_2", 60000.5001L, {1, 2, 3})};
    const std::string plain = BuildGEReplay("r.kml", wrecks).Text;
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale (scripts/setup.sh makes one)";
    const std::string german = BuildGEReplay("r.kml", wrecks).Text;
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(german, plain);
}

TEST(GEReplayFile, WrittenThroughTheAtomicSaveAndListedWholeByTheLibkmlDriver) {
    const std::vector<TTeskWreck> wrecks = {Flight("Tesk_1", 60000, {1, 1, 2, 2, 3, 3}),
                                            Flight("Tesk_2", 60000.001L, {1, 3, 3})};
    TTempFolder folder;
    const TResultOf<std::vector<std::string>> written = WriteGEReplay(folder.Path, "r.kml", wrecks);
    ASSERT_TRUE(written.Ok()) << written.Message;
    EXPECT_TRUE(written.Value.empty());
    std::ifstream in(folder.Path + "r.kml", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), BuildGEReplay("r.kml", wrecks).Text);

    if (std::system("command -v ogrinfo >/dev/null 2>&1") != 0) GTEST_SKIP() << "ogrinfo is not installed";
    // The plain KML driver is skipped, so the file is read by LIBKML or not at all.
    const std::string command = "ogrinfo --config GDAL_SKIP KML -ro -al '" + folder.Path + "r.kml' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string listing;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        listing.append(chunk, n);
    ASSERT_EQ(::pclose(pipe), 0) << listing;
    const auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = listing.find(what); at != std::string::npos; at = listing.find(what, at + 1))
            ++n;
        return n;
    };
    // Per missile three marks, and the tracks cut by colour: three for the first, one for the second.
    EXPECT_EQ(count("POINT Z ("), 6u) << listing;
    EXPECT_EQ(count("LINESTRING Z ("), 4u) << listing;
    EXPECT_EQ(listing.find("ERROR"), std::string::npos) << listing;
}

} // namespace
