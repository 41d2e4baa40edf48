// A dispersion for Google Earth: per missile a folder with the launch site and the target, every impact as
// a point (failed flights in a style of their own), and the CEP circles and the 1-, 2- and 3-sigma ellipses
// as polygons on the ground.
#pragma once

#include "Unit_Dispersion.h"

#include <string>

namespace zm {

std::string DispersionKml(const TDispersion& d, const std::string& title);

// The point `offset` metres from the target in the launch frame of `m` (the inverse of LaunchFrameOffset):
// latitude and longitude in degrees.
void LaunchFramePoint(const TMissileDispersion& m, TLocalPoint offset, long double& lat, long double& lon);

} // namespace zm
