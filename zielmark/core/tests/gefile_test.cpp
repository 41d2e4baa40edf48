// The result KML file: its exact bytes, its colours, and well-formed XML whatever the names hold.
#include "TestFolder.h"
#include "TestResult.h"
#include "Unit_Functions.h"
#include "Unit_GEFile.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zm;
using zm::test::TTempFolder;

namespace {

TTeskWreck Wreck(const std::string& missile, const std::string& target) {
    TTeskWreck w;
    w.Name = missile + "-Wreck";
    w.MissileName = missile;
    w.Target = target;
    return w;
}

void AddPoint(TTeskWreck& w, long double lon, long double lat, long double alt, int phase) {
    w.TrackLon[w.TrackCount] = lon;
    w.TrackLat[w.TrackCount] = lat;
    w.TrackAlt[w.TrackCount] = alt;
    w.TrackPhase[w.TrackCount] = phase;
    ++w.TrackCount;
}

// Berlin to Paris with three track points: burning, burning, engine off.
TTeskWreck SmallFlight() {
    TTeskWreck w = Wreck("Tesk_1", "Paris");
    w.LatitudeLast = 48.85L;
    w.LongitudeLast = 2.35L;
    w.LatitudeTarget = 48.8566L;
    w.LongitudeTarget = 2.3522L;
    w.LatitudeLaunch = 52.5L;
    w.LongitudeLaunch = 13.4L;
    AddPoint(w, 13.4L, 52.5L, 0, 1);
    AddPoint(w, 13.0L, 52.4L, 5231.7L, 1);
    AddPoint(w, 2.35L, 48.85L, 0.25L, 3);
    return w;
}

const std::string Head =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <kml xmlns=\"http://earth.google.com/kml/2.0\">"
    "<Document><name>small.kml</name>\r\n"
    "<Style id=\"stWreck\"><IconStyle id=\"stIconFlag\"><Icon><href>root://icons/palette-2.png"
    "</href><x>160</x><y>192</y><w>32</w><h>32</h></Icon></IconStyle></Style>\r\n"
    "<Style id=\"stTarget\"><IconStyle id=\"stIconBuilding\"><Icon><href>root://icons/"
    "palette-3.png</href><x>160</x><y>160</y><w>32</w><h>32</h></Icon></IconStyle></Style>\r\n"
    "<Style id=\"stLaunch\"><IconStyle id=\"stIconR\"><Icon><href>root://icons/palette-5.png"
    "</href><x>32</x><y>128</y><w>32</w><h>32</h></Icon></IconStyle></Style>\r\n"
    "<Folder><name>small.kml</name>\r\n";
const std::string Tail = "</Folder></Document></kml>\r\n";

std::string PointMark(const std::string& name, const std::string& lon, const std::string& lat,
                      const std::string& style) {
    return "<Placemark><name>" + name + "</name><LookAt><longitude>" + lon + "</longitude><latitude>" + lat +
           "</latitude><range>0</range><tilt>0</tilt><heading>0</heading></LookAt><styleUrl>#" + style +
           "</styleUrl><Point><coordinates>" + lon + "," + lat + ",0</coordinates></Point></Placemark>\r\n";
}

std::string PieceHead(const std::string& html, int i, const std::string& kml) {
    return "<Placemark><name>&lt;span style=&quot;color:" + html + "&quot;&gt;trkpt " + std::to_string(i) +
           "&lt;/span&gt;</name><Style><LineStyle><color>" + kml +
           "</color><width>4</width></LineStyle></Style><LineString><altitudeMode>absolute</altitudeMode>"
           "<coordinates>\r\n";
}

const std::string PieceEnd = "</coordinates></LineString></Placemark>\r\n";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// ---- Exact bytes ----

TEST(GEFileText, SmallFlightByteForByte) {
    const std::string expected =
        Head + PointMark("Tesk_1 to Paris", "2.3500000000000", "48.8500000000000", "stWreck") +
        PointMark("Paris", "2.3522000000000", "48.8566000000000", "stTarget") +
        PointMark("Tesk_1", "13.4000000000000", "52.5000000000000", "stLaunch") +
        "<Folder><name>trk Tesk_1-Wreck</name>\r\n" +
        // Piece 0 takes its colour from point 1 (burning: red); its end altitude has sixteen decimals.
        PieceHead("#CC0500", 0, "FF0005CC") +
        "13.4000000000000,52.5000000000000,0.0 13.0000000000000,52.4000000000000,5231.7000000000000000\r\n" +
        PieceEnd +
        // Piece 1 from point 2 (engine off: blue); its start altitude has one decimal.
        PieceHead("#0005CC", 1, "FFCC0500") +
        "13.0000000000000,52.4000000000000,5231.7 2.3500000000000,48.8500000000000,0.2500000000000000\r\n" +
        PieceEnd + "</Folder>\r\n" + Tail;
    EXPECT_EQ(BuildGEFileText("small.kml", {SmallFlight()}), expected);
}

TEST(GEFileText, EmptyListAndShortTracks) {
    EXPECT_EQ(BuildGEFileText("small.kml", {}), Head + Tail);
    for (int points = 0; points <= 1; ++points) {
        TTeskWreck w = Wreck("T", "X");
        if (points) AddPoint(w, 1, 2, 3, 3);
        const std::string text = BuildGEFileText("small.kml", {w});
        EXPECT_NE(text.find("<Folder><name>trk T-Wreck</name>\r\n</Folder>\r\n" + Tail), std::string::npos)
            << points << " points";
        EXPECT_EQ(text.find("trkpt"), std::string::npos);
    }
}

TEST(GEFileText, ColourFollowsTheEndPointsPhaseAndCarriesOverUnknownCodes) {
    // The file's first piece with an unknown code has no colour yet; later unknown codes keep the last
    // colour, also across missiles.
    TTeskWreck a = Wreck("A", "X"), b = Wreck("B", "Y");
    AddPoint(a, 0, 0, 0, 1);
    AddPoint(a, 0, 0, 0, 9); // piece 0: nothing chosen yet
    AddPoint(a, 0, 0, 0, 2); // piece 1: grey
    AddPoint(a, 0, 0, 0, 0); // piece 2: still grey
    AddPoint(b, 0, 0, 0, 1);
    AddPoint(b, 0, 0, 0, -4); // piece 0 of B: grey from A
    AddPoint(b, 0, 0, 0, 3);  // piece 1 of B: blue
    const std::string text = BuildGEFileText("small.kml", {a, b});
    const std::string pieces[] = {PieceHead("", 0, ""), PieceHead("#CCCCCC", 1, "CCCCCCCC"),
                                  PieceHead("#CCCCCC", 2, "CCCCCCCC"), PieceHead("#CCCCCC", 0, "CCCCCCCC"),
                                  PieceHead("#0005CC", 1, "FFCC0500")};
    size_t at = 0;
    for (const std::string& piece : pieces) {
        at = text.find(piece, at);
        ASSERT_NE(at, std::string::npos) << piece;
    }
}

TEST(GEFileText, AltitudesKeepEighteenSignificantDigitsThenZeros) {
    const struct {
        long double altitude;
        const char* start; // one decimal
        const char* end;   // sixteen decimals
    } cases[] = {
        {5231.7L, "5231.7", "5231.7000000000000000"},
        {1234.567890123456789L, "1234.6", "1234.5678901234567900"},
        {0.26L, "0.3", "0.2600000000000000"},
        {-1e-17L, "0.0", "0.0000000000000000"}, // no minus sign on a zero
        {-312.125L, "-312.1", "-312.1250000000000000"},
    };
    for (const auto& c : cases) {
        TTeskWreck w = Wreck("T", "X");
        AddPoint(w, 0, 0, c.altitude, 3);
        AddPoint(w, 0, 0, c.altitude, 3);
        const std::string text = BuildGEFileText("small.kml", {w});
        const std::string line = std::string("0.0000000000000,0.0000000000000,") + c.start +
                                 " 0.0000000000000,0.0000000000000," + c.end + "\r\n";
        EXPECT_NE(text.find(line), std::string::npos) << double(c.altitude) << "\n" << text;
    }
}

TEST(GEFileText, NumbersIgnoreTheUsersLocale) {
    const std::string before = BuildGEFileText("small.kml", {SmallFlight()});
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE"))
        GTEST_SKIP() << "no German locale installed";
    const std::string after = BuildGEFileText("small.kml", {SmallFlight()});
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(after, before);
}

// ---- Texts inserted into the document ----

TEST(GEFileText, InsertedTextsAreEscapedAndValidUtf8) {
    struct Case {
        std::string raw;
        std::string written;
        std::string read; // what an XML reader gets back
    } cases[] = {
        {"Fish & Chips", "Fish &amp; Chips", "Fish & Chips"},
        {"<b>Tesk</b>", "&lt;b&gt;Tesk&lt;/b&gt;", "<b>Tesk</b>"},
        {"M\xFCnchen", "M\xC3\xBCnchen", "M\xC3\xBCnchen"},     // Latin-1 becomes UTF-8
        {"M\xC3\xBCnchen", "M\xC3\xBCnchen", "M\xC3\xBCnchen"}, // UTF-8 stays as it is
        {"Bell\x07", "Bell?", "Bell?"},                         // XML allows no control characters
        {"\xE2\x82", "\xC3\xA2\xC2\x82", "\xC3\xA2\xC2\x82"},   // a cut UTF-8 sequence is Latin-1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KmlText(c.raw), c.written) << c.raw;
        TTeskWreck w = Wreck(c.raw, c.raw);
        w.Name = c.raw;
        AddPoint(w, 0, 0, 0, 1);
        AddPoint(w, 0, 0, 0, 3);
        const std::string fileName = c.raw + ".kml";
        const std::string text = BuildGEFileText(fileName, {w});
        pugi::xml_document doc;
        const pugi::xml_parse_result parsed = doc.load_string(text.c_str());
        ASSERT_TRUE(parsed) << c.raw << ": " << parsed.description();
        const pugi::xml_node document = doc.child("kml").child("Document");
        EXPECT_EQ(std::string(document.child_value("name")), c.read + ".kml");
        const pugi::xml_node folder = document.child("Folder");
        EXPECT_EQ(std::string(folder.child_value("name")), c.read + ".kml");
        const pugi::xml_node impact = folder.child("Placemark");
        EXPECT_EQ(std::string(impact.child_value("name")), c.read + " to " + c.read);
        EXPECT_EQ(std::string(folder.child("Folder").child_value("name")), "trk " + c.read);
        EXPECT_EQ(std::string(folder.child("Folder").child("Placemark").child_value("name")),
                  "<span style=\"color:#0005CC\">trkpt 0</span>");
    }
}

// ---- Numbers ----

// The writer's own fixed-point text must be FormatFixed's, byte for byte: ties (half to even), values that
// round to zero, carries into the next power of ten, both ends of its range and beyond, and a sweep of
// random long doubles of track magnitudes.
TEST(GEFileNumbers, AppendFixedGivesFormatFixedsText) {
    struct Case {
        long double value;
        int decimals;
    };
    const Case cases[] = {
        {0.125L, 2},
        {0.375L, 2},
        {2.5L, 0},
        {3.5L, 0},
        {-2.5L, 0},
        {0.5L, 0},
        {-0.0004L, 3},
        {-0.0005L, 3},
        {0.0L, 13},
        {-0.0L, 1},
        {1e-10L, 13},
        {9.99e-11L, 13},
        {1e18L, 1},
        {9.99e17L, 0},
        {1e30L, 2},
        {-1e-30L, 20},
        {5231.7L, 16},
        {0.25L, 1},
        {9.9999999999999999996L, 13},
        {9.9999999999999999996L, 20},
        {999999.99999999999995L, 13},
        {136.8886295207101L, 13},
        {-30.1424568196018L, 13},
        {21.9653972815722L, 1},
        {21.9653972815722L, 16},
        {1.0L / 3, 0},
        {1.0L / 3, 25},
        {2.0L / 3, 17},
        {123456789.123456789L, 5},
        {7.0L, -2},
    };
    auto check = [](long double v, int d) {
        std::string out = "x";
        AppendFixed(out, v, d);
        ASSERT_EQ(out, "x" + FormatFixed(v, d)) << static_cast<double>(v) << " to " << d << " places";
    };
    for (const Case& c : cases)
        check(c.value, c.decimals);
    std::mt19937_64 random(15);
    std::uniform_int_distribution<int> exponent(-40, 30), places(0, 20);
    for (int i = 0; i < 200000; ++i) {
        const long double mantissa = static_cast<long double>(random() | (1ull << 63)) / 0x1p64L;
        const long double v = std::ldexp(mantissa, exponent(random)) * (i % 3 == 0 ? -1 : 1);
        check(v, i % 4 == 0 ? 13 : places(random));
        if (HasFailure()) return;
    }
}

// ---- Writing the file ----

// A document larger than the pieces (a megabyte) it goes to the file in is written byte for byte as the text.
TEST(GEFileWrite, ALargeDocumentIsWrittenInPiecesByteForByte) {
    std::vector<TTeskWreck> wrecks;
    for (int k = 0; k < 12; ++k) {
        TTeskWreck w = Wreck("Tesk_" + std::to_string(k), "Target " + std::to_string(k));
        for (int i = 0; i < 400; ++i)
            AddPoint(w, 13.4L + i * 0.0137L + k, 52.5L - i * 0.0091L, i * (400 - i) * 1.37L / 3, 1 + i % 4);
        wrecks.push_back(w);
    }
    TTempFolder dir;
    ASSERT_TRUE(Succeeded(WriteGEFile(dir.Path, "large.kml", wrecks)));
    const std::string text = BuildGEFileText("large.kml", wrecks), file = ReadFile(dir.Path + "large.kml");
    EXPECT_GT(text.size(), 1u << 20);
    EXPECT_TRUE(file == text) << "the file differs from the text (" << file.size() << " against "
                              << text.size() << " bytes)";
}

TEST(GEFileWrite, WritesTheDocumentIntoTheFolderAndReplacesAnOldFile) {
    TTempFolder dir;
    ASSERT_TRUE(Succeeded(WriteGEFile(dir.Path, "small.kml", {})));
    ASSERT_TRUE(Succeeded(WriteGEFile(dir.Path, "small.kml", {SmallFlight()})));
    EXPECT_EQ(ReadFile(dir.Path + "small.kml"), BuildGEFileText("small.kml", {SmallFlight()}));
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST(GEFileWrite, AFailedWriteNamesTheFileAndLeavesNoTemporaryFile) {
    TTempFolder dir;
    std::string error = WriteGEFile(dir.Path + "missing/", "flight.kml", {SmallFlight()}).Message;
    EXPECT_NE(error.find("flight.kml"), std::string::npos) << error;

    // A folder in the file's place cannot be replaced: reported, and no temporary file stays behind.
    fs::create_directory(dir.Path + "taken.kml");
    error = WriteGEFile(dir.Path, "taken.kml", {SmallFlight()}).Message;
    EXPECT_NE(error.find("taken.kml"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(dir.Path + "taken.kml"));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(GEFileWrite, AReadOnlyFolderKeepsTheOldFileWhole) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TTempFolder dir;
    ASSERT_TRUE(Succeeded(WriteGEFile(dir.Path, "flight.kml", {})));
    const std::string old = ReadFile(dir.Path + "flight.kml");
    fs::permissions(dir.Path, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string error = WriteGEFile(dir.Path, "flight.kml", {SmallFlight()}).Message;
    EXPECT_NE(error.find("flight.kml"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(dir.Path + "flight.kml"), old);
}
