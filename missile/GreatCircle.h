// Great-circle routines of the missile module, on a sphere of the given radius (the launch radius).
// Latitudes and longitudes in radians; azimuths in degrees clockwise from north.
#pragma once

// Distance (m) and initial azimuth (degrees, 0..360) from point 1 to point 2. A point to itself gives
// distance 0 and azimuth 180. Longitudes are compared raw, never brought into -180..180.
void RangeAndAzimuth(double lat1, double lon1, double lat2, double lon2, double radius, double& distance,
                     double& azimuth);

// The point reached from point 1 after `distance` metres along `azimuth` degrees.
void PointAtRange(double lat1, double lon1, double distance, double azimuth, double radius, double& lat2,
                  double& lon2);
