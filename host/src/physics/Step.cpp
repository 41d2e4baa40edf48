// Per-step flight: thrust, aerodynamics, integration, lift-off, ground contact and return to the landed
// state.
//
// Like the simulator, thrust and aerodynamic loads are evaluated once per step in the vessel frame; the
// integrator (classical Runge-Kutta 4 on position, velocity, attitude quaternion and angular velocity)
// re-evaluates gravity and the touchdown springs at every stage. Near the ground the step is split into
// substeps short enough for the stiffest touchdown spring, and for a fast-turning vessel into substeps of at
// most half a radian.
#include "Landing.h"
#include "Physics.h"

#include <algorithm>
#include <cstring>

namespace orb::phys {
namespace {

// Exactly zero in every bit (a -0.0 counts as written).
bool isZero(Vec3 v) {
    const Vec3 z{};
    return std::memcmp(&v, &z, sizeof v) == 0;
}

constexpr double kRestTime = 5.0;    // seconds at rest before the vessel counts as landed again
constexpr double kRestRate = 1e-4;   // [m/s] and [rad/s] below which the vessel is at rest
constexpr double kStickSpeed = 0.02; // [m/s] slower sliding is held by static friction
constexpr int kMaxSubsteps = 200;
// Enough for the largest rate a scenario can hold (1e6 degrees per second) in a default step of a slender
// body; faster rotations are left to the world, which stops the run once a state leaves what a scenario
// holds.
constexpr int kMaxRotationSubsteps = 2000;

struct State {
    Vec3 pos, vel;
    Quat q;
    Vec3 omega;
};
struct Deriv {
    Vec3 dpos, dvel;
    Quat dq;
    Vec3 domega;
};

State advance(const State& s, const Deriv& d, double h) {
    return {s.pos + d.dpos * h,
            s.vel + d.dvel * h,
            {s.q.w + d.dq.w * h, s.q.x + d.dq.x * h, s.q.y + d.dq.y * h, s.q.z + d.dq.z * h},
            s.omega + d.domega * h};
}

bool finite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
bool finite(const State& s) {
    return finite(s.pos) && finite(s.vel) && finite(s.omega) && std::isfinite(s.q.w) &&
           std::isfinite(s.q.x) && std::isfinite(s.q.y) && std::isfinite(s.q.z);
}

// Thrust of every thruster into F/M (vessel frame), propellant use; empty tanks switch thrusters off.
// Returns whether any thruster pushed: a thruster of zero thrust (a carrier of exhaust effects) does not
// count, so it neither lifts a landed vessel off nor keeps a resting one from landing.
// Only the lit thrusters are visited (the others give nothing), in index order as the sums need.
bool applyThrusters(Body& b, double dt, Vec3& F, Vec3& M) {
    bool any = false;
    double p = b.surf.p;
    auto& lit = b.litThrusters;
    size_t kept = 0;
    for (int i : lit) {
        Thruster& th = b.thrusters[size_t(i)];
        if (th.level <= 0) continue;
        if (th.tank < 0 || !(b.tanks[th.tank].mass > 0)) {
            th.level = 0;
            continue;
        }
        if (lit[kept] != i) lit[kept] = i; // a line left unwritten need not go back to memory
        ++kept;
        Tank& tank = b.tanks[th.tank];
        double f0 = th.maxThrust * th.level;
        tank.mass = std::max(0.0, tank.mass - f0 / (tank.efficiency * th.isp0) * dt);
        Vec3 f = th.dir * (f0 * std::max(0.0, 1.0 - p * th.eta));
        if (dot(f, f) == 0) continue;
        F += f;
        M += cross(f, th.pos);
        any = true;
    }
    lit.resize(kept);
    return any;
}

// Drag, lift, stabilising moments and rotational drag of a vessel without airfoils.
void aerodynamicLoads(const Body& b, double dt, Vec3& F, Vec3& M) {
    const SurfaceParams& s = b.surf;
    if (!s.inAtmosphere || !(s.rho > 0)) return;
    const Vec3 cs = b.crossSections;
    double V = s.airspeed;
    if (V > 0) {
        Vec3 v = s.airVelShip;
        Vec3 u = v / V;
        double vdForw = 0.5 * cs.z * b.cwZPos, vdSide = 0.5 * cs.x * b.cwX, vdVert = 0.5 * cs.y * b.cwY;
        double drag = s.dynp * (vdSide * std::fabs(u.x) + vdVert * std::fabs(u.y) + vdForw * std::fabs(u.z));
        double aoa = std::atan2(-v.y, v.z);
        if (b.liftCoeff) {
            double cl = b.liftCoeff(-std::atan2(v.y, v.z));
            double vyz = std::sqrt(v.y * v.y + v.z * v.z);
            if (std::isfinite(cl) && cl != 0 && vyz > 0) {
                double lift = cl * s.dynp * cs.y;
                F += Vec3{0, v.z, -v.y} * (lift / vyz);
                double ind = b.wingAspect * b.wingEffectiveness;
                if (ind > 0) drag += lift * cl / ind;
            }
        }
        // Explicit drag must not reverse the airflow within one step (very large CW values would).
        drag = std::min(drag, b.mass * V / dt);
        F -= u * drag;
        double fac = b.size * b.mass * s.rho;
        M.x -= fac * V * cs.y * std::sin(aoa) * b.pitchMomentScale;
        M.y -= fac * V * cs.x * std::sin(std::atan2(v.x, v.z)) * b.yawMomentScale;
    }
    // Rotational drag, limited so that one step can at most stop the rotation.
    Vec3 pmi = effectivePmi(b);
    double k = b.size * s.rho;
    M.x -= b.mass * pmi.x * std::min(k * b.rotDrag.x / pmi.x, 1.0 / dt) * b.omega.x;
    M.y -= b.mass * pmi.y * std::min(k * b.rotDrag.y / pmi.y, 1.0 / dt) * b.omega.y;
    M.z -= b.mass * pmi.z * std::min(k * b.rotDrag.z / pmi.z, 1.0 / dt) * b.omega.z;
}

// Aerodynamic loads are dropped when a configuration value is not a number, so the vessel still flies.
void applyAerodynamics(const Body& b, double dt, Vec3& F, Vec3& M) {
    Vec3 fa, ma;
    aerodynamicLoads(b, dt, fa, ma);
    if (finite(fa) && finite(ma)) {
        F += fa;
        M += ma;
    }
}

// Everything the derivative needs during one step.
struct Dynamics {
    const Body& b;
    const Planet& pl;
    Vec3 forceV, torqueV; // thrust + aerodynamics + AddForce, vessel frame
    Vec3 pmi;
    Vec3 planetOmega; // global, component formula
    double mass;
    double hSub; // substep length (friction limit)
    bool ground; // evaluate touchdown springs

    // Touchdown spring, damper and friction loads: force in global axes, torque in vessel axes.
    void groundLoads(const State& s, const Mat3& R, Vec3& Fg, Vec3& Mv) const {
        const double radius = pl.radius;
        const auto& tds = b.touchdown;
        Vec3 wg = mul(R, -s.omega); // angular velocity, global, component formula
        Vec3 lngAxis;
        if (tds.size() >= 3) lngAxis = mul(R, tds[0].pos - (tds[1].pos + tds[2].pos) * 0.5);
        int n = int(tds.size());
        for (int i = 0; i < n; ++i) {
            const TouchdownPoint& tp = tds[i];
            Vec3 r = mul(R, tp.pos);
            Vec3 P = s.pos + r;
            double rad = length(P);
            double d = radius - rad;
            if (!(d > 0) || !(rad > 0)) continue;
            d = std::min(d, 1.0);
            Vec3 nrm = P / rad;
            Vec3 vp = s.vel + cross(wg, r) - cross(planetOmega, P);
            double vn = dot(vp, nrm);
            double fn = std::max(0.0, d * tp.stiffness - tp.damping * vn);
            Vec3 f = nrm * fn;
            // Friction against the sliding direction, longitudinal and lateral coefficients.
            Vec3 vt = vp - nrm * vn;
            double vts = length(vt);
            if (vts > 0) {
                Vec3 l = unit(lngAxis - nrm * dot(lngAxis, nrm));
                if (length(l) == 0) l = unit(vt);
                Vec3 lat = cross(nrm, l);
                double muL = i < 3 ? tp.muLng : tp.mu;
                double base = std::min(d, 0.1) * tp.stiffness * (vts < 10 ? std::sqrt(0.1 * vts) : 1.0);
                Vec3 fr = (l * (muL * dot(vt, l)) + lat * (tp.mu * dot(vt, lat))) * (-base / vts);
                // Friction may stop the point's share of the mass within a substep, never reverse it.
                double cap = mass / n * vts / hSub, frl = length(fr);
                if (frl > cap) fr = fr * (cap / frl);
                f += fr;
            }
            Fg += f;
            Mv += cross(tmul(R, f), tp.pos);
        }
    }

    Deriv eval(const State& s) const {
        Mat3 R = toMatrix(s.q);
        Vec3 acc = pl.gravity(s.pos) + mul(R, forceV) / mass;
        Vec3 tq = torqueV;
        if (ground) {
            Vec3 fg, mv;
            groundLoads(s, R, fg, mv);
            acc += fg / mass;
            tq += mv;
        }
        const Vec3 w = s.omega;
        Vec3 dw{(tq.x / mass - (pmi.y - pmi.z) * w.y * w.z) / pmi.x,
                (tq.y / mass - (pmi.z - pmi.x) * w.z * w.x) / pmi.y,
                (tq.z / mass - (pmi.x - pmi.y) * w.x * w.y) / pmi.z};
        // Attitude kinematics with the component-formula rate (-omega): dq = q * (0, -omega) / 2.
        Quat dq = s.q * Quat{0, -0.5 * w.x, -0.5 * w.y, -0.5 * w.z};
        return {s.vel, acc, dq, dw};
    }
};

// Substeps needed for the touchdown springs and dampers to stay stable and accurate.
int groundSubsteps(const Body& b, const Vec3& pmi, double dt) {
    double kSum = 0, cSum = 0, kRot = 0, cRot = 0;
    for (const auto& tp : b.touchdown) {
        double r2 = dot(tp.pos, tp.pos);
        kSum += tp.stiffness;
        cSum += tp.damping;
        kRot += tp.stiffness * r2;
        cRot += tp.damping * r2;
    }
    double pmin = std::min(pmi.x, std::min(pmi.y, pmi.z));
    double m = b.mass;
    double w = std::sqrt(std::max(kSum / m, kRot / (m * pmin)));
    double c = std::max(cSum / m, cRot / (m * pmin));
    double n = std::ceil(std::max(w * dt / 0.5, c * dt / 1.0));
    return std::clamp(int(std::isfinite(n) ? n : kMaxSubsteps), 1, kMaxSubsteps);
}

// Substeps needed for a fast-turning vessel. A single Runge-Kutta step grows the attitude and the
// gyroscopic coupling of Euler's equations without bound once a rotation covers more than about 2.8 rad in
// it (a missile spinning about its long axis, say); half a radian per substep keeps them sound. The
// coupling turns the transverse rates at up to |omega| times the largest (I_j - I_k) / I_i.
int rotationSubsteps(const Vec3& omega, const Vec3& pmi, double dt) {
    // The coupling is at most the largest difference over the smallest moment: a first test without a
    // division or a root lets the usual slow turn through at once.
    const double spread =
        std::max({std::fabs(pmi.y - pmi.z), std::fabs(pmi.z - pmi.x), std::fabs(pmi.x - pmi.y)});
    const double smallest = std::min({pmi.x, pmi.y, pmi.z});
    const double bound = std::max(smallest, spread) * dt;
    if (!(dot(omega, omega) * bound * bound > 0.25 * smallest * smallest)) return 1;
    const double coupling = std::max({std::fabs(pmi.y - pmi.z) / pmi.x, std::fabs(pmi.z - pmi.x) / pmi.y,
                                      std::fabs(pmi.x - pmi.y) / pmi.z});
    const double n = std::ceil(length(omega) * dt * std::max(1.0, coupling) / 0.5);
    return std::isfinite(n) && n < kMaxRotationSubsteps ? std::max(int(n), 1) : kMaxRotationSubsteps;
}

// Static friction: slow sliding and turning about the vertical stop while the vessel rests on its points.
void holdOnGround(Body& b, const PlanetFrame& f) {
    Vec3 up = unit(b.pos);
    Vec3 vrel = b.vel - cross(f.omega, b.pos);
    Vec3 vt = vrel - up * dot(vrel, up);
    if (length(vt) < kStickSpeed) b.vel -= vt;
    Vec3 co = -tmul(b.rot, f.omega); // co-rotating rate, vessel frame
    Vec3 upV = tmul(b.rot, up);
    double spin = dot(b.omega - co, upV);
    if (std::fabs(spin) < 10 * kStickSpeed) b.omega -= upV * spin;
}

// Counts the time at rest in contact with the ground and lands the vessel after kRestTime.
void checkLanded(Body& b, bool thrust, const PlanetFrame& f) {
    bool resting = false;
    if (b.surf.groundContact && !thrust) {
        Vec3 vrel = b.vel - cross(f.omega, b.pos);
        Vec3 wrel = b.omega + tmul(b.rot, f.omega);
        resting = length(vrel) < kRestRate && length(wrel) < kRestRate;
    }
    if (!resting) {
        b.restSinceT = -1;
        return;
    }
    if (b.restSinceT < 0) b.restSinceT = b.simt;
    if (b.simt - b.restSinceT < kRestTime) return;
    // Land where it stands, keeping its orientation and height.
    b.landed = true;
    b.landLng = surfaceLng(b);
    b.landLat = surfaceLat(b);
    b.landHdg = heading(b);
    b.landHeight = b.surf.alt;
    b.landRot = mul(transpose(f.rot), b.rot);
    b.restSinceT = -1;
    applyLandedState(b, f);
    updateSurface(b, f);
}

} // namespace

void step(Body& b, double simt, double dt) {
    if (!(dt > 0) || !std::isfinite(dt)) {
        b.addForce = b.addTorque = {};
        return;
    }
    step(b, simt, dt, b.planet->frameAt(simt + dt));
}

void step(Body& b, double simt, double dt, const PlanetFrame& fEnd) {
    const Planet& pl = *b.planet;
    if (!(dt > 0) || !std::isfinite(dt)) {
        b.addForce = b.addTorque = {};
        return;
    }
    if (b.landed && b.simt != simt) { // keep the ground position in step with the planet
        b.simt = simt;
        applyLandedState(b);
    }
    b.mass = totalMass(b);
    Vec3 F = b.addForce, M = b.addTorque;
    if (!isZero(F) || !isZero(M)) b.addForce = b.addTorque = {}; // most steps have none: the line stays clean
    bool thrust = applyThrusters(b, dt, F, M);
    b.thrustEngaged = thrust;

    if (b.landed) {
        if (!thrust && dot(F, F) == 0 && dot(M, M) == 0) {
            b.simt = simt + dt;
            applyLandedState(b, fEnd);
            b.mass = totalMass(b);
            updateSurface(b, fEnd);
            return;
        }
        b.landed = false; // lift-off: the touchdown springs hold the vessel from now on
        b.restSinceT = -1;
    }

    applyAerodynamics(b, dt, F, M);

    // The planet turns about a fixed axis, so its rotation vector is the same at both ends of the step.
    Dynamics dyn{b, pl, F, M, effectivePmi(b), fEnd.omega, b.mass, dt, false};
    double reach = 2 * b.size + length(b.vel - cross(dyn.planetOmega, b.pos)) * dt;
    dyn.ground = b.surf.alt < reach;
    int n = std::max(dyn.ground ? groundSubsteps(b, dyn.pmi, dt) : 1, rotationSubsteps(b.omega, dyn.pmi, dt));
    double h = dt / n;
    dyn.hSub = h;

    State s{b.pos, b.vel, b.q, b.omega};
    for (int i = 0; i < n; ++i) {
        Deriv k1 = dyn.eval(s);
        Deriv k2 = dyn.eval(advance(s, k1, h / 2));
        Deriv k3 = dyn.eval(advance(s, k2, h / 2));
        Deriv k4 = dyn.eval(advance(s, k3, h));
        Deriv sum{k1.dpos + (k2.dpos + k3.dpos) * 2 + k4.dpos,
                  k1.dvel + (k2.dvel + k3.dvel) * 2 + k4.dvel,
                  {k1.dq.w + 2 * (k2.dq.w + k3.dq.w) + k4.dq.w, k1.dq.x + 2 * (k2.dq.x + k3.dq.x) + k4.dq.x,
                   k1.dq.y + 2 * (k2.dq.y + k3.dq.y) + k4.dq.y, k1.dq.z + 2 * (k2.dq.z + k3.dq.z) + k4.dq.z},
                  k1.domega + (k2.domega + k3.domega) * 2 + k4.domega};
        s = advance(s, sum, h / 6);
        s.q = normalized(s.q);
    }
    // A configuration value that is not a number (a module's NaN cross section, say) must not poison the
    // state for good: such a step is dropped and the vessel keeps its last sound state.
    if (!finite(s)) s = State{b.pos, b.vel, b.q, b.omega};
    b.pos = s.pos;
    b.vel = s.vel;
    b.q = s.q;
    b.rot = toMatrix(s.q);
    b.omega = s.omega;
    b.simt = simt + dt;
    b.mass = totalMass(b);
    updateSurface(b, fEnd);
    if (b.surf.groundContact) {
        if (!thrust) holdOnGround(b, fEnd);
        checkLanded(b, thrust, fEnd);
        if (!b.landed) updateSurface(b, fEnd);
    }
}

} // namespace orb::phys
