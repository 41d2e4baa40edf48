// Waypoints from imported records: coordinates, the naming rule, the limit of ten per kind, and the
// geometry of pointing a missile at a target.
#include "Unit_Functions.h"
#include "Unit_Objects.h"
#include "Unit_Targeting.h"

#include <gtest/gtest.h>

using namespace zm;

namespace {

TKmlTable Table(const std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>>& rows) {
    TKmlTable t;
    t.FieldNames = {"name", "coordinates"};
    for (const auto& [n, c] : rows)
        t.Records.push_back({n, c});
    return t;
}

TEST(LoadWaypoints, CoordinatesTextsAndRecordFailures) {
    struct Case {
        const char* Coordinates;
        bool Loads;
        long double Lon, Lat;
    };
    const Case cases[] = {
        {"13.5,52.4,0", true, 13.5L, 52.4L},
        {"13.5,52.4", true, 13.5L, 52.4L},
        {"-121.99, 37.44,0", true, -121.99L, 37.44L},
        {" 1e1 , -2.5E0 ,7", true, 10.0L, -2.5L},
        {"13.5", false, 0, 0},
        {"", false, 0, 0},
        {"13,5,52,4", true, 13.0L, 5.0L}, // a decimal comma splits differently: no guessing
        {"abc,52.4", false, 0, 0},
        {"13.5,north", false, 0, 0},
        {"13.5,", false, 0, 0},
        {"1e99999,2", false, 0, 0},
        {"nan,2", false, 0, 0},
    };
    for (const auto& c : cases) {
        TWaypoints w;
        LoadWaypoints(Table({{"Target", c.Coordinates}}), w);
        ASSERT_EQ(w.Targets.size(), c.Loads ? 1u : 0u) << c.Coordinates;
        if (c.Loads) {
            EXPECT_EQ(w.Targets[0].Lon, c.Lon) << c.Coordinates;
            EXPECT_EQ(w.Targets[0].Lat, c.Lat) << c.Coordinates;
        }
    }
    TWaypoints w;
    LoadWaypoints(Table({{std::nullopt, "1,2"}, {"NoPoint", std::nullopt}, {"Tesk1", "13.5,52.4,0"}}), w);
    ASSERT_EQ(w.Tesks.size(), 1u);
    EXPECT_TRUE(w.Targets.empty());
    EXPECT_EQ(w.Tesks[0].LonText, "13.5");
    EXPECT_EQ(w.Tesks[0].LatText, "52.4");
    EXPECT_FALSE(w.Tesks[0].IsAssigned());
    EXPECT_TRUE(w.Tesks[0].Realistic);
    EXPECT_EQ(w.Tesks[0].Delay, 0);
}

TEST(LoadWaypoints, KindsLimitAndSorting) {
    std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>> rows;
    // Twelve launch sites in file order TeskL..TeskA, a failing one in between that must not count.
    for (char c = 'L'; c >= 'A'; --c) {
        rows.push_back({std::string("Tesk") + c, "1,2"});
        if (c == 'K') rows.push_back({"TeskBroken", "1"});
    }
    rows.push_back({"tesk lower", "1,2"});
    rows.push_back({"Tesk", "1,2"});
    rows.push_back({"beta", "1,2"});
    rows.push_back({"Alpha", "1,2"});
    TWaypoints w;
    LoadWaypoints(Table(rows), w);
    std::vector<std::string> tesks, targets;
    for (const auto& m : w.Tesks)
        tesks.push_back(m.Name);
    for (const auto& t : w.Targets)
        targets.push_back(t.Name);
    // The first ten in file order (L..C), shown sorted; "Tesk" itself came eleventh and is dropped.
    EXPECT_EQ(tesks, (std::vector<std::string>{"TeskC", "TeskD", "TeskE", "TeskF", "TeskG", "TeskH", "TeskI",
                                               "TeskJ", "TeskK", "TeskL"}));
    EXPECT_EQ(targets, (std::vector<std::string>{"Alpha", "beta", "tesk lower"}));

    std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>> many;
    for (int i = 0; i < 15; ++i)
        many.push_back({"T" + std::to_string(100 + i), "1,2"});
    LoadWaypoints(Table(many), w);
    EXPECT_EQ(w.Targets.size(), 10u);
    EXPECT_EQ(w.Targets.back().Name, "T109");
    EXPECT_EQ(w.LeftOutTargets, 5);
    EXPECT_EQ(w.LeftOutTesks, 0);
}

// What the limit leaves out is said with the warnings, and does not stop the save.
TEST(LoadWaypoints, LeftOutWaypointsAreNamedInTheAdvice) {
    const struct {
        int tesks, targets;
        std::string advice;
    } cases[] = {
        {10, 10, ""},
        {12, 3, "- The file holds 12 launch sites; only the first 10 are used\r\n"},
        {2, 11, "- The file holds 11 targets; only the first 10 are used\r\n"},
        {11, 15,
         "- The file holds 11 launch sites; only the first 10 are used\r\n"
         "- The file holds 15 targets; only the first 10 are used\r\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>> rows;
        for (int i = 0; i < c.tesks; ++i)
            rows.push_back({"Tesk" + std::to_string(i), "1,2"});
        for (int i = 0; i < c.targets; ++i)
            rows.push_back({"T" + std::to_string(i), "2,2"});
        TTargetingPage page;
        LoadWaypoints(Table(rows), page.Waypoints);
        page.ScenarioFileName = "s.scn";
        page.SetAllRealistic(false); // 111 km: the simple model hits, no advice of its own
        page.AssignTarget(0, 0);
        EXPECT_EQ(BulletedLines(page.Advice), c.advice) << c.tesks << " " << c.targets;
        EXPECT_TRUE(page.SaveEnabled());
    }
}

TEST(AssignTarget, RangeAndAzimuthToTheTarget) {
    struct Case {
        const char* What;
        long double Lat1, Lon1, Lat2, Lon2;
        double Range, Azimuth;
    };
    const Case cases[] = {
        {"due east", 0, 0, 0, 1, 111195.1, 90},
        {"due west", 0, 0, 0, -1, 111195.1, 270},
        {"due north", 0, 0, 1, 0, 111195.1, 0},
        {"due south", 0, 0, -1, 0, 111195.1, 180},
        {"across the date line: the longitudes say west", 0, 179.5L, 0, -179.5L, 111195.1, 270},
        {"on the spot", 52.4L, 13.5L, 52.4L, 13.5L, 0, 0},
    };
    for (const auto& c : cases) {
        TWaypoints w;
        w.Tesks.push_back({});
        w.Tesks[0].Name = "Tesk1";
        w.Tesks[0].Lat = c.Lat1;
        w.Tesks[0].Lon = c.Lon1;
        w.Targets.push_back({});
        w.Targets[0].Name = "T";
        w.Targets[0].Lat = c.Lat2;
        w.Targets[0].Lon = c.Lon2;
        w.AssignTarget(0, 0);
        const TTesk& m = w.Tesks[0];
        EXPECT_EQ(m.TargetName, "T") << c.What;
        EXPECT_NEAR(static_cast<double>(m.Range), c.Range, 0.05) << c.What;
        EXPECT_NEAR(static_cast<double>(m.Azimuth), c.Azimuth, 1e-9) << c.What;
        EXPECT_EQ(m.TargetLat, c.Lat2);
        EXPECT_EQ(m.TargetLon, c.Lon2);

        w.AssignTarget(0, -1);
        EXPECT_FALSE(m.IsAssigned()) << c.What;
        EXPECT_EQ(m.Range, 0);
        EXPECT_EQ(m.Azimuth, 0);
        EXPECT_EQ(m.TargetLat, c.Lat2); // kept, unused while unassigned
    }
}

TEST(AssignTarget, LinksByExactNameAndBadIndices) {
    TWaypoints w;
    for (const char* n : {"TeskA", "TeskB", "TeskC"})
        w.Tesks.push_back({}), w.Tesks.back().Name = n;
    for (const char* n : {"Hill", "hill"})
        w.Targets.push_back({}), w.Targets.back().Name = n;
    w.AssignTarget(0, 0);
    w.AssignTarget(1, 0);
    w.AssignTarget(2, 1);
    w.AssignTarget(5, 0); // no such missile
    w.AssignTarget(0, 7); // no such target
    w.AssignTarget(-1, 0);
    EXPECT_EQ(w.Tesks[0].TargetName, "Hill");
    EXPECT_EQ(w.Tesks[1].TargetName, "Hill");
    EXPECT_EQ(w.Tesks[2].TargetName, "hill");
    EXPECT_EQ(w.FindTesk("teska"), -1);
    EXPECT_EQ(w.IndexOfTesk("teska"), 0);
}

} // namespace
