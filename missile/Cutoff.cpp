#include "Cutoff.h"

#include "Angles.h"

#include <cmath>

double BurnTimeForRange(double range) {
    if (range < 41184.08) return 45.0;
    if (range > 324799.44) return 75.0;
    return (range - 224036.94) * 4.9621635032874326e-05 + 65.0;
}

double PredictedBallisticRange(const double dv[3], const double attCos[3], const double attSin[3], double r,
                               double r0) {
    // attCos/attSin hold (gamma, beta, alpha).
    const double cg = attCos[0], cb = attCos[1], ca = attCos[2];
    const double sg = attSin[0], sb = attSin[1], sa = attSin[2];
    const double v = std::sqrt(dv[0] * dv[0] + dv[1] * dv[1] + dv[2] * dv[2]);
    // Turned with the attitude at ignition; the first two components lie across the launch axis.
    const double ux = dv[0] * (cg * cb) + dv[1] * (cg * sb * sa - sg * ca) + dv[2] * (cg * sb * ca + sg * sa);
    const double uy = dv[0] * (sg * cb) + dv[1] * (sg * sb * sa + cg * ca) + dv[2] * (sg * sb * ca - cg * sa);
    const double w = std::sqrt(ux * ux + uy * uy);

    // Semi-major axis (1/(2 mu)) and eccentricity (1/mu'): two constants used as they stand.
    const double a = 1.0 / ((1.0 / r - v * v * 1.254390366281987e-15) * 2.0);
    const double e = std::sqrt(1.0 - (r * w) * (r * w) * 2.5089998130647108e-15 / a);
    const double c = (a * (1.0 - e * e) / r0 - 1.0) / e;
    if (!(c >= -1.0 && c <= 1.0)) return std::nan(""); // no point of the ellipse at the launch radius
    const double nu = std::acos(c);
    return (TeskiPi - nu) * r0 * 2.0 - 6100.0;
}
