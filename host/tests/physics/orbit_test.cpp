// Translational accuracy at the default step: orbits and ballistic arcs against two-body solutions.
#include "TestVessels.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace orb::phys;
using namespace orb::phys::test;

TEST(PhysicsOrbit, CircularOrbitAt300kmKeepsItsRadiusOverOneRevolution) {
    Body b;
    const double r0 = kEarthRadius + 300e3;
    const double v0 = std::sqrt(kEarthGM / r0);
    const double period = kTwoPi * std::sqrt(r0 * r0 * r0 / kEarthGM);
    // An inclined orbit, so the planet's tilt and rotation do not line up with the orbit plane.
    const double inc = 0.6;
    setFreeFlight(b, {r0, 0, 0}, {0, v0 * std::sin(inc), v0 * std::cos(inc)}, {}, {}, 0);
    double worst = 0;
    long n = std::lround(period / kDt);
    for (long i = 0; i < n; ++i) {
        step(b, b.simt, kDt);
        worst = std::max(worst, std::fabs(length(b.pos) / r0 - 1));
    }
    std::printf("300 km circular orbit: largest radius error over one revolution %.5f %% (%.1f m)\n",
                worst * 100, worst * r0);
    EXPECT_LT(worst, 0.0005);
    EXPECT_FALSE(b.landed);
    // Back where it started after one period.
    EXPECT_LT(length(b.pos - Vec3{r0, 0, 0}), 0.001 * r0);
}

namespace {

// Range angle of a two-body arc that starts and ends at radius r0 with speed v and flight-path angle gamma.
double analyticRangeAngle(double gm, double r0, double v, double gamma) {
    double h = r0 * v * std::cos(gamma);
    double p = h * h / gm;
    double energy = v * v / 2 - gm / r0;
    double e = std::sqrt(1 + 2 * energy * h * h / (gm * gm));
    double theta0 = std::acos((p / r0 - 1) / e);
    return 2 * (kPi - theta0);
}

// Flies a body until it comes back down to radius r0 and returns the angle between start and end.
double flownRangeAngle(Body& b, double r0) {
    Vec3 start = b.pos;
    Vec3 prev = b.pos;
    for (long i = 0; i < 10'000'000; ++i) {
        prev = b.pos;
        step(b, b.simt, kDt);
        if (length(b.pos) < r0 && length(prev) >= r0) break;
    }
    // Interpolate the crossing of r0 between the last two steps.
    double a = length(prev) - r0, c = length(b.pos) - r0;
    double f = a / (a - c);
    Vec3 end = prev + (b.pos - prev) * f;
    return std::acos(std::clamp(dot(unit(start), unit(end)), -1.0, 1.0));
}

} // namespace

TEST(PhysicsOrbit, VacuumBallisticShotsMatchTheTwoBodyRange) {
    Planet vacuum; // Earth without air
    vacuum.atmAltLimit = 0;
    struct Shot {
        double speed, gammaDeg;
    };
    const Shot shots[] = {{1500, 45}, {3000, 45}, {4000, 30}, {5000, 60}};
    const double r0 = vacuum.radius + 1000;
    for (const Shot& s : shots) {
        Body b;
        b.planet = &vacuum;
        double g = s.gammaDeg * kDeg;
        // Launched along the equator in the ecliptic's y-z plane: up = +x, downrange = +z.
        setFreeFlight(b, {r0, 0, 0}, {s.speed * std::sin(g), 0, s.speed * std::cos(g)}, {}, {}, 0);
        double expected = analyticRangeAngle(vacuum.gm, r0, s.speed, g);
        double flown = flownRangeAngle(b, r0);
        double err = std::fabs(flown / expected - 1);
        std::printf("ballistic %.0f m/s at %.0f deg: range %.3f km, two-body %.3f km, error %.5f %%\n",
                    s.speed, s.gammaDeg, flown * r0 / 1000, expected * r0 / 1000, err * 100);
        EXPECT_LT(err, 0.005) << s.speed << " m/s at " << s.gammaDeg << " deg";
    }
}
