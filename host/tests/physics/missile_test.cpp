// The missile's vertical launch from its pad, against an independent vertical-flight integration.
#include "TestVessels.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace orb::phys;
using namespace orb::phys::test;

namespace {

struct Vertical {
    double h, v, m;
};

// Straight-up flight of the same engine and drag with gravity and the surface's circular motion.
Vertical referenceClimb(double h0, double m0, double cosLat, double seconds) {
    const double eta = (2520.0 - 2000.0) / (101400.0 * 2520.0);
    const double vdForw = 0.5 * 1.07 * 0.55;
    const double w = kTwoPi / kEarthSidRotPeriod;
    auto accel = [&](double h, double v, double m) {
        double r = kEarthRadius + h;
        AtmState a = atmosphere(h);
        double thrust = 315000 * std::max(0.0, 1 - a.p * eta);
        double drag = 0.5 * a.rho * v * v * vdForw;
        double horiz = w * (kEarthRadius + h0) * cosLat; // the horizontal speed it keeps from the pad
        return (thrust - drag) / m - kEarthGM / (r * r) + horiz * horiz / r;
    };
    Vertical s{h0, 0, m0};
    const double dt = 0.001, flow = 315000 / 2520.0;
    for (long i = 0; i < std::lround(seconds / dt); ++i) {
        // Midpoint rule on a fine step.
        double a1 = accel(s.h, s.v, s.m);
        double hm = s.h + s.v * dt / 2, vm = s.v + a1 * dt / 2, mm = s.m - flow * dt / 2;
        double a2 = accel(hm, vm, mm);
        s.h += vm * dt;
        s.v += a2 * dt;
        s.m -= flow * dt;
    }
    return s;
}

} // namespace

TEST(PhysicsMissileLaunch, VerticalLaunchFliesLikeTheReferenceAndStaysUpright) {
    Missile ms = makeMissile();
    Body& b = ms.b;
    EXPECT_NEAR(b.mass, 12806, 1);
    const double lng = 136.78 * kDeg, lat = -31.1 * kDeg, hdg = 320 * kDeg;
    setLanded(b, lng, lat, hdg, 0);
    const double h0 = altitude(b);
    const double m0 = b.mass;
    setGroupLevel(b, ms.main, 1.0);
    double worstRate = 0;
    for (int i = 0; i < 60 / kDt; ++i) {
        step(b, b.simt, kDt);
        ASSERT_FALSE(b.landed);
        for (double v :
             {aoa(b), slipAngle(b), pitch(b), bank(b), heading(b), airspeed(b), dynamicPressure(b)})
            ASSERT_TRUE(std::isfinite(v)) << "at " << b.simt << " s";
        Vec3 wrel = b.omega + tmul(b.rot, b.planet->frameAt(b.simt).omega);
        worstRate = std::max(worstRate, length(wrel));
        if (i == 0) {
            EXPECT_NEAR(pitch(b), kPi / 2, 1e-3) << "upright right after lift-off";
            EXPECT_NEAR(std::remainder(heading(b) - hdg, kTwoPi), 0, 1e-3);
        }
        // Leaving the springs tips it by a fraction of a degree at most.
        if (i == int(1 / kDt)) {
            EXPECT_GT(pitch(b), 89.7 * kDeg);
        }
    }
    Vertical ref = referenceClimb(h0, m0, std::cos(lat), 60);
    double vUp = b.surf.airVelHorizon.y;
    std::printf("missile at 60 s: altitude %.1f m (reference %.1f), climb %.2f m/s (reference %.2f), "
                "pitch %.2f deg, largest turn rate %.4f deg/s, mass %.1f kg\n",
                altitude(b), ref.h, vUp, ref.v, pitch(b) / kDeg, worstRate / kDeg, b.mass);
    EXPECT_NEAR(altitude(b) / ref.h, 1.0, 0.002);
    EXPECT_NEAR(vUp / ref.v, 1.0, 0.002);
    EXPECT_NEAR(b.mass, ref.m, 1e-6 * ref.m);
    // Without guidance the small lift-off tilt grows slowly into a gravity turn.
    EXPECT_GT(pitch(b), 87 * kDeg);
    EXPECT_LT(worstRate, 2 * kDeg);
}

TEST(PhysicsMissileLaunch, PitchUpGroupTiltsTheClimbingMissile) {
    Missile ms = makeMissile();
    Body& b = ms.b;
    setLanded(b, 0.3, 0.5, 90 * kDeg, 0);
    setGroupLevel(b, ms.main, 1.0);
    run(b, 5);
    double before = pitch(b);
    setGroupLevel(b, ms.pitchUp, 1.0);
    run(b, 3);
    // Vanes push the tail down, so the nose goes "up" towards the vessel's +y, i.e. away from the heading.
    std::printf("missile pitch before %.3f deg, after pitch-up %.3f deg, heading %.2f deg\n", before / kDeg,
                pitch(b) / kDeg, heading(b) / kDeg);
    EXPECT_LT(pitch(b), before - 0.5 * kDeg);
    EXPECT_NEAR(std::remainder(heading(b) - (90 + 180) * kDeg, kTwoPi), 0, 2 * kDeg);
}
