// Impact dispersion statistics of repeated flights, in the local frame of a missile's launch: metres along
// the launch azimuth (beyond the target positive) and across it (to the right positive), about the target.
//
// Two kinds of radius are given, because a planner asks two questions:
//   - precision: CEP (R50), R90, R95 about the mean point of impact (the usual dispersion figure);
//   - accuracy: the same radii about the target (what actually hits).
// The error ellipses follow the covariance of the points. Their k-sigma sizes use the chi-square scale
// with two degrees of freedom: the 1-, 2- and 3-sigma ellipses hold 68.27, 95.45 and 99.73 percent of a
// normal distribution, the shares the k-sigma interval holds in one dimension (semi-axes 1.515, 2.486 and
// 3.439 times the standard deviations of the principal axes).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace zm {

struct TLocalPoint {
    double Along = 0;  // metres along the launch azimuth, beyond the target positive
    double Across = 0; // metres across it, to the right of the launch direction positive
};

// A radius with its confidence interval; a bound is empty when too few flights were flown to give one.
struct TRadius {
    double Value = 0;
    std::optional<double> Low, High;
};

struct TErrorEllipse {
    double Sigma = 1;     // 1, 2 or 3
    double Share = 0;     // the share of a normal distribution inside, 0..1
    double Scale = 0;     // the semi-axes in principal standard deviations: sqrt(-2 ln(1 - Share))
    double SemiMajor = 0; // metres
    double SemiMinor = 0; // metres
};

struct TDispersionStats {
    size_t Count = 0;
    TLocalPoint Mean;   // mean point of impact, as offset from the target
    double SdAlong = 0; // sample standard deviations (n - 1) along and across the launch azimuth
    double SdAcross = 0;
    double Correlation = 0; // of along and across, -1..1 (0 when a deviation is 0)
    double SigmaMajor = 0;  // standard deviations along the principal axes of the covariance
    double SigmaMinor = 0;
    double MajorAngle = 0; // degrees from the launch azimuth to the major axis, clockwise, 0..180
    std::array<TErrorEllipse, 3> Ellipses{};
    TRadius CepMean, R90Mean, R95Mean;       // about the mean point of impact
    TRadius CepTarget, R90Target, R95Target; // about the target
};

// The confidence level of every interval given.
inline constexpr double RadiusConfidence = 0.95;

// The statistics of the points (no points: Count 0 and zeros).
TDispersionStats ComputeDispersion(const std::vector<TLocalPoint>& points);

// The p-quantile (0..1) of sorted values, interpolated linearly between order statistics.
double SampleQuantile(const std::vector<double>& sorted, double p);

// Distribution-free interval for the p-quantile of n sorted values: the order statistics r(l) and r(u)
// with binomial P(l <= B < u) >= level for B ~ Bin(n, p). A bound that would need an order statistic
// beyond the sample is empty.
void QuantileInterval(const std::vector<double>& sorted, double p, double level, std::optional<double>& low,
                      std::optional<double>& high);

// The share of a two-dimensional normal distribution inside its k-sigma ellipse as used here (k = 1..3).
double EllipseShare(int sigma);

} // namespace zm
