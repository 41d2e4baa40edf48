// orbphysics: the substitute host's flight physics, as the simulator's core computes it.
//
// What it follows of the core's own code (and the comparison with the core, tests/realcore, holds it to):
//   - propagation (Propagators.cpp): the core's levels and substeps, second-order Runge-Kutta at the usual
//     step, whose first stage takes the accelerations the last step left; higher orders for long steps and
//     fast rotation; the highest with ten substeps while the vessel touches the ground, a step that met the
//     ground on the way made again so; rotation held at 100 pi rad/s;
//   - the ground (StageForces.cpp, Landing.cpp): springs and dampers per touchdown point, not clamped at
//   zero,
//     friction along and across the points' line with limits on the totals; at rest each point's compression
//     balances force and moment by its stiffness and the compressed plane stands level; the first step with
//     thrust only releases a landed vessel, without rotation; a vessel at rest for 5 s lands as it stands;
//   - the air (Atmosphere.cpp): the core's default Earth atmosphere below 90 km, the standard's tables above;
//   - what a module sees in its post-step callback: the state vectors of the step's start (the core makes the
//     new ones current after the callbacks) and the new surface quantities.
// One departure on purpose: drag and rotational drag never reverse a motion within one step, where the
// core's explicit step would diverge (Step.cpp).
//
// How a host uses it
//   - Each vessel owns one orb::phys::Body. Its VESSEL setters write the configuration fields directly
//     (size, emptyMass, pmi, crossSections, cw*, rotDrag, moment scales, touchdown, tanks, thrusters, groups)
//     or use the helpers below where a rule applies (addTank, addThruster, setTouchdownPoints,
//     setSurfaceFriction, setThrusterLevel, setGroupLevel). Handles may be the addresses of the list
//     elements (they stay valid as elements are added) or indices.
//   - Set the epoch once: Body::planet points to earth() by default; a host that knows the scenario's MJD
//     keeps its own Planet with epochMjd set and points every Body to it.
//   - Place a vessel with setLanded (lng, lat, heading; or with a saved orientation and height) or
//     setFreeFlight (rpos, rvel, arot, vrot). Both refresh the surface parameters.
//   - Each simulation step: call step(body, simt, dt) for every vessel, where simt is the time at the
//     start of the step; the body then holds the state at simt + dt and fresh surface parameters. Vessels
//     that share a planet may share its frame at simt + dt too: step(body, simt, dt, frame).
//     AddForce goes into addForce/addTorque (vessel frame) before the step, which consumes them.
//   - Queries (altitude, airspeed, pitch, bank, AOA, heading, GetEquPos, dynamic pressure, ground contact)
//     read body.surf; getStatus gives the VESSELSTATUS / VESSELSTATUS2 quantities.
// Units are SI and radians. All frames are left-handed (see VecMath.h). Nothing here allocates or throws
// during a step.
#pragma once

#include "Atmosphere.h"
#include "Body.h"
#include "Planet.h"
#include "VecMath.h"

#include <cstddef>

namespace orb::phys {

// ---- configuration helpers ----

// Adds a tank; mass < 0 fills it. Returns its index.
int addTank(Body& b, double maxMass, double mass = -1.0, double efficiency = 1.0);
// Adds a thruster (direction normalised, isp0 <= 0 takes the body's default Isp). Returns its index.
int addThruster(Body& b, Vec3 pos, Vec3 dir, double maxThrust, int tank, double isp0 = 0.0,
                double ispRef = 0.0, double pRef = 101.4e3);
// Recomputes the pressure factor after isp0/ispRef/pRef were changed.
void updateIspFactor(Thruster& th);
// Adds a thruster group of a type. Returns its index.
int addGroup(Body& b, int type, const int* members, int count);
// Index of the first group of a type, -1 if none.
int findGroup(const Body& b, int type);
void setThrusterLevel(Body& b, int thruster, double level); // clamped to 0..1
void setGroupLevel(Body& b, int group, double level);       // clamped to 0..1, sets every member
double groupLevel(const Body& b, int group);                // mean member level, 0 for an empty group
// Replaces the touchdown points (at least three). Triggers lift-off of a landed vessel, as in the simulator.
void setTouchdownPoints(Body& b, const TouchdownPoint* pts, int count);
// Obsolete three-point form: stiffness from the empty mass, damping 0.1 x stiffness, default friction.
void setTouchdownPoints3(Body& b, Vec3 p1, Vec3 p2, Vec3 p3);
void setSurfaceFriction(Body& b, double muLng, double muLat);
// Effective principal moments (the default when never set).
Vec3 effectivePmi(const Body& b);
// Empty mass plus propellant.
double totalMass(const Body& b);
// Current deliverable thrust of a thruster at the ambient pressure (0 with an empty tank) [N].
double thrusterThrust(const Body& b, int thruster);
// Isp at the ambient pressure [m/s].
double thrusterIsp(const Body& b, int thruster);

// ---- state ----

// Puts the vessel on the ground at (lng, lat) facing hdg, resting on its touchdown points.
void setLanded(Body& b, double lng, double lat, double hdg, double simt);
// Landed with a saved orientation (Euler angles of the vessel -> planet-frame matrix) and CoG height.
void setLandedOriented(Body& b, double lng, double lat, double hdg, Vec3 arot, double height, double simt);
// Free flight from planet-relative position/velocity in global axes, Euler angles of the vessel -> global
// matrix and the vessel-frame angular velocity. A position inside the planet is moved to 1.1 R on the z-axis.
void setFreeFlight(Body& b, Vec3 rpos, Vec3 rvel, Vec3 arot, Vec3 vrot, double simt);
// The state vectors a module reads: the current ones, or those at the start of the last step.
inline Kinematics kinematics(const Body& b, bool atStepStart = false) {
    return atStepStart ? b.stepStart : Kinematics{b.pos, b.vel, b.rot, b.omega};
}

// What GetStatus / GetStatusEx report.
struct StatusInfo {
    int status = 0;  // 0 free flight, 1 landed
    Vec3 rpos, rvel; // planet-relative, global axes
    Vec3 vrot;       // vessel-frame angular velocity; landed: (CoG height, 0, 0)
    Vec3 arot;       // Euler angles of the vessel -> global (landed: -> planet frame) matrix
    double surfLng = 0, surfLat = 0, surfHdg = 0;
};
// atStepStart: the state vectors as they were at the start of the last step (what the simulator's post-step
// callbacks see).
StatusInfo getStatus(const Body& b, bool atStepStart = false);

// Euler angles (the simulator's convention R = Rx(a) Ry(b) Rz(c)) and back.
Mat3 eulerToMatrix(Vec3 arot);
Vec3 matrixToEuler(const Mat3& R);

// ---- stepping ----

// Advances the body from simt to simt + dt and refreshes its surface parameters.
void step(Body& b, double simt, double dt);
// The same with the planet's frame at simt + dt already at hand (b.planet->frameAt(simt + dt)): a host that
// steps many vessels on one planet computes it once per step.
void step(Body& b, double simt, double dt, const PlanetFrame& fEnd);
// Ask the processor to fetch what the next step() of b reads; they change nothing. A host that steps many
// vessels in turn calls prefetchRecord for the vessel two places ahead and prefetchParts for the next one
// (whose record has arrived by then, so finding its parts costs no wait), and the memory arrives while the
// current vessel is stepped.
inline void prefetchRecord(const Body& b) {
    const char* p = reinterpret_cast<const char*>(&b);
    for (size_t o = 0; o < offsetof(Body, landLng); o += 64) // what a step in flight reads
        __builtin_prefetch(p + o);
}
inline void prefetchParts(const Body& b) {
    b.tanks.prefetch();
    __builtin_prefetch(b.litThrusters.data());
    const char* t = reinterpret_cast<const char*>(b.touchdown.data());
    for (size_t o = 0; o < b.touchdown.size() * sizeof(TouchdownPoint); o += 64)
        __builtin_prefetch(t + o);
}
// Recomputes the surface parameters from the state (done by step and the state setters).
void updateSurface(Body& b);

// ---- queries (from the surface parameters) ----
inline double altitude(const Body& b) {
    return b.surf.alt;
}
inline double airspeed(const Body& b) {
    return b.surf.airspeed;
}
inline Vec3 airspeedVectorShip(const Body& b) {
    return b.surf.airVelShip;
}
inline Vec3 airspeedVectorHorizon(const Body& b) {
    return b.surf.airVelHorizon;
}
inline double dynamicPressure(const Body& b) {
    return b.surf.dynp;
}
double pitch(const Body& b);   // [rad]
double bank(const Body& b);    // [rad]
double heading(const Body& b); // [rad] 0..2 pi, 0 = north, pi/2 = east
inline bool groundContact(const Body& b) {
    return b.surf.groundContact;
}
inline double atmDensity(const Body& b) {
    return b.surf.rho;
}
inline double atmPressure(const Body& b) {
    return b.surf.p;
}
inline double atmTemperature(const Body& b) {
    return b.surf.T;
}
double aoa(const Body& b);       // -atan2(v_y, v_z) of the vessel-frame airspeed, 0 at rest
double slipAngle(const Body& b); // -atan2(v_x, v_z)
double machNumber(const Body& b);
struct EquPos {
    double lng = 0, lat = 0, rad = 0;
};
double surfaceLng(const Body& b); // [rad]
double surfaceLat(const Body& b); // [rad]
inline EquPos equPos(const Body& b) {
    return {surfaceLng(b), surfaceLat(b), b.surf.rad};
}

} // namespace orb::phys
