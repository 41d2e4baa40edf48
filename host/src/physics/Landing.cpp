#include "Landing.h"

#include "Physics.h"

#include <bit>
#include <cstdint>

namespace orb::phys {

Horizon horizonAt(double lng, double lat) {
    double so = std::sin(lng), co = std::cos(lng), sa = std::sin(lat), ca = std::cos(lat);
    return {{-so, 0, co}, {ca * co, sa, ca * so}, {-sa * co, ca, -sa * so}};
}

namespace {

Vec3 planeNormal(Vec3 p0, Vec3 p1, Vec3 p2) {
    return unit(cross(p0 - (p1 + p2) * 0.5, p2 - p1));
}

} // namespace

RestGeometry restGeometry(const Body& b) {
    RestGeometry g;
    if (b.touchdown.size() < 3) return g;
    Vec3 p0 = b.touchdown[0].pos, p1 = b.touchdown[1].pos, p2 = b.touchdown[2].pos;
    Vec3 n = planeNormal(p0, p1, p2);
    if (length(n) == 0) return g;
    // The weight is shared in proportion to the stiffnesses, so all three points sink equally and the
    // vessel keeps the attitude its touchdown plane gives it.
    const Planet& pl = *b.planet;
    double weight = pl.gm * totalMass(b) / (pl.radius * pl.radius);
    double kSum = b.touchdown[0].stiffness + b.touchdown[1].stiffness + b.touchdown[2].stiffness;
    double sink = kSum > 0 ? weight / kSum : 0.0;
    g.normal = n;
    g.height = -dot(p0, n) - sink;
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
    if (s > 1e-12)
        tilt = axisRotation(axis / s, std::atan2(s, c));
    else if (c < 0)
        tilt = axisRotation({1, 0, 0}, kPi);
    return mul(base, tilt);
}

void applyLandedState(Body& b, const PlanetFrame& f) {
    const Planet& pl = *b.planet;
    // Compared bit for bit: -0 and +0 give zeros of different signs.
    const auto same = [](double a, double c) {
        return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(c);
    };
    if (!same(b.landUpLng, b.landLng) || !same(b.landUpLat, b.landLat)) {
        b.landUp = horizonAt(b.landLng, b.landLat).up;
        b.landUpLng = b.landLng;
        b.landUpLat = b.landLat;
    }
    Vec3 pp = b.landUp * (pl.radius + b.landHeight);
    b.pos = mul(f.rot, pp);
    b.vel = cross(f.omega, b.pos);
    b.rot = mul(f.rot, b.landRot);
    b.q = toQuat(b.rot);
    // Turning with the planet: the vessel-frame rate of a planet-fixed attitude.
    b.omega = -tmul(b.rot, f.omega);
}

} // namespace orb::phys
