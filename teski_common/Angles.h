// The add-on's value of pi and its angle conversions. Both plug-ins convert with this value everywhere, so
// stored degrees and radians read back exactly as they were written.
#pragma once

inline constexpr double TeskiPi = 3.14159265358979;

// degrees = radians x 180 / pi
inline double DegFromRad(double rad) {
    return rad * 180.0 / TeskiPi;
}
// radians = degrees x pi x (1/180)
inline double RadFromDeg(double deg) {
    return deg * TeskiPi * 0.005555555555555556;
}
