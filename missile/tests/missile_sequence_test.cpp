// The sequencer in orbhost: countdown, ignition by key and by throttle, cut-off and re-ignition, the
// track, the target made at ignition, the contrail band and when the autopilots start.
#include "Angles.h"
#include "GreatCircle.h"
#include "MissileWorld.h"

#include <cmath>

using namespace missiletest;

class MissileSequence : public MissileTest {
protected:
    // Every attitude group of the missile at level 0?
    bool AttitudeGroupsIdle(const std::string& name) const {
        const Teski* m = Missile(name);
        for (THGROUP_HANDLE g :
             {m->thgBankLeft, m->thgBankRight, m->thgYawLeft, m->thgYawRight, m->thgLowerVaneYawLeft,
              m->thgLowerVaneYawRight, m->thgUpperVaneYawLeft, m->thgUpperVaneYawRight,
              m->thgLowerRudderYawLeft, m->thgLowerRudderYawRight, m->thgUpperRudderYawLeft,
              m->thgUpperRudderYawRight, m->thgPitchUp, m->thgPitchDown})
            if (Level(name, g) != 0.0) return false;
        return true;
    }
    // Active particle streams placed where the contrail goes.
    int ContrailStreams(const std::string& name) const {
        int n = 0;
        for (const orb::StreamRecord& s : world->streams(world->findVessel(name)))
            n += s.active && s.ownPos && s.pos.z == -25.0;
        return n;
    }
};

TEST_F(MissileSequence, ZeroDelayIgnitesAtTheSecondStepAfterTheKey) {
    Create("M", PadLines(90, "LAUNCHDELAY 0\nREALISTIC 0\n"));
    world->sendKey(OAPI_KEY_O);
    world->step(); // the key arrives; the countdown runs below zero
    EXPECT_TRUE(Missile("M")->ignitionCommanded);
    EXPECT_FALSE(Missile("M")->launched);
    const double mjdBefore = world->mjd();
    world->step();
    const Teski* m = Missile("M");
    EXPECT_TRUE(m->launched && m->engineBurning);
    // The date of the ignition: the host's date in the step that ignites (the step's start).
    EXPECT_NEAR(m->launchMJD, mjdBefore, 1e-9);
    EXPECT_GT(m->launchMJD, 40000.0);
    EXPECT_FALSE(m->ignitionCommanded || m->countdownRunning);
    EXPECT_EQ(world->vessel("M")->GetThrusterLevel(m->thMain), 1.0);
    EXPECT_EQ(m->met, 0.0); // mission time starts with the step after ignition
    EXPECT_EQ(m->trackCount, 0);
    world->step();
    EXPECT_EQ(m->trackCount, 1); // the first point comes in the first step after ignition
    EXPECT_EQ(m->trackPhase[0], TrackPhaseBurning);
    EXPECT_NEAR(m->nextTrackTime, m->met + 1, 1e-12);
}

TEST_F(MissileSequence, OneKeyStartsEveryCountdownAndASecondChangesNothing) {
    const double delays[] = {0, 10, 20};
    const char* names[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i)
        Create(names[i], PadLines(90 * i, "LAUNCHDELAY " + std::to_string(delays[i]) + "\nREALISTIC 0\n",
                                  136.52 + 0.01 * i));
    const double t0 = world->simTime();
    const double dt = world->stepLength();
    world->sendKey(OAPI_KEY_O);
    double ignition[3] = {-1, -1, -1};
    bool secondKeySent = false;
    world->runUntil(
        [&] {
            for (int i = 0; i < 3; ++i) {
                const Teski* m = Missile(names[i]);
                if (ignition[i] < 0 && m->launched) ignition[i] = world->simTime();
                if (!m->launched) { // before launch nothing but the countdown runs
                    EXPECT_EQ(m->met, 0.0);
                    EXPECT_EQ(m->trackCount, 0);
                }
            }
            if (!secondKeySent && world->simTime() - t0 > 5) {
                world->sendKey(OAPI_KEY_O);
                secondKeySent = true;
            }
            return ignition[2] >= 0;
        },
        25);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(ignition[i] - t0, delays[i] + dt * 0.5) << names[i];
        EXPECT_LE(ignition[i] - t0, delays[i] + dt * 3.5) << names[i];
    }
}

TEST_F(MissileSequence, ThrottleIgnitesAndTheTargetIsMadeFromRangeAndHeading) {
    Create("M", PadLines(123.25, "RANGE 200000\nLATITUDE_TARGET 0\nLONGITUDE_TARGET 140\n"));
    world->step();
    EXPECT_FALSE(Missile("M")->launched);
    VECTOR3 global;
    world->vessel("M")->GetGlobalOrientation(global);
    VESSELSTATUS2 landed{};
    landed.version = 2;
    world->vessel("M")->GetStatusEx(&landed);
    world->vessel("M")->SetThrusterGroupLevel(THGROUP_MAIN, 0.5);
    world->step();
    const Teski* m = Missile("M");
    ASSERT_TRUE(m->launched);
    // The launch attitude is the vessel's global one, which the cut-off test needs for the host's global
    // velocities; the landed state record would give angles against the rotating planet frame instead.
    // (The planet turns a little during the step.)
    EXPECT_NEAR(m->launchAttitudeCos.x, std::cos(global.z), 1e-3);
    EXPECT_NEAR(m->launchAttitudeCos.y, std::cos(global.y), 1e-3);
    EXPECT_NEAR(m->launchAttitudeSin.z, std::sin(global.x), 1e-3);
    EXPECT_GT(std::fabs(m->launchAttitudeCos.x - std::cos(landed.arot.z)) +
                  std::fabs(m->launchAttitudeSin.z - std::sin(landed.arot.x)),
              0.1);
    EXPECT_EQ(world->vessel("M")->GetThrusterLevel(m->thMain), 1.0); // the autopilot opens the throttle
    EXPECT_NEAR(m->headingIdeal, 123.25, 0.1); // the standing missile leans a little on its legs
    EXPECT_LE(std::fabs(m->headingRealistic - m->headingIdeal), 0.25);
    EXPECT_NEAR(DegFromRad(m->launchLatitude), -30.95, 1e-6);
    EXPECT_NEAR(m->launchRadius, 6371010.0 + 7, 2);

    double lat, lon;
    PointAtRange(m->launchLatitude, m->launchLongitude, 200000, m->headingIdeal, m->launchRadius, lat, lon);
    EXPECT_NEAR(m->targetLatitude, DegFromRad(lat), 1e-9);
    EXPECT_NEAR(m->targetLongitude, DegFromRad(lon), 1e-9);
    double d, az;
    RangeAndAzimuth(m->launchLatitude, m->launchLongitude, RadFromDeg(m->targetLatitude),
                    RadFromDeg(m->targetLongitude), m->launchRadius, d, az);
    EXPECT_NEAR(d, 200000, 1);
    EXPECT_NEAR(az, m->headingIdeal, 1e-6);
}

TEST_F(MissileSequence, GivenTargetIsKept) {
    Create("M", PadLines(10, "LATITUDE_TARGET -29.5\nLONGITUDE_TARGET 137.1\n"));
    world->vessel("M")->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    world->step();
    ASSERT_TRUE(Missile("M")->launched);
    EXPECT_EQ(Missile("M")->targetLatitude, -29.5);
    EXPECT_EQ(Missile("M")->targetLongitude, 137.1);
}

TEST_F(MissileSequence, UserCutOffAndReIgnition) {
    Create("M", PadLines(45, "REALISTIC 0\nRANGE 900000\n"));
    world->vessel("M")->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    ASSERT_TRUE(world->runUntil([&] { return Missile("M")->met > 10; }, 20));
    Teski* m = Missile("M");
    const double lat0 = m->launchLatitude, hdg0 = m->headingIdeal, tlat = m->targetLatitude;
    const double mjd0 = m->launchMJD;
    EXPECT_FALSE(AttitudeGroupsIdle("M")); // the simple autopilot fires its groups

    world->vessel("M")->SetThrusterLevel(m->thMain, 0);
    world->step();
    EXPECT_FALSE(m->engineBurning);
    EXPECT_TRUE(AttitudeGroupsIdle("M"));
    world->runSteps(10);
    EXPECT_FALSE(m->engineBurning);

    world->vessel("M")->SetThrusterLevel(m->thMain, 0.5);
    world->step();
    EXPECT_TRUE(m->engineBurning);
    EXPECT_EQ(world->vessel("M")->GetThrusterLevel(m->thMain), 1.0);
    EXPECT_EQ(m->launchLatitude, lat0);
    EXPECT_EQ(m->headingIdeal, hdg0);
    EXPECT_EQ(m->targetLatitude, tlat);
    EXPECT_EQ(m->launchMJD, mjd0); // the first ignition's date stays
}

TEST_F(MissileSequence, CountdownEndingWithTheAutopilotOffCutsOffAndEndsAtThePad) {
    Create("M", PadLines(0, "LAUNCHDELAY 0\nREALISTIC 0\n"));
    world->sendKey(OAPI_KEY_A);
    world->step();
    EXPECT_FALSE(Missile("M")->autopilot);
    world->sendKey(OAPI_KEY_O);
    world->runSteps(2);
    ASSERT_TRUE(Missile("M")->launched);
    EXPECT_TRUE(Missile("M")->engineBurning); // lit, but the throttle stays closed ...
    world->step();
    EXPECT_FALSE(Missile("M")->engineBurning); // ... so the engine is cut off at the next step
    // On the pad, ground contact after 3 s of mission time ends the flight.
    ASSERT_TRUE(world->runUntil([&] { return world->findVessel("M") == nullptr; }, 5));
    const TeskiWreck* w = Wreck("M");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->FlightResult.LANDED, 1);
    EXPECT_LT(w->FlightResult.RANGE_ACTUAL, 20.0);
    EXPECT_GT(w->FlightResult.FLIGHT_TIME, 3.0);
    EXPECT_LT(w->FlightResult.FLIGHT_TIME, 3.1);
}

TEST_F(MissileSequence, TrackStopsAtFourHundredPoints) {
    std::string lines = "STATEFLAGS 8\nMET 0\nMET_GPS 0\nPOS0 2.38 -0.54 6371017\n";
    for (int i = 0; i < 399; ++i)
        lines += "TRACK " + std::to_string(i) + " 2.38 -0.54 0 1\n";
    Create("M", PadLines(0, lines));
    world->step();
    const Teski* m = Missile("M");
    ASSERT_EQ(m->trackCount, 400);
    EXPECT_EQ(m->trackPhase[399], TrackPhaseEngineOff);
    const double next = m->nextTrackTime;
    world->runFor(2);
    EXPECT_EQ(m->trackCount, 400);
    EXPECT_EQ(m->nextTrackTime, next);
}

TEST_F(MissileSequence, AutopilotsStartAtFourSecondsAndOnlyWhenOn) {
    // Full reliability: the realistic model's default draws a failure from the clock-seeded generator.
    for (const char* keys : {"REALISTIC 0\n", "REALISTIC 1\nRELIABILITY 100\n"}) {
        SCOPED_TRACE(keys);
        world.reset();
        world = std::make_unique<orb::World>(OrbRoot());
        Create("M", PadLines(0, keys));
        world->vessel("M")->SetThrusterGroupLevel(THGROUP_MAIN, 1);
        world->runUntil([&] { return Missile("M")->met >= 4.0 - 1e-9 || !AttitudeGroupsIdle("M"); }, 10);
        EXPECT_GE(Missile("M")->met, 4.0 - 1e-9); // nothing moved before 4 s
        if (!AttitudeGroupsIdle("M")) continue;
        world->step();
        EXPECT_FALSE(AttitudeGroupsIdle("M")); // the laws act from 4 s on
    }
    // With the autopilot off no group is touched, in either model; the user flies the engine.
    for (const char* keys : {"REALISTIC 0\nAUTOPILOT 0\n", "REALISTIC 1\nRELIABILITY 100\nAUTOPILOT 0\n"}) {
        SCOPED_TRACE(keys);
        world.reset();
        world = std::make_unique<orb::World>(OrbRoot());
        Create("M", PadLines(0, keys));
        world->vessel("M")->SetThrusterGroupLevel(THGROUP_MAIN, 1);
        world->runFor(12);
        EXPECT_TRUE(Missile("M")->engineBurning);
        EXPECT_TRUE(AttitudeGroupsIdle("M"));
    }
}

TEST_F(MissileSequence, ContrailFollowsItsBandWhileTheEngineBurns) {
    Create("M", PadLines(0, "REALISTIC 1\nRANGE 320000\nRELIABILITY 100\n"));
    world->sendKey(OAPI_KEY_O);
    bool seen = false, gone = false, cutTested = false;
    world->runUntil(
        [&] {
            const Teski* m = Missile("M");
            if (!m) return true;
            const bool due = m->engineBurning && m->altitude > 4000 && m->altitude < 20000;
            EXPECT_EQ(m->contrailActive, due) << "altitude " << m->altitude << " met " << m->met;
            EXPECT_EQ(ContrailStreams("M"), m->contrailActive ? 1 : 0);
            seen = seen || m->contrailActive;
            gone = gone || (seen && m->engineBurning && m->altitude >= 20000);
            if (m->contrailActive && m->altitude > 15000 && !cutTested) {
                // A cut-off inside the band removes the contrail at once; a re-ignition brings it back.
                cutTested = true;
                Teski* mm = Missile("M");
                world->vessel("M")->SetThrusterLevel(mm->thMain, 0);
                world->step();
                EXPECT_FALSE(mm->contrailActive);
                EXPECT_EQ(ContrailStreams("M"), 0);
                world->vessel("M")->SetThrusterLevel(mm->thMain, 1);
                world->step(); // re-ignition
                world->step(); // the next powered step
                EXPECT_TRUE(mm->contrailActive);
                EXPECT_EQ(ContrailStreams("M"), 1);
            }
            return gone && !m->engineBurning;
        },
        120);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(cutTested);
    EXPECT_TRUE(gone);
}
