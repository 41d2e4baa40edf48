// A missile's dispersion as an SVG picture: impact points coloured by failure kind, the 1-, 2- and 3-sigma
// ellipses about the mean point of impact, the CEP circles about the mean point and about the target, the
// target and the mean point, axes in metres across (right) and along (up) the launch azimuth.
#pragma once

#include "Unit_Dispersion.h"

#include <string>

namespace zm {

inline constexpr int DispersionPlotWidth = 800;
inline constexpr int DispersionPlotHeight = 640;

std::string DispersionSvg(const TMissileDispersion& m);

// The colour a failure kind is drawn in ("none": the flights without a failure).
std::string FailureColour(const std::string& kind);

} // namespace zm
