// Flight through a module: the attitude groups a module defines turn the vessel the right way, and the main
// engine's thrust and propellant use follow the vessel's configuration.
#include "HostTestVessel.h"
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <cmath>

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
    VESSEL *a = world.vessel("A");
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
    VESSEL *a = world.vessel("A");
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
    VESSEL *a = world.vessel("A");
    world.runFor(10.0);
    // 10 kN at 3000 m/s vacuum Isp for 10 s (the level is set in the first pre-step)
    EXPECT_NEAR(1000.0 - a->GetPropellantMass(a->GetPropellantHandleByIndex(0)), 10000.0 / 3000.0 * 10.0, 0.05);
    EXPECT_NEAR(a->GetMass(), 500.0 + a->GetPropellantMass(a->GetPropellantHandleByIndex(0)), 1e-6);
    EXPECT_NEAR(a->GetThrusterIsp(a->GetThrusterHandleByIndex(0)), 3000.0, 1e-6) << "no pressure up here";
}

TEST(Flight, LandedVesselStaysPutAndLiftsOffUnderThrust) {
    TestRoot root;
    orb::World world(root.path());
    OBJHANDLE h = world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 30 40\nHEADING 45\nPRPLEVEL 0:1\n");
    VESSEL *a = world.vessel("A");
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

} // namespace
