// The targeting page's rules: warnings, drop, focus list, Randomize, "Flip all checkboxes", the
// local/UTC date fields and the scenario list of the chosen KML file.
#include "TestFolder.h"
#include "TestResult.h"

#include "Unit_Functions.h"
#include "Unit_LaunchScenario.h"
#include "Unit_Targeting.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <set>

using namespace zm;
using namespace zm::test;

namespace {

TTargetingPage Page(int missiles, int targets) {
    TTargetingPage page;
    for (int i = 0; i < missiles; ++i) {
        page.Waypoints.Tesks.push_back({});
        page.Waypoints.Tesks.back().Name = "Tesk" + std::string(1, static_cast<char>('A' + i));
        page.Waypoints.Tesks.back().Lon = i;
    }
    for (int j = 0; j < targets; ++j) {
        page.Waypoints.Targets.push_back({});
        page.Waypoints.Targets.back().Name = "T" + std::to_string(j);
        page.Waypoints.Targets.back().Lat = 1 + j;
    }
    return page;
}

// Hands out the given draws in order (taken modulo n).
TRandomInt Draws(std::deque<int> draws) {
    auto queue = std::make_shared<std::deque<int>>(std::move(draws));
    return [queue](int n) {
        const int v = queue->empty() ? 0 : queue->front();
        if (!queue->empty()) queue->pop_front();
        return v % n;
    };
}

TEST(TargetingPage, WarningsFollowNameAndAssignments) {
    TTargetingPage page = Page(2, 2);
    page.UpdateGEtoOrbWarnings();
    EXPECT_EQ(BulletedLines(page.Warnings),
              "- Scenario file name is not specified!\r\n- No targets assgined!\r\n");
    EXPECT_FALSE(page.SaveEnabled());
    page.ScenarioFileName = "what?.scn";
    page.AssignTarget(0, 1);
    EXPECT_EQ(BulletedLines(page.Warnings), "- Scenario file name is not valid: \"what?.scn\"!\r\n");
    page.ScenarioFileName = "ok.scn";
    page.UpdateGEtoOrbWarnings();
    EXPECT_TRUE(page.SaveEnabled());
    // Names that would save a hidden ".scn", and fields showing a date or time that the scenario would not
    // get.
    const struct {
        const char *Name, *Date, *Time, *Warnings;
    } shown[] = {
        {".scn", "01.08.2027", "06:00", "- Scenario file name is not valid: \".scn\"!\r\n"},
        {"dir/", "01.08.2027", "06:00", "- Scenario file name is not valid: \"dir/\"!\r\n"},
        {"ok", "31.02.2027", "06:00", "- Date is not valid: \"31.02.2027\"!\r\n"},
        {"ok", "..", "6:0", "- Date is not valid: \"..\"!\r\n- Time is not valid: \"6:0\"!\r\n"},
        {"ok", "1.8.2027", "25:00", "- Time is not valid: \"25:00\"!\r\n"},
        {"ok", "1.8.2027", "6:00", ""},
    };
    for (const auto& c : shown) {
        page.ScenarioFileName = c.Name;
        page.DateText = c.Date;
        page.TimeText = c.Time;
        page.UpdateGEtoOrbWarnings();
        EXPECT_EQ(BulletedLines(page.Warnings), c.Warnings) << c.Name << " " << c.Date << " " << c.Time;
    }
    // Dropping on the empty part of the target list clears the last assignment.
    page.DropOnTarget(0, -1);
    EXPECT_EQ(BulletedLines(page.Warnings), "- No targets assgined!\r\n");
    EXPECT_FALSE(page.FocusEnabled());
    // Without a selected missile a drop changes nothing.
    page.DropOnTarget(-1, 0);
    EXPECT_FALSE(page.Waypoints.AnyAssigned());
}

TEST(TargetingPage, TwoMissilesOnOneTarget) {
    TTargetingPage page = Page(3, 2);
    page.DropOnTarget(0, 1);
    page.DropOnTarget(2, 1);
    const std::vector<TLink> links = page.RecountLinks();
    EXPECT_EQ(page.Waypoints.Targets[1].LinkCount, 2);
    EXPECT_EQ(page.Waypoints.Targets[0].LinkCount, 0);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].Tesk, 0);
    EXPECT_EQ(links[1].Tesk, 2);
    EXPECT_EQ(links[1].Target, 1);
    EXPECT_EQ(page.FocusList, (std::vector<std::string>{"TeskA", "TeskC"}));
}

TEST(TargetingPage, FocusPreselectsTheFirstWithTheLongestDelay) {
    TTargetingPage page = Page(4, 1);
    for (int i = 0; i < 4; ++i)
        page.AssignTarget(i, 0);
    const int delays[] = {3, 8, 1, 8};
    for (int i = 0; i < 4; ++i)
        page.Waypoints.Tesks[static_cast<size_t>(i)].SetDelay(delays[i]);
    page.FillFocusList();
    EXPECT_EQ(page.FocusName(), "TeskB");
    page.SelectFocus("TeskZ");
    EXPECT_EQ(page.FocusIndex, -1);
}

TEST(TargetingPage, RandomizeGivesOwnTargetsWhileTheyLast) {
    TTargetingPage page = Page(3, 5);
    page.Randomize(Draws({7, 4, 3, 4, 9, 4})); // delay, start, delay, start, delay, start
    std::set<std::string> targets;
    for (const auto& m : page.Waypoints.Tesks)
        targets.insert(m.TargetName);
    EXPECT_EQ(targets,
              (std::set<std::string>{"T4", "T0", "T1"})); // starts 4, then 4 taken -> 0, then 4,0 -> 1
    EXPECT_EQ(page.Waypoints.Tesks[0].Delay, 7);
    EXPECT_EQ(page.Waypoints.Tesks[2].Delay, 9);
    EXPECT_EQ(page.FocusName(), "TeskC");
    EXPECT_TRUE(BulletedLines(page.Warnings).find("assgined") == std::string::npos);

    // More missiles than targets: the surplus ones share a randomly drawn target.
    TTargetingPage crowded = Page(3, 2);
    crowded.Randomize(Draws({0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(crowded.Waypoints.Tesks[0].TargetName, "T0");
    EXPECT_EQ(crowded.Waypoints.Tesks[1].TargetName, "T1");
    EXPECT_EQ(crowded.Waypoints.Tesks[2].TargetName, "T1");
    EXPECT_EQ(crowded.FocusName(), "TeskA"); // equal delays: the first

    // Randomize over earlier links: each missile's own old link does not block its draw.
    TTargetingPage redo = Page(2, 2);
    redo.AssignTarget(0, 0);
    redo.Randomize(Draws({0, 0, 0, 0}));
    EXPECT_EQ(redo.Waypoints.Tesks[0].TargetName, "T0");
    EXPECT_EQ(redo.Waypoints.Tesks[1].TargetName, "T1");

    // No targets: delays are drawn, nobody is assigned, nothing breaks.
    TTargetingPage empty = Page(2, 0);
    empty.Randomize(SeededRandom(1));
    EXPECT_FALSE(empty.Waypoints.AnyAssigned());
    EXPECT_FALSE(empty.FocusEnabled());

    TTargetingPage seeded = Page(10, 10);
    seeded.Randomize(SeededRandom(42));
    std::set<std::string> all;
    for (const auto& m : seeded.Waypoints.Tesks) {
        all.insert(m.TargetName);
        EXPECT_GE(m.Delay, 0);
        EXPECT_LE(m.Delay, 9);
    }
    EXPECT_EQ(all.size(), 10u);
}

TEST(TargetingPage, FlipAllSetsEveryFlag) {
    TTargetingPage page = Page(3, 1);
    page.Waypoints.Tesks[1].Realistic = false;
    page.SetAllRealistic(false);
    for (const auto& m : page.Waypoints.Tesks)
        EXPECT_FALSE(m.Realistic);
    page.SetAllRealistic(true);
    for (const auto& m : page.Waypoints.Tesks)
        EXPECT_TRUE(m.Realistic);
}

// The precise cut-off is each missile's own: "Flip all checkboxes" leaves it, one missile's box sets it alone
// (an index off the list changes nothing), and the all-missiles setting reaches every one.
TEST(TargetingPage, ThePreciseCutOffIsPerMissile) {
    TTargetingPage page = Page(3, 1);
    page.SetPrecise(1, true);
    page.SetPrecise(-1, true);
    page.SetPrecise(3, true);
    page.SetAllRealistic(false);
    EXPECT_EQ(std::vector<bool>({page.Waypoints.Tesks[0].Precise, page.Waypoints.Tesks[1].Precise,
                                 page.Waypoints.Tesks[2].Precise}),
              std::vector<bool>({false, true, false}));
    page.SetAllPrecise(true);
    for (const auto& m : page.Waypoints.Tesks)
        EXPECT_TRUE(m.Precise);
    page.SetAllPrecise(false);
    for (const auto& m : page.Waypoints.Tesks)
        EXPECT_FALSE(m.Precise);
}

TEST(TargetingPage, LocalTimeIsTheZoneOfTheFirstLaunchSite) {
    TTargetingPage page;
    page.ZoneMinutes = ZoneMinutesForLongitude(13.4L); // one hour east
    double noon = 0;
    ASSERT_TRUE(TryEncodeDate(2026, 5, 1, noon));
    page.ScenarioDateUtc = noon + 0.5;
    page.OrbDateTimeToGUI();
    EXPECT_EQ(page.TimeText, "13:00");
    page.TimeText = "12:00";
    ASSERT_TRUE(page.DateTimeGUItoUTC());
    EXPECT_EQ(FormatTime(page.ScenarioDateUtc), "11:00");
    page.SetShowUtc(true);
    EXPECT_EQ(page.TimeText, "11:00");
    EXPECT_EQ(page.DateText, "01.05.2026");

    const double kept = page.ScenarioDateUtc;
    const std::pair<const char*, const char*> bad[] = {
        {"31.02.1945", "12:00"}, {"  .  .    ", "12:00"}, {"01.05.2026", "  :  "}};
    for (const auto& [date, time] : bad) {
        page.DateText = date;
        page.TimeText = time;
        EXPECT_FALSE(page.DateTimeGUItoUTC()) << date << " " << time;
        EXPECT_EQ(page.ScenarioDateUtc, kept);
    }
}

TEST(TargetingPage, LoadingAKmlFileSetsWaypointsZoneAndDescription) {
    DModule().TransformDir = DataDir();
    TTempFolder dir;
    dir.Write("w.kml",
              KmlDocument({{"TeskZ", "-75,40,0"}, {"TeskB", "13.4,52.5,0"}, {"Hill", "14,53"}}, "My range"));
    TTargetingPage page;
    page.ZoneMinutes = 99;
    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
    EXPECT_EQ(page.KmlFileName, "w.kml");
    EXPECT_EQ(page.KmlDescription, "My range");
    ASSERT_EQ(page.Waypoints.Tesks.size(), 2u);
    EXPECT_EQ(page.ZoneMinutes, -60);      // TeskB comes first alphabetically
    EXPECT_TRUE(page.Description.empty()); // the box shows its prompt, which is no content

    dir.Write("none.kml", "<kml/>");
    page.ZoneMinutes = 99;
    EXPECT_EQ(page.LoadKml(dir.Path, "none.kml", 36526.5).Code, TResultCode::Empty);
    EXPECT_TRUE(page.Waypoints.Tesks.empty());
    EXPECT_EQ(page.ZoneMinutes, 99);
}

TEST(TargetingPage, LaunchSitesNoShipLineCanCarryAreLeftOutWithANote) {
    DModule().TransformDir = DataDir();
    TTempFolder dir;
    dir.Write("w.kml", KmlDocument({{"TeskAl:pha", "13,52,0"},
                                    {"TeskB", "13.4,52.5,0"},
                                    {"Tesk;C", "13,51,0"},
                                    {"Hill:top", "14,53"}}));
    TTargetingPage page;
    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
    ASSERT_EQ(page.Waypoints.Tesks.size(), 1u);
    EXPECT_EQ(page.Waypoints.Tesks[0].Name, "TeskB");
    EXPECT_EQ(page.Waypoints.LeftOut,
              (std::vector<TLeftOut>{{"TeskAl:pha", "13,52,0", TLeftOutReason::NoShipName},
                                     {"Tesk;C", "13,51,0", TLeftOutReason::NoShipName}}));
    ASSERT_EQ(page.Waypoints.Targets.size(), 1u); // a target's name never stands in a ship line
    EXPECT_EQ(BulletedLines(page.Notes),
              "- Launch site \"TeskAl:pha\" is left out: a vessel name cannot hold ':' or ';'!\r\n"
              "- Launch site \"Tesk;C\" is left out: a vessel name cannot hold ':' or ';'!\r\n");
    // The note does not stop a save of the others; the scenario holds only ship lines the host reads.
    page.ScenarioFileName = "s.scn";
    page.AssignTarget(0, 0);
    EXPECT_TRUE(page.SaveEnabled());
    BuildLaunchScenario(page);
    for (const std::string& line : page.ScenarioText) {
        if (line.find(":Teski") != std::string::npos) {
            EXPECT_EQ(line, "TeskB:Teski");
        }
    }
    ASSERT_EQ(page.LoadKml(dir.Path, "none.kml", 36526.5).Code, TResultCode::Failed);
    EXPECT_TRUE(page.Notes.empty() && page.Waypoints.LeftOut.empty());
}

// A placemark named as a launch site but without a point is named, and said to have none, rather than lost
// behind "no launch site".
TEST(TargetingPage, LaunchSitesWithoutAPointAreNamedInANote) {
    DModule().TransformDir = DataDir();
    TTempFolder dir;
    dir.Write("w.kml",
              "<?xml version=\"1.0\"?><kml><Document>"
              "<Placemark><name>Tesk_North</name><description>a point was never set</description>"
              "</Placemark>"
              "<Placemark><name>Tesk_Empty</name><Point><coordinates></coordinates></Point>"
              "</Placemark>"
              "<Placemark><name>Hill</name><Point><coordinates>14,53</coordinates></Point></Placemark>"
              "<Placemark><name>Lake</name></Placemark>"
              "</Document></kml>");
    TTargetingPage page;
    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
    EXPECT_TRUE(page.Waypoints.Tesks.empty());
    EXPECT_EQ(page.Waypoints.LeftOut, (std::vector<TLeftOut>{{"Tesk_North", "", TLeftOutReason::NoPoint},
                                                             {"Tesk_Empty", "", TLeftOutReason::NoPoint},
                                                             {"Lake", "", TLeftOutReason::NoCoordinates}}));
    EXPECT_EQ(BulletedLines(page.Notes)
                  .find("- Launch site \"Tesk_North\" is left out: it has no point!\r\n"
                        "- Launch site \"Tesk_Empty\" is left out: it has no point!\r\n"),
              0u)
        << BulletedLines(page.Notes);
    ASSERT_EQ(page.Waypoints.Targets.size(), 1u);
}

// What the user has not saved: everything the scenario would hold, against what was last loaded, read back
// or saved; the name alone and the display of the date are no work.
TEST(TargetingPage, UnsavedChangesAreWhatTheScenarioWouldHoldAnew) {
    DModule().TransformDir = DataDir();
    TTempFolder dir;
    dir.Write("w.kml", KmlDocument({{"TeskA", "13.4,52.5,0"}, {"TeskB", "13.5,52.4,0"}, {"Hill", "14,53"}}));
    TTargetingPage page;
    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
    EXPECT_FALSE(page.HasUnsavedChanges());
    page.ScenarioFileName = "typed";
    page.SetShowUtc(true);
    page.Waypoints.Tesks[0].SetDelay(3); // a missile without a target is no part of the scenario
    EXPECT_FALSE(page.HasUnsavedChanges());
    page.DropOnTarget(1, 0);
    EXPECT_TRUE(page.HasUnsavedChanges());
    page.MarkUnchanged();
    const std::vector<std::function<void(TTargetingPage&)>> edits = {
        [](TTargetingPage& p) { p.DropOnTarget(0, 0); },
        [](TTargetingPage& p) { p.Waypoints.Tesks[1].SetDelay(7); },
        [](TTargetingPage& p) { p.SetRealistic(1, false); },
        [](TTargetingPage& p) { p.SetPrecise(1, true); },
        [](TTargetingPage& p) { p.SetAllPrecise(true); },
        [](TTargetingPage& p) { p.Description = {"Dawn"}; },
        [](TTargetingPage& p) { p.ScenarioDateUtc += 1; },
    };
    for (size_t i = 0; i < edits.size(); ++i) {
        TTargetingPage edited = page;
        edits[i](edited);
        EXPECT_TRUE(edited.HasUnsavedChanges()) << "edit " << i;
        edited.MarkUnchanged();
        EXPECT_FALSE(edited.HasUnsavedChanges()) << "edit " << i;
    }
    // A save and its read-back leave nothing unsaved.
    page.DropOnTarget(0, 0);
    const std::string scn = dir.Mkdir("scn");
    std::string mru;
    ASSERT_TRUE(SaveLaunchScenario(
                    page, scn, [](const std::string&) { return true; }, mru)
                    .Ok());
    EXPECT_FALSE(page.HasUnsavedChanges());
    page.Clear(36526.5);
    EXPECT_FALSE(page.HasUnsavedChanges());
}

// Coordinates that are no "lon,lat" pair, or no place on the Earth, leave their placemark out with a note
// that names it; a scenario then never carries a 400-digit position or a longitude of 200 degrees.
TEST(TargetingPage, PlacemarksWithoutAPlaceOnTheEarthAreLeftOutWithANote) {
    DModule().TransformDir = DataDir();
    const struct {
        const char* coordinates;
        TLeftOutReason why;
    } cases[] = {
        {"nan,37,0", TLeftOutReason::NoCoordinates},   {"abc,def", TLeftOutReason::NoCoordinates},
        {"-116", TLeftOutReason::NoCoordinates},       {"-116;37", TLeftOutReason::NoCoordinates},
        {"-116 37", TLeftOutReason::NoCoordinates},    {"1e400,37,0", TLeftOutReason::NotOnTheEarth},
        {"-116,1e400", TLeftOutReason::NotOnTheEarth}, {"-116,95,0", TLeftOutReason::NotOnTheEarth},
        {"200,37,0", TLeftOutReason::NotOnTheEarth},   {"-180.5,-90", TLeftOutReason::NotOnTheEarth},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.coordinates);
        TTempFolder dir;
        dir.Write("w.kml", KmlDocument({{"TeskBad", c.coordinates},
                                        {"TeskGood", "-116,37,0"},
                                        {"Odd target", c.coordinates},
                                        {"Mesa", "-115,36.5"}}));
        TTargetingPage page;
        ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
        ASSERT_EQ(page.Waypoints.Tesks.size(), 1u);
        EXPECT_EQ(page.Waypoints.Tesks[0].Name, "TeskGood");
        ASSERT_EQ(page.Waypoints.Targets.size(), 1u);
        EXPECT_EQ(page.Waypoints.LeftOut, (std::vector<TLeftOut>{{"TeskBad", c.coordinates, c.why},
                                                                 {"Odd target", c.coordinates, c.why}}));
        const std::string reason = c.why == TLeftOutReason::NoCoordinates ? "are not longitude,latitude!"
                                                                          : "are no place on the Earth";
        for (const std::string name : {"TeskBad", "Odd target"})
            EXPECT_NE(BulletedLines(page.Notes)
                          .find("- Placemark \"" + name + "\" is left out: its coordinates \"" +
                                c.coordinates + "\" " + reason),
                      std::string::npos)
                << BulletedLines(page.Notes);
    }
    // The poles and the date line are places on the Earth.
    TTempFolder dir;
    dir.Write("w.kml", KmlDocument({{"TeskPole", "180,90"}, {"South", "-180,-90,0"}}));
    TTargetingPage page;
    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
    EXPECT_TRUE(page.Waypoints.LeftOut.empty() && page.Notes.empty()) << BulletedLines(page.Notes);
    EXPECT_EQ(page.Waypoints.Tesks.size() + page.Waypoints.Targets.size(), 2u);
}

TEST(TargetingPage, SourceFilePreselection) {
    const std::vector<std::string> files = {"a.kml", "B.kml", "c.kml"};
    EXPECT_EQ(PreselectedSourceKml(files, "b.KML", "c.kml"), "B.kml");
    EXPECT_EQ(PreselectedSourceKml(files, "gone.kml", "c.kml"), "c.kml");
    EXPECT_EQ(PreselectedSourceKml(files, "", ""), "");
    EXPECT_EQ(PreselectedSourceKml({}, "a.kml", "a.kml"), "");
}

TEST(TargetingPage, ScenarioListPrefersTheLastEditedThenTheNewest) {
    DModule().TransformDir = DataDir();
    TTempFolder dir;
    dir.Write("w.kml", KmlDocument({{"TeskA", "13.4,52.5,0"}, {"Hill", "14,53"}}));
    const std::string scn = dir.Mkdir("scn");
    const auto marker = [](const char* kml, const char* target) {
        return std::string("BEGIN_DESC\r\n=== GENERATED FROM: ") + kml +
               " ===\r\nEND_DESC\r\nBEGIN_SHIPS\r\nTeskA:Teski\r\n  LAUNCHDELAY 5\r\n  TARGET " + target +
               "\r\nEND\r\nEND_SHIPS\r\n";
    };
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(2);
    dir.Write("scn/a_old.scn", marker("w.kml", "Hill"));
    dir.Write("scn/b_new.scn", marker("w.kml", "nothing"));
    dir.Write("scn/c_other.scn", marker("x.kml", "Hill"));
    dir.Write("scn/w.scn", ""); // named like the KML file
    std::filesystem::last_write_time(scn + "a_old.scn", old);
    std::filesystem::last_write_time(scn + "w.scn", old);
    std::filesystem::last_write_time(scn + "b_new.scn", old + std::chrono::hours(1));

    TTargetingPage page;
    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
    FillScenarioFileList(page, scn, "A_OLD.scn"); // the last edited, letter case ignored
    EXPECT_EQ(page.ScenarioFiles, (std::vector<std::string>{"a_old.scn", "b_new.scn", "w.scn"}));
    EXPECT_EQ(page.ScenarioFileName, "a_old.scn");
    EXPECT_EQ(page.Waypoints.Tesks[0].TargetName, "Hill");
    EXPECT_EQ(page.Waypoints.Tesks[0].Delay, 5);
    EXPECT_TRUE(page.SaveEnabled());

    FillScenarioFileList(page, scn, "gone.scn");
    EXPECT_EQ(page.ScenarioFileName, "b_new.scn");
    EXPECT_FALSE(page.Waypoints.Tesks[0].IsAssigned());
    EXPECT_EQ(BulletedLines(page.Warnings), "- No targets assgined!\r\n");

    // Typing a new name reads nothing; typing an existing one reads it at once.
    const TScenarioReadResult none = ScenarioNameChanged(page, scn, "a_ol");
    EXPECT_TRUE(none.Ok() && none.Value.empty());
    EXPECT_FALSE(page.Waypoints.Tesks[0].IsAssigned());
    ScenarioNameChanged(page, scn, "a_old.scn");
    EXPECT_TRUE(page.Waypoints.Tesks[0].IsAssigned());
}

// A scenario name with folder parts saves below the launch scenario folder, and the page then shows and lists
// what it saved; a name that climbs out of the folder is refused with a warning, like the other bad names.
TEST(TargetingPage, NamesWithFolderPartsStayInTheScenarioFolder) {
    DModule().TransformDir = DataDir();
    TTempFolder dir;
    dir.Write("w.kml", KmlDocument({{"TeskA", "13.4,52.5,0"}, {"Hill", "14,53"}, {"Lake", "14.2,53.1"}}));
    const std::string scn = dir.Mkdir("Orbiter/Scenarios/Teski");
    dir.Mkdir("Orbiter/Scenarios/Teski/sub");
    dir.Write("Orbiter/Scenarios/Teski/newer.scn",
              "BEGIN_DESC\r\n=== GENERATED FROM: w.kml ===\r\nEND_DESC\r\nBEGIN_SHIPS\r\nTeskA:Teski\r\n"
              "  TARGET Hill\r\nEND\r\nEND_SHIPS\r\n");
    TTargetingPage page;
    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
    page.DropOnTarget(0, 1); // Lake
    ScenarioNameChanged(page, scn, "sub/plan7");
    EXPECT_TRUE(page.SaveEnabled()) << BulletedLines(page.Warnings);
    std::string mru;
    const auto yes = [](const std::string&) { return true; };
    ASSERT_TRUE(SaveLaunchScenario(page, scn, yes, mru).Ok());
    EXPECT_TRUE(FileExists(scn + "sub/plan7.scn"));
    EXPECT_EQ(page.ScenarioFileName, "sub/plan7.scn");
    EXPECT_EQ(page.Waypoints.Tesks[0].TargetName, "Lake"); // not the newer scenario's "Hill"
    EXPECT_EQ(page.ScenarioFiles, (std::vector<std::string>{"newer.scn", "sub/plan7.scn"}));
    // The next start, with the name remembered, offers and reads it again.
    FillScenarioFileList(page, scn, mru);
    EXPECT_EQ(page.ScenarioFileName, "sub/plan7.scn");
    EXPECT_EQ(page.Waypoints.Tesks[0].TargetName, "Lake");

    for (const std::string name : {"../../escape", "sub/../../escape", "/tmp/escape", "..\\escape"}) {
        ScenarioNameChanged(page, scn, name);
        EXPECT_EQ(BulletedLines(page.Warnings),
                  "- Scenario file name leads out of the scenario folder: \"" + name + "\"!\r\n")
            << name;
        mru.clear();
        EXPECT_EQ(SaveLaunchScenario(page, scn, yes, mru).Code, TResultCode::Refused) << name;
    }
    EXPECT_FALSE(FileExists(dir.Path + "Orbiter/escape.scn"));
    EXPECT_FALSE(FileExists(dir.Path + "escape.scn"));
    ScenarioNameChanged(page, scn, "   ");
    EXPECT_EQ(BulletedLines(page.Warnings), "- Scenario file name is not valid: \"   \"!\r\n");
}

// What reading a scenario back found stays with the page, whether the user chose the scenario or the list
// chose it when it was filled, so the window shows it without reading the file again.
TEST(TargetingPage, ChosenScenarioKeepsWhatItsReadFound) {
    DModule().TransformDir = DataDir();
    TTempFolder dir;
    dir.Write("w.kml", KmlDocument({{"TeskA", "13.4,52.5,0"}, {"Hill", "14,53"}}));
    const std::string scn = dir.Mkdir("scn");
    dir.Write("scn/w.scn", "BEGIN_ENVIRONMENT\r\n  Date MJD 5x1544.5\r\nEND_ENVIRONMENT\r\n");
    TTargetingPage page;
    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5)));
    const TScenarioReadResult read = ScenarioNameChanged(page, scn, "w.scn");
    EXPECT_TRUE(read.Ok());
    ASSERT_EQ(read.Value.size(), 1u) << "the bad date reaches the caller, who shows it";
    EXPECT_NE(read.Value[0].find("line 2"), std::string::npos) << read.Value[0];
    EXPECT_EQ(page.ScenarioRead.Value, read.Value);

    ScenarioNameChanged(page, scn, "new name"); // nothing to read: nothing found
    EXPECT_TRUE(page.ScenarioRead.Ok() && page.ScenarioRead.Value.empty());
    FillScenarioFileList(page, scn, ""); // the only scenario of w.kml is chosen and read
    EXPECT_EQ(page.ScenarioFileName, "w.scn");
    EXPECT_EQ(page.ScenarioRead.Value, read.Value);

    ASSERT_TRUE(Succeeded(page.LoadKml(dir.Path, "w.kml", 36526.5))); // a new start forgets it
    EXPECT_TRUE(page.ScenarioRead.Value.empty());
}

} // namespace
