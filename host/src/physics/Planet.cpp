#include "Planet.h"

namespace orb::phys {

namespace {

// Rotation angle for a given axis longitude L: the daily turns since the epoch of rotOffset, minus the share
// of the axis's precession (L cos e) so that the prime meridian stays put against the stars.
double rotationAngleAt(const Planet& p, double simt, double axisLng) {
    // Time since the epoch of rotOffset, split to keep precision over long runs.
    double days = p.epochMjd - kMjdJ2000;
    double turnsFromDays = days * 86400.0 / p.rotPeriod;
    double fracDays = turnsFromDays - std::floor(turnsFromDays);
    double a = p.rotOffset + kTwoPi * (fracDays + simt / p.rotPeriod) - axisLng * std::cos(p.obliquity);
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

} // namespace

double Planet::axisLongitude(double simt) const {
    if (precessionPeriod == 0) return lan;
    double days = (epochMjd - lanMjd) + simt / 86400.0;
    return lan + kTwoPi / precessionPeriod * days;
}

double Planet::rotationAngle(double simt) const {
    return rotationAngleAt(*this, simt, axisLongitude(simt));
}

PlanetFrame Planet::frameAt(double simt) const {
    // Planet frame -> global: the tilt of the precessing axis, Ry(L) Rx(-obliquity), times the daily
    // rotation Ry(angle). The north pole (planet +y) comes out at (-sin L sin e, cos e, cos L sin e): leaning
    // toward +z, the direction of the sun at the June solstice, in the left-handed ecliptic frame. (The
    // simulator also derives a rotation offset from this matrix; it is zero for an axis that precesses about
    // the ecliptic pole.)
    double l = axisLongitude(simt);
    double a = rotationAngleAt(*this, simt, l);
    double ca = std::cos(a), sa = std::sin(a);
    double cl = std::cos(l), sl = std::sin(l);
    double ce = std::cos(obliquity), se = std::sin(obliquity);
    Mat3 tilt{cl, -sl * se, -sl * ce, 0, ce, -se, sl, cl * se, cl * ce};
    Mat3 spin{ca, 0, -sa, 0, 1, 0, sa, 0, ca};
    PlanetFrame f;
    f.rot = mul(tilt, spin);
    // Surface points move east: d/dt of Ry(a) v is cross(w, v) with w = -rate * axis in the component
    // formula. (The precession adds some 1e-12 rad/s; the simulator leaves it out of surface speeds too.)
    f.omega = column(f.rot, 1) * (-rotRate());
    return f;
}

const Planet& earth() {
    static const Planet e;
    return e;
}

} // namespace orb::phys
