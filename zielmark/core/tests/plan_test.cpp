// The launch plan without a page: the scenario written from it, the default focus, the warnings as bare
// lines, and the page that takes a plan made elsewhere.
#include "Unit_Functions.h"
#include "Unit_LaunchScenario.h"
#include "Unit_Plan.h"
#include "Unit_Targeting.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zm;

namespace {

TLaunchPlan ThreeMissilesTwoTargets() {
    TLaunchPlan plan;
    plan.KmlFileName = "range.kml";
    plan.Description = {"first line", "second line"};
    plan.ScenarioDateUtc = 46000.5;
    for (int i = 0; i < 3; ++i) {
        plan.Waypoints.Tesks.push_back({});
        plan.Waypoints.Tesks.back().Name = "Tesk" + std::string(1, static_cast<char>('A' + i));
        plan.Waypoints.Tesks.back().Lat = 50 + i;
        plan.Waypoints.Tesks.back().Lon = 8;
    }
    for (int j = 0; j < 2; ++j) {
        plan.Waypoints.Targets.push_back({});
        plan.Waypoints.Targets.back().Name = "T" + std::to_string(j);
        plan.Waypoints.Targets.back().Lat = 52;
        plan.Waypoints.Targets.back().Lon = 10 + j;
    }
    return plan;
}

} // namespace

// zielmark-cli plan builds a plan where the user works the page: both must write the same scenario.
TEST(LaunchPlan, APlanBuiltDirectlyWritesWhatThePageWritesForTheSameChoices) {
    TLaunchPlan plan = ThreeMissilesTwoTargets();
    plan.Waypoints.AssignTarget(0, 1);
    plan.Waypoints.AssignTarget(2, 0);
    plan.Waypoints.Tesks[0].SetDelay(4);
    plan.Waypoints.Tesks[2].SetDelay(4);
    plan.Waypoints.Tesks[2].Realistic = false;
    plan.Waypoints.Tesks[2].Precise = true;
    plan.Focus = DefaultFocus(plan.Waypoints);
    EXPECT_EQ(plan.Focus, "TeskA"); // the first of the longest delay

    TTargetingPage page;
    static_cast<TLaunchPlan&>(page) = ThreeMissilesTwoTargets();
    page.AssignTarget(0, 1);
    page.AssignTarget(2, 0);
    page.Waypoints.Tesks[0].SetDelay(4);
    page.Waypoints.Tesks[2].SetDelay(4);
    page.SetRealistic(2, false);
    page.SetPrecise(2, true);
    page.FillFocusList();
    EXPECT_EQ(LaunchScenarioLines(plan), LaunchScenarioLines(page));

    TTargetingPage taken;
    taken.TakePlan(plan);
    EXPECT_EQ(LaunchScenarioLines(taken), LaunchScenarioLines(plan));
    EXPECT_EQ(taken.FocusList, (std::vector<std::string>{"TeskA", "TeskC"}));
    EXPECT_EQ(taken.FocusIndex, 0);
    EXPECT_EQ(taken.Waypoints.Targets[0].LinkCount, 1);
    EXPECT_EQ(taken.DateText, FormatDate(SubtractMinutes(taken.ZoneMinutes, plan.ScenarioDateUtc)));
}

// The focus is the plan's: the list entry chosen, none when the entry is not there or its missile is
// unassigned.
TEST(LaunchPlan, TheFocusFollowsTheChosenEntryAndTheAssignedMissiles) {
    TTargetingPage page;
    static_cast<TLaunchPlan&>(page) = ThreeMissilesTwoTargets();
    EXPECT_EQ(DefaultFocus(page.Waypoints), "");
    page.AssignTarget(1, 0);
    page.AssignTarget(2, 1);
    page.Waypoints.Tesks[2].SetDelay(7);
    page.FillFocusList();
    EXPECT_EQ(page.FocusName(), "TeskC");
    page.SelectFocusAt(0);
    EXPECT_EQ(page.FocusName(), "TeskB");
    const std::vector<std::string> lines = LaunchScenarioLines(page);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  Ship TeskB"), lines.end());
    for (const int outside : {-1, 2}) {
        page.SelectFocusAt(outside);
        EXPECT_EQ(page.FocusIndex, -1) << outside;
        EXPECT_EQ(page.FocusName(), "") << outside;
    }
    page.SelectFocus("TeskC");
    page.AssignTarget(2, -1);
    page.FillFocusList();
    EXPECT_EQ(page.FocusName(), "TeskB");
}

// The warnings are bare lines; the page's panel and the command line set them out.
TEST(LaunchPlan, WarningsAreBareLinesThatThePanelSetsOutWithMarksAndLineEnds) {
    const struct {
        const char* Name;
        TLines Expected;
    } names[] = {
        {"", {"Scenario file name is not specified!"}},
        {"what?.scn", {"Scenario file name is not valid: \"what?.scn\"!"}},
        {"../up.scn", {"Scenario file name leads out of the scenario folder: \"../up.scn\"!"}},
        {"plan7.scn", {}},
    };
    for (const auto& c : names)
        EXPECT_EQ(ScenarioNameWarnings(c.Name), c.Expected) << c.Name;

    TLaunchPlan plan = ThreeMissilesTwoTargets();
    EXPECT_EQ(TargetWarnings(plan.Waypoints), TLines{"No targets assgined!"});
    plan.Waypoints.AssignTarget(0, 0);
    EXPECT_EQ(TargetWarnings(plan.Waypoints), TLines{});

    EXPECT_EQ(ShownDateWarnings({"31.02.2026", "25:00"}),
              (TLines{"Date is not valid: \"31.02.2026\"!", "Time is not valid: \"25:00\"!"}));
    EXPECT_EQ(ShownDateWarnings({"28.02.2026", "23:59"}), TLines{});

    EXPECT_EQ(BulletedLines({"one", "two"}), "- one\r\n- two\r\n");
    EXPECT_EQ(BulletedLines({}), "");
}

// The date fields show the plan's UTC date in the chosen zone and read back to the same day number.
TEST(LaunchPlan, ShownDateReadsBackToTheSameUtcDate) {
    for (const bool utc : {false, true}) {
        double date = 0;
        ASSERT_TRUE(ParseShownDate({"11.12.2026", "15:30"}, utc, -60, date));
        const TShownDate shown = ShownDate(date, utc, -60);
        EXPECT_EQ(shown.Date, "11.12.2026");
        EXPECT_EQ(shown.Time, "15:30");
        EXPECT_EQ(FormatTime(date), utc ? "15:30" : "14:30");
    }
    double kept = 5;
    EXPECT_FALSE(ParseShownDate({"11.12.2026", "15.30"}, true, 0, kept));
    EXPECT_EQ(kept, 5);
}
