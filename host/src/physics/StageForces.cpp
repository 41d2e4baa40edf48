// The accelerations at one stage of a step: gravity, the step's loads, and the ground's contact with the
// touchdown points, as the simulator's core computes them (its Vessel::AddSurfaceForces, dynamic contact).
//
// Each point below the ground pushes along the local vertical with its spring and damper; the pull of a point
// that rises while still below the ground is kept, as the simulator keeps it. Friction acts along and across
// the line from the first point to the middle of the other two, fading at low speed, and the totals are held
// so that they cannot reverse the vessel's sliding within the substep.
#include "Physics.h"
#include "Propagators.h"

#include <algorithm>
#include <cmath>

namespace orb::phys {
namespace {

constexpr double kMaxContactTurn = 10.0 * kPi / 180.0; // largest turn the contact may give in a substep
constexpr double kMaxSink = 1.0;       // depth below the ground beyond which a point pushes no harder
constexpr double kFrictionDepth = 0.1; // depth from which friction no longer grows [m]
constexpr double kFadeSpeed = 10.0;    // friction fades below this sliding speed [m/s]

Vec3 eulerInverse(Vec3 tau, Vec3 w, Vec3 pmi) {
    return {(tau.x - (pmi.y - pmi.z) * w.y * w.z) / pmi.x, (tau.y - (pmi.z - pmi.x) * w.z * w.x) / pmi.y,
            (tau.z - (pmi.x - pmi.y) * w.x * w.y) / pmi.z};
}

// The planet's frame at a stage: the step's end frame turned back about the planet's axis (its precession
// over a step is some 1e-13 rad), without the trigonometry of the frame's date for every stage.
PlanetFrame stageFrame(const StageForces& f, double tfrac) {
    const PlanetFrame& e = f.end;
    const double rate = length(e.omega), angle = rate * (tfrac - 1.0) * f.dt;
    if (angle == 0 || !(rate > 0)) return e;
    const Vec3 k = e.omega / rate;
    const double c = std::cos(angle), s = std::sin(angle);
    const auto turn = [&](Vec3 v) { return v * c + cross(k, v) * s + k * (dot(k, v) * (1 - c)); };
    return {fromColumns(turn(column(e.rot, 0)), turn(column(e.rot, 1)), turn(column(e.rot, 2))), e.omega};
}

// Friction of one point on one horizontal axis against the speed v along it.
double friction(double mu, double press, double v) {
    double f = mu * press;
    if (std::fabs(v) < kFadeSpeed) f *= std::sqrt(std::fabs(0.1 * v));
    return v > 0 ? -f : f;
}

// Force and moment (vessel frame) of the ground on the touchdown points at a stage.
void groundContact(const StageForces& f, const Stage& s, const Mat3& R, double tfrac, double h, Vec3& F,
                   Vec3& M) {
    const Body& b = f.b;
    const Planet& pl = *b.planet;
    const auto& tds = b.touchdown;
    if (tds.size() < 3 || length(s.pos) - pl.radius > 2.0 * b.size) return;
    const PlanetFrame pf = stageFrame(f, tfrac);
    const Mat3 T = mul(transpose(pf.rot), R); // vessel -> planet frame
    const Vec3 ploc = tmul(pf.rot, s.pos);
    const auto depthOf = [&](const TouchdownPoint& tp) { return length(mul(T, tp.pos) + ploc) - pl.radius; };
    if (std::none_of(tds.begin(), tds.end(), [&](const TouchdownPoint& tp) { return depthOf(tp) < 0.0; }))
        return;
    f.collided = true;
    if (!f.withContact) return;

    // The surface below the vessel's centre: its up direction and the ground's velocity, in vessel axes.
    // (The surface point's speed east is the rate times its distance from the axis, rad cos(lat); in the
    // planet frame both come straight from the position, no angles needed.)
    const double rad = length(ploc);
    const Vec3 groundVel = tmul(R, s.vel - mul(pf.rot, Vec3{-ploc.z, 0.0, ploc.x} * pl.rotRate()));
    const Vec3 hn = tmul(T, ploc / rad);
    const Vec3 d1 = tds[0].pos - (tds[1].pos + tds[2].pos) * 0.5;
    const Vec3 d1h = unit(d1 - hn * dot(d1, hn)); // along the points' line, in the horizon plane
    const Vec3 d2h = cross(hn, d1h);              // across it

    // Each component's total and moment are summed apart: the limit below scales a component as a whole.
    double fnTot = 0, flngTot = 0, flatTot = 0;
    Vec3 mn, mlng, mlat;
    for (size_t i = 0; i < tds.size(); ++i) {
        const TouchdownPoint& tp = tds[i];
        double d = depthOf(tp);
        if (!(d < 0.0)) continue;
        d = std::max(d, -kMaxSink);
        Vec3 gv = groundVel + cross(tp.pos, s.omega);
        double press = std::min(-d, kFrictionDepth) * tp.stiffness;
        double flng = friction(i < 3 ? tp.muLng : tp.mu, press, dot(gv, d1h));
        double flat = friction(tp.mu, press, dot(gv, d2h));
        double fn = -d * tp.stiffness - dot(gv, hn) * tp.damping;
        fnTot += fn, flngTot += flng, flatTot += flat;
        mn += cross(hn * fn, tp.pos);
        mlng += cross(d1h * flng, tp.pos);
        mlat += cross(d2h * flat, tp.pos);
    }
    // The friction totals may stop the vessel's sliding within the substep, never reverse it.
    const double massdt = f.mass / h;
    const auto limit = [&](double& total, Vec3& moment, double v) {
        double fmax = -v * massdt;
        if ((fmax >= 0.0 && total > fmax) || (fmax <= 0.0 && total < fmax)) {
            moment = moment * (fmax / total);
            total = fmax;
        }
    };
    limit(flngTot, mlng, dot(groundVel, d1h));
    limit(flatTot, mlat, dot(groundVel, d2h));

    Vec3 Ms = mn + mlng + mlat;
    // A hard impact may not turn the vessel by more than kMaxContactTurn in the substep.
    double turn = length(eulerInverse(Ms / f.mass, s.omega, f.pmi)) * h * h;
    if (turn > kMaxContactTurn) Ms = Ms * (kMaxContactTurn / turn);
    F += hn * fnTot + d1h * flngTot + d2h * flatTot;
    M += Ms;
}

} // namespace

void StageForces::moments(const Stage& s, double tfrac, double h, Vec3& acc, Vec3& aacc) const {
    const Mat3 R = toMatrix(s.q);
    Vec3 F = force, M = torque;
    groundContact(*this, s, R, tfrac, h, F, M);
    acc = b.planet->gravity(s.pos) + mul(R, F / mass);
    aacc = eulerInverse(M / mass, s.omega, pmi);
}

} // namespace orb::phys
