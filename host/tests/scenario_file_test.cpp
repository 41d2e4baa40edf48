// Scenario files in the simulator's format: what a save writes, that a saved state loads back unchanged,
// the current-state file at the end of a session, and the real scenarios of the corpus.
#include "HostTestVessel.h"
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const char* kScenario =
    "BEGIN_DESC\nTwo vessels ; not a comment here\nEND_DESC\n"
    "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 51544.5\nEND_ENVIRONMENT\n"
    "BEGIN_FOCUS\n  Ship Orb\nEND_FOCUS\n"
    "BEGIN_CAMERA\n  TARGET Orb\n  MODE Extern\n  FOV 40.00\nEND_CAMERA\n"
    "BEGIN_HUD\n  TYPE Surface\nEND_HUD\n"
    "BEGIN_SHIPS\n"
    "Pad:HostTestVessel\n"
    "  STATUS Landed Earth\n  POS 10.0000000 50.0000000\n  HEADING 90.00\n"
    "  PRPLEVEL 0:0.500000\nEND\n"
    "Orb:HostTestVessel\n"
    "  STATUS Orbiting Earth\n  RPOS 6671010.000 0.000 0.000\n  RVEL 0.0000 0.0000 7729.0000\n"
    "  AROT 10.000 20.000 30.000\n  VROT 0.5000 0.0000 0.0000\n  PRPLEVEL 0:1.000000\n"
    "  THLEVEL 0:0.750000\nEND\n"
    "END_SHIPS\n"
    "BEGIN_SomePlugin\n  KEY value\nEND\n";

std::string blockOf(const std::string& saved, const std::string& header) {
    size_t at = saved.find(header + "\r\n");
    if (at == std::string::npos) return {};
    return saved.substr(at, saved.find("END\r\n", at) + 5 - at);
}

TEST(ScenarioFile, SaveWritesTheSimulatorsFormat) {
    TestRoot root;
    orb::World world(root.path());
    world.loadScenarioText(kScenario);
    world.step();
    std::string saved = world.saveText();
    for (const char* expected : {
             "BEGIN_DESC\r\nTwo vessels ; not a comment here\r\nEND_DESC\r\n",
             "BEGIN_ENVIRONMENT\r\n  System Sol\r\n  Date MJD 51544.5000002315\r\nEND_ENVIRONMENT\r\n",
             "BEGIN_FOCUS\r\n  Ship Orb\r\nEND_FOCUS\r\n",
             "BEGIN_CAMERA\r\n  TARGET Orb\r\n  MODE Extern\r\n  FOV 40.00\r\nEND_CAMERA\r\n",
             "BEGIN_HUD\r\n  TYPE Surface\r\nEND_HUD\r\n",
             "END_SHIPS\r\n\r\nBEGIN_SomePlugin\r\n  KEY value\r\nEND\r\n",
         })
        EXPECT_NE(saved.find(expected), std::string::npos) << expected;
    std::string pad = blockOf(saved, "Pad:HostTestVessel");
    EXPECT_EQ(pad.rfind("Pad:HostTestVessel\r\n  STATUS Landed Earth\r\n  POS 10.0000000 50.0000000\r\n"
                        "  HEADING 90.00\r\n  ALT ",
                        0),
              0u)
        << pad;
    EXPECT_NE(pad.find("  PRPLEVEL 0:0.500000\r\nEND\r\n"), std::string::npos) << pad;
    std::string orb = blockOf(saved, "Orb:HostTestVessel");
    EXPECT_EQ(orb.rfind("Orb:HostTestVessel\r\n  STATUS Orbiting Earth\r\n  RPOS ", 0), 0u) << orb;
    EXPECT_NE(orb.find("  VROT "), std::string::npos);
    EXPECT_NE(orb.find("  THLEVEL 0:0.75\r\n"), std::string::npos) << orb;
    EXPECT_EQ(saved.find('\n'), saved.find("\r\n") + 1) << "lines end with CR LF";
}

TEST(ScenarioFile, ASavedStateLoadsBackToTheSameText) {
    TestRoot root;
    std::string first, second;
    {
        orb::World world(root.path());
        world.loadScenarioText(kScenario);
        world.runFor(1.0);
        first = world.saveText();
        world.saveScenario(root.path() / "Scenarios" / "saved.scn");
    }
    {
        orb::World world(root.path());
        world.loadScenario("saved");
        second = world.saveText();
        // The reloaded vessels carry the saved state: levels, tanks, position.
        VESSEL* orb = world.vessel("Orb");
        ASSERT_NE(orb, nullptr);
        EXPECT_DOUBLE_EQ(orb->GetThrusterLevel(orb->GetThrusterHandleByIndex(0)), 0.75);
        VESSEL* pad = world.vessel("Pad");
        EXPECT_NEAR(pad->GetPropellantMass(pad->GetPropellantHandleByIndex(0)), 500.0, 1e-3);
        double lng, lat, rad;
        pad->GetEquPos(lng, lat, rad);
        EXPECT_NEAR(lng * DEG, 10.0, 1e-6);
        EXPECT_NEAR(lat * DEG, 50.0, 1e-6);
    }
    EXPECT_EQ(first, second);
}

// Places and headings on the lines where angles wrap save the same text again after a load: a heading that
// rounds to 360 is written as 0, as is any heading the next load would write as 0.
TEST(ScenarioFile, AnglesOnTheirWrapLinesSaveTheSameTextTwice) {
    const char* places[] = {
        "POS 136.52 -30.95\nHEADING 27000",
        "POS 136.52 -30.95\nHEADING 359.999",
        "POS 136.52 -30.95\nHEADING 360",
        "POS 10 50\nHEADING -0.001",
        "POS -180 0\nHEADING 90",
        "POS 180 0\nHEADING 90",
        "POS 179.99999999 0\nHEADING 90",
        "POS -179.99999999 0\nHEADING 90",
        "POS 540 10\nHEADING 0",
        "POS 20 90\nHEADING 45",
        "POS 20 -90\nHEADING 45",
        "POS 20 89.99999999\nHEADING 0",
        "POS 20 100\nHEADING 10",
        "POS 20 -270\nHEADING 10",
    };
    TestRoot root;
    for (const char* place : places) {
        SCOPED_TRACE(place);
        std::string first, second;
        {
            orb::World world(root.path());
            world.loadScenarioText("BEGIN_SHIPS\nPad:HostTestVessel\n  STATUS Landed Earth\n  " +
                                   std::string(place) + "\nEND\nEND_SHIPS\n");
            first = world.saveText();
        }
        {
            orb::World world(root.path());
            world.loadScenarioText(first);
            second = world.saveText();
        }
        EXPECT_EQ(blockOf(first, "Pad:HostTestVessel"), blockOf(second, "Pad:HostTestVessel"));
    }
}

// Thruster levels are saved as the simulator saves them, so small levels keep their value instead of being
// written as 0.000000 and lost at the next load (a fuzzing find).
TEST(ScenarioFile, ThrusterLevelsSaveTheSameTextTwice) {
    const struct {
        const char* given;
        const char* saved;
    } cases[] = {
        {"THLEVEL 0:.0000001 1:0.0000004", "  THLEVEL 0:1e-07 1:4e-07\r\n"},
        {"THLEVEL 0:0.75 2:1", "  THLEVEL 0:0.75 2:1\r\n"},
        {"THLEVEL 1:0.123456789", "  THLEVEL 1:0.123457\r\n"},
        {"THLEVEL 0:1e-310", "  THLEVEL 0:1e-310\r\n"},
        {"THLEVEL 0:0 1:-0.5", ""},
    };
    TestRoot root;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        std::string first, second;
        {
            orb::World world(root.path());
            world.loadScenarioText("BEGIN_SHIPS\nOrb:HostTestVessel\n  STATUS Orbiting Earth\n"
                                   "  RPOS 6671010 0 0\n  RVEL 0 0 7729\n  " +
                                   std::string(c.given) + "\nEND\nEND_SHIPS\n");
            first = world.saveText();
        }
        {
            orb::World world(root.path());
            world.loadScenarioText(first);
            second = world.saveText();
        }
        const std::string block = blockOf(first, "Orb:HostTestVessel");
        if (*c.saved) {
            EXPECT_NE(block.find(c.saved), std::string::npos) << block;
        } else {
            EXPECT_EQ(block.find("THLEVEL"), std::string::npos) << block;
        }
        EXPECT_EQ(block, blockOf(second, "Orb:HostTestVessel"));
    }
}

TEST(ScenarioFile, TanksAndThrustersNotListedStartEmptyAndOff) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 0 0\n");
    VESSEL* a = world.vessel("A");
    EXPECT_EQ(a->GetPropellantMass(a->GetPropellantHandleByIndex(0)), 0.0);
    world.createVessel("B", "HostTestVessel", "STATUS Landed Earth\nPOS 0 1\nFUEL 0.25\n");
    VESSEL* b = world.vessel("B");
    EXPECT_NEAR(b->GetPropellantMass(b->GetPropellantHandleByIndex(0)), 250.0, 1e-9);
}

// The simulator writes a propellant level that is not a number as "-1.#IND00" (its C library's text), and
// reads it back as the number before the '#'. Such a current state loads here as there: -1, an empty tank,
// and 1.#INF00 a full one; a save never writes such a text.
TEST(ScenarioFile, APropellantLevelTheSimulatorWroteAsNotANumberLoadsAsItReadsIt) {
    TestRoot root;
    root.write("Scenarios/(Current state).scn",
               "BEGIN_SHIPS\r\n"
               "A:HostTestVessel\r\n  STATUS Landed Earth\r\n  POS 10 50\r\n  PRPLEVEL 0:-1.#IND00\r\nEND\r\n"
               "B:HostTestVessel\r\n  STATUS Landed Earth\r\n  POS 11 50\r\n  PRPLEVEL 0:1.#INF00\r\nEND\r\n"
               "C:HostTestVessel\r\n  STATUS Landed Earth\r\n  POS 12 50\r\n  PRPLEVEL 0:1.#QNAN0\r\nEND\r\n"
               "END_SHIPS\r\n");
    {
        orb::World world(root.path());
        world.loadScenario("(Current state)");
        VESSEL* a = world.vessel("A");
        VESSEL* b = world.vessel("B");
        EXPECT_EQ(a->GetPropellantMass(a->GetPropellantHandleByIndex(0)), 0.0);
        EXPECT_NEAR(b->GetPropellantMass(b->GetPropellantHandleByIndex(0)),
                    b->GetPropellantMaxMass(b->GetPropellantHandleByIndex(0)), 1e-9);
        const std::filesystem::path saved = root.path() / "Scenarios" / "saved.scn";
        world.saveScenario(saved);
        std::ifstream in(saved, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str().find('#'), std::string::npos) << text.str();
        EXPECT_EQ(text.str().find("nan"), std::string::npos) << text.str();
        EXPECT_NE(blockOf(text.str(), "B:HostTestVessel").find("  PRPLEVEL 0:1.000000\r\n"),
                  std::string::npos)
            << text.str();
    }
    // Only the simulator's own forms: other text after a number is still no level.
    for (const char* level : {"0:-1.#BAD00", "0:-1#IND00", "0:-1.#IND0x", "0:#IND"}) {
        root.write("Scenarios/bad.scn", std::string("BEGIN_SHIPS\nD:HostTestVessel\n  STATUS Landed Earth\n"
                                                    "  PRPLEVEL ") +
                                            level + "\nEND\nEND_SHIPS\n");
        orb::World other(root.path());
        EXPECT_ANY_THROW(other.loadScenario("bad")) << level;
    }
}

TEST(ScenarioFile, CurrentStateIsSavedInTheRootsScenarioFolder) {
    TestRoot root;
    orb::World world(root.path());
    world.loadScenarioText(kScenario);
    std::filesystem::path file = world.saveCurrentState();
    EXPECT_EQ(file, root.path() / "Scenarios" / "(Current state).scn");
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str().rfind("BEGIN_URLDESC\r\nCurrentState\r\nEND_URLDESC\r\n\r\nBEGIN_ENVIRONMENT\r\n", 0),
              0u);
    EXPECT_NE(ss.str().find("Pad:HostTestVessel\r\n"), std::string::npos);
}

TEST(ScenarioFile, ScenarioNamesResolveBelowTheScenarioFolder) {
    TestRoot root;
    root.write(
        "Scenarios/Sub/One vessel.scn",
        "BEGIN_SHIPS\r\nA:HostTestVessel\r\n  STATUS Landed Earth\r\n  POS 1 2\r\nEND\r\nEND_SHIPS\r\n");
    orb::World world(root.path());
    world.loadScenario("Sub/One vessel");
    EXPECT_NE(world.findVessel("A"), nullptr);
    EXPECT_EQ(world.focus(), world.findVessel("A")) << "without a focus block the first vessel gets it";
    EXPECT_THROW(world.scenarioPath("Sub/Missing"), orb::HostError);
}

// A scenario cut off anywhere either loads (the cut fell between blocks) or fails with the file's name.
TEST(ScenarioFile, TruncatedAnywhereLoadsOrFailsCleanly) {
    TestRoot root;
    const std::string full = kScenario;
    for (size_t cut = 0; cut < full.size(); cut += 5) {
        SCOPED_TRACE(cut);
        orb::World world(root.path());
        try {
            world.loadScenarioText(full.substr(0, cut), "cut.scn");
            world.step();
        } catch (const orb::HostError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("cut.scn: ", 0), 0u) << e.what();
        }
    }
}

// The simulator's own scenarios name classes and bodies this host does not have: each either loads or fails
// with a message that names the scenario file.
TEST(ScenarioFile, RealScenariosLoadOrFailCleanly) {
    std::filesystem::path corpus = corpusFolder("scn");
    std::error_code ec;
    if (!std::filesystem::is_directory(corpus, ec)) GTEST_SKIP() << "no scenario corpus at " << corpus;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".scn") continue;
        ++files;
        TestRoot root;
        orb::World world(root.path());
        try {
            world.loadScenario(entry.path().string());
            world.runSteps(3);
            EXPECT_FALSE(world.saveText().empty());
        } catch (const orb::HostError& e) {
            EXPECT_NE(std::string(e.what()).find(entry.path().string()), std::string::npos) << e.what();
        }
    }
    EXPECT_GT(files, 0);
}

} // namespace
