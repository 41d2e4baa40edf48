// Honest planning advice: what the measured table says each model does with an asked range, the lines the
// planner shows for it, and that advice never stops a save.
#include "Unit_ModelAdvice.h"
#include "Unit_Objects.h"
#include "Unit_Targeting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace zm;

namespace {

// The page's advice lines as one text, for searching.
std::string AdviceOf(const TTargetingPage& page) {
    std::string text;
    for (const std::string& line : page.Advice)
        text += line + "\n";
    return text;
}

// A small table of our own: the simple model hits well up to its reach of 480 km, the realistic one flies
// 100 km too far at short range and no farther than 350 km.
const std::vector<TModelReachRow> kTable = {
    {false, 100, 99, 1, 2},    {false, 400, 396, 6, 8}, {false, 500, 480, 20, 25},
    {true, 50, 150, 100, 110}, {true, 200, 210, 8, 9},  {true, 400, 350, 50, 60},
};

TTesk Missile(bool realistic, double km) {
    TTesk m;
    m.Name = "TeskAlpha";
    m.TargetName = "Salt Flat";
    m.Realistic = realistic;
    m.Range = km * 1000;
    return m;
}

} // namespace

TEST(ModelAdvice, ExpectationInterpolatesAndHoldsAtTheEnds) {
    const struct {
        bool realistic;
        double asked, reach, flown, miss;
    } cases[] = {
        {false, 100, 480, 99, 1},   {false, 250, 480, 247.5, 3.5}, {false, 50, 480, 99, 1},
        {false, 700, 480, 480, 20}, {true, 125, 350, 180, 54},     {true, 400, 350, 350, 50},
    };
    for (const auto& c : cases) {
        const TModelExpectation e = ExpectedFlight(kTable, c.realistic, c.asked);
        EXPECT_DOUBLE_EQ(e.ReachKm, c.reach) << c.realistic << " " << c.asked;
        EXPECT_DOUBLE_EQ(e.FlownKm, c.flown) << c.realistic << " " << c.asked;
        EXPECT_DOUBLE_EQ(e.MissKm, c.miss) << c.realistic << " " << c.asked;
    }
    EXPECT_EQ(ExpectedFlight({}, true, 100).ReachKm, 0);
}

TEST(ModelAdvice, LinesForUnreachableAndBadlyHitTargetsOnly) {
    const struct {
        bool realistic;
        double asked;
        const char* line; // empty: no advice
    } cases[] = {
        {false, 300, ""},
        {false, 490, "TeskAlpha: 490 km is beyond the simple model's reach (about 480 km)"},
        {true, 50,
         "TeskAlpha: the realistic model flies about 150 km when asked for 50 km (typical miss 100 "
         "km)"},
        {true, 200, ""},
        {true, 360, "TeskAlpha: 360 km is beyond the realistic model's reach (about 350 km)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModelAdvice(Missile(c.realistic, c.asked), kTable), c.line) << c.asked;
    TTesk unassigned = Missile(true, 50);
    unassigned.TargetName.clear();
    EXPECT_EQ(ModelAdvice(unassigned, kTable), "");
}

// The table measured in orbhost says what the firings showed: the realistic model cannot hit a short
// target or go past about 360 km; the simple model hits well within its reach and stops short of 500 km.
TEST(ModelAdvice, TheMeasuredTableKnowsBothModels) {
    EXPECT_NE(ModelAdvice(Missile(true, 50)).find("flies about"), std::string::npos);
    EXPECT_NE(ModelAdvice(Missile(true, 450)).find("beyond the realistic model's reach"), std::string::npos);
    EXPECT_EQ(ModelAdvice(Missile(false, 200)), "");
    EXPECT_NE(ModelAdvice(Missile(false, 600)).find("beyond the simple model's reach"), std::string::npos);
}

// Advice follows the "Realistic" box, shows with the warnings and leaves saving to the warnings alone.
TEST(ModelAdvice, ThePageAdvisesButStillSaves) {
    TTargetingPage page;
    TTesk m = Missile(false, 0);
    m.TargetName.clear();
    page.Waypoints.Tesks.push_back(m);
    page.Waypoints.Targets.push_back({});
    page.Waypoints.Targets.back().Name = "Far";
    page.Waypoints.Targets.back().Lon = 10; // about 1100 km east of the launch site
    page.ScenarioFileName = "far.scn";
    page.AssignTarget(0, 0);
    EXPECT_NE(AdviceOf(page).find("beyond the simple model's reach"), std::string::npos) << AdviceOf(page);
    EXPECT_TRUE(page.SaveEnabled());
    page.SetRealistic(0, true);
    EXPECT_NE(AdviceOf(page).find("beyond the realistic model's reach"), std::string::npos) << AdviceOf(page);
    page.SetAllRealistic(false);
    EXPECT_NE(AdviceOf(page).find("simple"), std::string::npos) << AdviceOf(page);
    page.AssignTarget(0, -1);
    EXPECT_EQ(AdviceOf(page), "");
}

// The precise cut-off has its own typical miss but the model's reach: the engine holds no more fuel. A
// table without precise rows for a model gives no miss to warn of, yet still knows the reach.
TEST(ModelAdvice, ThePreciseCutOffHasItsOwnMissAndTheModelsReach) {
    std::vector<TModelReachRow> table = kTable;
    table.insert(
        table.end(),
        {{true, 20, 30, 10, 12, true}, {true, 50, 50.5, 0.5, 1, true}, {true, 300, 299, 1, 2, true}});
    const struct {
        bool realistic;
        double asked;
        const char* line; // empty: no advice
    } cases[] = {
        {true, 50, ""}, // the model's own cut-off flies 100 km too far here
        {true, 20,
         "TeskAlpha: the realistic model with the precise cut-off flies about 30 km when asked for 20 km "
         "(typical miss 10 km)"},
        {true, 360, "TeskAlpha: 360 km is beyond the realistic model's reach (about 350 km)"},
        {false, 300, ""}, // no precise rows of the simple model
        {false, 490, "TeskAlpha: 490 km is beyond the simple model's reach (about 480 km)"},
    };
    for (const auto& c : cases) {
        TTesk m = Missile(c.realistic, c.asked);
        m.Precise = true;
        EXPECT_EQ(ModelAdvice(m, table), c.line) << c.realistic << " " << c.asked;
    }
    const TModelExpectation e = ExpectedFlight(table, true, 175, true);
    EXPECT_DOUBLE_EQ(e.ReachKm, 350);
    EXPECT_DOUBLE_EQ(e.FlownKm, 174.75);
    EXPECT_DOUBLE_EQ(e.MissKm, 0.75);
    EXPECT_NEAR(ExpectedFlight(table, true, 175).MissKm, 23.333, 0.001); // the model's own cut-off
}

// Every model was measured with both cut-offs at the same asked ranges, each in rising order.
TEST(ModelAdvice, TheMeasuredTableHoldsBothCutOffsOfEachModel) {
    for (const bool realistic : {false, true}) {
        std::vector<double> own, precise;
        for (const TModelReachRow& r : ModelReachTable())
            if (r.Realistic == realistic) (r.Precise ? precise : own).push_back(r.AskedKm);
        EXPECT_FALSE(own.empty()) << realistic;
        EXPECT_EQ(precise, own) << realistic;
        EXPECT_TRUE(std::is_sorted(own.begin(), own.end())) << realistic;
    }
}
