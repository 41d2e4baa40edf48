// Dispersion statistics against normal distributions whose CEP, R90, R95 and ellipses are known.
#include "Unit_DispersionStats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace zm;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Points of a normal distribution with principal deviations s1 (major) and s2, the major axis turned
// `angle` degrees clockwise from the launch azimuth, centred on `mean`.
std::vector<TLocalPoint> Normal(size_t n, double s1, double s2, double angle, TLocalPoint mean,
                                unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> u(0, s1), v(0, s2);
    const double t = angle * kPi / 180;
    std::vector<TLocalPoint> points(n);
    for (TLocalPoint& p : points) {
        const double a = u(gen), b = v(gen);
        p.Along = mean.Along + a * std::cos(t) - b * std::sin(t);
        p.Across = mean.Across + a * std::sin(t) + b * std::cos(t);
    }
    return points;
}

// The share of points inside an ellipse of the statistics.
double ShareInside(const std::vector<TLocalPoint>& points, const TDispersionStats& s,
                   const TErrorEllipse& e) {
    const double t = s.MajorAngle * kPi / 180;
    size_t inside = 0;
    for (const TLocalPoint& p : points) {
        const double a = p.Along - s.Mean.Along, c = p.Across - s.Mean.Across;
        const double x = a * std::cos(t) + c * std::sin(t), y = -a * std::sin(t) + c * std::cos(t);
        inside += (x * x) / (e.SemiMajor * e.SemiMajor) + (y * y) / (e.SemiMinor * e.SemiMinor) <= 1;
    }
    return double(inside) / double(points.size());
}

double AngleGap(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 180.0);
    return std::min(d, 180 - d);
}

TEST(DispersionStats, CircularNormalGivesTheKnownRadii) {
    // For a circular normal distribution of deviation s: CEP = s sqrt(2 ln 2), R90 = s sqrt(2 ln 10),
    // R95 = s sqrt(2 ln 20). With 20000 points a radius' standard error is below 0.5 percent.
    const double s = 100;
    const auto points = Normal(20000, s, s, 0, {}, 7);
    const TDispersionStats d = ComputeDispersion(points);
    EXPECT_EQ(d.Count, 20000u);
    EXPECT_NEAR(d.Mean.Along, 0, 3.0);
    EXPECT_NEAR(d.Mean.Across, 0, 3.0);
    EXPECT_NEAR(d.SdAlong, s, 2.0);
    EXPECT_NEAR(d.SdAcross, s, 2.0);
    EXPECT_NEAR(d.Correlation, 0, 0.03);
    struct Case {
        const char* name;
        const TRadius &aboutMean, &aboutTarget;
        double expected;
    } cases[] = {{"CEP", d.CepMean, d.CepTarget, s * std::sqrt(2 * std::log(2.0))},
                 {"R90", d.R90Mean, d.R90Target, s * std::sqrt(2 * std::log(10.0))},
                 {"R95", d.R95Mean, d.R95Target, s * std::sqrt(2 * std::log(20.0))}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.aboutMean.Value, c.expected, 0.02 * c.expected);
        EXPECT_NEAR(c.aboutTarget.Value, c.expected, 0.02 * c.expected);
        ASSERT_TRUE(c.aboutTarget.Low && c.aboutTarget.High);
        EXPECT_LT(*c.aboutTarget.Low, c.aboutTarget.Value);
        EXPECT_GT(*c.aboutTarget.High, c.aboutTarget.Value);
        EXPECT_LT(*c.aboutTarget.High - *c.aboutTarget.Low, 0.05 * c.expected) << "20000 flights pin it down";
    }
}

TEST(DispersionStats, RotatedCorrelatedNormalGivesItsEllipses) {
    const double s1 = 300, s2 = 80;
    for (double angle : {0.0, 30.0, 90.0, 150.0}) {
        SCOPED_TRACE(angle);
        const auto points = Normal(20000, s1, s2, angle, {1200, -450}, 11 + unsigned(angle));
        const TDispersionStats d = ComputeDispersion(points);
        EXPECT_NEAR(d.Mean.Along, 1200, 10);
        EXPECT_NEAR(d.Mean.Across, -450, 10);
        EXPECT_NEAR(d.SigmaMajor, s1, 0.02 * s1);
        EXPECT_NEAR(d.SigmaMinor, s2, 0.02 * s2);
        EXPECT_LT(AngleGap(d.MajorAngle, angle), 1.0) << d.MajorAngle;
        EXPECT_GE(d.MajorAngle, 0);
        EXPECT_LT(d.MajorAngle, 180);
        // Deviations and correlation along and across the launch azimuth follow from the turned axes.
        const double t = angle * kPi / 180, c = std::cos(t), s = std::sin(t);
        const double varAlong = s1 * s1 * c * c + s2 * s2 * s * s,
                     varAcross = s1 * s1 * s * s + s2 * s2 * c * c;
        EXPECT_NEAR(d.SdAlong, std::sqrt(varAlong), 0.02 * std::sqrt(varAlong));
        EXPECT_NEAR(d.SdAcross, std::sqrt(varAcross), 0.02 * std::sqrt(varAcross));
        EXPECT_NEAR(d.Correlation, (s1 * s1 - s2 * s2) * s * c / std::sqrt(varAlong * varAcross), 0.02);
        // Each k-sigma ellipse holds the share it promises (68.27, 95.45, 99.73 percent).
        const double shares[] = {0.6827, 0.9545, 0.9973};
        for (size_t k = 0; k < 3; ++k) {
            EXPECT_NEAR(d.Ellipses[k].Share, shares[k], 1e-4);
            EXPECT_NEAR(ShareInside(points, d, d.Ellipses[k]), shares[k], k == 2 ? 0.002 : 0.01);
        }
    }
}

TEST(DispersionStats, AnOffsetMovesTheMeanAndTheAccuracyButNotThePrecision) {
    const auto centred = Normal(2000, 150, 150, 0, {}, 3);
    auto offset = centred;
    for (TLocalPoint& p : offset)
        p.Along += 500, p.Across -= 200;
    const TDispersionStats a = ComputeDispersion(centred), b = ComputeDispersion(offset);
    EXPECT_NEAR(b.Mean.Along - a.Mean.Along, 500, 1e-6);
    EXPECT_NEAR(b.Mean.Across - a.Mean.Across, -200, 1e-6);
    EXPECT_NEAR(b.CepMean.Value, a.CepMean.Value, 1e-6);
    EXPECT_NEAR(b.R95Mean.Value, a.R95Mean.Value, 1e-6);
    EXPECT_NEAR(b.SigmaMajor, a.SigmaMajor, 1e-6);
    // About the target every point now misses by roughly the offset of 539 m.
    EXPECT_GT(b.CepTarget.Value, 450);
    EXPECT_LT(b.CepTarget.Value, 650);
    EXPECT_GT(b.CepTarget.Value, 3 * b.CepMean.Value);
}

TEST(DispersionStats, CepIntervalCoversTheTrueCepAsOftenAsItsLevelSays) {
    // 2000 small dispersions of 25 flights each: the 95 percent interval about the target must hold the
    // true CEP in about 95 percent of them (the order-statistic interval is a little conservative).
    const double trueCep = std::sqrt(2 * std::log(2.0));
    int covered = 0, trials = 2000;
    for (int t = 0; t < trials; ++t) {
        const TDispersionStats d = ComputeDispersion(Normal(25, 1, 1, 0, {}, 1000 + unsigned(t)));
        ASSERT_TRUE(d.CepTarget.Low && d.CepTarget.High);
        covered += *d.CepTarget.Low <= trueCep && trueCep <= *d.CepTarget.High;
    }
    const double share = double(covered) / trials;
    EXPECT_GT(share, 0.94);
    EXPECT_LT(share, 0.985);
}

TEST(DispersionStats, QuantilesAndIntervalsOfSmallSamples) {
    const std::vector<double> four = {1, 2, 3, 4};
    struct Case {
        double p, expected;
    } cases[] = {{0, 1}, {0.5, 2.5}, {1, 4}, {0.9, 3.7}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(SampleQuantile(four, c.p), c.expected) << c.p;

    // Three flights cannot bound the CEP at 95 percent on either side; 9 bound it by r(2) and r(8).
    std::optional<double> low, high;
    QuantileInterval({1, 2, 3}, 0.5, 0.95, low, high);
    EXPECT_FALSE(low);
    EXPECT_FALSE(high);
    QuantileInterval({1, 2, 3, 4, 5, 6, 7, 8, 9}, 0.5, 0.95, low, high);
    ASSERT_TRUE(low && high);
    EXPECT_EQ(*low, 2);
    EXPECT_EQ(*high, 8);
}

TEST(DispersionStats, NoSpreadOrNoPointsGivesZerosNotNaN) {
    const TDispersionStats none = ComputeDispersion({});
    EXPECT_EQ(none.Count, 0u);
    EXPECT_EQ(none.CepTarget.Value, 0);
    for (const auto& points : {std::vector<TLocalPoint>{{30, 40}}, std::vector<TLocalPoint>(5, {30, 40})}) {
        const TDispersionStats d = ComputeDispersion(points);
        EXPECT_EQ(d.Mean.Along, 30);
        EXPECT_EQ(d.SigmaMajor, 0);
        EXPECT_EQ(d.SigmaMinor, 0);
        EXPECT_EQ(d.MajorAngle, 0);
        EXPECT_EQ(d.Correlation, 0);
        EXPECT_EQ(d.CepMean.Value, 0);
        EXPECT_DOUBLE_EQ(d.CepTarget.Value, 50);
        EXPECT_EQ(d.Ellipses[2].SemiMajor, 0);
    }
}

} // namespace
