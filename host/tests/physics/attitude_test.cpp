// Attitude conventions: Euler angles, heading of vertical vessels, pitch, bank and AOA signs.
#include "TestVessels.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>

using namespace orb::phys;
using namespace orb::phys::test;

namespace {

Vec3 upAt(double lng, double lat) {
    return {std::cos(lat) * std::cos(lng), std::sin(lat), std::cos(lat) * std::sin(lng)};
}
Vec3 eastAt(double lng) {
    return {-std::sin(lng), 0, std::cos(lng)};
}
Vec3 northAt(double lng, double lat) {
    return {-std::sin(lat) * std::cos(lng), std::cos(lat), -std::sin(lat) * std::sin(lng)};
}

// Compass direction of a planet-frame vector at (lng, lat).
double compass(Vec3 v, double lng, double lat) {
    double a = std::atan2(dot(v, eastAt(lng)), dot(v, northAt(lng, lat)));
    return a < 0 ? a + kTwoPi : a;
}

double angleDiff(double a, double b) {
    return std::remainder(a - b, kTwoPi);
}

// Puts a body in free flight, level and heading north at (lng, lat), moving with the air.
void flyLevel(Body& b, double lng, double lat, double alt) {
    PlanetFrame f = b.planet->frameAt(0);
    Mat3 vesselToPlanet = fromColumns(eastAt(lng), upAt(lng, lat), northAt(lng, lat));
    Vec3 pos = mul(f.rot, upAt(lng, lat) * (b.planet->radius + alt));
    setFreeFlight(b, pos, cross(f.omega, pos), matrixToEuler(mul(f.rot, vesselToPlanet)), {}, 0);
}

} // namespace

TEST(PhysicsAttitude, EulerAnglesFollowTheSimulatorsConvention) {
    const Vec3 cases[] = {{0.1, 0.2, 0.3}, {-1.2, 0.7, 2.9}, {3.0, -1.4, -0.5}, {0, 0, 0}};
    for (Vec3 a : cases) {
        Mat3 r = eulerToMatrix(a);
        EXPECT_NEAR(r.m11, std::cos(a.y) * std::cos(a.z), 1e-12);
        EXPECT_NEAR(r.m12, std::cos(a.y) * std::sin(a.z), 1e-12);
        EXPECT_NEAR(r.m13, -std::sin(a.y), 1e-12);
        EXPECT_NEAR(r.m23, std::sin(a.x) * std::cos(a.y), 1e-12);
        EXPECT_NEAR(r.m33, std::cos(a.x) * std::cos(a.y), 1e-12);
        Vec3 back = matrixToEuler(r);
        EXPECT_NEAR(back.x, a.x, 1e-12);
        EXPECT_NEAR(back.y, a.y, 1e-12);
        EXPECT_NEAR(back.z, a.z, 1e-12);
    }
}

TEST(PhysicsAttitude, VerticalVesselsHeadingFollowsItsMinusYAxisLandedAndAfterLiftOff) {
    const double headings[] = {0, 37, 90, 181.5, 270, 359};
    const double lng = 136.5 * kDeg, lat = -31.1 * kDeg;
    for (double hdgDeg : headings) {
        Missile m = makeMissile();
        Body& b = m.b;
        double hdg = hdgDeg * kDeg;
        setLanded(b, lng, lat, hdg, 0);
        Mat3 land = b.landRot;
        EXPECT_NEAR(dot(column(land, 2), upAt(lng, lat)), 1.0, 1e-9) << "+z stands up at " << hdgDeg;
        EXPECT_NEAR(angleDiff(compass(-column(land, 1), lng, lat), hdg), 0, 1e-9) << hdgDeg;
        EXPECT_NEAR(heading(b), hdg, 1e-9);
        EXPECT_NEAR(pitch(b), kPi / 2, 1e-9);
        EXPECT_NEAR(bank(b), 0, 1e-9);
        StatusInfo st = getStatus(b);
        EXPECT_EQ(st.status, 1);
        EXPECT_NEAR(st.surfHdg, hdg, 1e-9);

        // Engine on: released at once, and the free-flight heading falls back to -y as well.
        setGroupLevel(b, m.main, 1.0);
        step(b, 0, kDt);
        ASSERT_FALSE(b.landed) << hdgDeg;
        EXPECT_NEAR(angleDiff(heading(b), hdg), 0, 1e-3) << hdgDeg;
        EXPECT_NEAR(pitch(b), kPi / 2, 1e-3);
        for (double v : {aoa(b), slipAngle(b), bank(b), airspeed(b), dynamicPressure(b), machNumber(b)})
            EXPECT_TRUE(std::isfinite(v));
    }
}

TEST(PhysicsAttitude, QueriesAtRestAreDefined) {
    Craft c = makeCraft();
    setLanded(c.b, 0.2, 0.4, 1.0, 0);
    EXPECT_EQ(airspeed(c.b), 0.0);
    EXPECT_EQ(dynamicPressure(c.b), 0.0);
    EXPECT_EQ(aoa(c.b), 0.0);
    EXPECT_EQ(slipAngle(c.b), 0.0);
    EXPECT_NEAR(pitch(c.b), 0, 1e-9);
    EXPECT_NEAR(bank(c.b), 0, 1e-9);
    EXPECT_NEAR(heading(c.b), 1.0, 1e-9);
    EXPECT_TRUE(groundContact(c.b));
    EquPos e = equPos(c.b);
    EXPECT_NEAR(e.lng, 0.2, 1e-12);
    EXPECT_NEAR(e.lat, 0.4, 1e-12);
    EXPECT_NEAR(e.rad - kEarthRadius, c.b.landHeight, 1e-6);
}

TEST(PhysicsAttitude, PitchUpGroupRaisesTheNoseAndBankRightLowersTheRightWing) {
    Planet vacuum;
    vacuum.atmAltLimit = 0;
    const double lng = 0.5, lat = 0.3;
    {
        Craft c = makeCraft();
        c.b.planet = &vacuum;
        flyLevel(c.b, lng, lat, 5000);
        EXPECT_NEAR(pitch(c.b), 0, 1e-9);
        EXPECT_NEAR(angleDiff(heading(c.b), 0), 0, 1e-9);
        setGroupLevel(c.b, c.pitchUp, 1);
        run(c.b, 2.0);
        EXPECT_GT(pitch(c.b), 10 * kDeg);
        EXPECT_GT(c.b.omega.x, 0);
        EXPECT_NEAR(bank(c.b), 0, 1e-3); // the horizon turns a little as the vessel moves
    }
    {
        Craft c = makeCraft();
        c.b.planet = &vacuum;
        flyLevel(c.b, lng, lat, 5000);
        setGroupLevel(c.b, c.bankRight, 1);
        run(c.b, 2.0);
        Vec3 up = unit(c.b.pos);
        EXPECT_LT(dot(column(c.b.rot, 0), up), -0.1) << "the right wing goes down";
        EXPECT_GT(c.b.omega.z, 0);
        // The simulator counts a lowered left wing as positive bank, so banking right is negative.
        EXPECT_LT(bank(c.b), -5 * kDeg);
        EXPECT_NEAR(pitch(c.b), 0, 1e-3);
    }
}

TEST(PhysicsAttitude, AngleOfAttackIsPositiveWithTheAirFromBelow) {
    struct Case {
        Vec3 vShip;             // velocity through the air, vessel frame
        double aoaDeg, slipDeg; // NaN: not defined for this airflow
    };
    const Case cases[] = {{{0, 0, 100}, 0, 0},
                          {{0, -10, 100}, 5.71, 0},
                          {{0, 10, 100}, -5.71, 0},
                          {{10, 0, 100}, 0, -5.71},
                          {{0, -100, 0}, 90, std::nan("")}};
    for (const Case& k : cases) {
        Body b;
        flyLevel(b, 0, 0, 20000);
        PlanetFrame f = b.planet->frameAt(0);
        b.vel = cross(f.omega, b.pos) + mul(b.rot, k.vShip);
        updateSurface(b);
        EXPECT_NEAR(aoa(b) / kDeg, k.aoaDeg, 0.01);
        if (!std::isnan(k.slipDeg)) {
            EXPECT_NEAR(slipAngle(b) / kDeg, k.slipDeg, 0.01);
        }
        EXPECT_TRUE(std::isfinite(slipAngle(b)));
        EXPECT_NEAR(airspeed(b), length(k.vShip), 1e-6);
        EXPECT_NEAR(dynamicPressure(b), 0.5 * atmDensity(b) * dot(k.vShip, k.vShip), 1e-9);
    }
}

TEST(PhysicsAttitude, StatusRecordsReproduceTheStateTheyWereTakenFrom) {
    // Free flight: rpos, rvel, arot, vrot give back the same vessel.
    Craft c = makeCraft();
    flyLevel(c.b, 1.1, -0.4, 12000);
    setGroupLevel(c.b, c.pitchUp, 1);
    setGroupLevel(c.b, c.bankRight, 0.5);
    run(c.b, 3);
    StatusInfo s = getStatus(c.b);
    EXPECT_EQ(s.status, 0);
    Body copy = makeCraft().b;
    setFreeFlight(copy, s.rpos, s.rvel, s.arot, s.vrot, c.b.simt);
    EXPECT_LT(length(copy.pos - c.b.pos), 1e-6);
    EXPECT_LT(length(copy.vel - c.b.vel), 1e-9);
    EXPECT_LT(length(copy.omega - c.b.omega), 1e-12);
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(length(column(copy.rot, i) - column(c.b.rot, i)), 1e-9);
    EXPECT_NEAR(pitch(copy), pitch(c.b), 1e-9);
    EXPECT_NEAR(bank(copy), bank(c.b), 1e-9);

    // Landed: the saved orientation and height put it back exactly; the surface position and heading too.
    Missile m = makeMissile();
    setLanded(m.b, 2.38, -0.54, 4.87, 0);
    StatusInfo l = getStatus(m.b);
    EXPECT_EQ(l.status, 1);
    Body again = makeMissile().b;
    setLandedOriented(again, l.surfLng, l.surfLat, l.surfHdg, l.arot, l.vrot.x, 50);
    EXPECT_NEAR(altitude(again), altitude(m.b), 1e-6);
    EXPECT_NEAR(pitch(again), pitch(m.b), 1e-9);
    EXPECT_NEAR(heading(again), heading(m.b), 1e-9);
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(length(column(again.landRot, i) - column(m.b.landRot, i)), 1e-9);
    Body rebuilt = makeMissile().b;
    setLanded(rebuilt, l.surfLng, l.surfLat, l.surfHdg, 0);
    EXPECT_LT(length(rebuilt.pos - m.b.pos), 1e-6);
}

// The surface angles and the equatorial position are worked out when first asked for after a state change: a
// body asked at every step must give, bit for bit, what a twin never asked at all gives for the same state.
TEST(PhysicsAttitude, SurfaceAnglesAskedAtEveryStepAreThoseOfTheStepsState) {
    Craft turning = makeCraft();
    flyLevel(turning.b, 0.5, 0.3, 5000);
    setGroupLevel(turning.b, turning.pitchUp, 1);
    setGroupLevel(turning.b, turning.bankRight, 0.5);
    Missile standing = makeMissile();
    setLanded(standing.b, 2.38, -0.54, 4.87, 0);
    const auto angles = [](const Body& b) {
        const EquPos e = equPos(b);
        return std::array<double, 5>{e.lng, e.lat, pitch(b), bank(b), heading(b)};
    };
    for (const Body* start : {&turning.b, &standing.b}) {
        Body asked = *start, twin = *start;
        const std::array<double, 5> before = angles(asked);
        for (int i = 0; i < 50; ++i) {
            step(asked, asked.simt, kDt);
            step(twin, twin.simt, kDt);
            const Body unasked = twin;
            const std::array<double, 5> got = angles(asked), expected = angles(unasked);
            for (size_t k = 0; k < got.size(); ++k)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(got[k]), std::bit_cast<std::uint64_t>(expected[k]))
                    << (start->landed ? "landed" : "in flight") << ", step " << i << ", angle " << k;
        }
        if (!start->landed) {
            EXPECT_GT(angles(asked)[2] - before[2], 1e-3) << "the nose has come up";
        }
    }
}

// Without torque a turning body keeps its rotational energy and the size of its angular momentum up to the
// fastest spin the simulator lets a vessel keep (100 pi rad/s): a missile spinning about its long axis with
// a little wobble, a tumbling box near its unstable middle axis, both at the default step and at a long one.
// A faster spin is held at that limit, as the simulator holds it.
TEST(PhysicsAttitude, FreeSpinKeepsItsEnergyAndAngularMomentum) {
    struct Case {
        const char* what;
        Vec3 pmi, omega;
        double dt, tolerance; // the simulator's long steps are less exact: ten substeps of its highest order
    } cases[] = {
        {"slender, fast roll with wobble", {40, 40, 0.5}, {-0.0186, 0.0076, -300}, kDt, 1e-3},
        {"slender, slow roll, long step", {40, 40, 0.5}, {0.01, 0, 3}, 1.0, 1e-3},
        {"box near its middle axis", {1, 2, 3}, {0.01, 20, 0.01}, kDt, 1e-3},
        {"box, long step", {1, 2, 3}, {1, 2, 0.5}, 2.0, 5e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Body b;
        b.size = 5;
        b.emptyMass = 1000;
        b.pmi = c.pmi;
        setFreeFlight(b, {4e8, 0, 0}, {0, 0, 1000}, {0.3, -0.2, 1.1}, c.omega, 0); // far from any air
        const auto scaled = [&] {
            return Vec3{b.omega.x * b.pmi.x, b.omega.y * b.pmi.y, b.omega.z * b.pmi.z};
        };
        const auto energy = [&] { return dot(scaled(), b.omega); };
        const auto momentum = [&] { return length(scaled()); };
        const double e0 = energy(), l0 = momentum();
        run(b, 20, c.dt);
        EXPECT_NEAR(energy() / e0, 1, c.tolerance);
        EXPECT_NEAR(momentum() / l0, 1, c.tolerance);
    }
    Body fast;
    fast.pmi = {40, 40, 0.5};
    setFreeFlight(fast, {4e8, 0, 0}, {0, 0, 1000}, {}, {0, 0, -544}, 0);
    run(fast, 1, kDt);
    EXPECT_NEAR(length(fast.omega), 100 * kPi, 1e-6);
}
