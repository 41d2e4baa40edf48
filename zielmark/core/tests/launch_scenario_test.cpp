// The launch scenario: the exact text, reading it back into the page, the tie to the KML file,
// and saving (names, confirmation, atomic writing).
#include "TestFolder.h"
#include "TestResult.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_LaunchScenario.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

using namespace zm;
using namespace zm::test;

namespace {

TTesk Missile(const std::string& name, long double lat, long double lon) {
    TTesk m;
    m.Name = name;
    m.Lat = lat;
    m.Lon = lon;
    return m;
}

TTarget Target(const std::string& name, long double lat, long double lon) {
    TTarget t;
    t.Name = name;
    t.Lat = lat;
    t.Lon = lon;
    return t;
}

// Missiles TeskA, TeskB, TeskC and targets Nord (1 degree north of TeskB) and Ost.
TTargetingPage ThreeMissiles() {
    TTargetingPage page;
    page.Waypoints.Tesks = {Missile("TeskA", 0, 0), Missile("TeskB", 52.25L, 13.5L), Missile("TeskC", 0, 10)};
    page.Waypoints.Targets = {Target("Nord", 53.25L, 13.5L), Target("Ost", 0, 11)};
    page.KmlFileName = "range.kml";
    page.ScenarioFileName = "range.scn";
    page.ShowUtc = true;
    page.ScenarioDateUtc = 36526.5; // 1 January 2000, 12:00 UTC
    return page;
}

const char* const kOneShip = "BEGIN_DESC\r\n"
                             "Line 1\r\n"
                             "Line 2\r\n"
                             "=== GENERATED FROM: range.kml ===\r\n"
                             "END_DESC\r\n"
                             "\r\n"
                             "BEGIN_ENVIRONMENT\r\n"
                             "  System Sol\r\n"
                             "  Date MJD 51544.500000000000\r\n"
                             "END_ENVIRONMENT\r\n"
                             "\r\n"
                             "BEGIN_FOCUS\r\n"
                             "  Ship TeskB\r\n"
                             "END_FOCUS\r\n"
                             "\r\n"
                             "BEGIN_CAMERA\r\n"
                             "  TARGET TeskB\r\n"
                             "  MODE Extern\r\n"
                             "  POS 4.00 -114.61 -45.56\r\n"
                             "  TRACKMODE GlobalFrame\r\n"
                             "  FOV 50.00\r\n"
                             "END_CAMERA\r\n"
                             "\r\n"
                             "BEGIN_HUD\r\n"
                             "  TYPE Surface\r\n"
                             "END_HUD\r\n"
                             "\r\n"
                             "BEGIN_MFD Right\r\n"
                             "  TYPE Surface\r\n"
                             "  SPDMODE 1\r\n"
                             "END_MFD\r\n"
                             "\r\n"
                             "BEGIN_SHIPS\r\n"
                             "TeskB:Teski\r\n"
                             "  STATUS Landed Earth\r\n"
                             "  POS 13.5000000000000 52.2500000000000\r\n"
                             "  HEADING 0.0000\r\n"
                             "  FUEL 1.000\r\n"
                             "  ------\r\n"
                             "  RANGE 111195.1\r\n"
                             "  LAUNCHDELAY 7\r\n"
                             "  REALISTIC 0\r\n"
                             "  LATITUDE_TARGET 53.2500000000000\r\n"
                             "  LONGITUDE_TARGET 13.5000000000000\r\n"
                             "  TARGET Nord\r\n"
                             "END\r\n"
                             "END_SHIPS\r\n";

TEST(LaunchScenario, ExactTextOfOneShip) {
    TTargetingPage page = ThreeMissiles();
    page.Description = {"Line 1", "Line 2"};
    page.AssignTarget(1, 0);
    page.Waypoints.Tesks[1].SetDelay(7);
    page.Waypoints.Tesks[1].Realistic = false;
    page.FillFocusList();
    BuildLaunchScenario(page);
    EXPECT_EQ(LaunchScenarioFileText(page), kOneShip);
}

// The program runs under the user's locale (the GUI toolkit sets it), where a decimal comma must never reach
// the file, nor confuse the reading back.
TEST(LaunchScenario, TheUsersLocaleChangesNoNumber) {
    TTempFolder dir;
    TTargetingPage page = ThreeMissiles();
    page.Description = {"Salvo at 12.5 past"};
    page.AssignTarget(1, 0);
    page.Waypoints.Tesks[1].SetDelay(7);
    page.FillFocusList();
    BuildLaunchScenario(page);
    const std::string inC = LaunchScenarioFileText(page);

    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE"))
        GTEST_SKIP() << "no German locale installed";
    BuildLaunchScenario(page);
    const std::string inGerman = LaunchScenarioFileText(page);
    TTargetingPage again = ThreeMissiles();
    const TScenarioReadResult r = ReadLaunchScenario(again, dir.Write("range.scn", inGerman));
    BuildLaunchScenario(again);
    const std::string readInGerman = LaunchScenarioFileText(again);
    std::setlocale(LC_ALL, old.c_str());

    EXPECT_EQ(inGerman, inC);
    ASSERT_TRUE(Succeeded(r));
    EXPECT_TRUE(r.Value.empty());
    EXPECT_EQ(again.ScenarioDateUtc, page.ScenarioDateUtc);
    EXPECT_EQ(readInGerman, inC);
}

TEST(LaunchScenario, OnlyAssignedMissilesInListOrderAndEmptyDescription) {
    TTargetingPage page = ThreeMissiles();
    page.Description.clear();
    page.AssignTarget(2, 1);
    page.AssignTarget(1, 1);
    page.FillFocusList();
    BuildLaunchScenario(page);
    const std::string text = LaunchScenarioFileText(page);
    EXPECT_EQ(text.find("TeskA:Teski"), std::string::npos);
    ASSERT_NE(text.find("TeskB:Teski"), std::string::npos);
    EXPECT_LT(text.find("TeskB:Teski"), text.find("TeskC:Teski"));
    EXPECT_EQ(text.substr(0, 59), "BEGIN_DESC\r\n=== GENERATED FROM: range.kml ===\r\nEND_DESC\r\n\r\n");
}

TEST(LaunchScenario, WrittenAndReadBackToTheSameText) {
    TTempFolder dir;
    TTargetingPage page = ThreeMissiles();
    page.Description = {"Attack at noon", "", "  indented"};
    page.AssignTarget(0, 1);
    page.AssignTarget(1, 0);
    page.Waypoints.Tesks[0].SetDelay(12);
    page.Waypoints.Tesks[1].SetDelay(3);
    page.Waypoints.Tesks[1].Realistic = false;
    page.FillFocusList();
    page.SelectFocus("TeskB"); // not the default (TeskA starts last)
    BuildLaunchScenario(page);
    const std::string first = LaunchScenarioFileText(page);
    const std::string path = dir.Write("range.scn", first);

    TTargetingPage again = ThreeMissiles();
    again.ScenarioDateUtc = 0;
    again.Waypoints.Tesks[2].SetDelay(50); // reset by the reading
    const TScenarioReadResult r = ReadLaunchScenario(again, path);
    ASSERT_TRUE(Succeeded(r));
    EXPECT_TRUE(r.Value.empty());
    EXPECT_EQ(again.Description, page.Description);
    EXPECT_EQ(again.ScenarioDateUtc, 36526.5);
    EXPECT_EQ(again.FocusName(), "TeskB");
    EXPECT_EQ(again.Waypoints.Tesks[0].Delay, 12);
    EXPECT_EQ(again.Waypoints.Tesks[2].Delay, 0);
    EXPECT_FALSE(again.Waypoints.Tesks[1].Realistic);
    EXPECT_EQ(again.Waypoints.Tesks[1].TargetName, "Nord");
    EXPECT_EQ(again.DateText, "01.01.2000");
    EXPECT_EQ(again.TimeText, "12:00");
    BuildLaunchScenario(again);
    EXPECT_EQ(LaunchScenarioFileText(again), first);
}

// A precise missile's block ends with the key, where the missile saves it too; the others' blocks stay as
// they always were, and reading back restores the choice of each.
TEST(LaunchScenario, ThePreciseCutOffIsWrittenForPreciseMissilesOnlyAndReadBack) {
    TTempFolder dir;
    TTargetingPage page = ThreeMissiles();
    page.Description = {"Line 1", "Line 2"};
    page.AssignTarget(1, 0);
    page.Waypoints.Tesks[1].SetDelay(7);
    page.Waypoints.Tesks[1].Realistic = false;
    page.FillFocusList();
    page.SetPrecise(1, true);
    BuildLaunchScenario(page);
    std::string expected = kOneShip;
    expected.replace(expected.find("  TARGET Nord\r\n") + 15, 0, "  PRECISE 1\r\n");
    const std::string text = LaunchScenarioFileText(page);
    EXPECT_EQ(text, expected);

    TTargetingPage again = ThreeMissiles();
    again.Waypoints.Tesks[0].Precise = true; // reset by the reading
    ASSERT_TRUE(Succeeded(ReadLaunchScenario(again, dir.Write("precise.scn", text))));
    EXPECT_TRUE(again.Waypoints.Tesks[1].Precise);
    EXPECT_FALSE(again.Waypoints.Tesks[0].Precise);
    BuildLaunchScenario(again);
    EXPECT_EQ(LaunchScenarioFileText(again), text);
    again.SetPrecise(1, false);
    BuildLaunchScenario(again);
    EXPECT_EQ(LaunchScenarioFileText(again), kOneShip);
}

// As the missile reads the key: in any letter case, any whole number but 0 turns it on; what is no number
// is 0. Only ships of class Teski count for the list of precise missiles.
TEST(LaunchScenario, PreciseKeysAsTheMissileReadsThem) {
    const struct {
        const char* line;
        bool precise;
    } cases[] = {
        {"  PRECISE 1", true},  {"  precise 1", true},    {"  Precise   1", true}, {"  PRECISE 0", false},
        {"  PRECISE -2", true}, {"  PRECISE yes", false}, {"  PRECISE", false},    {"  PRECISED 1", false},
    };
    TTempFolder dir;
    for (const auto& c : cases) {
        const std::string text = std::string("BEGIN_SHIPS\nTeskB:Teski\n  TARGET Nord\n") + c.line +
                                 "\nEND\nOther:DeltaGlider\n  PRECISE 1\nEND\nEND_SHIPS\n";
        TTargetingPage page = ThreeMissiles();
        ASSERT_TRUE(Succeeded(ReadLaunchScenario(page, dir.Write("keys.scn", text)))) << c.line;
        EXPECT_EQ(page.Waypoints.Tesks[1].Precise, c.precise) << c.line;
        std::vector<std::string> lines;
        SplitLines(text, lines);
        EXPECT_EQ(PreciseMissileNames(lines),
                  c.precise ? std::vector<std::string>{"TeskB"} : std::vector<std::string>{})
            << c.line;
    }
}

TEST(LaunchScenario, ReadingBackOddFiles) {
    TTempFolder dir;
    TTargetingPage page = ThreeMissiles();
    page.Waypoints.Tesks.push_back(Missile("teskb", 1, 1)); // differs only in letter case
    const std::string path =
        dir.Write("odd.scn",
                  "BEGIN_DESC\n=== GENERATED FROM: range.kml ===\nEND_DESC\n"
                  "BEGIN_ENVIRONMENT\n  Date MJD 5x1544.5\nEND_ENVIRONMENT\n"
                  "BEGIN_FOCUS\n  Ship Nobody\nEND_FOCUS\n"
                  "BEGIN_SHIPS\n"
                  "TESKB:Teski\n  LAUNCHDELAY 9\n  TARGET Nord\nEND\n" // no missile of exactly that name
                  "teskb:Teski\n  LAUNCHDELAY 500\n  REALISTIC   0\n  TARGET ost\nEND\n"
                  "TeskA:Teski\n  LAUNCHDELAY nine\n  REALISTIC yes\n  TARGET Nowhere\nEND\n"
                  "TeskC:Teski\n  REALISTIC 2\n  TARGET Ost\n" // truncated: no END
                  "Other:DeltaGlider\n  TARGET Nord\n");
    page.ScenarioDateUtc = 100;
    const TScenarioReadResult r = ReadLaunchScenario(page, path);
    ASSERT_TRUE(Succeeded(r));
    EXPECT_TRUE(page.Description.empty()); // an empty description is read as empty, not as the prompt
    EXPECT_EQ(page.ScenarioDateUtc, 100);  // the bad date is kept and reported
    ASSERT_EQ(r.Value.size(), 1u);
    EXPECT_NE(r.Value[0].find("line 5"), std::string::npos);
    EXPECT_FALSE(page.Waypoints.Tesks[1].IsAssigned()); // TeskB
    EXPECT_EQ(page.Waypoints.Tesks[1].Delay, 0);
    const TTesk& lower = page.Waypoints.Tesks[3];
    EXPECT_EQ(lower.Delay, 100); // clamped like the spinner
    EXPECT_FALSE(lower.Realistic);
    EXPECT_EQ(lower.TargetName, "Ost");
    EXPECT_EQ(page.Waypoints.Tesks[0].Delay, 0);
    EXPECT_FALSE(page.Waypoints.Tesks[0].Realistic); // not an integer: 0
    EXPECT_FALSE(page.Waypoints.Tesks[0].IsAssigned());
    EXPECT_TRUE(page.Waypoints.Tesks[2].Realistic);
    EXPECT_EQ(page.Waypoints.Tesks[2].TargetName, "Nord"); // another class's header does not end the block
    EXPECT_EQ(page.FocusIndex, -1);                        // "Nobody" is not in the list

    const TTargetingPage before = page;
    const TScenarioReadResult missing = ReadLaunchScenario(page, dir.Path + "missing.scn");
    EXPECT_FALSE(missing.Ok());
    EXPECT_NE(missing.Message.find("missing.scn"), std::string::npos);
    EXPECT_EQ(page.Description, before.Description);

    std::string binary(10000, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 31 + 7);
    EXPECT_TRUE(Succeeded(ReadLaunchScenario(page, dir.Write("binary.scn", binary))));
}

// The description's prompt is no content: a file that earlier versions saved with the prompt as its only line
// reads back empty, and an empty description saves no line.
TEST(LaunchScenario, ThePromptIsNoDescription) {
    TTempFolder dir;
    TTargetingPage page = ThreeMissiles();
    page.Description = {"kept"};
    const std::string path = dir.Write(
        "old.scn", "BEGIN_DESC\r\nType scenario description here\r\n=== GENERATED FROM: range.kml ===\r\n"
                   "END_DESC\r\nBEGIN_SHIPS\r\nEND_SHIPS\r\n");
    ASSERT_TRUE(Succeeded(ReadLaunchScenario(page, path)));
    EXPECT_TRUE(page.Description.empty());
    BuildLaunchScenario(page);
    EXPECT_EQ(LaunchScenarioFileText(page).substr(0, 59),
              "BEGIN_DESC\r\n=== GENERATED FROM: range.kml ===\r\nEND_DESC\r\n\r\n");
    // Typed among other lines, the words are the user's.
    dir.Write("typed.scn", "BEGIN_DESC\r\nType scenario description here\r\nand more\r\nEND_DESC\r\n");
    ASSERT_TRUE(Succeeded(ReadLaunchScenario(page, dir.Path + "typed.scn")));
    EXPECT_EQ(page.Description, (std::vector<std::string>{"Type scenario description here", "and more"}));
}

TEST(LaunchScenario, BelongsToItsKmlFile) {
    TTempFolder dir;
    const struct {
        const char* File;
        const char* Content;
        bool Belongs;
    } cases[] = {
        {"other.scn", "BEGIN_DESC\r\n=== GENERATED FROM: range.kml ===\r\nEND_DESC\r\n", true},
        {"other.scn", "=== GENERATED FROM: Range.kml ===\r\n", false}, // letter case counts
        {"other.scn", "=== GENERATED FROM: rival.kml ===\r\n", false},
        {"range.scn", "=== GENERATED FROM: rival.kml ===\r\n", true}, // named like the KML file
        {"range.scn", "no marker at all\r\n", true},
        {"Range.scn", "", false},
        {"other.scn", "=== GENERATED FROM: range.kml", false},          // no closing " ==="
        {"other.scn", "x=== GENERATED FROM: range.kml ===\r\n", false}, // not at the line start
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir.Path + "s");
        const std::string path = dir.Write(std::string("s/") + c.File, c.Content);
        EXPECT_EQ(IsGeneratedFrom(path, "range.kml"), c.Belongs) << c.File << ": " << c.Content;
    }
    EXPECT_FALSE(IsGeneratedFrom(dir.Path + "missing.scn", "range.kml"));
}

TEST(LaunchScenario, FileNamesGetTheScnExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"attack", "attack.scn"},         {"attack.txt", "attack.scn"},
        {"attack.scn", "attack.scn"},     {"my.mission.v2", "my.mission.scn"},
        {"sub/attack", "sub/attack.scn"}, {"sub.d/attack", "sub.d/attack.scn"}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ScenarioFileNameFor(in), out) << in;
}

TEST(LaunchScenario, SavingAsksRefusesAndNeverDestroys) {
    TTempFolder dir;
    TTargetingPage page = ThreeMissiles();
    page.OrbDateTimeToGUI();
    page.ScenarioFileName = "attack";
    std::string mru = "old.scn";
    std::vector<std::string> asked;
    const auto yes = [&](const std::string& q) { return asked.push_back(q), true; };
    const auto no = [&](const std::string& q) { return asked.push_back(q), false; };

    // Warnings shown: no target assigned.
    EXPECT_EQ(SaveLaunchScenario(page, dir.Path, yes, mru).Code, TResultCode::Refused);
    page.AssignTarget(1, 0);
    EXPECT_EQ(SaveLaunchScenario(page, dir.Path, no, mru).Code, TResultCode::Declined);
    EXPECT_FALSE(FileExists(dir.Path + "attack.scn"));
    TResultOf<std::string> r = SaveLaunchScenario(page, dir.Path, yes, mru);
    ASSERT_TRUE(Succeeded(r));
    EXPECT_EQ(r.Value, dir.Path + "attack.scn");
    EXPECT_EQ(mru, "attack.scn");
    EXPECT_EQ(asked, (std::vector<std::string>{AskCreate, AskCreate}));
    // The list is refilled and the saved file selected and read back.
    EXPECT_EQ(page.ScenarioFiles, std::vector<std::string>{"attack.scn"});
    EXPECT_EQ(page.ScenarioFileName, "attack.scn");
    const std::string saved = dir.Read("attack.scn");

    page.AssignTarget(1, 1);
    EXPECT_EQ(SaveLaunchScenario(page, dir.Path, no, mru).Code, TResultCode::Declined);
    EXPECT_EQ(asked.back(), AskOverwrite);
    EXPECT_EQ(dir.Read("attack.scn"), saved);

    // A folder part that does not exist: the error names the file, nothing else changes.
    page.ScenarioFileName = "nowhere/attack";
    mru = "keep.scn";
    r = SaveLaunchScenario(page, dir.Path, yes, mru);
    EXPECT_EQ(r.Code, TResultCode::Failed);
    EXPECT_NE(r.Message.find("nowhere/attack.scn"), std::string::npos);
    EXPECT_EQ(mru, "keep.scn");
    // No temporary file is left behind.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

} // namespace
