// A dispersion's bookkeeping: failures by kind and phase, the launch frame, runs per missile, and the
// texts written from it.
#include "Unit_Dispersion.h"
#include "Unit_DispersionKml.h"
#include "Unit_DispersionPlot.h"
#include "Unit_DispersionReport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

using namespace zm;

namespace {

TTeskWreck Wreck(const std::string& missile, const std::string& failure,
                 std::vector<int> phases = {1, 2, 3, 3}) {
    TTeskWreck w;
    w.Name = missile + "-Wreck";
    w.MissileName = missile;
    w.Target = "Dry";
    w.Failure = failure;
    w.LatitudeTarget = 35.0L;
    w.LongitudeTarget = -117.0L;
    w.LatitudeLaunch = 34.0L;
    w.LongitudeLaunch = -117.0L;
    w.LaunchAz = 0; // due north
    w.LatitudeLast = 35.0L;
    w.LongitudeLast = -117.0L;
    w.TrackCount = int(phases.size());
    for (size_t i = 0; i < phases.size(); ++i)
        w.TrackPhase[i] = phases[i];
    return w;
}

TEST(Dispersion, FailuresAreSortedByKindPhaseAndWhetherTheMissileCameDownWhole) {
    struct Case {
        std::string failure;
        std::vector<int> phases; // the last is the point added at the end
        const char *kind, *phase;
        bool ground;
    } cases[] = {
        {"", {1, 3}, "none", "", true},
        {"Destructed on takeoff (62345) at 41 sec.", {1, 2, 3}, "Destructed on takeoff", "powered", false},
        {"Destructed on reentry (380000) at 290 sec.",
         {1, 2, 3, 3},
         "Destructed on reentry",
         "unpowered",
         false},
        {"Engine explosion (0) at 12 sec.", {1, 3}, "Engine explosion", "powered", false},
        {"Engine shutdown (0) at 30 sec.", {1, 2, 3, 3}, "Engine shutdown", "powered", true},
        {"Engine low throttle (40) at 8 sec.", {1, 3, 3}, "Engine low throttle", "powered", true},
        {"Control pitch (45) at 20 sec.", {1, 3, 3}, "Control pitch", "powered", true},
        {"Control roll (-37) at 32 sec.", {1, 3, 3}, "Control roll", "powered", true},
        {"Control yawning (3) at 1 sec.", {1, 3}, "other", "powered", true},
        {"Destructed on reentry (1) at 2 sec.", {}, "Destructed on reentry", "unknown", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        const TFlightOutcome o = OutcomeOf(Wreck("T", c.failure, c.phases));
        EXPECT_EQ(o.Kind, c.kind);
        EXPECT_EQ(o.Phase, c.phase);
        EXPECT_EQ(o.ReachedGround, c.ground);
    }
}

TEST(Dispersion, LaunchFrameIsAlongAndToTheRightOfTheLaunchAzimuth) {
    // A point 1 km north of a target at 35 N. Launched east, north is to the left; launched north, beyond;
    // launched south-west, short of the target and to its right.
    const long double north = 35.0L + 1000.0L / 6371010.0L * 180.0L / 3.14159265358979323846L;
    struct Case {
        long double azimuth;
        double along, across;
    } cases[] = {{90, 0, -1000}, {0, 1000, 0}, {180, -1000, 0}, {225, -707.107, 707.107}, {270, 0, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.azimuth));
        const TLocalPoint p = LaunchFrameOffset(35.0L, -117.0L, c.azimuth, north, -117.0L);
        EXPECT_NEAR(p.Along, c.along, 0.01);
        EXPECT_NEAR(p.Across, c.across, 0.01);
        // The KML writer's inverse lands on the same point.
        TMissileDispersion m;
        m.TargetLatitude = 35.0L;
        m.TargetLongitude = -117.0L;
        m.LaunchAzimuth = c.azimuth;
        long double lat = 0, lon = 0;
        LaunchFramePoint(m, p, lat, lon);
        EXPECT_NEAR(double(lat), double(north), 1e-7) << "within a centimetre";
        EXPECT_NEAR(double(lon), -117.0, 1e-7);
    }
}

TEST(Dispersion, RunsAreCountedPerMissileAndOnlyFlightsWithoutAFailureMakeTheFigures) {
    TDispersion d;
    d.RunsPlanned = 4;
    // Run 1 and 2: both missiles fly; run 2's Bravo jams a fin and lands 80 km away; run 3 leaves no Bravo;
    // run 4 gives nothing at all.
    auto at = [](TTeskWreck w, long double dLat) {
        w.LatitudeLast += dLat;
        return w;
    };
    d.AddRun(2, {at(Wreck("Alpha", ""), 0.001L), at(Wreck("Bravo", "Control pitch (45) at 20 sec."), 0.7L)});
    d.AddRun(1, {at(Wreck("Alpha", ""), -0.001L), at(Wreck("Bravo", ""), 0.002L)});
    d.AddRun(3, {at(Wreck("Alpha", "Engine explosion (0) at 3 sec."), -1.0L)});
    d.AddFailedRun(4);
    d.Finish();
    ASSERT_EQ(d.Missiles.size(), 2u);
    EXPECT_EQ(d.RunsFlown, 3);
    const TMissileDispersion &alpha = d.Missiles[0], &bravo = d.Missiles[1];
    EXPECT_EQ(alpha.Missile, "Alpha");
    EXPECT_EQ(alpha.Runs, 3);
    EXPECT_EQ(alpha.Impacts.front().Run, 1) << "impacts in run order";
    EXPECT_EQ(alpha.Failures(), 1);
    EXPECT_EQ(alpha.ReachedGround, 2);
    EXPECT_EQ(alpha.Stats.Count, 2u);
    EXPECT_NEAR(alpha.Stats.Mean.Along, 0, 0.01) << "runs 1 and 2 lie 111 m either side";
    EXPECT_EQ(bravo.Missing(), 1);
    EXPECT_EQ(bravo.FailuresByKind.at("Control pitch"), 1);
    EXPECT_EQ(bravo.FailuresByPhase.at("powered"), 1);
    EXPECT_EQ(bravo.ReachedGround, 2) << "the jammed flight came down whole";
    ASSERT_EQ(bravo.Stats.Count, 1u) << "but it is no sample of the dispersion";
    EXPECT_NEAR(bravo.Stats.Mean.Along, 222.4, 0.5);
}

TEST(Dispersion, TextsWriteNumbersWithAPointInAnyLocaleAndEscapeNames) {
    TDispersion d;
    d.Plan = "Plan \"A\"\\1.scn";
    d.RunsPlanned = 1;
    TTeskWreck w = Wreck("Al,pha", "");
    w.LatitudeLast += 0.01L;
    d.AddRun(1, {w});
    d.Finish();
    const char* previous = std::setlocale(LC_ALL, "de_DE.UTF-8");
    const std::string json = DispersionJson(d), csv = DispersionImpactsCsv(d), table = DispersionTable(d);
    std::setlocale(LC_ALL, previous ? previous : "C");
    EXPECT_NE(json.find("\"plan\": \"Plan \\\"A\\\"\\\\1.scn\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"along\": 1111.9"), std::string::npos) << json;
    EXPECT_NE(csv.find("\"Al,pha\",1,none,,yes,35.0100000,-117.0000000,1112.0,0.0"), std::string::npos)
        << csv;
    EXPECT_NE(table.find("1112 m beyond"), std::string::npos) << table;
}

// The plan's precise missiles are named in the heading line, the plot and the JSON; a plan without any
// writes its texts as it always did, with no field for the cut-off.
TEST(Dispersion, TheOutputsNameThePreciseMissilesOnlyWhenThePlanHasThem) {
    const auto flown = [](std::vector<std::string> precise) {
        TDispersion d;
        d.Plan = "plan.scn";
        d.RunsPlanned = 1;
        d.PreciseMissiles = std::move(precise);
        d.AddRun(1, {Wreck("Alpha", ""), Wreck("Bravo", "")});
        d.Finish();
        return d;
    };
    const TDispersion plain = flown({}), mixed = flown({"Bravo", "Charlie"});
    EXPECT_FALSE(plain.AnyPrecise());
    EXPECT_EQ(std::vector<bool>({mixed.Missiles[0].Precise, mixed.Missiles[1].Precise}),
              std::vector<bool>({false, true}));

    const std::string heading = "  (launch azimuth 0.0 deg, range 0 m";
    const std::string plainTable = DispersionTable(plain), mixedTable = DispersionTable(mixed);
    EXPECT_NE(plainTable.find("Bravo to Dry" + heading + ")\n"), std::string::npos) << plainTable;
    EXPECT_EQ(plainTable.find("precise"), std::string::npos);
    EXPECT_NE(mixedTable.find("Alpha to Dry" + heading + ")\n"), std::string::npos) << mixedTable;
    EXPECT_NE(mixedTable.find("Bravo to Dry" + heading + ", precise cut-off)\n"), std::string::npos)
        << mixedTable;
    EXPECT_EQ(mixedTable.find("Charlie"), std::string::npos) << "a planned missile that left no wreck";

    const std::string plainJson = DispersionJson(plain), mixedJson = DispersionJson(mixed);
    EXPECT_EQ(plainJson.find("precise"), std::string::npos);
    const size_t alpha = mixedJson.find("\"missile\": \"Alpha\""),
                 bravo = mixedJson.find("\"missile\": \"Bravo\"");
    ASSERT_LT(alpha, bravo);
    EXPECT_EQ(mixedJson.find("\"precise_cut_off\": false"), mixedJson.find("\"precise_cut_off\"", alpha));
    EXPECT_LT(mixedJson.find("\"precise_cut_off\": false"), bravo);
    EXPECT_GT(mixedJson.find("\"precise_cut_off\": true"), bravo);
    EXPECT_NE(mixedJson.find("\"planned_range\": 0.0,\n      \"precise_cut_off\": true,\n      \"runs\": 1"),
              std::string::npos)
        << mixedJson;

    EXPECT_EQ(DispersionSvg(plain.Missiles[1]).find("precise"), std::string::npos);
    EXPECT_NE(DispersionSvg(mixed.Missiles[1]).find("range 0.0 km, precise cut-off"), std::string::npos);
}

} // namespace
