#include "Unit_DispersionStats.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Binomial distribution function P(B <= k) for B ~ Bin(n, p), summed in logs so large n stays finite.
std::vector<double> BinomialCdf(size_t n, double p) {
    std::vector<double> cdf(n + 1, 0.0);
    double sum = 0;
    const double lp = std::log(p), lq = std::log1p(-p);
    for (size_t k = 0; k <= n; ++k) {
        const double logTerm = std::lgamma(double(n) + 1) - std::lgamma(double(k) + 1) -
                               std::lgamma(double(n - k) + 1) + double(k) * lp + double(n - k) * lq;
        sum += std::exp(logTerm);
        cdf[k] = std::min(sum, 1.0);
    }
    return cdf;
}

TRadius RadiusOf(const std::vector<double>& sorted, double p) {
    TRadius r;
    r.Value = SampleQuantile(sorted, p);
    QuantileInterval(sorted, p, RadiusConfidence, r.Low, r.High);
    return r;
}

std::vector<double> SortedDistances(const std::vector<TLocalPoint>& points, TLocalPoint centre) {
    std::vector<double> d;
    d.reserve(points.size());
    for (const TLocalPoint& q : points)
        d.push_back(std::hypot(q.Along - centre.Along, q.Across - centre.Across));
    std::sort(d.begin(), d.end());
    return d;
}

} // namespace

double EllipseShare(int sigma) {
    return std::erf(sigma / std::sqrt(2.0));
}

double SampleQuantile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    const double h = (double(sorted.size()) - 1) * std::clamp(p, 0.0, 1.0);
    const size_t lo = size_t(std::floor(h));
    const size_t hi = std::min(lo + 1, sorted.size() - 1);
    return sorted[lo] + (h - double(lo)) * (sorted[hi] - sorted[lo]);
}

void QuantileInterval(const std::vector<double>& sorted, double p, double level, std::optional<double>& low,
                      std::optional<double>& high) {
    low.reset();
    high.reset();
    const size_t n = sorted.size();
    if (n == 0) return;
    const double tail = (1 - level) / 2;
    const std::vector<double> cdf = BinomialCdf(n, p);
    // Ranks are 1-based: r(l) <= quantile with probability P(B >= l) = 1 - cdf[l - 1].
    size_t l = 0; // the largest l with P(B <= l - 1) <= tail
    for (size_t k = 1; k <= n; ++k)
        if (cdf[k - 1] <= tail) l = k;
    size_t u = 0; // the smallest u with P(B <= u - 1) >= 1 - tail
    for (size_t k = 1; k <= n; ++k)
        if (cdf[k - 1] >= 1 - tail) {
            u = k;
            break;
        }
    if (l >= 1) low = sorted[l - 1];
    if (u >= 1) high = sorted[u - 1];
}

TDispersionStats ComputeDispersion(const std::vector<TLocalPoint>& points) {
    TDispersionStats s;
    s.Count = points.size();
    for (int k = 0; k < 3; ++k) {
        TErrorEllipse& e = s.Ellipses[size_t(k)];
        e.Sigma = k + 1;
        e.Share = EllipseShare(k + 1);
        e.Scale = std::sqrt(-2 * std::log1p(-e.Share));
    }
    if (points.empty()) return s;

    const double n = double(points.size());
    for (const TLocalPoint& q : points) {
        s.Mean.Along += q.Along / n;
        s.Mean.Across += q.Across / n;
    }
    double saa = 0, scc = 0, sac = 0;
    for (const TLocalPoint& q : points) {
        const double a = q.Along - s.Mean.Along, c = q.Across - s.Mean.Across;
        saa += a * a;
        scc += c * c;
        sac += a * c;
    }
    if (points.size() > 1) {
        saa /= n - 1;
        scc /= n - 1;
        sac /= n - 1;
    } else {
        saa = scc = sac = 0;
    }
    s.SdAlong = std::sqrt(saa);
    s.SdAcross = std::sqrt(scc);
    s.Correlation =
        s.SdAlong > 0 && s.SdAcross > 0 ? std::clamp(sac / (s.SdAlong * s.SdAcross), -1.0, 1.0) : 0;

    // Eigen-decomposition of the symmetric covariance [[saa, sac], [sac, scc]].
    const double half = (saa + scc) / 2, root = std::hypot((saa - scc) / 2, sac);
    s.SigmaMajor = std::sqrt(std::max(half + root, 0.0));
    s.SigmaMinor = std::sqrt(std::max(half - root, 0.0));
    double angle = root > 0 ? 0.5 * std::atan2(2 * sac, saa - scc) * 180 / kPi : 0;
    if (angle < 0) angle += 180;
    s.MajorAngle = angle >= 180 ? angle - 180 : angle;
    for (TErrorEllipse& e : s.Ellipses) {
        e.SemiMajor = e.Scale * s.SigmaMajor;
        e.SemiMinor = e.Scale * s.SigmaMinor;
    }

    const std::vector<double> aboutMean = SortedDistances(points, s.Mean);
    const std::vector<double> aboutTarget = SortedDistances(points, {});
    s.CepMean = RadiusOf(aboutMean, 0.5);
    s.R90Mean = RadiusOf(aboutMean, 0.9);
    s.R95Mean = RadiusOf(aboutMean, 0.95);
    s.CepTarget = RadiusOf(aboutTarget, 0.5);
    s.R90Target = RadiusOf(aboutTarget, 0.9);
    s.R95Target = RadiusOf(aboutTarget, 0.95);
    return s;
}

} // namespace zm
