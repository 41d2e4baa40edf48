#include "GreatCircle.h"

#include "Angles.h"

#include <cmath>

namespace {

// Arguments of arccos and arcsin are limited to -1..1; a value that is not at or above -1 (a quotient that
// is not a number included) becomes -1.
double Limited(double v) {
    if (v > 1.0) return 1.0;
    if (!(v >= -1.0)) return -1.0;
    return v;
}

} // namespace

void RangeAndAzimuth(double lat1, double lon1, double lat2, double lon2, double radius, double& distance,
                     double& azimuth) {
    const double m =
        Limited(std::cos(lon2 - lon1) * std::cos(lat2) * std::cos(lat1) + std::sin(lat2) * std::sin(lat1));
    const double sigma = std::acos(m);
    const double q =
        Limited((std::sin(lat2) - std::sin(lat1) * std::cos(sigma)) / (std::cos(lat1) * std::sin(sigma)));
    double a = std::acos(q);
    if (lon2 < lon1) a = 2.0 * TeskiPi - a;
    distance = sigma * radius;
    azimuth = a * 180.0 / TeskiPi;
}

void PointAtRange(double lat1, double lon1, double distance, double azimuth, double radius, double& lat2,
                  double& lon2) {
    const double sigma = distance / radius;
    const double a = azimuth * TeskiPi * 0.005555555555555556;
    const double s =
        Limited(std::sin(sigma) * std::cos(a) * std::cos(lat1) + std::cos(sigma) * std::sin(lat1));
    lat2 = std::asin(s);
    const double q =
        Limited((std::cos(sigma) - std::sin(lat1) * std::sin(lat2)) / (std::cos(lat1) * std::cos(lat2)));
    const double dlon = std::acos(q);
    lon2 = a < TeskiPi ? lon1 + dlon : lon1 - dlon;
}
