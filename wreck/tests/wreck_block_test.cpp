// The wreck's scenario block: key order, units, number formats, track count rules and texts.
#include "WreckBlock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Keeps the lines as "KEY value", the way the host writes them; floats in shortest form.
struct Recorder : WreckBlockWriter {
    std::vector<std::string> lines;
    void WriteInt(const char* key, int value) override {
        lines.push_back(std::string(key) + " " + std::to_string(value));
    }
    void WriteFloat(const char* key, double value) override {
        char text[64];
        std::snprintf(text, sizeof text, "%g", value);
        lines.push_back(std::string(key) + " " + text);
    }
    void WriteString(const char* key, const char* value) override {
        lines.push_back(std::string(key) + " " + value);
    }

    std::vector<std::string> Keys() const {
        std::vector<std::string> keys;
        for (const auto& l : lines)
            keys.push_back(l.substr(0, l.find(' ')));
        return keys;
    }
};

FlightResult SampleResult() {
    FlightResult r{};
    r.LATITUDE_TARGET = 52.5;
    r.LONGITUDE_TARGET = 13.25;
    r.LONGITUDE_LAST = 0.5;
    r.LATITUDE_LAST = 0.9;
    r.FLIGHT_TIME = 321.5;
    r.MAX_ALTITUDE = 120000;
    r.IMPACT_VELOCITY = 850.25;
    r.RANGE_ACTUAL = 498000;
    r.AZIMUTH_ACTUAL = 45.5;
    r.RANGE_MISS = 2000;
    r.AZIMUTH_MISS = 10;
    r.LATERAL_MISS = 347.3;
    r.LONGITUDAL_MISS = -1969.6;
    r.LATITUDE_LAUNCH = 0.9;
    r.LONGITUDE_LAUNCH = 0.2;
    r.trackCount = 2;
    r.trackLongitude[0] = 0.5;
    r.trackLatitude[0] = 0.9;
    r.trackAltitude[0] = 12.5;
    r.trackPhase[0] = 1;
    r.trackLongitude[1] = 0.51;
    r.trackLatitude[1] = 0.91;
    r.trackAltitude[1] = 0;
    r.trackPhase[1] = 3;
    std::strcpy(r.TARGET, "Ziel-7");
    r.LANDED = 1;
    return r;
}

FlightResult ReadLines(const std::vector<std::string>& lines, bool& fallPhase) {
    FlightResult r{};
    for (const auto& l : lines)
        EXPECT_TRUE(ReadWreckBlockLine(l.c_str(), r, fallPhase)) << l;
    return r;
}

TEST(WreckBlockSave, LandedWreckWritesKeysInOrderWithoutFallPhaseOrEmptyFailure) {
    Recorder out;
    WriteWreckBlock(SampleResult(), true, out);
    const std::vector<std::string> expected = {"LANDED",
                                               "LATITUDE_LAST",
                                               "LONGITUDE_LAST",
                                               "MAX_ALTITUDE",
                                               "FLIGHT_TIME",
                                               "IMPACT_VELOCITY",
                                               "LATITUDE_TARGET",
                                               "LONGITUDE_TARGET",
                                               "RANGE_ACTUAL",
                                               "AZIMUTH_ACTUAL",
                                               "RANGE_MISS",
                                               "AZIMUTH_MISS",
                                               "LATERAL_MISS",
                                               "LONGITUDAL_MISS",
                                               "LATITUDE_LAUNCH",
                                               "LONGITUDE_LAUNCH",
                                               "TARGET",
                                               "TRACK",
                                               "TRACK"};
    EXPECT_EQ(out.Keys(), expected);
    EXPECT_EQ(out.lines[0], "LANDED 1");
    EXPECT_EQ(out.lines[16], "TARGET Ziel-7");
}

TEST(WreckBlockSave, FlyingWreckWritesFallPhaseAfterLandedAndItsFailure) {
    FlightResult r = SampleResult();
    r.LANDED = 0;
    std::strcpy(r.FAILURE, "Engine explosion (0) at 45 sec.");
    for (const bool fallPhase : {true, false}) {
        Recorder out;
        WriteWreckBlock(r, fallPhase, out);
        ASSERT_GE(out.lines.size(), 3u);
        EXPECT_EQ(out.lines[0], "LANDED 0");
        EXPECT_EQ(out.lines[1], fallPhase ? "FALLPHASE 1" : "FALLPHASE 0");
        EXPECT_EQ(out.lines[18], "FAILURE Engine explosion (0) at 45 sec.");
    }
}

TEST(WreckBlockSave, AnglesInDegreesWith13DecimalsButTrackInRadians) {
    Recorder out;
    WriteWreckBlock(SampleResult(), false, out);
    EXPECT_EQ(out.lines[2], "LONGITUDE_LAST 28.6478897565412");  // 0.5 rad
    EXPECT_EQ(out.lines[1], "LATITUDE_LAST 51.5662015617741");   // 0.9 rad
    EXPECT_EQ(out.lines[6], "LATITUDE_TARGET 52.5000000000000"); // held in degrees
    EXPECT_EQ(out.lines[15], "LONGITUDE_LAUNCH 11.4591559026165");
    EXPECT_EQ(out.lines[17], "TRACK 0 0.5000000000000 0.9000000000000 12.5000000000000 1");
    EXPECT_EQ(out.lines[18], "TRACK 1 0.5100000000000 0.9100000000000 0.0000000000000 3");
}

TEST(WreckBlockSave, NumbersThatAreNotFiniteAreLeftOutAndTheTrackEndsBeforeThem) {
    FlightResult r = SampleResult();
    r.LATITUDE_LAUNCH = 1e308; // finite in radians, beyond the doubles in degrees
    r.RANGE_MISS = std::nan("");
    r.LATERAL_MISS = -HUGE_VAL;
    r.LATITUDE_TARGET = HUGE_VAL;
    r.trackCount = 3;
    r.trackLongitude[2] = 0.52;
    r.trackAltitude[1] = std::nan("");
    Recorder out;
    WriteWreckBlock(r, false, out);
    const std::vector<std::string> expected = {
        "LANDED",          "LATITUDE_LAST",    "LONGITUDE_LAST", "MAX_ALTITUDE",   "FLIGHT_TIME",
        "IMPACT_VELOCITY", "LONGITUDE_TARGET", "RANGE_ACTUAL",   "AZIMUTH_ACTUAL", "AZIMUTH_MISS",
        "LONGITUDAL_MISS", "LONGITUDE_LAUNCH", "TARGET",         "TRACK"};
    EXPECT_EQ(out.Keys(), expected);
    for (const auto& line : out.lines) {
        EXPECT_EQ(line.find("inf"), std::string::npos) << line;
        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
    }
}

// The launch date is a line of its own after the launch point, present only when the missile gave it: a
// block saved before missiles kept it (the test above) writes no such line and saves as it always did.
TEST(WreckBlockSave, LaunchDateAfterTheLaunchPointAndReadBack) {
    FlightResult r = SampleResult();
    r.MJD_LAUNCH = 60123.25 + 12.5 / 86400;
    Recorder out;
    WriteWreckBlock(r, false, out);
    ASSERT_EQ(out.lines.size(), 20u);
    EXPECT_EQ(out.lines[15].rfind("LONGITUDE_LAUNCH ", 0), 0u);
    EXPECT_EQ(out.lines[16], "MJD_LAUNCH 60123.2501446759");
    EXPECT_EQ(out.lines[17], "TARGET Ziel-7");

    bool fallPhase = false;
    const FlightResult back = ReadLines(out.lines, fallPhase);
    EXPECT_NEAR(back.MJD_LAUNCH, r.MJD_LAUNCH, 1e-10); // well under a millisecond
    FlightResult lower{};
    EXPECT_TRUE(ReadWreckBlockLine("  mjd_launch 51544.5", lower, fallPhase));
    EXPECT_EQ(lower.MJD_LAUNCH, 51544.5);
    EXPECT_TRUE(ReadWreckBlockLine("MJD_LAUNCH soon", lower, fallPhase));
    EXPECT_EQ(lower.MJD_LAUNCH, 51544.5); // unreadable: kept

    for (const double unknown : {0.0, std::nan(""), HUGE_VAL}) {
        r.MJD_LAUNCH = unknown;
        Recorder none;
        WriteWreckBlock(r, false, none);
        for (const auto& key : none.Keys())
            EXPECT_NE(key, "MJD_LAUNCH") << unknown;
    }
}

TEST(WreckBlockLoad, SavedBlockReadsBackWhole) {
    FlightResult saved = SampleResult();
    saved.LANDED = 0;
    std::strcpy(saved.FAILURE, "Control roll (-37) at 32 sec.");
    Recorder out;
    WriteWreckBlock(saved, true, out);

    bool fallPhase = false;
    const FlightResult back = ReadLines(out.lines, fallPhase);
    EXPECT_TRUE(fallPhase);
    EXPECT_EQ(back.LANDED, 0);
    EXPECT_NEAR(back.LATITUDE_LAUNCH, 0.9, 1e-14);
    EXPECT_NEAR(back.LATITUDE_LAST, 0.9, 1e-14);
    EXPECT_NEAR(back.LONGITUDE_LAST, 0.5, 1e-14);
    EXPECT_NEAR(back.LONGITUDE_LAUNCH, 0.2, 1e-14);
    EXPECT_EQ(back.LATITUDE_TARGET, 52.5);
    EXPECT_EQ(back.LONGITUDE_TARGET, 13.25);
    EXPECT_EQ(back.FLIGHT_TIME, 321.5);
    EXPECT_EQ(back.LONGITUDAL_MISS, -1969.6);
    EXPECT_STREQ(back.TARGET, "Ziel-7");
    EXPECT_STREQ(back.FAILURE, "Control roll (-37) at 32 sec.");
    ASSERT_EQ(back.trackCount, 2);
    EXPECT_EQ(back.trackLongitude[1], 0.51);
    EXPECT_EQ(back.trackAltitude[0], 12.5);
    EXPECT_EQ(back.trackPhase[1], 3);
}

TEST(WreckBlockLoad, LastTrackLineSetsTheCount) {
    struct Case {
        std::vector<std::string> lines;
        int count;
    };
    const Case cases[] = {
        {{"TRACK 0 0.1 0.2 3 1", "TRACK 1 0.1 0.2 3 1", "TRACK 2 0.1 0.2 3 3"}, 3},
        {{"TRACK 0 0.1 0.2 3 1", "TRACK 1 0.1 0.2 3 1", "TRACK 2 0.1 0.2 3 3", "TRACK 1 0.5 0.6 7 2"}, 2},
        {{"TRACK 0 0.1 0.2 3 1", "TRACK 400 0.1 0.2 3 1", "TRACK -1 0.1 0.2 3 1"}, 1},
        {{"TRACK 399 0.1 0.2 3 1"}, 400},
        {{"TRACK 0 0.1 0.2 3 1", "TRACK 5 0.1 0.2 3", "TRACK 6 x"}, 1}, // incomplete lines store nothing
    };
    for (const Case& c : cases) {
        FlightResult r{};
        bool fall = false;
        for (const auto& l : c.lines)
            EXPECT_TRUE(ReadWreckBlockLine(l.c_str(), r, fall));
        EXPECT_EQ(r.trackCount, c.count) << c.lines.back();
    }
    FlightResult r{};
    bool fall = false;
    ReadWreckBlockLine("TRACK 1 0.5 0.6 7 2", r, fall);
    EXPECT_EQ(r.trackLongitude[1], 0.5);
    EXPECT_EQ(r.trackLongitude[0], 0.0); // points no line set stay zero
}

TEST(WreckBlockLoad, KeysMatchWithoutCaseAndForeignLinesGoToTheHost) {
    FlightResult r{};
    bool fall = false;
    EXPECT_TRUE(ReadWreckBlockLine("landed 1", r, fall));
    EXPECT_TRUE(ReadWreckBlockLine("Range_Miss 1234.5", r, fall));
    EXPECT_TRUE(ReadWreckBlockLine("fallphase 7", r, fall));
    EXPECT_EQ(r.LANDED, 1);
    EXPECT_TRUE(fall);
    EXPECT_EQ(r.RANGE_MISS, 1234.5);
    for (const char* host :
         {"STATUS Landed Earth", "POS 13.1 52.2", "HEADING 0.00", "ALT 2.000", "AROT 1 2 3", ""})
        EXPECT_FALSE(ReadWreckBlockLine(host, r, fall)) << host;
    EXPECT_TRUE(ReadWreckBlockLine("LANDED 0", r, fall));
    EXPECT_EQ(r.LANDED, 0);
    EXPECT_TRUE(fall); // one flag never changes the other
}

TEST(WreckBlockLoad, UnreadableValuesLeaveFieldsAsTheyWere) {
    FlightResult r = SampleResult();
    bool fall = true;
    for (const char* bad : {"LANDED x", "FALLPHASE", "RANGE_MISS abc", "LATITUDE_LAST nan", "FLIGHT_TIME inf",
                            "TARGET   ", "FAILURE ", "MAX_ALTITUDE 1e999"})
        EXPECT_TRUE(ReadWreckBlockLine(bad, r, fall)) << bad;
    const FlightResult sample = SampleResult();
    EXPECT_EQ(r.LANDED, sample.LANDED);
    EXPECT_EQ(r.RANGE_MISS, sample.RANGE_MISS);
    EXPECT_EQ(r.LATITUDE_LAST, sample.LATITUDE_LAST);
    EXPECT_EQ(r.FLIGHT_TIME, sample.FLIGHT_TIME);
    EXPECT_EQ(r.MAX_ALTITUDE, sample.MAX_ALTITUDE);
    EXPECT_STREQ(r.TARGET, sample.TARGET);
    EXPECT_STREQ(r.FAILURE, "");
    EXPECT_TRUE(fall);
}

TEST(WreckBlockLoad, TextsAreBoundedAndTargetIsTheRestOfItsLine) {
    FlightResult r{};
    bool fall = false;
    const std::string longName(80, 'N');
    const std::string longText(400, 'f');
    ReadWreckBlockLine(("TARGET " + longName).c_str(), r, fall);
    ReadWreckBlockLine(("FAILURE  " + longText + "\r").c_str(), r, fall);
    EXPECT_EQ(std::string(r.TARGET), longName.substr(0, 49));
    EXPECT_EQ(std::string(r.FAILURE), longText.substr(0, 249));
    ReadWreckBlockLine("TARGET Berlin Mitte", r, fall);
    EXPECT_STREQ(r.TARGET, "Berlin Mitte");
    ReadWreckBlockLine("TARGET  Basin & Ridge \t\r", r, fall);
    EXPECT_STREQ(r.TARGET, "Basin & Ridge");
    ReadWreckBlockLine("FAILURE Engine low throttle (40) at 12 sec.\r", r, fall);
    EXPECT_STREQ(r.FAILURE, "Engine low throttle (40) at 12 sec.");

    // A record whose texts lack their terminator is still written bounded.
    std::memset(r.TARGET, 'T', sizeof r.TARGET);
    std::memset(r.FAILURE, 'F', sizeof r.FAILURE);
    r.trackCount = 100000;
    Recorder out;
    WriteWreckBlock(r, false, out);
    EXPECT_EQ(out.lines[17], "TARGET " + std::string(49, 'T'));
    EXPECT_EQ(out.lines[18], "FAILURE " + std::string(249, 'F'));
    EXPECT_EQ(out.lines.size(), 19u + MaxTrackPoints);
}

} // namespace
