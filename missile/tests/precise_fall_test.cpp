// The precise cut-off's fall: against the conic without air, against the inertial fall seen from the rotating
// planet, with drag, and the track offsets it is judged by.
#include "GreatCircle.h"
#include "PreciseFall.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Gm = 3.986004e14;
constexpr double R = 6371010.0;
constexpr double Omega = 2 * Pi / 86164.10132;

double ExponentialAir(const void*, double radius) {
    return 1.225 * std::exp(-(radius - R) / 7000.0);
}

// A launch from the equator at longitude 0 at a speed and elevation, toward an azimuth (degrees).
FallImpact Launch(double speed, double elevation, double azimuth, const FallModel& m, double lat = 0) {
    const double a = azimuth * Pi / 180, e = elevation * Pi / 180;
    const double horizon[3] = {speed * std::cos(e) * std::sin(a), speed * std::sin(e),
                               speed * std::cos(e) * std::cos(a)};
    double pos[3], vel[3];
    PlanetState(0, lat, R, horizon, pos, vel);
    return PredictFall(pos, vel, m);
}

FallModel Vacuum() {
    FallModel m;
    m.gm = Gm;
    m.groundRadius = R;
    return m;
}

} // namespace

TEST(PreciseFall, WithoutAirOrRotationLandsWhereTheConicMeetsTheGround) {
    struct Case {
        double speed, elevation;
    };
    for (const Case c : {Case{700, 45}, Case{1600, 40}, Case{2100, 50}}) {
        const double g = c.elevation * Pi / 180;
        const double h = R * c.speed * std::cos(g), p = h * h / Gm;
        const double energy = c.speed * c.speed / 2 - Gm / R;
        const double e = std::sqrt(1 + 2 * energy * h * h / (Gm * Gm));
        const double nu = std::acos((p / R - 1) / e);
        const double range = 2 * (Pi - nu) * R;
        const FallImpact f = Launch(c.speed, c.elevation, 90, Vacuum());
        ASSERT_TRUE(f.found);
        EXPECT_NEAR(f.latitude, 0, 1e-9);
        EXPECT_NEAR(f.longitude * R, range, 2.0) << c.speed;
    }
}

TEST(PreciseFall, RotatingFrameAgreesWithTheInertialFallTurnedBack) {
    // The same flight from latitude 55: once in the rotating frame, once without rotation from the inertial
    // velocity, its impact then turned back by the planet's rotation during the fall.
    FallModel turning = Vacuum();
    turning.omega = Omega;
    const double horizon[3] = {900, 1100, 700};
    const double lat = 55 * Pi / 180;
    double pos[3], vel[3];
    PlanetState(0, lat, R, horizon, pos, vel);
    const FallImpact a = PredictFall(pos, vel, turning);
    double inertial[3] = {vel[0] - Omega * pos[1], vel[1] + Omega * pos[0], vel[2]};
    const FallImpact b = PredictFall(pos, inertial, Vacuum());
    ASSERT_TRUE(a.found && b.found);
    EXPECT_NEAR(a.latitude * R, b.latitude * R, 5.0);
    EXPECT_NEAR(a.longitude * R * std::cos(lat), (b.longitude - Omega * b.time) * R * std::cos(lat), 5.0);
    // And the rotation matters at this range: kilometres, not metres.
    const FallImpact still = PredictFall(pos, vel, Vacuum());
    EXPECT_GT(std::hypot(a.latitude - still.latitude, a.longitude - still.longitude) * R, 1000.0);
}

TEST(PreciseFall, DragShortensTheFallAndMoreDragMore) {
    FallModel air = Vacuum();
    air.density = ExponentialAir;
    double last = Launch(1600, 45, 0, Vacuum()).latitude;
    for (double perMass : {2e-5, 1e-4, 1e-3}) {
        air.dragPerMass = perMass;
        const FallImpact f = Launch(1600, 45, 0, air);
        ASSERT_TRUE(f.found);
        EXPECT_LT(f.latitude, last) << perMass;
        last = f.latitude;
    }
}

TEST(PreciseFall, AFlightThatNeverComesDownIsNotFoundWithinTheBound) {
    EXPECT_FALSE(Launch(12000, 60, 0, Vacuum()).found); // beyond escape
    EXPECT_FALSE(Launch(0, 90, 0, FallModel{}).found);  // no gravity: it stays where it is
}

TEST(TrackOffsets, AlongAndAcrossTheTrack) {
    // A track north from the equator: a point 100 km north and 2 km east is 100 km along and 2 km to the
    // right.
    double along = 0, cross = 0;
    TrackOffsets(0, 0, 0, 100e3 / R, 2e3 / R, R, along, cross);
    EXPECT_NEAR(along, 100e3, 50);
    EXPECT_NEAR(cross, 2e3, 5);
    // Eastward across the date line: the point just west of it, seen from just east of the track's start.
    TrackOffsets(0, Pi - 1e3 / R, 90, 0, -Pi + 9e3 / R, R, along, cross);
    EXPECT_NEAR(along, 10e3, 5);
    EXPECT_NEAR(cross, 0, 5);
}

TEST(PreciseFall, TheAirTurnsABodyNoseFirstAndASideOnBodyFallsShort) {
    // The realistic set's figures: across the nose the body meets the air with 30 times its nose-first drag.
    const double speed = 1600, e = 45 * Pi / 180;
    const double horizon[3] = {0, speed * std::sin(e), speed * std::cos(e)};
    double pos[3], vel[3];
    PlanetState(0, 0, R, horizon, pos, vel);
    FallModel air = Vacuum();
    air.density = ExponentialAir;
    FallBody& b = air.body;
    b.turns = true;
    b.forward = 0.294 / 5000;
    b.side = b.vertical = 9.0 / 5000;
    b.inertiaAcross = 1.41;
    b.inertiaAlong = 0.35;
    b.turn = 7 * 12 * 1e-4;
    b.dampAcross = 7 * 0.7;
    b.dampAlong = 7 * 0.1;
    auto fall = [&](const double nose[3]) {
        for (int i = 0; i < 3; ++i)
            b.nose[i] = nose[i];
        const double side[3] = {nose[1], -nose[0], 0}; // square to the nose for the noses below
        for (int i = 0; i < 3; ++i)
            b.sideAxis[i] = side[i] / std::hypot(nose[0], nose[1]);
        return PredictFall(pos, vel, air);
    };
    const double along[3] = {vel[0] / speed, vel[1] / speed, vel[2] / speed};
    const double across[3] = {0, 1, 0}; // east: square to the flight path
    FallModel noseFirst = Vacuum();
    noseFirst.density = ExponentialAir;
    noseFirst.dragPerMass = b.forward;
    const FallImpact reference = PredictFall(pos, vel, noseFirst);
    const FallImpact aligned = fall(along), sideOn = fall(across);
    ASSERT_TRUE(reference.found && aligned.found && sideOn.found);
    // Started along its flight path the body stays near the airflow: within a tenth of nose first (above the
    // air it keeps its attitude while gravity bends the path, and meets the air again a little askew).
    // Started side-on it loses far more.
    const double referenceRange = reference.latitude * R;
    EXPECT_NEAR(aligned.latitude * R, referenceRange, 0.1 * referenceRange);
    EXPECT_LT(sideOn.latitude * R, aligned.latitude * R - 0.05 * referenceRange);
    // Without air the attitude does not matter.
    FallModel vacuum = air;
    vacuum.density = nullptr;
    const FallImpact v = PredictFall(pos, vel, vacuum), plain = PredictFall(pos, vel, Vacuum());
    ASSERT_TRUE(v.found && plain.found);
    EXPECT_NEAR(v.latitude * R, plain.latitude * R, 1.0);
}
