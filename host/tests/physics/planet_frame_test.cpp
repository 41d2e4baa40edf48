// Earth's orientation in the global (ecliptic, left-handed) frame: where the axis leans, how it precesses,
// and that a moment means one frame however it is counted. Checked against facts about the sky, not against
// the formulas of the frame code.
#include "TestVessels.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace orb::phys;
using namespace orb::phys::test;

namespace {

double latitudeOf(const PlanetFrame& f, Vec3 globalDir) {
    Vec3 p = tmul(f.rot, unit(globalDir));
    return std::asin(std::clamp(p.y, -1.0, 1.0));
}

Planet earthAt(double mjd) {
    Planet p;
    p.epochMjd = mjd;
    return p;
}

} // namespace

// The global axes point at the vernal equinox (+x), the ecliptic north pole (+y) and the sun's place at the
// June solstice (+z, ecliptic longitude 90 degrees). A mirrored axis tilt puts the June sun over the
// southern tropic.
TEST(PlanetFrame, TheSkysMarkersStandAtTheirLatitudes) {
    const double eps = kEarthObliquity / kDeg;
    struct Case {
        const char* what;
        Vec3 dir;
        double latDeg;
    };
    const Case cases[] = {
        {"vernal equinox", {1, 0, 0}, 0},
        {"autumnal equinox", {-1, 0, 0}, 0},
        {"sun at the June solstice", {0, 0, 1}, eps},
        {"sun at the December solstice", {0, 0, -1}, -eps},
        {"ecliptic north pole", {0, 1, 0}, 90 - eps},
    };
    PlanetFrame f = earthAt(kMjdJ2000).frameAt(0);
    for (const Case& c : cases)
        EXPECT_NEAR(latitudeOf(f, c.dir) / kDeg, c.latDeg, 1e-9) << c.what;
    // At any hour of the day: the tilt does not depend on the rotation.
    PlanetFrame later = earthAt(kMjdJ2000).frameAt(7 * 3600.0);
    EXPECT_NEAR(latitudeOf(later, {0, 0, 1}) / kDeg, eps, 1e-9);
}

// The axis circles the ecliptic pole once in about 25,800 years at a constant tilt: the equinoxes drift west
// along the ecliptic by some 50.3 arc seconds a year.
TEST(PlanetFrame, TheAxisPrecessesWestwardAtItsTilt) {
    auto solsticeLongitude = [](double mjd) {
        Vec3 pole = column(earthAt(mjd).frameAt(0).rot, 1);
        return std::atan2(pole.z, pole.x);
    };
    const double century = 36525;
    double drift =
        (solsticeLongitude(kMjdJ2000 + century) - solsticeLongitude(kMjdJ2000)) / kDeg * 3600 / 100;
    std::printf("equinox drift: %.3f arc seconds a year\n", drift);
    EXPECT_NEAR(drift, -50.29, 0.02);
    for (double years : {-50.0, 27.0, 100.0, 1000.0}) {
        Vec3 pole = column(earthAt(kMjdJ2000 + years * 365.25).frameAt(0).rot, 1);
        EXPECT_NEAR(std::acos(pole.y), kEarthObliquity, 1e-12) << years << " years";
    }
}

// The rotation angle counts from the moving equinox; its precession term keeps the sidereal day true, so a
// whole number of sidereal days later the prime meridian faces the same stars. Leaving the term out turns
// the meridian by about 0.35 degrees in 27 years.
TEST(PlanetFrame, AWholeNumberOfSiderealDaysLaterThePrimeMeridianFacesTheSameStars) {
    PlanetFrame f0 = earthAt(kMjdJ2000).frameAt(0);
    Vec3 pole0 = column(f0.rot, 1), meridian0 = column(f0.rot, 0), east0 = column(f0.rot, 2);
    for (double days : {1000.0, 10000.0}) {
        PlanetFrame f = earthAt(kMjdJ2000 + days * kEarthSidRotPeriod / 86400).frameAt(0);
        Vec3 m = column(f.rot, 0);
        m = m - pole0 * dot(m, pole0); // onto the equator of J2000
        double turned = std::atan2(dot(m, east0), dot(m, meridian0));
        EXPECT_LT(std::fabs(turned), 2e-6) << days << " sidereal days: " << turned << " rad";
    }
}

// A scenario saved during a run and loaded again starts from a later epoch at time 0: the frame must be
// the same as the one the run had at that moment.
TEST(PlanetFrame, AMomentIsTheSameFrameWhicheverEpochItIsCountedFrom) {
    struct Case {
        double epochMjd, simt;
    };
    const Case cases[] = {
        {kMjdJ2000, 0.02}, {61571.5, 3600}, {61571.5, 30 * 86400.0}, {40000.25, 400 * 86400.0}};
    for (const Case& c : cases) {
        Mat3 a = earthAt(c.epochMjd).frameAt(c.simt).rot;
        Mat3 b = earthAt(c.epochMjd + c.simt / 86400).frameAt(0).rot;
        const double ea[9] = {a.m11, a.m12, a.m13, a.m21, a.m22, a.m23, a.m31, a.m32, a.m33};
        const double eb[9] = {b.m11, b.m12, b.m13, b.m21, b.m22, b.m23, b.m31, b.m32, b.m33};
        for (int i = 0; i < 9; ++i)
            EXPECT_NEAR(ea[i], eb[i], 1e-9)
                << "epoch " << c.epochMjd << " + " << c.simt << " s, element " << i;
    }
}
