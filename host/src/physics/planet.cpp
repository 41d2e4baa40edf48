#include "planet.h"

namespace orb::phys {

double Planet::rotationAngle(double simt) const {
    // Time since the epoch of rotOffset, split to keep precision over long runs.
    double days = epochMjd - kMjdJ2000;
    double turnsFromDays = days * 86400.0 / rotPeriod;
    double fracDays = turnsFromDays - std::floor(turnsFromDays);
    double a = rotOffset + kTwoPi * (fracDays + simt / rotPeriod);
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

PlanetFrame Planet::frameAt(double simt) const {
    // Planet frame -> global: axis tilt Rx(obliquity) times the daily rotation Ry(angle).
    double a = rotationAngle(simt);
    double ca = std::cos(a), sa = std::sin(a);
    double ce = std::cos(obliquity), se = std::sin(obliquity);
    Mat3 tilt{1, 0, 0, 0, ce, se, 0, -se, ce};
    Mat3 spin{ca, 0, -sa, 0, 1, 0, sa, 0, ca};
    PlanetFrame f;
    f.rot = mul(tilt, spin);
    // Surface points move east: d/dt of Ry(a) v is cross(w, v) with w = -rate * axis in the component
    // formula.
    f.omega = column(f.rot, 1) * (-rotRate());
    return f;
}

Vec3 Planet::gravity(Vec3 r) const {
    double r2 = dot(r, r);
    if (!(r2 > 0)) return {};
    double rl = std::sqrt(r2);
    return r * (-gm / (r2 * rl));
}

const Planet& earth() {
    static const Planet e;
    return e;
}

} // namespace orb::phys
