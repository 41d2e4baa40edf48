// Flight through a module: the attitude groups a module defines turn the vessel the right way, and the main
// engine's thrust and propellant use follow the vessel's configuration.
#include "HostTestVessel.h"
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// Level flight 300 km above the north pole of the ecliptic frame: vessel +y up, +z horizontal.
std::string levelOrbit(int groupType) {
    return "STATUS Orbiting Earth\nRPOS 0 6671010 0\nRVEL 0 0 7729.9\nAROT 0 0 0\nPRPLEVEL 0:1\nGROUP " +
           std::to_string(groupType) + " 1\n";
}

TEST(Flight, PitchUpGroupRaisesThePitch) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", levelOrbit(THGROUP_ATT_PITCHUP));
    VESSEL* a = world.vessel("A");
    EXPECT_NEAR(a->GetPitch(), 0.0, 1e-6);
    EXPECT_NEAR(a->GetBank(), 0.0, 1e-6);
    world.runFor(2.0);
    EXPECT_EQ(a->GetThrusterGroupLevel(THGROUP_ATT_PITCHUP), 1.0);
    VECTOR3 w;
    a->GetAngularVel(w);
    EXPECT_GT(w.x, 0.1) << "positive rotation about +x";
    EXPECT_GT(a->GetPitch(), 0.1);
    EXPECT_NEAR(a->GetBank(), 0.0, 0.01);
}

TEST(Flight, BankRightGroupLowersTheRightWing) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", levelOrbit(THGROUP_ATT_BANKRIGHT));
    VESSEL* a = world.vessel("A");
    world.runFor(2.0);
    VECTOR3 w, right;
    a->GetAngularVel(w);
    EXPECT_GT(w.z, 0.1) << "positive rotation about +z";
    a->HorizonRot(_V(1, 0, 0), right); // the right wing in (east, up, north)
    EXPECT_LT(right.y, -0.1) << "the right wing goes down";
    // The simulator's bank is positive with the left wing down, so banking right makes it negative.
    EXPECT_LT(a->GetBank(), -0.1);
    EXPECT_NEAR(a->GetPitch(), 0.0, 0.01);
}

TEST(Flight, MainEngineBurnsPropellantAtVacuumIsp) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", levelOrbit(THGROUP_MAIN));
    VESSEL* a = world.vessel("A");
    world.runFor(10.0);
    // 10 kN at 3000 m/s vacuum Isp for 10 s (the level is set in the first pre-step)
    EXPECT_NEAR(1000.0 - a->GetPropellantMass(a->GetPropellantHandleByIndex(0)), 10000.0 / 3000.0 * 10.0,
                0.05);
    EXPECT_NEAR(a->GetMass(), 500.0 + a->GetPropellantMass(a->GetPropellantHandleByIndex(0)), 1e-6);
    EXPECT_NEAR(a->GetThrusterIsp(a->GetThrusterHandleByIndex(0)), 3000.0, 1e-6) << "no pressure up here";
}

TEST(Flight, LandedVesselStaysPutAndLiftsOffUnderThrust) {
    TestRoot root;
    orb::World world(root.path());
    OBJHANDLE h = world.createVessel("A", "HostTestVessel",
                                     "STATUS Landed Earth\nPOS 30 40\nHEADING 45\nPRPLEVEL 0:1\n");
    VESSEL* a = world.vessel("A");
    world.runFor(60.0);
    EXPECT_TRUE(world.isLanded(h));
    double lng, lat, rad;
    a->GetEquPos(lng, lat, rad);
    EXPECT_NEAR(lng * DEG, 30.0, 1e-9);
    EXPECT_NEAR(lat * DEG, 40.0, 1e-9);
    double hdg = 0;
    oapiGetHeading(h, &hdg);
    EXPECT_NEAR(hdg * DEG, 45.0, 1e-6);
    // The main engine points along +z, which lies level here; any thrust releases the vessel.
    a->SetThrusterGroupLevel(THGROUP_MAIN, 1.0);
    world.runFor(1.0);
    EXPECT_FALSE(world.isLanded(h));
}

// The world steps its vessels one after the other and shares what is the same for all of them; none of that
// may let one vessel's flight depend on the others'. Landed, on the pad under thrust and in flight with
// attitude groups: each ends bit for bit where it ends when flown alone.
TEST(Flight, VesselsFlownTogetherFlyAsEachFlownAlone) {
    const std::pair<const char*, std::string> ships[] = {
        {"Pad", "STATUS Landed Earth\nPOS 136.5 -31.1\nHEADING 20\nPRPLEVEL 0:1\nGROUP 0 1\n"},
        {"Rest", "STATUS Landed Earth\nPOS -70.2 12.5\nHEADING 300\nPRPLEVEL 0:1\n"},
        {"Climb",
         "STATUS Orbiting Earth\nRPOS 0 6381010 0\nRVEL 0 0 250\nAROT 0 0 0\nPRPLEVEL 0:1\nGROUP 0 1\n"},
        {"Turn",
         "STATUS Orbiting Earth\nRPOS 4000 6381010 -9000\nRVEL 0 0 -250\nAROT 10 0 5\nPRPLEVEL 0:1\nGROUP " +
             std::to_string(THGROUP_ATT_YAWLEFT) + " 1\n"},
        {"Orbit", levelOrbit(THGROUP_ATT_BANKRIGHT)},
    };
    auto fly = [](orb::World& world) { world.runFor(12.0); };
    auto status = [](orb::World& world, const char* name) {
        VESSELSTATUS2 vs{};
        vs.version = 2;
        world.vessel(name)->GetStatusEx(&vs);
        return std::vector<double>{vs.rpos.x, vs.rpos.y, vs.rpos.z, vs.rvel.x, vs.rvel.y, vs.rvel.z,
                                   vs.vrot.x, vs.vrot.y, vs.vrot.z, vs.arot.x, vs.arot.y, vs.arot.z};
    };
    TestRoot root;
    std::vector<std::vector<double>> alone; // one world at a time
    for (const auto& [name, lines] : ships) {
        orb::World world(root.path());
        world.createVessel(name, "HostTestVessel", lines);
        fly(world);
        alone.push_back(status(world, name));
    }
    orb::World together(root.path());
    for (const auto& [name, lines] : ships)
        together.createVessel(name, "HostTestVessel", lines);
    fly(together);
    for (size_t i = 0; i < std::size(ships); ++i) {
        const auto t = status(together, ships[i].first);
        ASSERT_EQ(alone[i].size(), t.size());
        EXPECT_EQ(std::memcmp(alone[i].data(), t.data(), t.size() * sizeof(double)), 0) << ships[i].first;
    }
}

// What a flight leaves behind must load again. A slender vessel spinning fast about its long axis is held at
// the simulator's limit of 100 pi rad/s, keeps its wobble small and saves a state that loads; a vessel driven
// beyond the speed a scenario holds stops the run, naming itself and the speed, rather than saving a state
// that would not load.
TEST(Flight, WhatAFlightSavesLoadsAgainOrTheRunStops) {
    TestRoot root;
    root.write("Config/Vessels/Slender.cfg", "Size = 5\nMass = 1000\nInertia = 40 40 0.5\n");
    std::string saved;
    {
        orb::World world(root.path());
        world.createVessel(
            "Spin", "Slender",
            "STATUS Orbiting Earth\nRPOS 0 8000000 0\nRVEL 0 0 7000\nVROT -1.0647 0.4369 -31165\n");
        world.runFor(3.0);
        VECTOR3 w;
        world.vessel("Spin")->GetAngularVel(w);
        EXPECT_LT(std::hypot(w.x, w.y), 0.1) << "the wobble stays small";
        EXPECT_NEAR(w.z, -100 * PI, 1e-6);
        saved = world.saveText();
    }
    {
        orb::World again(root.path());
        EXPECT_EQ(errorOf([&] { again.loadScenarioText(saved, "saved.scn"); }), "");
    }
    orb::World world(root.path());
    world.createVessel("Fast", "HostTestVessel",
                       "STATUS Orbiting Earth\nRPOS 0 1e11 0\nRVEL 0 0 299999990\nPRPLEVEL 0:1\nGROUP 0 1\n");
    std::string error;
    for (int i = 0; i < 500 && error.empty(); ++i)
        error = errorOf([&] { world.step(); });
    EXPECT_EQ(error.rfind("Fast: at t = ", 0), 0u) << error;
    EXPECT_NE(error.find(" s its velocity of 3000000"), std::string::npos) << error;
    EXPECT_NE(error.find(" m/s is more than the 3e+08 m/s a scenario can hold"), std::string::npos) << error;
    EXPECT_EQ(errorOf([&] { world.step(); }), error) << "the run stays stopped";
}

} // namespace
