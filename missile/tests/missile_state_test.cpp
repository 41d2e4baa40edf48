// The missile's scenario block in orbhost: defaults, flags both ways, the set-up chosen by the model,
// saving and reading back, and bad input.
#include "MissileWorld.h"

#include <cstring>

using namespace missiletest;

class MissileState : public MissileTest {};

TEST_F(MissileState, PlannerKeysOnlyGiveAPadMissileUnderAutopilot) {
    struct Case {
        const char* keys;
        bool realistic;
        double reliability;
    };
    const Case cases[] = {
        {"REALISTIC 1\n", true, 75},
        {"REALISTIC 0\n", false, 100},
        {"REALISTIC 0\nRELIABILITY 60\n", false, 60},
        {"", true, 75},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "M" + std::to_string(++n);
        Create(name, PadLines(45, std::string("RANGE 300000.0\nLAUNCHDELAY 7\nLATITUDE_TARGET -29.1\n"
                                              "LONGITUDE_TARGET 138.5\nTARGET Lake\n") +
                                      c.keys));
        const Teski* m = Missile(name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->realistic, c.realistic) << c.keys;
        EXPECT_EQ(m->reliability, c.reliability) << c.keys;
        EXPECT_TRUE(m->autopilot);
        EXPECT_FALSE(m->countdownRunning || m->launched || m->ignitionCommanded || m->engineBurning);
        EXPECT_EQ(m->range, 300000.0);
        EXPECT_EQ(m->launchDelay, 7.0);
        EXPECT_EQ(m->targetLatitude, -29.1);
        EXPECT_EQ(m->targetLongitude, 138.5);
        EXPECT_STREQ(m->targetName, "Lake");
    }
}

TEST_F(MissileState, NoKeysKeepTheInitialValues) {
    Create("M1", PadLines(0, ""));
    const Teski* m = Missile("M1");
    EXPECT_TRUE(m->realistic);
    EXPECT_TRUE(m->autopilot);
    EXPECT_EQ(m->range, 500000.0);
    EXPECT_EQ(m->reliability, 75.0);
    EXPECT_STREQ(m->targetName, "M1-Target");
}

TEST_F(MissileState, PadMissileSavesItsKeysInOrderAndNothingOfAFlight) {
    Create("M1",
           PadLines(45, "RANGE 150000\nLATITUDE_TARGET -31.45\nLONGITUDE_TARGET 135.05\nTARGET Lake\n"));
    Create("M2", PadLines(45, "REALISTIC 0\n"));
    const std::string saved = world->saveText();
    const auto b1 = SavedBlock(saved, "M1");
    EXPECT_EQ(SavedValue(b1, "STATEFLAGS"), "528"); // realistic 16 + autopilot 512
    EXPECT_EQ(SavedValue(SavedBlock(saved, "M2"), "STATEFLAGS"), "512");
    EXPECT_EQ(SavedValue(b1, "LATITUDE_TARGET"), "-31.4500000000000");
    EXPECT_EQ(SavedValue(b1, "LONGITUDE_TARGET"), "135.0500000000000");
    EXPECT_EQ(SavedValue(b1, "TARGET"), "Lake");
    EXPECT_EQ(std::stod(SavedValue(b1, "RANGE")), 150000.0);

    // The missile's keys follow the host's own lines, in this order.
    const std::vector<std::string> expected = {"------",           "RANGE",  "LAUNCHDELAY", "LATITUDE_TARGET",
                                               "LONGITUDE_TARGET", "TARGET", "------",      "STATEFLAGS",
                                               "RELIABILITY"};
    auto keys = SavedKeys(b1);
    ASSERT_GE(keys.size(), expected.size());
    keys.erase(keys.begin(), keys.end() - static_cast<long>(expected.size()));
    EXPECT_EQ(keys, expected);
}

TEST_F(MissileState, StateFlagsBothWays) {
    struct Case {
        const char* keys;
        int savedFlags; // what the missile writes back
    };
    const Case cases[] = {
        {"STATEFLAGS 4\n", 4},                 // countdown only: simple model, autopilot off
        {"STATEFLAGS 72\n", 72},               // launched, burning
        {"STATEFLAGS 32\n", 32},               // ignition due
        {"STATEFLAGS 15360\n", 15360},         // failure armed, all three channels fixed
        {"STATEFLAGS 128\n", 0},               // the contrail flag is not taken over
        {"STATEFLAGS 259\n", 0},               // bits 0, 1 and 8 mean nothing
        {"STATEFLAGS 528\n", 528},             // the pad state
        {"STATEFLAGS 528\nAUTOPILOT 0\n", 16}, // AUTOPILOT wins over bit 9, after ...
        {"AUTOPILOT 0\nSTATEFLAGS 528\n", 16}, // ... or before the flags
        {"STATEFLAGS 528\nREALISTIC 0\n", 512},
        {"REALISTIC 1\nSTATEFLAGS 0\n", 16},
        {"STATEFLAGS -1\n", 528}, // negative: the initial flags stay
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "F" + std::to_string(++n);
        Create(name, PadLines(0, c.keys));
        EXPECT_FALSE(Missile(name)->contrailActive) << c.keys;
        EXPECT_EQ(SavedValue(SavedBlock(world->saveText(), name), "STATEFLAGS"), std::to_string(c.savedFlags))
            << c.keys;
    }
    const Teski* m = Missile("F4");
    EXPECT_TRUE(m->failureArmed && m->headingFixed && m->bankFixed && m->pitchFixed);
    EXPECT_FALSE(m->launched || m->autopilot || m->realistic);
}

TEST_F(MissileState, RealisticModelWorksTheBurnTimeOutOfTheRange) {
    Create("R", PadLines(0, "STATEFLAGS 8\nRANGE 224036.94\nMET_MECO 12\n"));
    EXPECT_FALSE(Missile("R")->realistic); // STATEFLAGS 8 has no realistic bit
    EXPECT_EQ(Missile("R")->metMeco, 12.0);
    Create("Q", PadLines(0, "STATEFLAGS 24\nRANGE 224036.94\nMET_MECO 12\n"));
    EXPECT_NEAR(Missile("Q")->metMeco, 65.0, 1e-9);
}

TEST_F(MissileState, LaunchedStateReadsBackWhole) {
    const std::string flight =
        "STATEFLAGS 3144\n" // launched, burning, failure armed, heading fixed
        "RANGE 250000\nLAUNCHDELAY -0.01\nLATITUDE_TARGET -29.0\nLONGITUDE_TARGET 135.0\n"
        "TARGET Far\nRELIABILITY 80\n"
        "POS0 2.3826833 -0.5401745 6371017.25\nHEADING_IDEAL 300.5\nHEADING_REALISTIC 300.6\n"
        "RVEL0 100.5 -20.25 300\nCOSS 1 0.5 0.25\nSINS 0 0.866 0.968\nMET_MECO 66.5\nMET 1.5\n"
        "MAX_ALTITUDE 812.5\nMJD_LAUNCH 60400.1250115741\nFAILDOUBLES 31.5 0 -37.2\nCONTROLSFIXED 12.5 -3 0\n"
        "FAILSTRING Control roll (-37) at 32 sec.\nFAILIDX1 2\nFAILIDX2 6\nFAILTYPE 3\n"
        "MET_GPS 2\nTRACK 0 2.3826833 -0.5401745 0 1\nTRACK 1 2.3826834 -0.5401744 20.5 2\n";
    Create("A", PadLines(300.5, flight));
    const std::string saved = world->saveText();
    Create(
        "B", std::string("STATUS Landed Earth\nPOS 136.52 -30.95\nHEADING 300.5\n") + [&] {
            std::string own;
            bool past = false;
            for (const std::string& line : SavedBlock(saved, "A")) {
                past = past || line == "------";
                if (past) own += line + "\n";
            }
            return own;
        }());
    const Teski* a = Missile("A");
    const Teski* b = Missile("B");
    EXPECT_TRUE(b->launched && b->engineBurning && b->failureArmed && b->headingFixed);
    EXPECT_FALSE(b->realistic);
    EXPECT_EQ(b->range, a->range);
    EXPECT_EQ(b->reliability, 80.0);
    EXPECT_NEAR(b->launchLongitude, 2.3826833, 1e-12);
    EXPECT_NEAR(b->launchRadius, 6371017.25, 1e-6);
    EXPECT_NEAR(b->headingRealistic, 300.6, 1e-6);
    EXPECT_NEAR(b->launchVelocity.y, -20.25, 1e-6);
    EXPECT_NEAR(b->launchAttitudeSin.z, 0.968, 1e-6);
    EXPECT_NEAR(b->met, 1.5, 1e-6);
    EXPECT_NEAR(b->launchMJD, 60400.1250115741, 1e-10);
    EXPECT_NEAR(b->metMeco, 66.5, 1e-6); // the simple model keeps the saved value
    EXPECT_NEAR(b->nextTrackTime, 2.0, 1e-6);
    EXPECT_NEAR(b->failValue, -37.2, 1e-6);
    EXPECT_NEAR(b->fixedHeading, 12.5, 1e-6);
    EXPECT_EQ(b->failType, 3);
    EXPECT_EQ(b->failIdx2, 6);
    EXPECT_STREQ(b->failString, "Control roll (-37) at 32 sec.");
    ASSERT_EQ(b->trackCount, 2);
    EXPECT_NEAR(b->trackAltitude[1], 20.5, 1e-9);
    EXPECT_EQ(b->trackPhase[1], 2);
    EXPECT_EQ(b->trackLatitude[1], a->trackLatitude[1]); // 13 decimals carry radians exactly enough
}

TEST_F(MissileState, TrackLinesFillByIndexAndIgnoreIndicesOutOfRange) {
    Create("T", PadLines(0, "STATEFLAGS 8\nTRACK 0 0.1 0.2 0 1\nTRACK 1 0.1 0.2 5 1\nTRACK 400 0.3 0.4 9 3\n"
                            "TRACK -1 0.3 0.4 9 3\nTRACK 2 0.1 0.2\nTRACK 99999999999 0.1 0.2 3 1\n"));
    EXPECT_EQ(Missile("T")->trackCount, 2);
    Create("U", PadLines(0, "STATEFLAGS 8\nTRACK 399 0.3 0.4 9 3\n"));
    EXPECT_EQ(Missile("U")->trackCount, 400);
    EXPECT_EQ(Missile("U")->trackAltitude[399], 9.0);
    // The saved track holds every point up to the count.
    const auto block = SavedBlock(world->saveText(), "U");
    int tracks = 0;
    for (const std::string& line : block)
        tracks += line.rfind("TRACK ", 0) == 0;
    EXPECT_EQ(tracks, 400);
}

TEST_F(MissileState, ValuesThatWouldOverflowWhatIsDerivedAreLeftUnread) {
    // Each bad line follows a good one of its key: the good values stay, and the saved block holds only
    // numbers.
    Create("O", PadLines(0, "STATEFLAGS 8\nPOS0 0.5 0.25 6371000\nPOS0 1e308 0.25 6371000\n"
                            "POS0 0.5 -1e300 6371000\nPOS0 0.5 0.25 1e308\nTRACK 0 0.5 0.25 0 1\n"
                            "TRACK 1 1e308 0.25 10 1\nTRACK 1 0.5 -1e307 10 1\nTRACK 1 0.5 0.25 -1e300 1\n"));
    const Teski* m = Missile("O");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->launchLongitude, 0.5);
    EXPECT_EQ(m->launchLatitude, 0.25);
    EXPECT_EQ(m->launchRadius, 6371000.0);
    EXPECT_EQ(m->trackCount, 1);
    const std::string saved = world->saveText();
    EXPECT_EQ(saved.find("inf"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("nan"), std::string::npos) << saved;
}

TEST_F(MissileState, DefaultTargetNameIsCutToItsField) {
    const std::string longName(80, 'N');
    Create(longName, PadLines(0, ""));
    EXPECT_EQ(std::strlen(Missile(longName)->targetName), 51u);
    EXPECT_EQ(std::string(Missile(longName)->targetName), std::string(51, 'N'));
    Create("K", PadLines(0, "TARGET Given\n"));
    EXPECT_STREQ(Missile("K")->targetName, "Given");
}

// The target's name is the rest of its line: names of several words arrive whole (and are saved
// whole), blanks around the name are not part of it, and a one-word line reads as it always did.
TEST_F(MissileState, TargetNameTakesTheRestOfItsLine) {
    const struct {
        std::string line;
        std::string expected;
    } cases[] = {
        {"TARGET Salt Flat\n", "Salt Flat"},
        {"TARGET Basin & Ridge\n", "Basin & Ridge"},
        {"TARGET   Lake  \n", "Lake"},
        {"TARGET Lake\r\n", "Lake"},
        {"target North  Mesa\n", "North  Mesa"},
        {"TARGET " + std::string(40, 'W') + " " + std::string(40, 'X') + "\n",
         std::string(40, 'W') + " " + std::string(10, 'X')},
        // cut inside a run of blanks: saved and read back, the name must stay the same
        {"TARGET Ma" + std::string(60, '\t') + "Lake\n", "Ma"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "T" + std::to_string(++n);
        Create(name, PadLines(0, c.line));
        EXPECT_EQ(std::string(Missile(name)->targetName), c.expected) << c.line;
    }
    EXPECT_EQ(SavedValue(SavedBlock(world->saveText(), "T1"), "TARGET"), "Salt Flat");
}

TEST_F(MissileState, SetUpFollowsTheModelAndNeedsABlock) {
    Create("S", PadLines(0, "REALISTIC 0\n"));
    Create("R", PadLines(0, "REALISTIC 1\n"));
    VESSELSTATUS vs{};
    world->vessel("S")->GetStatus(vs);
    const OBJHANDLE bare = world->createVessel("N", "Teski", vs); // no scenario block

    EXPECT_EQ(world->thrusterLevels(world->findVessel("S")).size(), 13u); // main + 6 pairs
    EXPECT_EQ(world->thrusterLevels(world->findVessel("R")).size(), 17u); // main + 4 + 8 + 4
    EXPECT_EQ(world->thrusterLevels(bare).size(), 1u);

    const Teski* s = Missile("S");
    EXPECT_TRUE(s->thgYawLeft && s->thgYawRight && s->thgBankLeft && s->thgPitchDown);
    EXPECT_FALSE(s->thgUpperVaneYawLeft || s->thgLowerRudderYawRight);
    const Teski* r = Missile("R");
    EXPECT_FALSE(r->thgYawLeft || r->thgYawRight);
    EXPECT_TRUE(r->thgUpperVaneYawLeft && r->thgLowerRudderYawRight && r->thgBankRight && r->thgPitchUp);

    for (const char* name : {"S", "R"}) {
        const auto& meshes = world->meshes(world->findVessel(name));
        ASSERT_EQ(meshes.size(), 1u) << name;
        EXPECT_EQ(meshes[0].visibility, MESHVIS_ALWAYS);
        EXPECT_NE(meshes[0].handle, nullptr);
    }
    EXPECT_TRUE(world->meshes(bare).empty());

    VECTOR3 pmi, cs;
    world->vessel("R")->GetPMI(pmi);
    world->vessel("R")->GetCrossSections(cs);
    EXPECT_NEAR(pmi.x, 1.41, 1e-12);
    EXPECT_NEAR(cs.x, 12, 1e-12);
    world->vessel("S")->GetPMI(pmi);
    EXPECT_NEAR(pmi.x, 0.35, 1e-12);
}

TEST_F(MissileState, BadInputLoadsAndKeepsWhatCouldNotBeRead) {
    const std::string overlong(3000, 'W');
    const std::string lines = "RANGE abc\nLAUNCHDELAY 1e999\nREALISTIC x\nAUTOPILOT\nTARGET " + overlong +
                              "\nLATITUDE_TARGET --5\nLONGITUDE_TARGET nan\nPOS0 1 2\nSTATEFLAGS junk\n"
                              "RELIABILITY inf\nMET_GPS\nCOSS 1 2 x\nMET_MECO ,5\nFAILIDX1 9999999999999\n"
                              "TRACK 400 0.1 0.2 3 1\nTRACK -7 0.1 0.2 3 1\nTRACK 5 0.1\n"
                              "FAILSTRING " +
                              overlong + "\n\x01\x7f\xff garbage\n" + overlong + "\n";
    ASSERT_NO_THROW(Create("G", PadLines(10, lines)));
    const Teski* m = Missile("G");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->range, 500000.0);
    EXPECT_EQ(m->launchDelay, 0.0);
    EXPECT_TRUE(m->realistic);
    EXPECT_TRUE(m->autopilot);
    EXPECT_EQ(std::strlen(m->targetName), 51u);
    EXPECT_EQ(m->targetLatitude, 0.0);
    EXPECT_EQ(m->targetLongitude, 0.0);
    EXPECT_EQ(m->launchRadius, 0.0);
    EXPECT_FALSE(m->launched);
    EXPECT_EQ(m->reliability, 75.0);
    EXPECT_EQ(m->launchAttitudeCos.x, 0.0);
    EXPECT_EQ(m->failIdx1, 0);
    EXPECT_EQ(m->trackCount, 0);
    EXPECT_EQ(std::strlen(m->failString), 255u);
    // It still flies: the saved block is whole.
    EXPECT_EQ(SavedValue(SavedBlock(world->saveText(), "G"), "STATEFLAGS"), "528");
}

TEST_F(MissileState, ReliabilityIsLimitedToPercent) {
    Create("L", PadLines(0, "RELIABILITY -5\n"));
    Create("H", PadLines(0, "RELIABILITY 150\n"));
    EXPECT_EQ(Missile("L")->reliability, 0.0);
    EXPECT_EQ(Missile("H")->reliability, 100.0);
}

TEST_F(MissileState, PreciseKeyIsSavedOnlyWhenOnAndReadsBack) {
    struct Case {
        const char* keys;
        bool precise;
    };
    const Case cases[] = {{"PRECISE 1\n", true}, {"PRECISE 0\n", false}, {"precise 7\n", true}, {"", false}};
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "P" + std::to_string(++n);
        Create(name, PadLines(45, c.keys));
        EXPECT_EQ(Missile(name)->precise, c.precise) << c.keys;
        const auto keys = SavedKeys(SavedBlock(world->saveText(), name));
        // On, it follows RELIABILITY; off, the block ends with RELIABILITY as it always did.
        EXPECT_EQ(keys.back(), c.precise ? "PRECISE" : "RELIABILITY") << c.keys;
        if (c.precise) {
            EXPECT_EQ(SavedValue(SavedBlock(world->saveText(), name), "PRECISE"), "1");
        }
    }
}
