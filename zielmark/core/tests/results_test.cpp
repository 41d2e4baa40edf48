// Reading flight results from saved scenarios, and the results page's source and name rules.
#include "TestFolder.h"
#include "TestResult.h"
#include "Unit_Functions.h"
#include "Unit_GEFile.h"
#include "Unit_ImpactChart.h"
#include "Unit_Results.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;
using namespace zm;
using zm::test::TTempFolder;

namespace {

std::vector<std::string> Lines(std::initializer_list<const char*> lines) {
    return {lines.begin(), lines.end()};
}

// The wrecks read from the lines, the read ending as expected with a message that starts so.
TOrbResults Read(const std::vector<std::string>& lines, TResultCode expected = TResultCode::Ok,
                 const std::string& messageStart = "") {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    TOrbResults r;
    const TResult read = ReadOrbResultText(text, "test.scn", r);
    EXPECT_EQ(read.Code, expected) << read.Message;
    EXPECT_EQ(read.Message.rfind(messageStart, 0), 0u) << read.Message;
    return r;
}

// A wreck block as the wreck module writes it, host state lines included.
const char* const WreckBlock = "Tesk_3-Wreck:TeskiWreck\r\n"
                               "  STATUS Landed Earth\r\n"
                               "  POS 13.4000000 52.5000000\r\n"
                               "  HEADING 270.00\r\n"
                               "  LANDED 1\r\n"
                               "  LATITUDE_LAST 51.5100000000000\r\n"
                               "  LONGITUDE_LAST -0.1200000000000\r\n"
                               "  MAX_ALTITUDE 312345.5\r\n"
                               "  FLIGHT_TIME 612.25\r\n"
                               "  IMPACT_VELOCITY 2101.0\r\n"
                               "  LATITUDE_TARGET 51.5000000000000\r\n"
                               "  LONGITUDE_TARGET -0.1000000000000\r\n"
                               "  RANGE_ACTUAL 931000.0\r\n"
                               "  AZIMUTH_ACTUAL 268.5\r\n"
                               "  RANGE_MISS 1834.25\r\n"
                               "  AZIMUTH_MISS 310.0\r\n"
                               "  LATERAL_MISS -1200.5\r\n"
                               "  LONGITUDAL_MISS 1387.0\r\n"
                               "  LATITUDE_LAUNCH 52.5000000000000\r\n"
                               "  LONGITUDE_LAUNCH 13.4000000000000\r\n"
                               "  TARGET London\r\n"
                               "  FAILURE Engine failure at T+12 s\r\n"
                               "  TRACK 0 0.2338741 0.9162979 0.0000000000000 1\r\n"
                               "  TRACK 1 0.2338000 0.9163000 150.5000000000000 2\r\n"
                               "END\r\n";

} // namespace

// ---- The key rules of a wreck block ----

TEST(ResultReader, ReadsEveryKeyOfAWreckBlockFromAFile) {
    TTempFolder dir;
    const std::string scenario = std::string("BEGIN_SHIPS\r\nTesk_1:Teski\r\n  TARGET Paris\r\nEND\r\n") +
                                 WreckBlock + "END_SHIPS\r\n";
    TOrbResults r;
    ASSERT_TRUE(Succeeded(LoadOrbResults(dir.Write("a.scn", scenario), r)));
    ASSERT_EQ(r.Wrecks.size(), 1u); // the missile's block and its END are not a wreck
    EXPECT_EQ(r.Selected, 0);
    const TTeskWreck& w = r.Wrecks[0];
    EXPECT_EQ(w.Name, "Tesk_3-Wreck");
    EXPECT_EQ(w.MissileName, "Tesk_3");
    EXPECT_EQ(w.Target, "London");
    EXPECT_EQ(w.Caption(), "Tesk_3 to London");
    EXPECT_EQ(w.Failure, "Engine failure at T+12 s");
    EXPECT_DOUBLE_EQ(double(w.LatitudeLast), 51.51);
    EXPECT_DOUBLE_EQ(double(w.LongitudeLast), -0.12);
    EXPECT_DOUBLE_EQ(double(w.MaxAltitude), 312345.5);
    EXPECT_DOUBLE_EQ(double(w.FlightTime), 612.25);
    EXPECT_DOUBLE_EQ(double(w.ImpactVelocity), 2101.0);
    EXPECT_DOUBLE_EQ(double(w.LatitudeTarget), 51.5);
    EXPECT_DOUBLE_EQ(double(w.LongitudeTarget), -0.1);
    EXPECT_DOUBLE_EQ(double(w.RangeActual), 931000.0);
    EXPECT_DOUBLE_EQ(double(w.AzimuthActual), 268.5);
    EXPECT_DOUBLE_EQ(double(w.RangeMiss), 1834.25);
    EXPECT_DOUBLE_EQ(double(w.AzimuthMiss), 310.0);
    EXPECT_DOUBLE_EQ(double(w.LateralMiss), -1200.5);
    EXPECT_DOUBLE_EQ(double(w.LongitudalMiss), 1387.0);
    EXPECT_DOUBLE_EQ(double(w.LatitudeLaunch), 52.5);
    EXPECT_DOUBLE_EQ(double(w.LongitudeLaunch), 13.4);
    EXPECT_EQ(w.TrackCount, 2);
    EXPECT_NEAR(double(w.TrackAlt[1]), 150.5, 1e-12);
    EXPECT_EQ(w.TrackPhase[0], 1);
    EXPECT_EQ(w.TrackPhase[1], 2);
    // Berlin to London: about 931 km, launched a little south of west.
    EXPECT_NEAR(double(w.PlannedRange), 931000.0, 2000.0);
    EXPECT_GT(w.LaunchAz, 260.0L);
    EXPECT_LT(w.LaunchAz, 270.0L);
}

TEST(ResultReader, PlannedRangeAndLaunchAzimuthFromLaunchSiteToTarget) {
    struct Case {
        const char* launchLat;
        const char* launchLon;
        const char* targetLat;
        const char* targetLon;
        double rangeM;
        double azDeg;
    } cases[] = {
        {"0", "0", "0", "1", 111195.10, 90},   // due east
        {"0", "0", "0", "-1", 111195.10, 270}, // due west
        {"0", "0", "1", "0", 111195.10, 0},    // due north
        {"1", "0", "0", "0", 111195.10, 180},  // due south
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = {"W-Wreck:TeskiWreck",
                                          std::string("  LATITUDE_LAUNCH ") + c.launchLat,
                                          std::string("  LONGITUDE_LAUNCH ") + c.launchLon,
                                          std::string("  LATITUDE_TARGET ") + c.targetLat,
                                          std::string("  LONGITUDE_TARGET ") + c.targetLon,
                                          "END"};
        const TOrbResults r = Read(lines);
        ASSERT_EQ(r.Wrecks.size(), 1u);
        EXPECT_NEAR(double(r.Wrecks[0].PlannedRange), c.rangeM, 0.01) << c.targetLat << " " << c.targetLon;
        EXPECT_NEAR(double(r.Wrecks[0].LaunchAz), c.azDeg, 1e-9) << c.targetLat << " " << c.targetLon;
    }
    // Without any coordinates both points are (0, 0): no distance, azimuth 0, and no NaN.
    const TOrbResults r = Read(Lines({"W-Wreck:TeskiWreck", "END"}));
    EXPECT_EQ(r.Wrecks[0].PlannedRange, 0.0L);
    EXPECT_EQ(r.Wrecks[0].LaunchAz, 0.0L);
}

TEST(ResultReader, KeyLinesNeedTwoBlanksTheKeyAndOneBlank) {
    const TOrbResults r =
        Read(Lines({"Tesk_3-Wreck:TeskiWreck", "  TARGET London", "   TARGET ThreeBlanks", "  TARGETS Plural",
                    "  target lower", "TARGET NoBlanks", "  TARGET", "END"}));
    ASSERT_EQ(r.Wrecks.size(), 1u);
    EXPECT_EQ(r.Wrecks[0].Target, "London");
}

TEST(ResultReader, TextValuesAreTakenWholeAndTheLastOfARepeatedKeyWins) {
    const std::string longFailure(300, 'x');
    const TOrbResults r =
        Read({"A-Wreck:TeskiWreck", "  TARGET Old Town", "  TARGET New Town ", "  FAILURE " + longFailure,
              "END", "B-Wreck:TeskiWreck", "  FAILURE Something", "  FAILURE ", "  RANGE_MISS 1",
              "  RANGE_MISS 2", "END"});
    ASSERT_EQ(r.Wrecks.size(), 2u);
    EXPECT_EQ(r.Wrecks[0].Target, "New Town ");            // blanks kept
    EXPECT_EQ(r.Wrecks[0].Failure, std::string(256, 'x')); // a value is cut after 256 characters
    EXPECT_EQ(r.Wrecks[1].Failure, "");                    // the prefix alone stores an empty text
    EXPECT_EQ(r.Wrecks[1].RangeMiss, 2.0L);
}

TEST(ResultReader, BlocksOpenAndCloseByHeaderAndEnd) {
    // An END outside a wreck block is ignored; a header inside an open block drops the open one; a name
    // without "-Wreck" gives an empty missile name.
    const TOrbResults r =
        Read(Lines({"END", "Lost-Wreck:TeskiWreck", "  TARGET Nowhere", "Tesk_1-Wreck:TeskiWreck",
                    "  TARGET Paris", "END", "END", "Plain:TeskiWreck", "  TARGET Rome", "END"}));
    ASSERT_EQ(r.Wrecks.size(), 2u);
    EXPECT_EQ(r.Wrecks[0].Caption(), "Tesk_1 to Paris");
    EXPECT_EQ(r.Wrecks[1].Name, "Plain");
    EXPECT_EQ(r.Wrecks[1].MissileName, "");
    EXPECT_EQ(r.Wrecks[1].Caption(), " to Rome");
    EXPECT_EQ(r.Selected, 0);
    // A block the file ends in never reaches the list, and its header line is named.
    const TOrbResults open =
        Read(Lines({"Tesk_1-Wreck:TeskiWreck", "END", "Open-Wreck:TeskiWreck", "  TARGET Oslo"}),
             TResultCode::Failed, "test.scn: line 3: the wreck block of \"Open-Wreck\" has no END line");
    ASSERT_EQ(open.Wrecks.size(), 1u);
    EXPECT_EQ(open.Selected, -1);
}

// A block that lacks a figure's line (or holds it garbled) shows that figure as missing, never as 0: a miss
// of 0 reads as a direct hit. The diagram, which needs the miss, stays white and says so.
TEST(ResultReader, FiguresTheBlockDoesNotGiveAreMissingNotZero) {
    const auto without = [](std::initializer_list<const char*> keys) {
        std::string block = WreckBlock;
        for (const char* key : keys) {
            const size_t at = block.find(std::string("  ") + key + " ");
            block.erase(at, block.find("\r\n", at) + 2 - at);
        }
        return block;
    };
    std::string nul = WreckBlock;
    nul[nul.find("RANGE_MISS") + 3] = '\0';
    const struct {
        const char* what;
        std::string block;
        std::vector<std::string TResultFigures::*> missing;
        bool chartMissing;
    } cases[] = {
        {"whole block", WreckBlock, {}, false},
        {"no miss lines",
         without({"RANGE_MISS", "AZIMUTH_MISS", "LATERAL_MISS", "LONGITUDAL_MISS"}),
         {&TResultFigures::RangeMiss, &TResultFigures::LongitudalMiss, &TResultFigures::LateralMiss},
         true},
        {"NUL inside RANGE_MISS", nul, {&TResultFigures::RangeMiss}, true},
        {"no actual range", without({"RANGE_ACTUAL"}), {&TResultFigures::ActualRange}, false},
        {"no lateral miss", without({"LATERAL_MISS"}), {&TResultFigures::LateralMiss}, false},
        {"no launch site",
         without({"LATITUDE_LAUNCH"}),
         {&TResultFigures::LaunchAz, &TResultFigures::PlannedRange},
         true},
    };
    const std::vector<std::string TResultFigures::*> all = {
        &TResultFigures::LaunchAz,  &TResultFigures::PlannedRange,   &TResultFigures::ActualRange,
        &TResultFigures::RangeMiss, &TResultFigures::LongitudalMiss, &TResultFigures::LateralMiss};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TOrbResults r;
        ASSERT_TRUE(Succeeded(ReadOrbResultText(c.block, "test.scn", r)));
        ASSERT_EQ(r.Wrecks.size(), 1u);
        const TResultFigures f = ResultFigures(r.Wrecks[0]);
        for (std::string TResultFigures::*figure : all) {
            const bool missing = std::find(c.missing.begin(), c.missing.end(), figure) != c.missing.end();
            EXPECT_EQ(f.*figure == MissingFigure, missing) << f.*figure;
        }
        const TImpactChart chart = BuildImpactChart(r.Wrecks[0], SvgTextSize);
        EXPECT_EQ(chart.FiguresMissing, c.chartMissing);
        EXPECT_EQ(chart.HasScale, !c.chartMissing);
        if (chart.HasScale) {
            EXPECT_EQ(chart.Labels[1].Text, f.LateralMiss);
        }
    }
}

// A current state cut anywhere inside a wreck block (a save that did not finish): the reader, and so the
// folder check and zielmark-cli results, say where the file stops being whole and agree on what is usable.
TEST(ResultReaderFailures, AFileCutInsideAWreckBlockNamesTheBlock) {
    TTempFolder dir;
    const std::string head = std::string("BEGIN_SHIPS\r\n") + WreckBlock;
    const std::string second = std::string(WreckBlock).replace(0, 6, "Tesk_4");
    for (const bool withFirst : {false, true}) {
        const std::string before = withFirst ? head : "BEGIN_SHIPS\r\n";
        const size_t headerLine = withFirst ? 27 : 2;
        // Cut anywhere up to the ship list's end ("EN" is no END line; a header cut before its class is
        // none).
        const size_t headerEnd = second.find("\r\n");
        for (size_t cut = 1; cut < second.size(); ++cut) {
            SCOPED_TRACE(std::to_string(withFirst) + " " + second.substr(0, cut));
            dir.Write("cut.scn", before + second.substr(0, cut));
            TOrbResults r;
            const TResult read = LoadOrbResults(dir.Path + "cut.scn", r);
            EXPECT_EQ(read.Code, TResultCode::Failed);
            const bool blockOpen = cut >= headerEnd && cut < second.size() - 2;
            const std::string why = blockOpen ? "the wreck block of \"Tesk_4-Wreck\" has no END line"
                                              : "the file ends here, inside the ship list";
            const std::string cutText = second.substr(0, cut);
            const size_t last = headerLine + size_t(std::count(cutText.begin(), cutText.end(), '\n'));
            const std::string at = dir.Path + "cut.scn: line ";
            // The block's header, or its last line when that line is a value cut short (a key without
            // its number, a track point without its fields).
            const bool named =
                read.Message.rfind(at + std::to_string(blockOpen ? headerLine : last) + ": " + why, 0) == 0 ||
                (blockOpen && read.Message.rfind(at + std::to_string(last) + ": ", 0) == 0);
            EXPECT_TRUE(named) << read.Message;
            EXPECT_EQ(r.Wrecks.size(), (withFirst ? 1u : 0u) + (blockOpen || cut < headerEnd ? 0u : 1u));
            const TResultOf<bool> usable = OrbResultsUsable(dir.Path + "cut.scn");
            EXPECT_EQ(usable.Value, !r.Wrecks.empty());
            EXPECT_EQ(usable.Message.rfind(read.Message, 0), 0u) << usable.Message;
        }
    }
}

TEST(ResultReader, TrackPoints) {
    struct Case {
        std::vector<std::string> track;
        int count;
    };
    std::vector<std::string> ordered;
    for (int i = 0; i <= 37; ++i)
        ordered.push_back(std::to_string(i) + " 0.1 0.2 3.0 3");
    const Case cases[] = {
        {{}, 0},
        {ordered, 38},
        {{"0 0 0 0 1", "1 0 0 0 1", "2 0 0 0 3", "1 0 0 0 1"}, 2}, // the count follows the last line read
        {{"400 0 0 0 3"}, 401},                                    // the arrays' last entry
        {{"0 0 0 0 1", "401 0 0 0 3", "-1 0 0 0 3"}, 1},           // outside the arrays: skipped
        {{"3 0 0 0 1 extra fields"}, 4},                           // fields beyond five are ignored
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = {"T-Wreck:TeskiWreck"};
        for (const std::string& t : c.track)
            lines.push_back("  TRACK " + t);
        lines.push_back("END");
        const TOrbResults r = Read(lines);
        ASSERT_EQ(r.Wrecks.size(), 1u);
        EXPECT_EQ(r.Wrecks[0].TrackCount, c.count) << (c.track.empty() ? "" : c.track.back());
    }
    // Longitude and latitude come in radians and are kept in degrees; the altitude as stored.
    const TOrbResults r = Read(Lines({"T-Wreck:TeskiWreck", "  TRACK 5 0.1 0.9 1234.5 1", "END"}));
    const TTeskWreck& w = r.Wrecks[0];
    EXPECT_EQ(w.TrackCount, 6);
    EXPECT_NEAR(double(w.TrackLon[5]), 5.7295779513, 1e-10);
    EXPECT_NEAR(double(w.TrackLat[5]), 51.5662015618, 1e-10);
    EXPECT_EQ(w.TrackAlt[5], 1234.5L);
    EXPECT_EQ(w.TrackPhase[5], 1);
}

TEST(ResultReader, NumbersInEveryFormTheWreckWrites) {
    struct Case {
        const char* text;
        long double value;
    } cases[] = {{"1834.25", 1834.25L}, {"-0.1000000000000", -0.1L},
                 {"1.5e+06", 1.5e6L},   {"2E-3", 2e-3L},
                 {" 7 ", 7.0L},         {"+12.5", 12.5L}};
    for (const Case& c : cases) {
        const TOrbResults r = Read({"W-Wreck:TeskiWreck", std::string("  RANGE_MISS ") + c.text, "END"});
        ASSERT_EQ(r.Wrecks.size(), 1u);
        EXPECT_NEAR(double(r.Wrecks[0].RangeMiss), double(c.value), 1e-12) << c.text;
    }
}

// The reader's quick way with plain decimals must give the very long double the full conversion gives: the
// figures, the diagrams and the KML are made from these bits.
TEST(ResultReader, NumbersKeepEveryBitOfTheFullConversion) {
    std::vector<std::string> texts = {"0.0",
                                      "-0.0",
                                      "1834.25",
                                      "-0.1000000000000",
                                      "0.0038592880592",
                                      "9999999999999999999",
                                      "18446744073709551615",
                                      "12345678901234567890.5",
                                      "0.000000000000000000000000001",
                                      "0.0000000000000000000000000001",
                                      "00000000000000000000000000012.5",
                                      "1.5e+06",
                                      ".5",
                                      "5.",
                                      "+2.25"};
    std::mt19937_64 random(15);
    for (int i = 0; i < 20000; ++i) {
        const int length = 1 + int(random() % 19), point = int(random() % length);
        std::string digits;
        for (int k = 0; k < length; ++k)
            digits += char('0' + random() % 10);
        std::string text = (random() & 1) ? "-" : "";
        text += point == 0 ? "0" : digits.substr(0, size_t(point));
        text += "." + std::string(random() % 8, '0') + digits.substr(size_t(point));
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        long double expected = 0;
        ASSERT_TRUE(TryParseFloat(text, expected)) << text;
        const TOrbResults r =
            Read({"W-Wreck:TeskiWreck", "  RANGE_MISS " + text, "  TRACK 0 0 0 " + text + " 1", "END"});
        ASSERT_EQ(r.Wrecks.size(), 1u);
        for (const long double read : {r.Wrecks[0].RangeMiss, r.Wrecks[0].TrackAlt[0]}) {
            EXPECT_EQ(read, expected) << text;
            EXPECT_EQ(std::signbit(read), std::signbit(expected)) << text;
        }
    }
}

// ---- Failures ----

TEST(ResultReaderFailures, ABadNumberOrTrackLineStopsTheReadAndKeepsTheFinishedWrecks) {
    const char* badLines[] = {
        "  RANGE_MISS abc",
        "  RANGE_MISS 1,5",
        "  RANGE_MISS ",
        "  RANGE_MISS nan",
        "  RANGE_MISS 1e99999",
        "  LATITUDE_LAUNCH 12.5.3",
        "  TRACK 0 0.1 0.2 3.0",
        "  TRACK 0  0.1 0.2 3.0 1",
        "  TRACK x 0.1 0.2 3.0 1",
        "  TRACK 0 0.1 0.2 3.0 1.5",
        "  TRACK 99999999999 0 0 0 1",
    };
    for (const char* bad : badLines) {
        const TOrbResults r = Read({"Good-Wreck:TeskiWreck", "  TARGET Paris", "END", "Bad-Wreck:TeskiWreck",
                                    bad, "END", "Later-Wreck:TeskiWreck", "END"},
                                   TResultCode::Failed, "test.scn: line 5: ");
        ASSERT_EQ(r.Wrecks.size(), 1u) << bad;
        EXPECT_EQ(r.Wrecks[0].Caption(), "Good to Paris");
        EXPECT_EQ(r.Selected, -1) << bad;
    }
}

TEST(ResultReaderFailures, TooManyWreckBlocksStopTheRead) {
    std::string text;
    for (size_t i = 0; i <= MaxWreckBlocks; ++i)
        text += "W-Wreck:TeskiWreck\nEND\n";
    TOrbResults r;
    const TResult read = ReadOrbResultText(text, "many.scn", r);
    EXPECT_EQ(read.Code, TResultCode::Failed);
    EXPECT_EQ(r.Wrecks.size(), MaxWreckBlocks);
    EXPECT_EQ(read.Message, "many.scn: line " + std::to_string(2 * MaxWreckBlocks + 1) + ": more than " +
                                std::to_string(MaxWreckBlocks) + " wreck blocks");
}

TEST(ResultReaderFailures, MissingFileOrFolderLeavesTheListAsItWas) {
    TTempFolder dir;
    TOrbResults r;
    ASSERT_TRUE(Succeeded(LoadOrbResults(dir.Write("one.scn", WreckBlock), r)));
    EXPECT_EQ(LoadOrbResults(dir.Path + "gone.scn", r).Code, TResultCode::Missing);
    EXPECT_EQ(LoadOrbResults(dir.Path, r).Code, TResultCode::Missing);
    ASSERT_EQ(r.Wrecks.size(), 1u);
    EXPECT_EQ(r.Selected, 0);
}

TEST(ResultReaderFailures, HostileFilesNeverCrash) {
    TTempFolder dir;
    std::mt19937 random(7);
    std::string binary(200000, '\0');
    for (char& c : binary)
        c = static_cast<char>(random());
    binary.insert(1000, "X-Wreck:TeskiWreck\n  TRACK 3 1 1 1 1\n\0\xff  TARGET \xfe\n");
    binary.insert(5000, "\nEND\n");
    const std::string hugeName(1 << 20, 'N');
    const std::string truncated = std::string(WreckBlock).substr(0, 400);
    struct Case {
        const char* name;
        std::string bytes;
        size_t wrecks;
    } cases[] = {
        {"empty.scn", "", 0},
        {"binary.scn", binary, 1},
        {"huge.scn", hugeName + "-Wreck:TeskiWreck\n  TARGET " + hugeName + "\nEND\n", 1},
        {"truncated.scn", truncated, 0},
        {"nolf.scn", "W-Wreck:TeskiWreck\r\nEND", 1},
        {"crcr.scn", "W-Wreck:TeskiWreck\r\r\nEND\r\r\n", 0}, // "END\r" is not END
    };
    for (const Case& c : cases) {
        TOrbResults r;
        const TResult read = LoadOrbResults(dir.Write(c.name, c.bytes), r);
        EXPECT_NE(read.Code, TResultCode::Missing) << c.name;
        EXPECT_EQ(r.Wrecks.size(), c.wrecks) << c.name << ": " << read.Message;
    }
    TOrbResults r;
    LoadOrbResults(dir.Path + "huge.scn", r);
    ASSERT_EQ(r.Wrecks.size(), 1u);
    EXPECT_EQ(r.Wrecks[0].MissileName, hugeName);
    EXPECT_EQ(r.Wrecks[0].Target.size(), 256u);
}

TEST(ResultReaderFailures, MutatedScenariosGiveWellFormedKmlAndDiagrams) {
    // Whatever a damaged scenario holds, what was read yields a well-formed KML file and a diagram.
    const std::string original = std::string(WreckBlock) + WreckBlock;
    std::mt19937 random(2026);
    using namespace std::string_literals;
    const std::string noise = "\0\xff\xc3<>&\" \r\n:TeskiWreck-Wreck END 1e308 -0 .5 TRACK 400 "s;
    for (int round = 0; round < 1500; ++round) {
        std::string text = original;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const size_t at = random() % text.size();
            switch (random() % 4) {
            case 0:
                text[at] = static_cast<char>(random());
                break;
            case 1:
                text.erase(at, random() % 40);
                break;
            case 2:
                text.insert(at, noise.substr(random() % noise.size(), random() % 12));
                break;
            case 3:
                text.resize(at);
                break;
            }
        }
        TOrbResults r;
        ReadOrbResultText(text, "mutated.scn", r);
        pugi::xml_document doc;
        const std::string kml = BuildGEFileText("mutated.kml", r.Wrecks);
        ASSERT_TRUE(doc.load_string(kml.c_str())) << "round " << round;
        for (const TTeskWreck& w : r.Wrecks) {
            const TImpactChart chart = BuildImpactChart(w, SvgTextSize);
            ASSERT_TRUE(doc.load_string(ImpactChartSvg(chart).c_str())) << "round " << round;
        }
    }
}

TEST(ResultReaderFailures, RealScenariosWithoutWrecksGiveAnEmptyList) {
    const fs::path corpus =
        fs::path(std::getenv("TESKI_SOURCE_DIR") ? std::getenv("TESKI_SOURCE_DIR") : ".") / ".." / "shared" /
        "corpus" / "scn";
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "no scenario corpus at " << corpus;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        TOrbResults r;
        EXPECT_TRUE(Succeeded(LoadOrbResults(entry.path().string(), r))) << entry.path();
        EXPECT_TRUE(r.Wrecks.empty()) << entry.path();
    }
}

// ---- The source panel ----

TEST(ResultSource, RecentFlightWinsAndTheNewestCopyIsPreselected) {
    struct Case {
        const char* what;
        bool usable;
        std::vector<std::string> saved;
        std::string newest;
        bool recentEnabled, previousEnabled, recentChecked, previousChecked;
        int selected;
        std::string path;
    } cases[] = {
        {"only the current state",
         true,
         {},
         "",
         true,
         false,
         true,
         false,
         -1,
         "/sim/Scenarios/(Current state).scn"},
        {"only saved copies", false, {"a.scn", "b.scn"}, "b.scn", false, true, false, true, 1, "/res/b.scn"},
        {"both",
         true,
         {"a.scn", "b.scn"},
         "b.scn",
         true,
         true,
         true,
         false,
         1,
         "/sim/Scenarios/(Current state).scn"},
        {"newest not listed", false, {"a.scn", "b.scn"}, "c.scn", false, true, false, true, 0, "/res/a.scn"},
        {"no newest", false, {"a.scn"}, "", false, true, false, true, 0, "/res/a.scn"},
        {"neither", false, {}, "", false, false, false, false, -1, "/res/"},
    };
    for (const Case& c : cases) {
        TResultSourceInputs in;
        in.CurrentStateUsable = c.usable;
        in.CurrentStateFile = "/sim/Scenarios/(Current state).scn";
        in.FltResDir = "/res/";
        in.FltResScnFiles = c.saved;
        in.NewestFltResScnFile = c.newest;
        const TResultSource s = ChooseResultSource(in);
        EXPECT_EQ(s.RecentEnabled, c.recentEnabled) << c.what;
        EXPECT_EQ(s.PreviousEnabled, c.previousEnabled) << c.what;
        EXPECT_EQ(s.RecentChecked, c.recentChecked) << c.what;
        EXPECT_EQ(s.PreviousChecked, c.previousChecked) << c.what;
        EXPECT_EQ(s.SavedSelected, c.selected) << c.what;
        EXPECT_EQ(s.SavedFiles, c.saved) << c.what;
        EXPECT_EQ(ResultSourcePath(s, in), c.path) << c.what;
    }
}

// ---- Result names and saving ----

TEST(ResultNames, KmlNamesComeFirstThenScenariosWithoutExtensions) {
    TTempFolder dir;
    dir.Write("flight2.kml", "result");
    dir.Write("flight2-replay.kml", "result"); // saved with flight2.kml
    dir.Write("lone-replay.kml", "result");    // no flight result beside it: a name of its own
    dir.Write("source.kml", "waypoints");
    dir.Write("flight2.scn", "wrecks");
    dir.Write("flight1.scn", "wrecks");
    dir.Write("launch.scn", "missiles");
    dir.Write("notes.txt", "result wrecks");
    fs::create_directory(dir.Path + "folder.kml");
    const auto contains = [](const char* word) {
        return [word](const std::string& path) {
            std::ifstream in(path);
            std::string text;
            std::getline(in, text);
            return text == word;
        };
    };
    const std::vector<std::string> names = ListResultNames(dir.Path, contains("result"), contains("wrecks"));
    EXPECT_EQ(names, (std::vector<std::string>{"flight2", "lone-replay", "flight1", "flight2"}));
}

TEST(ResultNames, TheProgramsOwnTestsPickFlightResultScenarios) {
    TTempFolder dir;
    dir.Write("flight1.scn", std::string("BEGIN_SHIPS\r\n") + WreckBlock + "END_SHIPS\r\n");
    dir.Write("launch.scn", "BEGIN_SHIPS\r\nTesk_1:Teski\r\nEND\r\nEND_SHIPS\r\n");
    dir.Write("broken.kml", "<kml><Document><Placemark>");
    EXPECT_EQ(ListResultNames(dir.Path), std::vector<std::string>{"flight1"});
}

TEST(ResultNames, SaveNamesAndQuestions) {
    EXPECT_EQ(ResultNameOf("flight7.kml"), "flight7");
    EXPECT_EQ(ResultNameOf("flight7"), "flight7");
    EXPECT_EQ(GEFileQuestion(true), "Google Earth file already exists. Overwrite?");
    EXPECT_EQ(GEFileQuestion(false), "Create new Google Earth file?");
    EXPECT_EQ(ScenarioCopyQuestion(true), "Scenaio file copy with the given name already exists. Overwrite?");
    EXPECT_EQ(ScenarioCopyQuestion(false), "Create a copy of autosaved Orbiter scenario file?");
}

TEST(ResultNames, ScenarioCopyReplacesWholeOrNotAtAll) {
    TTempFolder dir;
    const std::string source = dir.Write("(Current state).scn", std::string("A\r\n\0B\r\n", 7));
    const std::string target = dir.Write("flight7.scn", "old");
    ASSERT_TRUE(Succeeded(CopyScenarioFile(source, target)));
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string("A\r\n\0B\r\n", 7));

    const TResult unread = CopyScenarioFile(dir.Path + "gone.scn", target);
    EXPECT_FALSE(unread.Ok());
    EXPECT_NE(unread.Message.find("gone.scn"), std::string::npos) << unread.Message;
    const TResult unwritten = CopyScenarioFile(source, dir.Path + "no/such/folder.scn");
    EXPECT_FALSE(unwritten.Ok());
    EXPECT_NE(unwritten.Message.find("folder.scn"), std::string::npos) << unwritten.Message;
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path))
        ++files;
    EXPECT_EQ(files, 2u); // no temporary file left behind
}
