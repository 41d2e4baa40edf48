// Surface-relative quantities: position over the planet, attitude against the horizon, airflow.
#include "Landing.h"
#include "Physics.h"

namespace orb::phys {

namespace {

double wrap2Pi(double a) {
    a = std::fmod(a, kTwoPi);
    if (a < 0) a += kTwoPi;
    return a < kTwoPi ? a : 0.0; // a tiny negative angle must not come out as 2 pi
}

// The parts of the vessel's +z axis over the horizon that give its heading; a vertical +z axis falls back
// to -y.
void keepHeadingAxis(SurfaceParams& s, const Mat3& rot, Vec3 eastG, Vec3 northG) {
    Vec3 z = column(rot, 2);
    double e = dot(z, eastG), n = dot(z, northG);
    if (std::fabs(e) <= 1e-4 && std::fabs(n) <= 1e-4) {
        Vec3 my = -column(rot, 1);
        e = dot(my, eastG);
        n = dot(my, northG);
    }
    s.headingEast = e;
    s.headingNorth = n;
}

// The horizon axes from the position itself (no trigonometry); the poles fall back to the angles.
Horizon horizonFromPosition(const Body& b, Vec3 pp) {
    double rho = std::sqrt(pp.x * pp.x + pp.z * pp.z), r = length(pp);
    if (!(rho > 1e-9 * r)) return horizonAt(surfaceLng(b), surfaceLat(b));
    double cl = pp.x / rho, sl = pp.z / rho, ca = rho / r, sa = pp.y / r;
    return {{-sl, 0, cl}, {ca * cl, sa, ca * sl}, {-sa * cl, ca, -sa * sl}};
}

// The simulator's test: a point below the local horizon plane through the ground under the centre of mass
// (not below the sphere).
bool anyPointBelowGround(const Body& b) {
    if (b.surf.alt > 2.0 * b.size) return false; // out of reach of the ground, as the simulator tests it
    const Vec3 up = b.pos / b.surf.rad;
    for (const auto& tp : b.touchdown)
        if (dot(up, mul(b.rot, tp.pos)) + b.surf.alt < 0.0) return true;
    return false;
}

} // namespace

void updateSurface(Body& b) {
    updateSurface(b, b.planet->frameAt(b.simt));
}

void updateSurface(Body& b, const PlanetFrame& f) {
    const Planet& pl = *b.planet;
    SurfaceParams& s = b.surf;
    Vec3 pp = tmul(f.rot, b.pos);
    s.planetPos = pp;
    s.rad = length(pp);
    s.lng = s.lat = SurfaceParams::kUnknown;
    s.alt = s.rad - pl.radius;

    Horizon h = horizonFromPosition(b, pp);
    Vec3 eastG = mul(f.rot, h.east), upG = mul(f.rot, h.up), northG = mul(f.rot, h.north);

    // A landed vessel moves with the ground: the simulator sets its air and ground speeds to zero.
    s.groundVel = b.landed ? Vec3{} : b.vel - cross(f.omega, b.pos);
    s.airVelHorizon = {dot(s.groundVel, eastG), dot(s.groundVel, upG), dot(s.groundVel, northG)};
    s.airVelShip = tmul(b.rot, s.groundVel);
    s.airspeed = length(s.groundVel);

    s.inAtmosphere = s.rad < pl.radius + pl.atmAltLimit;
    AtmState a = atmosphere(s.alt, pl.atmAltLimit);
    s.T = a.T;
    s.p = a.p;
    s.rho = a.rho;
    s.dynp = b.landed ? 0.0 : 0.5 * a.rho * s.airspeed * s.airspeed;

    s.pitch = s.bank = s.heading = SurfaceParams::kUnknown;
    s.anglesLanded = b.landed;
    if (b.landed) {
        s.upShip = tmul(b.landRot, h.up);
        s.landedHeading = b.landHdg;
        s.groundContact = true;
    } else {
        s.upShip = tmul(b.rot, upG);
        keepHeadingAxis(s, b.rot, eastG, northG);
        s.groundContact = anyPointBelowGround(b);
    }
}

double surfaceLng(const Body& b) {
    const SurfaceParams& s = b.surf;
    if (std::isnan(s.lng)) s.lng = std::atan2(s.planetPos.z, s.planetPos.x);
    return s.lng;
}

double surfaceLat(const Body& b) {
    const SurfaceParams& s = b.surf;
    if (std::isnan(s.lat)) s.lat = s.rad > 0 ? std::asin(std::clamp(s.planetPos.y / s.rad, -1.0, 1.0)) : 0.0;
    return s.lat;
}

double pitch(const Body& b) {
    const SurfaceParams& s = b.surf;
    if (std::isnan(s.pitch)) {
        const Vec3 u = s.upShip;
        s.pitch = s.anglesLanded ? std::atan2(u.z, u.y) : std::asin(std::clamp(u.z, -1.0, 1.0));
    }
    return s.pitch;
}

double bank(const Body& b) {
    const SurfaceParams& s = b.surf;
    if (std::isnan(s.bank)) {
        // A vessel standing on its tail (landed or flying) has no defined bank: 0, not rounding noise.
        const Vec3 u = s.upShip;
        s.bank = (std::fabs(u.x) <= 1e-4 && std::fabs(u.y) <= 1e-4) ? 0.0 : std::atan2(u.x, u.y);
    }
    return s.bank;
}

double heading(const Body& b) {
    const SurfaceParams& s = b.surf;
    if (std::isnan(s.heading))
        s.heading = wrap2Pi(s.anglesLanded ? s.landedHeading : std::atan2(s.headingEast, s.headingNorth));
    return s.heading;
}

double aoa(const Body& b) {
    return -std::atan2(b.surf.airVelShip.y, b.surf.airVelShip.z);
}
double slipAngle(const Body& b) {
    return -std::atan2(b.surf.airVelShip.x, b.surf.airVelShip.z);
}
double machNumber(const Body& b) {
    double c = soundSpeed(b.surf.T);
    return c > 0 ? b.surf.airspeed / c : 0.0;
}

} // namespace orb::phys
