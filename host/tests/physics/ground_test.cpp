// Landed state, lift-off, dynamic ground contact and the return to the landed state.
#include "TestVessels.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace orb::phys;
using namespace orb::phys::test;

TEST(PhysicsGround, LandedVesselStaysOnItsSpotForAnHour) {
    Craft c = makeCraft();
    Body& b = c.b;
    setLanded(b, 2.1, -0.6, 4.0, 0);
    EquPos start = equPos(b);
    Vec3 pos0 = b.pos;
    double alt0 = altitude(b);
    for (int i = 0; i < 180000; ++i) {
        step(b, b.simt, kDt);
        ASSERT_TRUE(b.landed) << "at " << b.simt << " s";
    }
    EquPos end = equPos(b);
    EXPECT_NEAR(end.lng, start.lng, 1e-12);
    EXPECT_NEAR(end.lat, start.lat, 1e-12);
    EXPECT_NEAR(altitude(b), alt0, 1e-6);
    EXPECT_NEAR(heading(b), 4.0, 1e-12);
    EXPECT_EQ(airspeed(b), 0.0);
    // It turned with the planet: an hour of sidereal rotation, seen from outside.
    double turned = std::acos(dot(unit(pos0), unit(b.pos)));
    EXPECT_GT(turned, 0.05);
    EXPECT_NEAR(length(b.vel), kTwoPi / kEarthSidRotPeriod * kEarthRadius * std::cos(-0.6), 0.5);
    // The surface carries it eastwards.
    Vec3 eastPlanet{-std::sin(end.lng), 0, std::cos(end.lng)};
    EXPECT_NEAR(dot(unit(b.vel), mul(b.planet->frameAt(b.simt).rot, eastPlanet)), 1.0, 1e-9);
    StatusInfo st = getStatus(b);
    EXPECT_EQ(st.status, 1);
    EXPECT_NEAR(st.vrot.x, b.landHeight, 1e-12);
}

TEST(PhysicsGround, LandedVesselRestsAboveTheGroundOnCompressedPoints) {
    Craft c = makeCraft();
    setLanded(c.b, 0, 0, 0, 0);
    // CoG height: touchdown plane 1.5 m below, less the sinking under the weight.
    double weight = kEarthGM * c.b.mass / (kEarthRadius * kEarthRadius);
    EXPECT_NEAR(c.b.landHeight, 1.5 - weight / 3e6, 1e-9);
    EXPECT_NEAR(altitude(c.b), c.b.landHeight, 1e-6);
    EXPECT_TRUE(groundContact(c.b));
}

TEST(PhysicsGround, HoverHopLiftsOffFallsBackAndLandsAgain) {
    Craft c = makeCraft();
    Body& b = c.b;
    const double lng = -1.2, lat = 0.7, hdg = 2.0;
    setLanded(b, lng, lat, hdg, 0);
    double alt0 = altitude(b);
    setGroupLevel(b, c.hover, 1.0); // 20 kN against a weight of about 14.7 kN
    double top = alt0;
    run(b, 1.5);
    EXPECT_FALSE(b.landed);
    setGroupLevel(b, c.hover, 0.0);
    double landedAt = -1;
    for (int i = 0; i < 60 / kDt && landedAt < 0; ++i) {
        step(b, b.simt, kDt);
        top = std::max(top, altitude(b));
        ASSERT_TRUE(std::isfinite(b.pos.x) && std::isfinite(b.omega.x));
        if (b.landed) landedAt = b.simt;
    }
    std::printf("hop: top %.2f m above the resting height, landed again at %.1f s\n", top - alt0, landedAt);
    EXPECT_GT(top - alt0, 3.0);
    ASSERT_GT(landedAt, 0) << "the vessel never came back to rest";
    EquPos e = equPos(b);
    EXPECT_NEAR(e.lng, lng, 1e-5); // within about 60 m: it went straight up and down
    EXPECT_NEAR(e.lat, lat, 1e-5);
    EXPECT_NEAR(std::remainder(heading(b) - hdg, kTwoPi), 0, 0.01);
    EXPECT_NEAR(pitch(b), 0, 0.01);
    EXPECT_NEAR(bank(b), 0, 0.01);
    EXPECT_NEAR(altitude(b), alt0, 0.05);
    EXPECT_EQ(getStatus(b).status, 1);
    // Once landed it stays put.
    EquPos before = equPos(b);
    run(b, 60);
    EXPECT_TRUE(b.landed);
    EXPECT_NEAR(equPos(b).lng, before.lng, 1e-12);
}

TEST(PhysicsGround, ThrustBelowWeightReleasesButTheGroundHoldsTheVessel) {
    Craft c = makeCraft();
    Body& b = c.b;
    setLanded(b, 0.4, 0.4, 0.0, 0);
    double alt0 = altitude(b);
    setGroupLevel(b, c.hover, 0.5); // 10 kN, less than the weight
    run(b, 3);
    EXPECT_FALSE(b.landed);
    EXPECT_TRUE(groundContact(b));
    EXPECT_GT(altitude(b), alt0);        // unloaded springs push it up a little
    EXPECT_LT(altitude(b), alt0 + 0.05); // but it does not fly
    setGroupLevel(b, c.hover, 0.0);
    run(b, 8);
    EXPECT_TRUE(b.landed);
}

TEST(PhysicsGround, EmptyTankKeepsALandedVesselOnTheGround) {
    Craft c = makeCraft(0);
    setLanded(c.b, 0.4, 0.4, 0.0, 0);
    setGroupLevel(c.b, c.hover, 1.0);
    run(c.b, 1);
    EXPECT_TRUE(c.b.landed);
    EXPECT_EQ(groupLevel(c.b, c.hover), 0.0);
}

TEST(PhysicsGround, ZeroThrustEffectThrustersDoNotLiftALandedVesselOff) {
    // The wreck's smoke: a thruster of no thrust on a small tank, burning at level 0.1 for ever.
    Body b;
    b.emptyMass = 100000;
    int tank = addTank(b, 1);
    int smoke = addThruster(b, {0, 0, 0}, {0, 0, -1}, 0, tank, 1, 4.9e7, 101400);
    setThrusterLevel(b, smoke, 0.1);
    setLanded(b, 1.0, 0.2, 0, 0);
    EquPos start = equPos(b);
    run(b, 120);
    EXPECT_TRUE(b.landed);
    EXPECT_EQ(equPos(b).lng, start.lng);
    EXPECT_EQ(b.thrusters[smoke].level, 0.1);
    EXPECT_EQ(b.tanks[tank].mass, 1.0);

    // Falling with the smoke on, it still comes to rest and lands.
    PlanetFrame f = b.planet->frameAt(b.simt);
    Vec3 pos = b.pos + unit(b.pos) * 20.0;
    setFreeFlight(b, pos, cross(f.omega, pos), matrixToEuler(b.rot), {}, b.simt);
    run(b, 30);
    EXPECT_TRUE(b.landed);
}

TEST(PhysicsGround, FreeFlightStateInsideThePlanetIsMovedOut) {
    Body b;
    setFreeFlight(b, {1000, 0, 0}, {}, {}, {}, 0);
    EXPECT_NEAR(length(b.pos), 1.1 * kEarthRadius, 1e-3);
    setFreeFlight(b, {std::nan(""), 0, 0}, {std::nan(""), 0, 0}, {}, {}, 0);
    EXPECT_TRUE(std::isfinite(b.pos.x) && std::isfinite(b.vel.x));
}

// The simulator rests a vessel where its sunk touchdown points' plane is level, each point sunk by the share
// of the weight that balances force and moment by its stiffness. A tripod whose centre does not lie under the
// centre of mass therefore stands tilted: the missile's former points (side points at +0.7 instead of +0.5)
// stood 6.197 degrees off vertical in the simulator's core, toward its -y side, and stand so here.
TEST(PhysicsGround, AnUnbalancedTripodStandsTiltedAsTheSimulatorRestsIt) {
    const struct { double sideY, tiltDeg; } cases[] = {{0.5, 0.0}, {0.7, 6.197}};
    for (const auto& c : cases) {
        Missile m = makeMissile();
        Body& b = m.b;
        setTouchdownPoints3(b, {0, -1, -7.013}, {-0.7, c.sideY, -7.013}, {0.7, c.sideY, -7.013});
        const double lng = 136.52 * kDeg, lat = -30.95 * kDeg;
        setLanded(b, lng, lat, 279.26 * kDeg, 0);
        const Vec3 up = {std::cos(lat) * std::cos(lng), std::sin(lat), std::cos(lat) * std::sin(lng)};
        const Vec3 z = column(b.landRot, 2);
        // The real core saves the attitude to a thousandth of a degree.
        EXPECT_NEAR(std::acos(std::min(1.0, dot(z, up))) / kDeg, c.tiltDeg, 2e-3) << c.sideY;
        // Its +y side rises: the nose leans toward -y, the side the heading points to.
        if (c.tiltDeg > 0) {
            EXPECT_GT(dot(column(b.landRot, 1), up), 0) << c.sideY;
        }
        // The springs carry the weight: each sunk point's force, summed, is the vessel's weight (to the
        // cosine of the tilt: they sink along the tripod's axis, the weight pulls along the vertical).
        const double weight = b.planet->gm * totalMass(b) / (b.planet->radius * b.planet->radius);
        double carried = 0;
        for (const TouchdownPoint& tp : b.touchdown) {
            const Vec3 p = mul(b.landRot, tp.pos) + up * (b.planet->radius + b.landHeight);
            carried += (b.planet->radius - length(p)) * tp.stiffness;
        }
        EXPECT_NEAR(carried / weight, 1.0, 1e-2) << c.sideY;
    }
}

// The step in which the engine first pushes only lets the landed vessel go, at the spot the planet carried
// it to and without rotation (the simulator drops that step's forces); it rises from the next step on.
TEST(PhysicsGround, TheFirstThrustStepOnlyReleasesTheVessel) {
    Missile m = makeMissile();
    Body& b = m.b;
    setLanded(b, 0.3, 0.5, 1.0, 0);
    setGroupLevel(b, m.main, 1.0);
    const double before = altitude(b);
    step(b, 0, kDt);
    EXPECT_FALSE(b.landed);
    EXPECT_NEAR(altitude(b), before, 1e-9);
    EXPECT_EQ(length(b.omega), 0.0);
    step(b, kDt, kDt);
    EXPECT_GT(altitude(b), before);
}
