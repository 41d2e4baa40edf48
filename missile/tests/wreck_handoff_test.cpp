// The hand-off to the wreck: miss figures, the final track point, the record and the wreck's name.
#include "WreckHandoff.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr double R = 6371000;

struct MissFigureCase {
    const char* name;
    double heading;     // launch heading, degrees
    double north, east; // impact relative to the target, metres
    double rangeMiss, azimuthMiss, lateral, longitudal;
};

TEST(HandoffFigures, MissSplitAlongAndAcrossTheLaunchHeading) {
    const double targetLat = 50, targetLon = 10;
    const MissFigureCase cases[] = {
        {"2 km beyond, launched north", 0, 2000, 0, 2000, 0, 0, 2000},
        {"1 km right, launched north", 0, 0, 1000, 1000, 90, 1000, 0},
        {"2 km short, launched north", 0, -2000, 0, 2000, 180, 0, -2000},
        {"1 km left of an eastward launch", 90, 1000, 0, 1000, 0, -1000, 0},
        {"1 km short of an eastward launch", 90, 0, -1000, 1000, 270, 0, -1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double lat = RadFromDeg(targetLat) + c.north / R;
        const double lon = RadFromDeg(targetLon) + c.east / (R * std::cos(RadFromDeg(targetLat)));
        const HandoffFigures f = ComputeHandoffFigures(RadFromDeg(45), RadFromDeg(10), targetLat, targetLon,
                                                       c.heading, lat, lon, R);
        EXPECT_NEAR(f.rangeMiss, c.rangeMiss, 0.01);
        EXPECT_NEAR(f.azimuthMiss, c.azimuthMiss, 0.01);
        EXPECT_NEAR(f.lateralMiss, c.lateral, 0.2);
        EXPECT_NEAR(f.longitudalMiss, c.longitudal, 0.2);
    }
}

TEST(HandoffFigures, ActualFlightFromLaunchPointAndHitOnTarget) {
    // Launched north from 45 N 10 E, ends exactly on the target 5 degrees further north.
    const HandoffFigures f =
        ComputeHandoffFigures(RadFromDeg(45), RadFromDeg(10), 50, 10, 0, RadFromDeg(50), RadFromDeg(10), R);
    EXPECT_NEAR(f.rangeActual, R * RadFromDeg(5), 0.01);
    EXPECT_NEAR(f.azimuthActual, 0, 1e-6);
    EXPECT_EQ(f.rangeMiss, 0);
    EXPECT_EQ(f.lateralMiss, 0);
    EXPECT_EQ(f.longitudalMiss, 0);
}

struct FakeMissile {
    double targetLatitude = 52.5, targetLongitude = 13.4;
    char targetName[52] = "Ziel";
    double launchLongitude = 0.2, launchLatitude = 0.8;
    double met = 312.25, maxAltitude = 123456;
    double launchMJD = 60400.125;
    int trackCount = 0;
    double trackLongitude[MaxTrackPoints] = {}, trackLatitude[MaxTrackPoints] = {},
           trackAltitude[MaxTrackPoints] = {};
    int trackPhase[MaxTrackPoints] = {};
    char failString[256] = {};
};

TEST(HandoffRecord, FinalPointOnlyWhileTheTrackHasRoom) {
    FakeMissile m;
    m.trackCount = 2;
    AppendFinalTrackPoint(m, 0.3, 0.7, 30000);
    EXPECT_EQ(m.trackCount, 3);
    EXPECT_EQ(m.trackLongitude[2], 0.3);
    EXPECT_EQ(m.trackLatitude[2], 0.7);
    EXPECT_EQ(m.trackAltitude[2], 30000);
    EXPECT_EQ(m.trackPhase[2], TrackPhaseEngineOff);

    m.trackCount = MaxTrackPoints - 1;
    AppendFinalTrackPoint(m, 0.3, 0.7, 0);
    EXPECT_EQ(m.trackCount, MaxTrackPoints);
    AppendFinalTrackPoint(m, 0.4, 0.7, 0);
    EXPECT_EQ(m.trackCount, MaxTrackPoints);
    EXPECT_EQ(m.trackLongitude[MaxTrackPoints - 1], 0.3);
}

TEST(HandoffRecord, EveryFieldWrittenAndTextsCutToTheRecord) {
    FakeMissile m;
    m.trackCount = 3;
    for (int i = 0; i < 3; ++i) {
        m.trackLongitude[i] = 0.2 + i;
        m.trackLatitude[i] = 0.8 + i;
        m.trackAltitude[i] = 100.0 * i;
        m.trackPhase[i] = i + 1;
    }
    std::memset(m.targetName, 'T', 51);
    std::memset(m.failString, 'F', 255);
    const HandoffFigures f{1, 2, 3, 4, 5, 6};

    FlightResult r{};
    r.trackPhase[3] = 99; // entries beyond the count are not the missile's business
    FillFlightResult(r, m, 0.25, 0.85, 777, f, false);
    EXPECT_EQ(r.LATITUDE_TARGET, 52.5);
    EXPECT_EQ(r.LONGITUDE_TARGET, 13.4);
    EXPECT_EQ(r.LONGITUDE_LAST, 0.25);
    EXPECT_EQ(r.LATITUDE_LAST, 0.85);
    EXPECT_EQ(r.FLIGHT_TIME, 312.25);
    EXPECT_EQ(r.MAX_ALTITUDE, 123456);
    EXPECT_EQ(r.IMPACT_VELOCITY, 777);
    EXPECT_EQ(r.RANGE_ACTUAL, 1);
    EXPECT_EQ(r.AZIMUTH_ACTUAL, 2);
    EXPECT_EQ(r.RANGE_MISS, 3);
    EXPECT_EQ(r.AZIMUTH_MISS, 4);
    EXPECT_EQ(r.LATERAL_MISS, 5);
    EXPECT_EQ(r.LONGITUDAL_MISS, 6);
    EXPECT_EQ(r.LATITUDE_LAUNCH, 0.8);
    EXPECT_EQ(r.LONGITUDE_LAUNCH, 0.2);
    EXPECT_EQ(r.trackCount, 3);
    EXPECT_EQ(r.trackLongitude[2], 2.2);
    EXPECT_EQ(r.trackAltitude[1], 100);
    EXPECT_EQ(r.trackPhase[0], 1);
    EXPECT_EQ(r.trackPhase[3], 99);
    EXPECT_EQ(std::string(r.TARGET), std::string(49, 'T'));
    EXPECT_EQ(std::string(r.FAILURE), std::string(249, 'F'));
    EXPECT_EQ(r.LANDED, 0);
    EXPECT_EQ(r.MJD_LAUNCH, 60400.125);

    FillFlightResult(r, m, 0.25, 0.85, 0, f, true);
    EXPECT_EQ(r.LANDED, 1);

    // A damaged count never copies past the arrays.
    m.trackCount = 5000;
    FillFlightResult(r, m, 0, 0, 0, f, true);
    EXPECT_EQ(r.trackCount, MaxTrackPoints);
    m.trackCount = -4;
    FillFlightResult(r, m, 0, 0, 0, f, true);
    EXPECT_EQ(r.trackCount, 0);
}

TEST(HandoffRecord, WreckNameKeepsItsSuffixWithin99Characters) {
    char name[WreckNameSize];
    MakeWreckName("M1", name);
    EXPECT_STREQ(name, "M1-Wreck");
    const std::string n93(93, 'm');
    MakeWreckName(n93.c_str(), name);
    EXPECT_EQ(std::string(name), n93 + "-Wreck");
    const std::string n150(150, 'x');
    MakeWreckName(n150.c_str(), name);
    EXPECT_EQ(std::string(name), std::string(93, 'x') + "-Wreck");
    MakeWreckName(nullptr, name);
    EXPECT_STREQ(name, "-Wreck");
}

} // namespace
