#include "Landing.h"

#include "Physics.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace orb::phys {

Horizon horizonAt(double lng, double lat) {
    double so = std::sin(lng), co = std::cos(lng), sa = std::sin(lat), ca = std::cos(lat);
    return {{-so, 0, co}, {ca * co, sa, ca * so}, {-sa * co, ca, -sa * so}};
}

namespace {

Vec3 planeNormal(Vec3 p0, Vec3 p1, Vec3 p2) {
    return cross(p0 - (p1 + p2) * 0.5, p2 - p1);
}

} // namespace

// As the simulator rests a vessel on its first three points: each point's spring takes the share of the
// weight that balances force and moment about the centre of mass, in proportion to its stiffness, so the
// points sink by different amounts and the plane through the sunk points is what stands level. A vessel
// whose centre of mass does not lie over the points' centre stands tilted.
RestGeometry restGeometry(const Body& b) {
    RestGeometry g;
    if (b.touchdown.size() < 3) return g;
    const TouchdownPoint* tp = b.touchdown.data();
    Vec3 nm = planeNormal(tp[0].pos, tp[1].pos, tp[2].pos);
    double len = length(nm);
    if (!(len > 1e-12)) return g;
    nm = nm / len;
    // The points in axes of their plane: x along the line from the second to the third, y its normal.
    Vec3 ex = unit(tp[2].pos - tp[1].pos), ez = cross(ex, nm);
    double a = 0, bx = 0, cz = 0, d = 0, e = 0, f = 0, tx[3], tz[3];
    for (int i = 0; i < 3; ++i) {
        tx[i] = dot(ex, tp[i].pos);
        tz[i] = dot(ez, tp[i].pos);
        double k = tp[i].stiffness;
        a += k, bx += k * tx[i], cz += k * tz[i];
        d += k * tx[i] * tx[i], e += k * tx[i] * tz[i], f += k * tz[i] * tz[i];
    }
    double den = cz * cz * d - 2.0 * bx * cz * e + bx * bx * f + a * (e * e - d * f);
    if (!(std::fabs(den) > 0)) return g;
    double dycg = (e * e - d * f) / den, sinth = (bx * f - cz * e) / den, sinph = (cz * d - bx * e) / den;
    const Planet& pl = *b.planet;
    double mg = pl.gm * totalMass(b) / (pl.radius * pl.radius);
    Vec3 sunk[3];
    for (int i = 0; i < 3; ++i)
        sunk[i] = tp[i].pos + nm * ((dycg + sinth * tx[i] + sinph * tz[i]) * mg);
    Vec3 n = unit(planeNormal(sunk[0], sunk[1], sunk[2]));
    if (!(length(n) > 0)) return g;
    g.normal = n;
    g.height = -dot(n, sunk[0]);
    return g;
}

Mat3 landedRotation(const Body&, double lng, double lat, double hdg, const RestGeometry& g) {
    Horizon h = horizonAt(lng, lat);
    double ch = std::cos(hdg), sh = std::sin(hdg);
    // Heading frame: +y up, +z along the heading, +x to its right.
    Mat3 base = fromColumns(h.east * ch - h.north * sh, h.up, h.north * ch + h.east * sh);
    // Tilted so that the resting plane's normal points up: a turn by the tilt about the horizontal axis
    // that lies at the normal's azimuth phi in the vessel's x-z plane.
    Vec3 n = g.normal;
    double tilt = std::acos(std::clamp(n.y, -1.0, 1.0));
    if (!(tilt > 1e-8)) return base;
    double phi = std::atan2(n.x, -n.z), sp = std::sin(phi), cp = std::cos(phi);
    double sa = std::sin(tilt), ca = std::cos(tilt);
    Mat3 toAxis{cp, 0, sp, 0, 1, 0, -sp, 0, cp}, turn{1, 0, 0, 0, ca, -sa, 0, sa, ca},
        back{cp, 0, -sp, 0, 1, 0, sp, 0, cp};
    return mul(base, mul(back, mul(turn, toAxis)));
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
    // Carried round with the planet at the speed of its surface below (the planet's radius, not the centre of
    // mass's), as the simulator moves a landed vessel.
    b.vel = cross(f.omega, b.pos) * (pl.radius / (pl.radius + b.landHeight));
    b.rot = mul(f.rot, b.landRot);
    b.q = toQuat(b.rot);
    // What the simulator takes as a landed vessel's acceleration (the first stage of the integration once it
    // lifts off): the pull toward the planet's centre that keeps it turning with the planet. Its angular
    // velocity is left as it was: zero after a load, what remained after it came to rest.
    double w = pl.rotRate();
    b.acc = b.pos * (-w * w * std::cos(b.landLat));
}

} // namespace orb::phys
