// Thrust with pressure-dependent Isp, propellant flow at vacuum Isp, empty tanks.
#include "TestVessels.h"

#include <gtest/gtest.h>

using namespace orb::phys;
using namespace orb::phys::test;

namespace {

// A missile-engine test stand in free flight at an altitude, at rest against the air.
Body engineStand(double alt, double fuel, double efficiency, int& thruster) {
    Body b;
    b.emptyMass = 5000;
    TouchdownPoint pts[3] = {{{0, -1, 1}}, {{-1, -1, -1}}, {{1, -1, -1}}};
    setTouchdownPoints(b, pts, 3);
    int tank = addTank(b, 10000, fuel, efficiency);
    thruster = addThruster(b, {0, 0, -3}, {0, 0, 1}, 315000, tank, 2520, 2000, 101400);
    PlanetFrame f = b.planet->frameAt(0);
    Vec3 pos{0, 0, kEarthRadius + alt};
    setFreeFlight(b, pos, cross(f.omega, pos), {0.3, 0.2, 0.1}, {}, 0);
    return b;
}

} // namespace

TEST(PhysicsThrust, DeliveredThrustFollowsTheIspRuleAndFlowUsesVacuumIsp) {
    struct Case {
        double alt, efficiency;
    };
    const Case cases[] = {{3, 1}, {5000, 1}, {20000, 1}, {400e3, 1}, {3, 0.5}};
    const double eta = (2520.0 - 2000.0) / (101400.0 * 2520.0);
    for (const Case& c : cases) {
        int th = -1;
        Body idle = engineStand(c.alt, 5000, c.efficiency, th);
        Body firing = engineStand(c.alt, 5000, c.efficiency, th);
        double m0 = firing.mass;
        setThrusterLevel(firing, th, 1.0);
        double p = atmosphere(c.alt).p;
        EXPECT_NEAR(thrusterIsp(firing, th), 2520 * (1 - p * eta), 1e-9);
        step(idle, 0, kDt);
        step(firing, 0, kDt);
        double expectedThrust = 315000 * std::max(0.0, 1 - p * eta);
        double dv = length(firing.vel - idle.vel);
        EXPECT_NEAR(dv * m0 / kDt, expectedThrust, expectedThrust * 1e-6) << "at " << c.alt << " m";
        // Flow at vacuum Isp, whatever the pressure.
        double used = 5000 - firing.tanks[0].mass;
        EXPECT_NEAR(used, 315000 / (c.efficiency * 2520) * kDt, 1e-9) << "at " << c.alt << " m";
        EXPECT_NEAR(firing.mass, m0 - used, 1e-9);
    }
    // At sea level the engine gives the Isp quoted for the reference pressure, almost exactly.
    int th = -1;
    Body sea = engineStand(0.5, 100, 1, th);
    EXPECT_NEAR(thrusterIsp(sea, th), 2000.0, 0.5);
}

TEST(PhysicsThrust, EmptyOrMissingTanksGiveNoThrustAndSwitchTheThrusterOff) {
    int th = -1;
    Body idle = engineStand(1000, 0, 1, th);
    Body empty = engineStand(1000, 0, 1, th);
    int noTank = addThruster(empty, {0, 0, 0}, {0, 0, 1}, 1e5, -1, 3000);
    setThrusterLevel(empty, th, 1.0);
    setThrusterLevel(empty, noTank, 1.0);
    EXPECT_EQ(thrusterThrust(empty, th), 0.0);
    step(idle, 0, kDt);
    step(empty, 0, kDt);
    EXPECT_EQ(length(empty.vel - idle.vel), 0.0);
    EXPECT_EQ(empty.thrusters[th].level, 0.0);
    EXPECT_EQ(empty.thrusters[noTank].level, 0.0);

    // A tank that runs dry ends the burn: the last drop still burns a whole step, then nothing.
    Body dry = engineStand(1000, 1.0, 1, th);
    setThrusterLevel(dry, th, 1.0);
    step(dry, 0, kDt);
    EXPECT_EQ(dry.tanks[0].mass, 0.0);
    Vec3 v = dry.vel;
    Body coast = dry;
    step(dry, dry.simt, kDt);
    EXPECT_EQ(dry.thrusters[th].level, 0.0);
    coast.thrusters[th].level = 0;
    step(coast, coast.simt, kDt);
    EXPECT_EQ(length(dry.vel - coast.vel), 0.0);
    EXPECT_NE(length(v - dry.vel), 0.0); // gravity still acts
}

TEST(PhysicsThrust, LevelsAreLimitedAndGroupsReportTheirMeanLevel) {
    Craft c = makeCraft();
    setGroupLevel(c.b, c.pitchUp, 1.7);
    EXPECT_EQ(groupLevel(c.b, c.pitchUp), 1.0);
    setGroupLevel(c.b, c.pitchUp, -0.5);
    EXPECT_EQ(groupLevel(c.b, c.pitchUp), 0.0);
    setGroupLevel(c.b, c.pitchUp, std::nan(""));
    EXPECT_EQ(groupLevel(c.b, c.pitchUp), 0.0);
    int first = c.b.groups[c.pitchUp].members[0];
    setThrusterLevel(c.b, first, 0.6);
    EXPECT_NEAR(groupLevel(c.b, c.pitchUp), 0.3, 1e-12);
    EXPECT_EQ(groupLevel(c.b, 99), 0.0);
    EXPECT_EQ(findGroup(c.b, 8), c.bankRight);
    EXPECT_EQ(findGroup(c.b, 64), -1);
}
