// Aerodynamics without airfoils: drag, its limit, rotational drag and the stabilising moments.
#include "TestVessels.h"

#include <gtest/gtest.h>

using namespace orb::phys;
using namespace orb::phys::test;

namespace {

Vec3 upAt(double lng, double lat) {
    return {std::cos(lat) * std::cos(lng), std::sin(lat), std::cos(lat) * std::sin(lng)};
}

// A body at an altitude over (0.3, 0.2) with an attitude, moving through the air with a vessel-frame
// velocity and turning with a vessel-frame rate on top of the planet's rotation.
void place(Body& b, double alt, Vec3 arot, Vec3 vShip, Vec3 omega = {}) {
    PlanetFrame f = b.planet->frameAt(0);
    Vec3 pos = mul(f.rot, upAt(0.3, 0.2) * (b.planet->radius + alt));
    Mat3 R = eulerToMatrix(arot);
    setFreeFlight(b, pos, cross(f.omega, pos) + mul(R, vShip), arot, omega, 0);
}

Body plainBody() {
    Body b;
    b.emptyMass = 2000;
    b.crossSections = {3, 5, 2};
    b.cwZPos = 0.2;
    b.cwZNeg = 0.9; // not used by the model: the forward coefficient serves both ways
    b.cwX = 0.6;
    b.cwY = 0.8;
    b.rotDrag = {0, 0, 0};
    b.mass = totalMass(b);
    return b;
}

} // namespace

TEST(PhysicsAero, DragFollowsTheProjectedAreasAndCoefficients) {
    Planet vacuum;
    vacuum.atmAltLimit = 0;
    const Vec3 flows[] = {{0, 0, 200}, {0, 0, -200}, {150, 0, 0}, {0, -120, 0}, {100, 50, 170}};
    const Vec3 arot{0.4, -0.3, 1.1};
    for (Vec3 v : flows) {
        Body air = plainBody(), none = plainBody();
        none.planet = &vacuum;
        place(air, 8000, arot, v);
        place(none, 8000, arot, v);
        double q = dynamicPressure(air);
        Vec3 u = unit(v);
        double expected = q * (0.5 * 3 * 0.6 * std::fabs(u.x) + 0.5 * 5 * 0.8 * std::fabs(u.y) +
                               0.5 * 2 * 0.2 * std::fabs(u.z));
        step(air, 0, kDt);
        step(none, 0, kDt);
        Vec3 dvShip = tmul(air.rot, air.vel - none.vel); // rotation stays the same: no moments here
        double drag = length(dvShip) * air.mass / kDt;
        EXPECT_NEAR(drag, expected, expected * 1e-3) << v.x << " " << v.y << " " << v.z;
        EXPECT_NEAR(dot(unit(dvShip), u), -1.0, 1e-6) << "drag opposes the airflow";
    }
}

TEST(PhysicsAero, HugeDragStopsTheAirflowButNeverReversesIt) {
    // The wreck's set-up: all four coefficients 2500 on 20 m2.
    Body b;
    b.emptyMass = 1000;
    b.cwZPos = b.cwZNeg = b.cwX = b.cwY = 2500;
    b.crossSections = {20, 20, 20};
    b.mass = totalMass(b);
    place(b, 3000, {0.2, 0.1, 0}, {300, -800, 400});
    Vec3 v0 = b.surf.airVelHorizon;
    step(b, 0, kDt);
    EXPECT_GE(dot(b.surf.airVelHorizon, v0), 0.0) << "the airflow must not turn round in one step";
    run(b, 10);
    EXPECT_TRUE(std::isfinite(b.pos.x) && std::isfinite(b.vel.x));
    EXPECT_LT(airspeed(b), 5.0); // falling at about its terminal speed
    EXPECT_LT(b.surf.airVelHorizon.y, 0.0);
}

TEST(PhysicsAero, RotationalDragSlowsASpinWithTheSimulatorsRate) {
    Body b = plainBody();
    b.size = 4;
    b.pmi = {3, 5, 2};
    b.rotDrag = {0.3, 0.2, 0.1};
    place(b, 1000, {}, {0, 0, 0}, {0.2, 0, 0});
    double rho = atmDensity(b);
    Vec3 w0 = b.omega;
    run(b, 1.0);
    double rate = b.size * rho * 0.3 / 3; // Size rho rd_x / pmi_x
    // Relative to the planet's turning, which rotational drag also acts on but which is tiny.
    EXPECT_NEAR(b.omega.x / w0.x, std::exp(-rate), 0.01);
}

TEST(PhysicsAero, StabilisingMomentsTurnTheNoseIntoTheAirflow) {
    struct Case {
        Vec3 vShip;
        double pitchScale, yawScale;
        int axis;    // 0: pitch moment (x), 1: yaw moment (y)
        double sign; // expected sign of the angular velocity that results
    };
    const Case cases[] = {
        {{0, -30, 300}, 1e-4, 0, 0, -1}, // air from below: nose down onto the flow
        {{0, 30, 300}, 1e-4, 0, 0, +1},
        {{30, 0, 300}, 0, 1e-4, 1, -1}, // drifting right: nose right (negative about +y)
        {{-30, 0, 300}, 0, 1e-4, 1, +1},
        {{0, -30, 300}, 0, 0, 0, 0}, // no moment without a scale
    };
    for (const Case& c : cases) {
        Body b = plainBody();
        b.pitchMomentScale = c.pitchScale;
        b.yawMomentScale = c.yawScale;
        place(b, 2000, {}, c.vShip);
        Vec3 co = b.omega;
        step(b, 0, kDt);
        double w = c.axis == 0 ? b.omega.x - co.x : b.omega.y - co.y;
        if (c.sign == 0) {
            EXPECT_NEAR(w, 0, 1e-9);
        } else {
            EXPECT_GT(w * c.sign, 1e-6) << c.vShip.x << " " << c.vShip.y;
        }
    }
}

TEST(PhysicsAero, ConfigurationValuesThatAreNotNumbersLeaveTheStateSound) {
    const double nan = std::nan("");
    for (int which = 0; which < 4; ++which) {
        Body b = plainBody();
        if (which == 0) b.crossSections = {nan, 5, 2};
        if (which == 1) b.cwZPos = nan;
        if (which == 2) b.size = nan;
        if (which == 3) b.rotDrag = {nan, nan, nan};
        place(b, 5000, {0.1, 0.2, 0.3}, {10, -20, 250}, {0.01, 0.02, 0.03});
        double alt0 = altitude(b);
        run(b, 2);
        EXPECT_NE(altitude(b), alt0) << "it still flies: " << which;
        EXPECT_TRUE(std::isfinite(b.pos.x) && std::isfinite(b.vel.y) && std::isfinite(b.omega.z)) << which;
        EXPECT_TRUE(std::isfinite(altitude(b)) && std::isfinite(pitch(b)) && std::isfinite(aoa(b))) << which;
    }
}
