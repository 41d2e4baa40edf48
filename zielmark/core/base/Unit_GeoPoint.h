// A place on the Earth as the great circle works with it: latitude and longitude in radians, given in
// degrees where a file or a person reads them.
#pragma once

#include "Unit_Functions.h"

namespace zm {

struct TGeoPoint {
    long double LatRad = 0; // north positive
    long double LonRad = 0; // east positive

    static constexpr TGeoPoint FromRadians(long double lat, long double lon) { return {lat, lon}; }
    // Degrees as a wreck block gives them (divided by 180, then times pi, as the results were always read).
    static constexpr TGeoPoint FromDegrees(long double lat, long double lon) {
        return {lat / 180.0L * Pi, lon / 180.0L * Pi};
    }
    constexpr long double LatDeg() const { return LatRad * 180.0L / Pi; }
    constexpr long double LonDeg() const { return LonRad * 180.0L / Pi; }
};

// Distance in kilometres on a sphere of EarthRadiusKm and initial azimuth in degrees 0..360 from one place
// to another.
inline TGreatCircle GreatCircleKmDeg(const TGeoPoint& from, const TGeoPoint& to) {
    return GreatCircleKmDeg(from.LatRad, from.LonRad, to.LatRad, to.LonRad);
}

} // namespace zm
