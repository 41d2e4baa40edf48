#include "landing.h"

#include "physics.h"

#include <algorithm>

namespace orb::phys {

Horizon horizonAt(double lng, double lat) {
    double so = std::sin(lng), co = std::cos(lng), sa = std::sin(lat), ca = std::cos(lat);
    return {{-so, 0, co}, {ca * co, sa, ca * so}, {-sa * co, ca, -sa * so}};
}

namespace {

Vec3 planeNormal(Vec3 p0, Vec3 p1, Vec3 p2) { return unit(cross(p0 - (p1 + p2) * 0.5, p2 - p1)); }

// Weight shares of three supports from the barycentric coordinates of the CoG's projection onto their plane.
void loadShares(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 n, double share[3]) {
    Vec3 c = n * dot(p0, n); // foot of the CoG on the plane
    Vec3 e1 = p1 - p0, e2 = p2 - p0, e = c - p0;
    double d11 = dot(e1, e1), d12 = dot(e1, e2), d22 = dot(e2, e2), de1 = dot(e, e1), de2 = dot(e, e2);
    double den = d11 * d22 - d12 * d12;
    if (!(std::fabs(den) > 1e-12)) {
        share[0] = share[1] = share[2] = 1.0 / 3.0;
        return;
    }
    double v = (d22 * de1 - d12 * de2) / den, w = (d11 * de2 - d12 * de1) / den;
    share[0] = std::max(0.0, 1 - v - w);
    share[1] = std::max(0.0, v);
    share[2] = std::max(0.0, w);
    double sum = share[0] + share[1] + share[2];
    for (int i = 0; i < 3; ++i) share[i] = sum > 0 ? share[i] / sum : 1.0 / 3.0;
}

} // namespace

RestGeometry restGeometry(const Body& b) {
    RestGeometry g;
    if (b.touchdown.size() < 3) return g;
    Vec3 p[3] = {b.touchdown[0].pos, b.touchdown[1].pos, b.touchdown[2].pos};
    Vec3 n = planeNormal(p[0], p[1], p[2]);
    if (length(n) == 0) return g;
    const Planet& pl = *b.planet;
    double weight = pl.gm * totalMass(b) / (pl.radius * pl.radius);
    double share[3];
    loadShares(p[0], p[1], p[2], n, share);
    for (int i = 0; i < 3; ++i) {
        double k = b.touchdown[i].stiffness;
        double d = k > 0 ? weight * share[i] / k : 0.0;
        p[i] += n * d; // the compressed point moves towards the vessel
    }
    Vec3 nc = planeNormal(p[0], p[1], p[2]);
    if (length(nc) == 0) nc = n;
    g.normal = nc;
    g.height = -dot(p[0], nc);
    return g;
}

Mat3 landedRotation(const Body&, double lng, double lat, double hdg, const RestGeometry& g) {
    Horizon h = horizonAt(lng, lat);
    double ch = std::cos(hdg), sh = std::sin(hdg);
    // Heading frame: +y up, +z along the heading, +x to its right.
    Mat3 base = fromColumns(h.east * ch - h.north * sh, h.up, h.north * ch + h.east * sh);
    // Tilt that turns the touchdown plane's normal onto vessel +y.
    Vec3 n = g.normal, y{0, 1, 0};
    Vec3 axis = cross(n, y);
    double s = length(axis), c = dot(n, y);
    Mat3 tilt;
    if (s > 1e-12) tilt = axisRotation(axis / s, std::atan2(s, c));
    else if (c < 0) tilt = axisRotation({1, 0, 0}, kPi);
    return mul(base, tilt);
}

void applyLandedState(Body& b) {
    const Planet& pl = *b.planet;
    PlanetFrame f = pl.frameAt(b.simt);
    Horizon h = horizonAt(b.landLng, b.landLat);
    Vec3 pp = h.up * (pl.radius + b.landHeight);
    b.pos = mul(f.rot, pp);
    b.vel = cross(f.omega, b.pos);
    b.rot = mul(f.rot, b.landRot);
    b.q = toQuat(b.rot);
    // Turning with the planet: the vessel-frame rate of a planet-fixed attitude.
    b.omega = -tmul(b.rot, f.omega);
}

} // namespace orb::phys
