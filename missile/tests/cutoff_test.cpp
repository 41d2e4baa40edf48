// The two cut-off rules: the burn-time table and the ballistic range prediction.
#include "Cutoff.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(BurnTime, TableEndsAndMiddle) {
    struct Case {
        double range, seconds;
    };
    const Case cases[] = {
        {0, 45},           {41184.07, 45},  {41184.08, 55.93}, {224036.94, 65},
        {324799.44, 70.0}, {324799.45, 75}, {1e7, 75},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(BurnTimeForRange(c.range), c.seconds, 0.005) << c.range;
}

namespace {
const double level[3] = {1, 1, 1}; // cosines of a zero attitude
const double zero[3] = {0, 0, 0};  // sines of a zero attitude
} // namespace

TEST(BallisticPrediction, AtRestPredictsMinus6100AndNeverCuts) {
    const double dv[3] = {0, 0, 0};
    const double p = PredictedBallisticRange(dv, level, zero, 6371010.0, 6371000.0);
    EXPECT_NEAR(p, -6100.0, 1.0);
    EXPECT_FALSE(p >= 500000.0);
}

TEST(BallisticPrediction, WorkedValue) {
    // v = 1600 m/s of which w = 1100 m/s across the launch axis, 30 km above the launch radius.
    const double dv[3] = {1100, 0, std::sqrt(1600.0 * 1600.0 - 1100.0 * 1100.0)};
    EXPECT_NEAR(PredictedBallisticRange(dv, level, zero, 6401000, 6371000), 312348.55, 1.0);
    // The same horizontal speed along y.
    const double dy[3] = {0, 1100, std::sqrt(1600.0 * 1600.0 - 1100.0 * 1100.0)};
    EXPECT_NEAR(PredictedBallisticRange(dy, level, zero, 6401000, 6371000), 312348.55, 1.0);
}

TEST(BallisticPrediction, TurnsTheVelocityWithTheLaunchAttitude) {
    // alpha = 90 degrees turns the z component into the y component, so a velocity along z becomes
    // horizontal; without the turn it is vertical and falls back at the pad.
    const double cosA[3] = {1, 1, 0}; // cos gamma, cos beta, cos alpha
    const double sinA[3] = {0, 0, 1};
    const double alongZ[3] = {0, 0, 1600};
    const double alongY[3] = {0, 1600, 0};
    const double turned = PredictedBallisticRange(alongZ, cosA, sinA, 6401000, 6371000);
    EXPECT_NEAR(turned, PredictedBallisticRange(alongY, level, zero, 6401000, 6371000), 1e-6);
    EXPECT_GT(turned, 50000.0);
    EXPECT_NEAR(PredictedBallisticRange(alongZ, level, zero, 6401000, 6371000), -6100.0, 1.0);
}

TEST(BallisticPrediction, NoFallBackToTheLaunchRadiusIsNotANumber) {
    // Just above circular speed 30 km up: the orbit never comes down to the launch radius.
    const double dv[3] = {8000, 0, 0};
    EXPECT_TRUE(std::isnan(PredictedBallisticRange(dv, level, zero, 6401000, 6371000)));
    // Escape speed straight across the axis: a hyperbola whose perigee is above the launch radius.
    const double fast[3] = {20000, 0, 0};
    EXPECT_TRUE(std::isnan(PredictedBallisticRange(fast, level, zero, 6401000, 6371000)));
}
