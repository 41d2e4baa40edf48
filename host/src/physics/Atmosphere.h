// Earth's atmosphere as the simulator's default model gives it up to 90 km (the Standard Atmosphere 1976 in
// the form of the Jacchia-77 code), the standard's tabulated upper layers above, nothing beyond the planet's
// atmosphere limit.
#pragma once

namespace orb::phys {

struct AtmState {
    double T = 0;   // temperature [K]
    double p = 0;   // pressure [Pa]
    double rho = 0; // density [kg/m^3]
};

inline constexpr double kAtmP0 = 101325.0; // sea-level pressure [Pa]
inline constexpr double kAtmRho0 = 1.2250; // sea-level density [kg/m^3]
inline constexpr double kAtmR = 286.91;    // specific gas constant used for the speed of sound [J/(kg K)]
inline constexpr double kAtmGamma = 1.4;

// Atmosphere at a geometric altitude above the mean radius [m]. Negative altitudes use the lowest layer;
// altitudes at or above altLimit give zeros.
AtmState atmosphere(double altitude, double altLimit = 2500e3);

// Speed of sound at a temperature [m/s].
double soundSpeed(double T);

} // namespace orb::phys
