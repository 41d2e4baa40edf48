// Placing a vessel (landed or in free flight), the status records and the Euler-angle convention.
#include "Landing.h"
#include "Physics.h"

namespace orb::phys {

Mat3 eulerToMatrix(Vec3 a) {
    double ca = std::cos(a.x), sa = std::sin(a.x), cb = std::cos(a.y), sb = std::sin(a.y);
    double cg = std::cos(a.z), sg = std::sin(a.z);
    Mat3 rx{1, 0, 0, 0, ca, sa, 0, -sa, ca};
    Mat3 ry{cb, 0, -sb, 0, 1, 0, sb, 0, cb};
    Mat3 rz{cg, sg, 0, -sg, cg, 0, 0, 0, 1};
    return mul(rx, mul(ry, rz));
}

Vec3 matrixToEuler(const Mat3& r) {
    double s = r.m13 > 1 ? 1.0 : (r.m13 < -1 ? -1.0 : r.m13);
    return {std::atan2(r.m23, r.m33), -std::asin(s), std::atan2(r.m12, r.m11)};
}

namespace {
void resetMotionBookkeeping(Body& b) {
    b.restCheckT = -1;
    b.thrustEngaged = false;
    b.forceActive = false;
    b.arot = {};
}
double finiteOr(double v, double fallback) {
    return std::isfinite(v) ? v : fallback;
}
// A place on the ground as the body keeps it, so that a save writes what the next load reads back: the
// latitude within the poles (one past a pole is the place beyond it, half a turn round, where the heading
// turns by half a turn too) and the longitude in (-pi, pi]. An ordinary place keeps its values to the bit.
void keepPlace(Body& b, double lng, double lat, double hdg) {
    lat = std::remainder(finiteOr(lat, 0), kTwoPi);
    lng = finiteOr(lng, 0);
    hdg = finiteOr(hdg, 0);
    if (std::fabs(lat) > kPi / 2) {
        lat = std::copysign(kPi, lat) - lat;
        lng += kPi;
        hdg += kPi;
    }
    lng = std::remainder(lng, kTwoPi);
    b.landLng = lng > -kPi ? lng : lng + kTwoPi;
    b.landLat = lat;
    b.landHdg = hdg;
}
} // namespace

void setLanded(Body& b, double lng, double lat, double hdg, double simt) {
    b.mass = totalMass(b);
    RestGeometry g = restGeometry(b);
    b.landed = true;
    keepPlace(b, lng, lat, hdg);
    b.landHeight = g.height;
    b.landRot = landedRotation(b, b.landLng, b.landLat, b.landHdg, g);
    b.simt = simt;
    b.omega = {};
    resetMotionBookkeeping(b);
    applyLandedState(b);
    updateSurface(b);
    b.stepStart = kinematics(b);
}

void setLandedOriented(Body& b, double lng, double lat, double hdg, Vec3 arot, double height, double simt) {
    b.mass = totalMass(b);
    b.landed = true;
    keepPlace(b, lng, lat, hdg);
    b.landHeight = finiteOr(height, 0);
    b.landRot = eulerToMatrix({finiteOr(arot.x, 0), finiteOr(arot.y, 0), finiteOr(arot.z, 0)});
    b.simt = simt;
    b.omega = {};
    resetMotionBookkeeping(b);
    applyLandedState(b);
    updateSurface(b);
    b.stepStart = kinematics(b);
}

void setFreeFlight(Body& b, Vec3 rpos, Vec3 rvel, Vec3 arot, Vec3 vrot, double simt) {
    auto finite = [](Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); };
    const Planet& pl = *b.planet;
    b.mass = totalMass(b);
    b.landed = false;
    if (!finite(rpos) || length(rpos) < pl.radius) rpos = {0, 0, 1.1 * pl.radius};
    b.pos = rpos;
    b.vel = finite(rvel) ? rvel : Vec3{};
    b.rot = eulerToMatrix(finite(arot) ? arot : Vec3{});
    b.q = toQuat(b.rot);
    b.omega = finite(vrot) ? vrot : Vec3{};
    b.simt = simt;
    resetMotionBookkeeping(b);
    b.acc = pl.gravity(b.pos);
    updateSurface(b);
    b.stepStart = kinematics(b);
}

StatusInfo getStatus(const Body& b, bool atStepStart) {
    const Kinematics k = kinematics(b, atStepStart);
    StatusInfo s;
    s.status = b.landed ? 1 : 0;
    s.rpos = k.pos;
    s.rvel = k.vel;
    s.vrot = b.landed ? Vec3{b.landHeight, 0, 0} : k.omega;
    s.arot = matrixToEuler(b.landed ? b.landRot : k.rot);
    // A landed body reports the place it keeps: worked out again from its position, the longitude of a pole
    // would be whatever the rounding left.
    s.surfLng = b.landed ? b.landLng : surfaceLng(b);
    s.surfLat = b.landed ? b.landLat : surfaceLat(b);
    s.surfHdg = heading(b);
    return s;
}

} // namespace orb::phys
