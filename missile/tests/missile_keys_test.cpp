// The missile's keys: O for every countdown, A for the autopilot, D for the dynamic pressure, and no
// action while Shift or Ctrl is held or on a key release.
#include "MissileWorld.h"

#include <cstring>

using namespace missiletest;

class MissileKeys : public MissileTest {
protected:
    int Press(const std::string& name, DWORD key, std::initializer_list<int> held = {}, bool down = true) {
        char kstate[256] = {};
        for (int k : held)
            kstate[k] = static_cast<char>(0x80);
        return static_cast<VESSEL2*>(world->vessel(name))->clbkConsumeBufferedKey(key, down, kstate);
    }
};

TEST_F(MissileKeys, OStartsTheCountdownOfEveryMissileNotYetLaunched) {
    Create("A", PadLines(0, "LAUNCHDELAY 5\n"));
    Create("B", PadLines(0, "LAUNCHDELAY 9\n", 136.6));
    Create("C", PadLines(0, "STATEFLAGS 8\nMET 1\n", 136.7)); // already launched
    EXPECT_EQ(Press("B", OAPI_KEY_O), 1);
    EXPECT_TRUE(Missile("A")->countdownRunning);
    EXPECT_TRUE(Missile("B")->countdownRunning);
    EXPECT_FALSE(Missile("C")->countdownRunning);
}

TEST_F(MissileKeys, ModifiersAndReleasesDoNothing) {
    Create("M", PadLines(0, "LAUNCHDELAY 5\n"));
    oapiDebugString()[0] = '\0';
    struct Case {
        DWORD key;
        std::initializer_list<int> held;
        bool down;
    };
    const Case cases[] = {
        {OAPI_KEY_O, {OAPI_KEY_LSHIFT}, true},
        {OAPI_KEY_O, {OAPI_KEY_RSHIFT}, true},
        {OAPI_KEY_A, {OAPI_KEY_LCONTROL}, true},
        {OAPI_KEY_D, {OAPI_KEY_RCONTROL}, true},
        {OAPI_KEY_O, {}, false},
        {OAPI_KEY_A, {}, false},
        {OAPI_KEY_Q, {}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Press("M", c.key, c.held, c.down), 0) << c.key;
    EXPECT_FALSE(Missile("M")->countdownRunning);
    EXPECT_TRUE(Missile("M")->autopilot);
    EXPECT_EQ(world->debugString(), "");
    // Alt is no modifier for the missile.
    EXPECT_EQ(Press("M", OAPI_KEY_O, {OAPI_KEY_LALT}), 1);
    // Through the host as well: Shift+O reaches the missile and is left to the host.
    world->sendKey(OAPI_KEY_A, orb::ModShift);
    world->runSteps(2);
    EXPECT_TRUE(Missile("M")->autopilot);
}

TEST_F(MissileKeys, ASwitchesTheAutopilotAndZeroesTheGroupsOfItsModel) {
    for (const char* keys : {"REALISTIC 0\n", "REALISTIC 1\n"}) {
        SCOPED_TRACE(keys);
        world.reset();
        world = std::make_unique<orb::World>(OrbRoot());
        Create("M", PadLines(0, keys));
        Teski* m = Missile("M");
        VESSEL* v = world->vessel("M");
        const THGROUP_HANDLE all[] = {m->thgBankLeft, m->thgBankRight,        m->thgYawLeft,
                                      m->thgYawRight, m->thgLowerVaneYawLeft, m->thgUpperRudderYawRight,
                                      m->thgPitchUp,  m->thgPitchDown};
        for (THGROUP_HANDLE g : all)
            if (g) v->SetThrusterGroupLevel(g, 1);
        v->SetThrusterLevel(m->thMain, 0.05); // below the ignition level
        EXPECT_EQ(Press("M", OAPI_KEY_A), 1);
        EXPECT_FALSE(m->autopilot);
        for (THGROUP_HANDLE g : all)
            EXPECT_EQ(Level("M", g), 0.0);
        EXPECT_EQ(v->GetThrusterLevel(m->thMain), 0.05);

        for (THGROUP_HANDLE g : all)
            if (g) v->SetThrusterGroupLevel(g, 1);
        EXPECT_EQ(Press("M", OAPI_KEY_A), 1); // switching on touches nothing
        EXPECT_TRUE(m->autopilot);
        for (THGROUP_HANDLE g : all)
            EXPECT_EQ(Level("M", g), g ? 1.0 : 0.0);
    }
}

TEST_F(MissileKeys, DShowsTheDynamicPressureAndIsLeftToTheHost) {
    Create("M", PadLines(0, ""));
    EXPECT_EQ(Press("M", OAPI_KEY_D), 0);
    EXPECT_EQ(world->debugString(), "Dtn: 0.000000");
}

TEST_F(MissileKeys, AMissileWithoutAttitudeGroupsTakesTheKeysSafely) {
    // Created by the host without a scenario block: no attitude groups exist to be zeroed or steered.
    Create("P", PadLines(0, ""));
    VESSELSTATUS vs{};
    world->vessel("P")->GetStatus(vs);
    world->createVessel("N", "Teski", vs);
    EXPECT_EQ(Press("N", OAPI_KEY_A), 1);
    EXPECT_EQ(Press("N", OAPI_KEY_A), 1);
    world->vessel("N")->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    world->runFor(6); // lit by the throttle, flown by the autopilot past 4 s
    EXPECT_TRUE(Missile("N")->launched);
    EXPECT_GT(Missile("N")->met, 4.0);
}
