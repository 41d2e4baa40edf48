// The reference planet: Earth with the simulator's constants, its rotation and its gravity.
#pragma once

#include "VecMath.h"

namespace orb::phys {

// Earth as the simulator configures it.
inline constexpr double kGgrav = 6.67259e-11;             // gravitational constant [m^3/(kg s^2)]
inline constexpr double kEarthMass = 5.973698968e24;      // [kg]
inline constexpr double kEarthRadius = 6.37101e6;         // mean radius, the sphere altitude refers to [m]
inline constexpr double kEarthGM = kGgrav * kEarthMass;   // ~3.98600e14 [m^3/s^2]
inline constexpr double kEarthSidRotPeriod = 86164.10132; // sidereal rotation period [s]
inline constexpr double kEarthSidRotOffset = 4.88948754;  // rotation angle at MJD 51544.5 [rad]
inline constexpr double kEarthObliquity = 0.4090928023;   // axis tilt against the ecliptic [rad]
inline constexpr double kEarthLan = 0; // longitude of the axis's ascending node at kEarthLanMjd [rad]
inline constexpr double kEarthLanMjd = 51544.5; // date of kEarthLan [MJD]
inline constexpr double kEarthPrecessionPeriod =
    -9413040.4;                                     // period of the axis's precession [days]; < 0: westward
inline constexpr double kEarthAtmAltLimit = 2500e3; // top of the atmosphere [m]
inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2 * kPi;
inline constexpr double kMjdJ2000 = 51544.5;

// Orientation of the rotating planet frame at one instant: planet-frame vectors -> global (ecliptic) axes.
struct PlanetFrame {
    Mat3 rot;   // planet frame -> global
    Vec3 omega; // rotation vector in global axes [rad/s] (component formula: v_surface = cross(omega, r))
};

// A spherical, rotating planet with point-mass gravity. The planet sits at the origin of the
// planet-relative global frame in which vessels are integrated (the host reports rpos/rvel relative to it).
struct Planet {
    double radius = kEarthRadius;
    double mass = kEarthMass;
    double gm = kEarthGM;
    double rotPeriod = kEarthSidRotPeriod;
    double rotOffset = kEarthSidRotOffset;
    double obliquity = kEarthObliquity;
    double lan = kEarthLan;
    double lanMjd = kEarthLanMjd;
    double precessionPeriod = kEarthPrecessionPeriod; // [days]
    double atmAltLimit = kEarthAtmAltLimit;
    double epochMjd = kMjdJ2000; // MJD at simulation time 0; set from the scenario's "Date MJD"

    // Longitude of the ascending node of the precessing axis at simulation time simt [rad].
    double axisLongitude(double simt) const;
    // Rotation angle about the planet's axis at simulation time simt [rad], in [0, 2 pi): the prime
    // meridian's angle from the axis's ascending node, with the precession's share taken out.
    double rotationAngle(double simt) const;
    PlanetFrame frameAt(double simt) const;
    // Angular rate of the planet [rad/s].
    double rotRate() const { return kTwoPi / rotPeriod; }
    // Gravitational acceleration at a planet-centred position (any axes). Inline: every integration stage
    // of every vessel asks for it.
    Vec3 gravity(Vec3 r) const {
        double r2 = dot(r, r);
        if (!(r2 > 0)) return {};
        double rl = std::sqrt(r2);
        return r * (-gm / (r2 * rl));
    }
};

// The shared default Earth every Body refers to unless the host gives it another planet.
const Planet& earth();

} // namespace orb::phys
