// Per-step flight: thrust, aerodynamics, integration, lift-off, ground contact and return to the landed
// state, as the simulator's core computes them.
//
// Thrust and aerodynamic loads are evaluated once per step, from the state at its start, in the vessel frame.
// A landed vessel stays where the planet carries it; the step in which its engines first push only releases
// it (the simulator drops that step's forces and lets it go without rotation). In flight the simulator's own
// propagators advance position, velocity, attitude and angular velocity (Propagators.cpp); their later stages
// evaluate gravity and the touchdown points' springs, dampers and friction at the intermediate states.
#include "Landing.h"
#include "Physics.h"
#include "Propagators.h"

#include <algorithm>
#include <cstring>

namespace orb::phys {
namespace {

// Exactly zero in every bit (a -0.0 counts as written).
bool isZero(Vec3 v) {
    const Vec3 z{};
    return std::memcmp(&v, &z, sizeof v) == 0;
}

constexpr double kRestMotion = 1e-4;     // [m^2/s] and [rad/s] below which a vessel on the ground is at rest
constexpr double kRestTime = 5.0;        // seconds at rest before the vessel counts as landed again
constexpr double kRestSample = 0.1;      // the rest is looked at no more often than this [s]
constexpr double kMaxSpin = 100.0 * kPi; // the simulator's last resort against a runaway rotation [rad/s]

bool finite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
bool finite(const Stage& s) {
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
    if (!(V >= 1e-8)) return;
    Vec3 v = s.airVelShip;
    Vec3 u = v / V;
    double aoa = std::atan2(-v.y, v.z);
    double fac = b.size * b.mass * s.rho;
    M.x -= fac * V * cs.y * std::sin(aoa) * b.pitchMomentScale;
    M.y -= fac * V * cs.x * std::sin(std::atan2(v.x, v.z)) * b.yawMomentScale;
    // Rotational drag. Where one step of it would more than stop the rotation (the simulator's explicit step
    // then turns the vessel ever faster the other way), it stops it: this host's one departure from the
    // simulator's loads, for values no vessel flies with.
    const Vec3 pmi = effectivePmi(b);
    const double stop = b.mass / dt;
    M.x -= std::min(fac * b.rotDrag.x, stop * pmi.x) * b.omega.x;
    M.y -= std::min(fac * b.rotDrag.y, stop * pmi.y) * b.omega.y;
    M.z -= std::min(fac * b.rotDrag.z, stop * pmi.z) * b.omega.z;
    double drag = 0;
    if (b.liftCoeff) {
        double cl = b.liftCoeff(aoa);
        if (std::isfinite(cl) && cl != 0) {
            double lift = cl * s.dynp * cs.y;
            double vyz = std::hypot(v.z, v.y);
            if (vyz > 0) F += Vec3{0, v.z, -v.y} * (lift / vyz);
            drag = lift * cl / (b.wingAspect * b.wingEffectiveness);
        }
    }
    double vdForw = 0.5 * cs.z * b.cwZPos, vdSide = 0.5 * cs.x * b.cwX, vdVert = 0.5 * cs.y * b.cwY;
    drag += (vdSide * std::fabs(u.x) + vdVert * std::fabs(u.y) + vdForw * std::fabs(u.z)) * s.dynp;
    // Likewise drag never reverses the airflow within one step (very large drag coefficients would).
    drag = std::min(drag, b.mass * V / dt);
    F -= u * drag;
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

// The simulator's test for the return to the landed state: a vessel in contact with the ground, without
// thrust, that has moved less than kRestMotion for kRestTime lands where it stands, as it stands.
void checkLanded(Body& b, const PlanetFrame& f) {
    const bool contact = b.surf.groundContact;
    if (b.restCheckT < 0) {
        if (contact && !b.thrustEngaged) {
            b.restCheckT = b.simt;
            b.restCheckPos = b.surf.planetPos;
            b.restCheckQ = b.q;
        }
        return;
    }
    if (!contact || b.thrustEngaged) {
        b.restCheckT = -1;
        return;
    }
    double dt = b.simt - b.restCheckT;
    if (dt < kRestSample) return;
    Vec3 d = b.surf.planetPos - b.restCheckPos;
    double va = std::sqrt(b.q.x * b.q.x + b.q.y * b.q.y + b.q.z * b.q.z);
    const Quat& p = b.restCheckQ;
    double vb = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    double turned =
        va > 0 && vb > 0
            ? std::acos(std::clamp((b.q.x * p.x + b.q.y * p.y + b.q.z * p.z) / (va * vb), -1.0, 1.0))
            : 0.0;
    b.restCheckPos = b.surf.planetPos;
    b.restCheckQ = b.q;
    if (dot(d, d) / dt > kRestMotion || turned / dt > kRestMotion) {
        b.restCheckT = b.simt; // still moving
        return;
    }
    if (dt <= kRestTime) return;
    b.landed = true;
    b.landLng = surfaceLng(b);
    b.landLat = surfaceLat(b);
    b.landHdg = heading(b);
    b.landHeight = b.surf.alt;
    b.landRot = mul(transpose(f.rot), b.rot);
    b.restCheckT = -1;
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
    if (!(dt > 0) || !std::isfinite(dt)) {
        b.addForce = b.addTorque = {};
        return;
    }
    if (b.landed && b.simt != simt) { // keep the ground position in step with the planet
        b.simt = simt;
        applyLandedState(b);
    }
    b.stepStart = {b.pos, b.vel, b.rot, b.omega};
    b.mass = totalMass(b);
    Vec3 F = b.addForce, M = b.addTorque;
    if (!isZero(F) || !isZero(M)) b.addForce = b.addTorque = {}; // most steps have none: the line stays clean
    bool thrust = applyThrusters(b, dt, F, M);
    b.thrustEngaged = thrust;

    if (b.landed) {
        // The landed vessel moves on with the planet. A push, or touchdown points that changed, releases it
        // there at the step's end, without rotation: that step's forces act on nothing.
        b.simt = simt + dt;
        applyLandedState(b, fEnd);
        if (thrust || b.forceActive || dot(F, F) != 0 || dot(M, M) != 0) {
            b.landed = false;
            b.forceActive = false;
            b.omega = {};
            b.restCheckT = -1;
        }
        b.mass = totalMass(b);
        updateSurface(b, fEnd);
        return;
    }

    applyAerodynamics(b, dt, F, M);
    Stage s{b.pos, b.vel, b.q, b.omega};
    Vec3 acc = b.acc, arot = b.arot;
    const Stage start = s;
    StageForces forces{b, F, M, effectivePmi(b), b.mass, simt, dt, fEnd};
    propagate(forces, dt, s, acc, arot, b.surf.groundContact, b.contactSpeedChecked);
    // The simulator's last resort against a rotation that runs away.
    double spin = length(s.omega);
    if (spin > kMaxSpin) {
        s.omega = s.omega * (kMaxSpin / spin);
        arot = {};
    }
    // A configuration value that is not a number (a module's NaN cross section, say) must not poison the
    // state for good: such a step is dropped and the vessel keeps its last sound state.
    if (!finite(s) || !finite(acc) || !finite(arot)) {
        s = start;
        acc = b.planet->gravity(s.pos);
        arot = {};
    }
    b.pos = s.pos;
    b.vel = s.vel;
    b.q = s.q;
    b.rot = toMatrix(s.q);
    b.omega = s.omega;
    b.acc = acc;
    b.arot = arot;
    b.simt = simt + dt;
    b.mass = totalMass(b);
    updateSurface(b, fEnd);
    checkLanded(b, fEnd);
}

} // namespace orb::phys
