// The wreck in the host: its effect stages, its fall phase and landing, and its block in saved scenarios.
#include "TeskiWreck.h"
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr double Deg = 3.14159265358979 / 180;

// The four callbacks are reached through the host's base class, as the host reaches them.
VESSEL2* Callbacks(TeskiWreck* w) {
    return w;
}

// A wreck as the missile creates it: from a state record, not from scenario lines, so it shows the flash.
OBJHANDLE CreateFromStatus(orb::World& world, const char* name, bool landed) {
    const OBJHANDLE pad =
        world.createVessel("Pad", "TeskiWreck", "STATUS Landed Earth\nPOS 10 50\nHEADING 30\nLANDED 1\n");
    VESSELSTATUS vs;
    world.vessel(pad)->GetStatus(vs);
    if (landed) {
        vs.status = 1;
        vs.vdata[0] = _V(10.01 * Deg, 50.01 * Deg, 0);
    }
    return world.createVessel(name, "TeskiWreck", vs);
}

struct StreamKinds {
    int flash = 0, smoke = 0;
};

StreamKinds Streams(const orb::World& world, OBJHANDLE h) {
    StreamKinds k;
    for (const auto& s : world.streams(h)) {
        if (!s.hasSpec) continue;
        if (s.spec.srcrate == 0.5 && s.spec.growthrate == 400 && s.spec.ltype == PARTICLESTREAMSPEC::EMISSIVE)
            ++k.flash;
        if (s.spec.srcrate == 10 && s.spec.growthrate == 20 &&
            s.spec.levelmap == PARTICLESTREAMSPEC::LVL_PSQRT && s.spec.amin == 1.22 && s.spec.amax == 1.25)
            ++k.smoke;
    }
    return k;
}

TEST(WreckEffects, NewWreckFlashesForASecondThenSmokes) {
    orb::World world(Root());
    world.setStepLength(0.1);
    const OBJHANDLE h = CreateFromStatus(world, "M1-Wreck", true);
    auto* w = world.moduleAs<TeskiWreck>("M1-Wreck");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->EffectStage, 0);

    world.step();
    EXPECT_EQ(w->EffectStage, 1);
    const double flashEnd = w->FlashEndTime;
    EXPECT_EQ(Streams(world, h).flash, 1);
    EXPECT_EQ(world.vessel(h)->GetThrusterLevel(w->flashThruster), 0.1);

    // The flash goes out in the first step whose time is past its end, the smoke comes one step later.
    while (world.simTime() <= flashEnd) {
        EXPECT_EQ(w->EffectStage, 1) << world.simTime();
        world.step();
    }
    EXPECT_EQ(w->EffectStage, 2);
    EXPECT_EQ(world.vessel(h)->GetThrusterLevel(w->flashThruster), 0.0);
    EXPECT_NEAR(world.simTime() - (flashEnd - 1), 1.1, 0.15);
    EXPECT_EQ(Streams(world, h).smoke, 0);
    world.step();
    EXPECT_EQ(w->EffectStage, 3);
    EXPECT_EQ(Streams(world, h).smoke, 1);
    EXPECT_EQ(world.vessel(h)->GetThrusterLevel(w->smokeThruster), 0.1);
    world.runSteps(20);
    const StreamKinds k = Streams(world, h);
    EXPECT_EQ(k.flash, 1);
    EXPECT_EQ(k.smoke, 1);
}

TEST(WreckEffects, LoadedWreckSmokesWithoutFlash) {
    orb::World world(Root());
    const OBJHANDLE h =
        world.createVessel("W", "TeskiWreck", "STATUS Landed Earth\nPOS 10 50\nHEADING 0\nLANDED 1\n");
    auto* w = world.moduleAs<TeskiWreck>("W");
    EXPECT_EQ(w->EffectStage, 2);
    world.step();
    EXPECT_EQ(w->EffectStage, 3);
    world.runSteps(100);
    EXPECT_EQ(Streams(world, h).flash, 0);
    EXPECT_EQ(Streams(world, h).smoke, 1);
}

// A wreck in the air, as a missile broken up in flight leaves it: the missile's free-flight state.
OBJHANDLE CreateInAir(orb::World& world, const char* name, double height) {
    const OBJHANDLE pad =
        world.createVessel("Pad", "TeskiWreck", "STATUS Landed Earth\nPOS 10 50\nHEADING 0\nLANDED 1\n");
    world.step();
    VESSELSTATUS vs;
    world.vessel(pad)->GetStatus(vs);
    const double len = std::sqrt(vs.rpos.x * vs.rpos.x + vs.rpos.y * vs.rpos.y + vs.rpos.z * vs.rpos.z);
    vs.rpos = vs.rpos * ((len + height) / len);
    vs.status = 0;
    return world.createVessel(name, "TeskiWreck", vs);
}

TEST(WreckFall, BrokenUpWreckFallsWithLargeCrossSectionsFor13Seconds) {
    orb::World world(Root());
    world.setStepLength(0.05);
    const OBJHANDLE h = CreateInAir(world, "A-Wreck", 30000);
    auto* w = world.moduleAs<TeskiWreck>("A-Wreck");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->FALLPHASE); // a wreck broken up in flight starts falling
    const double created = world.simTime();
    world.step();
    EXPECT_FALSE(w->SetupPending);
    EXPECT_EQ(w->FallStartTime, created);
    VECTOR3 cs;
    world.vessel(h)->GetCrossSections(cs);
    EXPECT_EQ(cs.x, 20);
    EXPECT_EQ(world.vessel(h)->GetEmptyMass(), 1000);

    // At exactly 13 s the wreck still falls; the first step after that flies on with small cross sections.
    Callbacks(w)->clbkPostStep(w->FallStartTime + 13, 0.05, world.mjd());
    EXPECT_TRUE(w->FALLPHASE);
    Callbacks(w)->clbkPostStep(w->FallStartTime + 13.001, 0.05, world.mjd());
    EXPECT_FALSE(w->FALLPHASE);
    world.vessel(h)->GetCrossSections(cs);
    EXPECT_EQ(cs.x, 2);
    EXPECT_EQ(w->FlightResult.LANDED, 0);
}

TEST(WreckFall, FallingWreckLandsWhereItComesToRest) {
    orb::World world(Root());
    world.setStepLength(0.05);
    const OBJHANDLE h = CreateInAir(world, "B-Wreck", 300);
    auto* w = world.moduleAs<TeskiWreck>("B-Wreck");
    w->FlightResult.LONGITUDE_LAST = 1.0; // where the missile broke up
    w->FlightResult.LATITUDE_LAST = 1.0;
    ASSERT_TRUE(world.runUntil([&] { return w->FlightResult.LANDED != 0; }, 120));
    EXPECT_TRUE(world.isLanded(h) || world.vessel(h)->GroundContact());
    double lon = 0, lat = 0, rad = 0;
    world.vessel(h)->GetEquPos(lon, lat, rad);
    EXPECT_NEAR(w->FlightResult.LONGITUDE_LAST, lon, 1e-6);
    EXPECT_NEAR(w->FlightResult.LATITUDE_LAST, lat, 1e-6);
    EXPECT_NEAR(lon, 10 * Deg, 0.001);
    EXPECT_EQ(world.vessel(h)->GetEmptyMass(), 100000);

    const std::string saved = world.saveText();
    const auto block = saved.find("B-Wreck:TeskiWreck");
    ASSERT_NE(block, std::string::npos);
    const std::string tail = saved.substr(block, saved.find("END\r\n", block) - block);
    EXPECT_NE(tail.find("  LANDED 1\r\n"), std::string::npos) << tail;
    EXPECT_EQ(tail.find("FALLPHASE"), std::string::npos) << tail;
}

TEST(WreckFall, GroundContactAsTheFallPhaseEndsFliesThenLandsInThatStep) {
    orb::World world(Root());
    const OBJHANDLE h = world.createVessel(
        "E-Wreck", "TeskiWreck", "STATUS Landed Earth\nPOS 10 50\nHEADING 0\nLANDED 0\nFALLPHASE 1\n");
    auto* w = world.moduleAs<TeskiWreck>("E-Wreck");
    Callbacks(w)->clbkPreStep(world.simTime(), 0.02, world.mjd());
    EXPECT_TRUE(w->FALLPHASE);
    ASSERT_TRUE(world.vessel(h)->GroundContact());
    Callbacks(w)->clbkPostStep(w->FallStartTime + 13.5, 0.02, world.mjd());
    EXPECT_FALSE(w->FALLPHASE);
    EXPECT_EQ(w->FlightResult.LANDED, 1);
    VECTOR3 cs;
    world.vessel(h)->GetCrossSections(cs);
    EXPECT_EQ(cs.z, 2); // FlightSetup ran before the landing, which leaves the cross sections alone
    EXPECT_EQ(world.vessel(h)->GetEmptyMass(), 100000);
}

TEST(WreckLanded, LoadedLandedWreckIsPutDownAtItsPlaceWithHeadingZero) {
    orb::World world(Root());
    const OBJHANDLE h =
        world.createVessel("C-Wreck", "TeskiWreck",
                           "STATUS Landed Earth\nPOS 11.5 48.25\nHEADING 135\nLANDED 1\nLATITUDE_LAST 1\n");
    auto* w = world.moduleAs<TeskiWreck>("C-Wreck");
    EXPECT_TRUE(w->SetupPending); // reading LANDED leaves the set-up for the first step
    world.step();
    EXPECT_TRUE(world.isLanded(h));
    double heading = -1;
    oapiGetHeading(h, &heading);
    EXPECT_NEAR(heading, 0, 1e-9);
    EXPECT_NEAR(w->FlightResult.LONGITUDE_LAST, 11.5 * Deg, 1e-9);
    EXPECT_NEAR(w->FlightResult.LATITUDE_LAST, 48.25 * Deg, 1e-9);
}

TEST(WreckScenario, SavedWreckLoadsBackWithItsRecord) {
    std::string saved;
    {
        orb::World world(Root());
        world.createVessel("D-Wreck", "TeskiWreck", "STATUS Landed Earth\nPOS 10 50\nHEADING 0\n");
        auto* w = world.moduleAs<TeskiWreck>("D-Wreck");
        FlightResult& r = w->FlightResult;
        r.LANDED = 1;
        r.LATITUDE_TARGET = 50.1;
        r.LONGITUDE_TARGET = 10.2;
        r.RANGE_MISS = 1234.5;
        r.LATITUDE_LAUNCH = 0.9;
        r.trackCount = 2;
        r.trackLongitude[1] = 0.5;
        r.trackPhase[1] = 3;
        std::snprintf(r.TARGET, sizeof r.TARGET, "Ziel");
        std::snprintf(r.FAILURE, sizeof r.FAILURE, "Control roll (-37) at 32 sec.");
        world.runSteps(3);
        saved = world.saveText();
    }
    EXPECT_NE(saved.find("  TRACK 1 0.5000000000000 0.0000000000000 0.0000000000000 3\r\n"),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.find("  FAILURE Control roll (-37) at 32 sec.\r\n"), std::string::npos);

    orb::World again(Root());
    again.loadScenarioText(saved, "saved wreck");
    auto* w = again.moduleAs<TeskiWreck>("D-Wreck");
    ASSERT_NE(w, nullptr);
    const FlightResult& r = w->FlightResult;
    EXPECT_EQ(r.LANDED, 1);
    EXPECT_EQ(r.LATITUDE_TARGET, 50.1);
    EXPECT_EQ(r.RANGE_MISS, 1234.5);
    EXPECT_NEAR(r.LATITUDE_LAUNCH, 0.9, 1e-14);
    EXPECT_EQ(r.trackCount, 2);
    EXPECT_EQ(r.trackLongitude[1], 0.5);
    EXPECT_STREQ(r.TARGET, "Ziel");
    EXPECT_STREQ(r.FAILURE, "Control roll (-37) at 32 sec.");
    EXPECT_EQ(w->EffectStage, 2);
}

TEST(WreckModule, EntryPointsAsTheHostUsesThem) {
    orb::World world(Root()); // loads nothing yet; the module is opened here the way the host opens it
    void* lib = dlopen((Root() + "/Modules/TeskiWreck.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto* version = reinterpret_cast<int (*)()>(dlsym(lib, "GetModuleVersion"));
    auto* exit = reinterpret_cast<void (*)(VESSEL*)>(dlsym(lib, "ovcExit"));
    ASSERT_NE(version, nullptr);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(version(), 60425); // "Apr 25 2006", the module library's date
    EXPECT_GT(version(), 0);
    exit(nullptr); // ignored
    dlclose(lib);
}

} // namespace
