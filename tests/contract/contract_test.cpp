// The add-on's files read across programs: a wreck's block as the host saves it, read by Zielmark's result
// reader; a launch block as Zielmark writes it, read by the missile's own loader. Every field must arrive.
#include "FailureKinds.h"
#include "KeyGrammar.h"
#include "Teski.h"
#include "TeskiWreck.h"
#include "TestRoot.h"
#include "WreckBlockKeys.h"
#include "orbhost/World.h"

#include "Unit_LaunchScenario.h"
#include "Unit_Results.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr long double DegPerRad = 180.0L / 3.14159265358979323846L;

// A record with a distinct value in every field; numbers short enough for the host's float writer.
void Fill(FlightResult& r, bool landed, int trackPoints) {
    r.LANDED = landed ? 1 : 0;
    r.LATITUDE_TARGET = 53.25;
    r.LONGITUDE_TARGET = -13.5;
    r.LONGITUDE_LAST = 0.2345678901234;
    r.LATITUDE_LAST = -0.8765432109876;
    r.FLIGHT_TIME = 321.5;
    r.MAX_ALTITUDE = 120125;
    r.IMPACT_VELOCITY = 850.25;
    r.RANGE_ACTUAL = 498000.5;
    r.AZIMUTH_ACTUAL = 45.75;
    r.RANGE_MISS = 2012.5;
    r.AZIMUTH_MISS = 310.25;
    r.LATERAL_MISS = -347.5;
    r.LONGITUDAL_MISS = 1969.75;
    r.LATITUDE_LAUNCH = 0.9123456789012;
    r.LONGITUDE_LAUNCH = 0.2012345678901;
    r.MJD_LAUNCH = 61384.2512345678;
    r.trackCount = trackPoints;
    for (int i = 0; i < trackPoints; ++i) {
        r.trackLongitude[i] = 0.2 + i * 1e-5;
        r.trackLatitude[i] = 0.9 - i * 2e-5;
        r.trackAltitude[i] = i * 250.5;
        r.trackPhase[i] =
            i + 1 == trackPoints ? TrackPhaseEngineOff : (i < 5 ? TrackPhaseBurning : TrackPhaseContrail);
    }
    std::snprintf(r.TARGET, sizeof r.TARGET, "Nord Ziel");
    std::snprintf(r.FAILURE, sizeof r.FAILURE, "Control roll (-37) at 32 sec.");
}

struct WreckCase {
    bool landed;
    int trackPoints;
};

class WreckToZielmark : public ::testing::TestWithParam<WreckCase> {};

TEST_P(WreckToZielmark, EveryFieldOfTheSavedBlockReachesTheResultReader) {
    const WreckCase c = GetParam();
    std::string saved;
    FlightResult r{};
    {
        orb::World world(Root());
        world.createVessel("T7-Wreck", TeskiWreckClassName, "STATUS Landed Earth\nPOS 10 50\nHEADING 0\n");
        auto* w = world.moduleAs<TeskiWreck>("T7-Wreck");
        ASSERT_NE(w, nullptr);
        Fill(w->FlightResult, c.landed, c.trackPoints);
        w->FALLPHASE = false;
        r = w->FlightResult;
        saved = world.saveText(); // no step: the record is saved as the missile handed it over
    }
    // Every key of the wreck's table is in the block, FALLPHASE only in the air.
    for (const WreckBlockKey& key : WreckBlockKeys)
        EXPECT_EQ(saved.find(std::string("  ") + key.name + " ") != std::string::npos,
                  key.id != WreckKeyId::FALLPHASE || !c.landed)
            << key.name << "\n"
            << saved;

    zm::TOrbResults results;
    const zm::TResult read = zm::ReadOrbResultText(saved, "contract.scn", results);
    ASSERT_TRUE(read.Ok()) << read.Message;
    ASSERT_EQ(results.Wrecks.size(), 1u);
    const zm::TTeskWreck& z = results.Wrecks[0];
    EXPECT_EQ(z.Name, "T7-Wreck");
    EXPECT_EQ(z.MissileName, "T7");
    // Angles held in radians arrive in degrees, written with 13 decimals.
    EXPECT_NEAR(double(z.LatitudeLast), double(r.LATITUDE_LAST * DegPerRad), 1e-12);
    EXPECT_NEAR(double(z.LongitudeLast), double(r.LONGITUDE_LAST * DegPerRad), 1e-12);
    EXPECT_NEAR(double(z.LatitudeLaunch), double(r.LATITUDE_LAUNCH * DegPerRad), 1e-12);
    EXPECT_NEAR(double(z.LongitudeLaunch), double(r.LONGITUDE_LAUNCH * DegPerRad), 1e-12);
    EXPECT_EQ(double(z.LatitudeTarget), r.LATITUDE_TARGET);
    EXPECT_EQ(double(z.LongitudeTarget), r.LONGITUDE_TARGET);
    EXPECT_EQ(double(z.MaxAltitude), r.MAX_ALTITUDE);
    EXPECT_EQ(double(z.FlightTime), r.FLIGHT_TIME);
    EXPECT_EQ(double(z.ImpactVelocity), r.IMPACT_VELOCITY);
    EXPECT_EQ(double(z.RangeActual), r.RANGE_ACTUAL);
    EXPECT_EQ(double(z.AzimuthActual), r.AZIMUTH_ACTUAL);
    EXPECT_EQ(double(z.RangeMiss), r.RANGE_MISS);
    EXPECT_EQ(double(z.AzimuthMiss), r.AZIMUTH_MISS);
    EXPECT_EQ(double(z.LateralMiss), r.LATERAL_MISS);
    EXPECT_EQ(double(z.LongitudalMiss), r.LONGITUDAL_MISS);
    EXPECT_NEAR(double(z.LaunchMJD), r.MJD_LAUNCH, 1e-10); // "%.10f"
    EXPECT_TRUE(z.Gives(&zm::TTeskWreck::LaunchMJD));
    EXPECT_TRUE(z.Gives(&zm::TTeskWreck::PlannedRange));
    EXPECT_EQ(z.Target, r.TARGET);
    EXPECT_EQ(z.Failure, r.FAILURE);
    ASSERT_EQ(z.TrackCount, r.trackCount);
    for (int i = 0; i < r.trackCount; ++i) {
        EXPECT_NEAR(double(z.TrackLon[size_t(i)]), double(r.trackLongitude[i] * DegPerRad), 1e-10) << i;
        EXPECT_NEAR(double(z.TrackLat[size_t(i)]), double(r.trackLatitude[i] * DegPerRad), 1e-10) << i;
        EXPECT_NEAR(double(z.TrackAlt[size_t(i)]), r.trackAltitude[i], 1e-12) << i;
        EXPECT_EQ(z.TrackPhase[size_t(i)], r.trackPhase[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(LandedOrFalling, WreckToZielmark,
                         ::testing::Values(WreckCase{true, 3}, WreckCase{false, MaxTrackPoints}),
                         [](const auto& info) {
                             return info.param.landed ? "Landed" : "FallingWithAFullTrack";
                         });

// The block Zielmark writes for the missile named, as lines the host hands to a new vessel.
std::string LaunchBlockOf(const zm::TLaunchPlan& plan, const std::string& name) {
    std::string block;
    bool in = false;
    for (const std::string& line : zm::LaunchScenarioLines(plan)) {
        if (line == name + ":" + TeskiClassName) {
            in = true;
        } else if (in && line == "END") {
            return block;
        } else if (in) {
            block += line + "\n";
        }
    }
    return block;
}

struct LaunchCase {
    long double lat, lon, azimuth, range;
    int delay;
    bool realistic, precise;
    const char* target;
    long double targetLat, targetLon;
};

class ZielmarkToMissile : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(ZielmarkToMissile, EveryKeyOfTheLaunchBlockReachesTheMissile) {
    const LaunchCase c = GetParam();
    zm::TLaunchPlan plan;
    zm::TTesk m;
    m.Name = "TeskB";
    m.Lat = c.lat;
    m.Lon = c.lon;
    m.Azimuth = c.azimuth;
    m.Range = c.range;
    m.Delay = c.delay;
    m.Realistic = c.realistic;
    m.Precise = c.precise;
    m.TargetName = c.target;
    m.TargetLat = c.targetLat;
    m.TargetLon = c.targetLon;
    plan.Waypoints.Tesks = {m};
    const std::string block = LaunchBlockOf(plan, "TeskB");
    ASSERT_FALSE(block.empty());

    orb::World world(Root());
    const OBJHANDLE h = world.createVessel("TeskB", TeskiClassName, block);
    const Teski* t = world.moduleAs<Teski>("TeskB");
    ASSERT_NE(t, nullptr) << block;
    EXPECT_NEAR(t->range, double(c.range), 0.05); // one decimal
    EXPECT_EQ(t->launchDelay, c.delay);
    EXPECT_EQ(t->realistic, c.realistic);
    EXPECT_EQ(t->precise, c.precise);
    EXPECT_NEAR(t->targetLatitude, double(c.targetLat), 1e-13);
    EXPECT_NEAR(t->targetLongitude, double(c.targetLon), 1e-13);
    EXPECT_STREQ(t->targetName, c.target);
    EXPECT_FALSE(t->launched);
    // The host's own lines place the vessel.
    double lon = 0, lat = 0, radius = 0;
    world.vessel(h)->GetEquPos(lon, lat, radius);
    EXPECT_NEAR(lon * double(DegPerRad), double(c.lon), 1e-9);
    EXPECT_NEAR(lat * double(DegPerRad), double(c.lat), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    BothModels, ZielmarkToMissile,
    ::testing::Values(LaunchCase{52.25L, 13.5L, 0.25L, 111194.9L, 7, false, true, "Nord", 53.25L, 13.5L},
                      LaunchCase{-29.5L, 135.125L, 301.5L, 450000.3L, 0, true, false, "Ziel im Westen",
                                 -30.0123456789012L, 131.9876543210987L}),
    [](const auto& info) { return info.param.realistic ? "Realistic" : "SimplePrecise"; });

// Each reader's key rule, as the programs have always applied it.
TEST(KeyGrammars, EachReaderAcceptsTheSpellingItAlwaysAccepted) {
    struct Case {
        const char* line;
        KeyGrammar grammar;
        std::size_t valueAt; // 0: not the key
    };
    const Case cases[] = {
        {"  RANGE 5", SavedKeys, 8},
        {"RANGE 5", SavedKeys, 0},
        {"   RANGE 5", SavedKeys, 0},
        {"  range 5", SavedKeys, 0},
        {"  RANGE", SavedKeys, 0},
        {"  RANGE\t5", SavedKeys, 0},
        {"  range 5", SavedKeysAnyCase, 8},
        {"\t range5", PluginKeys, 7},
        {"RANGE5", PluginKeys, 5},
        {" RANGE 5", PluginKeysUnindented, 0},
        {"rAnGe 5", PluginKeysUnindented, 5},
        {"RANG", PluginKeys, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchKey(c.line, "RANGE", c.grammar), c.valueAt) << '"' << c.line << '"';
}

TEST(FailureCauses, TheMissilesTextsNameTheirCauseAndNothingElseDoes) {
    // Every text the missile can write names the cause of its two words.
    for (const FailureCause& c : FailureCauses) {
        const std::string text = std::string(FailureWord(FailureFirstWords, c.firstWord)) + " " +
                                 FailureWord(FailureSecondWords, c.secondWord) + " (12) at 34 sec.";
        EXPECT_EQ(FailureCauseOf(text, FailureWordsEnd::Word), &c) << text;
        EXPECT_EQ(FailureCauseOf(text, FailureWordsEnd::Prefix), &c) << text;
    }
    EXPECT_EQ(FailureCauseOf("", FailureWordsEnd::Prefix), nullptr);
    EXPECT_EQ(FailureCauseOf("Engine", FailureWordsEnd::Word), nullptr);
    EXPECT_EQ(FailureCauseOf("Control yawing (3) at 4 sec.", FailureWordsEnd::Word), nullptr);
    EXPECT_EQ(FailureCauseOf("Control yawing (3) at 4 sec.", FailureWordsEnd::Prefix), &FailureCauses[5]);
    EXPECT_EQ(FailureCauseOf("Control yaw", FailureWordsEnd::Word), &FailureCauses[5]);
}

} // namespace
