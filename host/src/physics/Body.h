// One vessel's physical configuration and state, as the simulator keeps them.
#pragma once

#include "Planet.h"
#include "PooledMemory.h"
#include "StableList.h"
#include "VecMath.h"

#include <limits>
#include <vector>

namespace orb::phys {

struct Tank {
    double maxMass = 0;
    double mass = 0;
    double efficiency = 1;
};

// What every step reads of a thruster comes first: the level of an idle one is all it needs.
struct Thruster {
    double level = 0;      // permanent level 0..1
    int tank = -1;         // index into Body::tanks, -1 = none (gives no thrust)
    double maxThrust = 0;  // vacuum thrust at level 1 [N]
    double isp0 = 0;       // vacuum Isp [m/s]
    double eta = 0;        // pressure factor (isp0 - ispRef)/(pRef isp0), kept by updateIspFactor
    Vec3 dir{0, 0, 1};     // unit thrust direction, vessel frame
    Vec3 pos;              // point of application, vessel frame [m]
    double ispRef = 0;     // Isp at pRef [m/s], 0 = no pressure dependence
    double pRef = 101.4e3; // reference pressure [Pa]
};

struct ThrusterGroup {
    int type = 0;             // THGROUP_TYPE value of the host interface
    std::vector<int> members; // indices into Body::thrusters
};

struct TouchdownPoint {
    Vec3 pos; // vessel frame [m]
    double stiffness = 1e6;
    double damping = 1e5;
    double mu = 0.5;    // lateral friction
    double muLng = 0.1; // longitudinal friction (first three points)
};

// Values derived from the state after every step and state change, read by the queries.
//
// Longitude, latitude, pitch, bank and heading take an arc function each, and in most steps nobody asks
// for them: the update keeps what they are made of, and surfaceLng(), surfaceLat(), pitch(), bank() and
// heading() work them out, with the same formulas, on the first question after it.
struct SurfaceParams {
    static constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
    Vec3 planetPos; // position in the planet frame [m]
    double rad = 0; // distance from the planet's centre [m]
    double alt = 0; // altitude above the mean radius [m]
    Vec3 upShip;    // local vertical in vessel axes (landed: in the landed attitude's axes)
    double headingEast = 0, headingNorth = 0;      // east and north parts of the heading axis (free flight)
    double landedHeading = 0;                      // the landed vessel's heading as set [rad]
    bool anglesLanded = false;                     // the landed formulas apply
    mutable double lng = kUnknown, lat = kUnknown; // equatorial position [rad], once asked for
    mutable double pitch = kUnknown, bank = kUnknown, heading = kUnknown; // [rad], once asked for
    Vec3 groundVel;               // velocity against the co-rotating surface, global axes [m/s]
    Vec3 airVelHorizon;           // airspeed vector in local horizon axes (east, up, north) [m/s]
    Vec3 airVelShip;              // airspeed vector in vessel axes [m/s]
    double airspeed = 0;          // [m/s]
    double dynp = 0;              // dynamic pressure, 0 when landed or outside the atmosphere [Pa]
    double T = 0, p = 0, rho = 0; // ambient atmosphere
    bool inAtmosphere = false;
    bool groundContact = false;
};

// Where a vessel is and how it moves and turns: the state vectors a module reads.
struct Kinematics {
    Vec3 pos, vel;
    Mat3 rot;
    Vec3 omega;
};

struct Body {
    // ---- configuration (the host's VESSEL setters write these) ----
    double size = 10;
    double emptyMass = 1000;
    Vec3 pmi{-1, -1, -1}; // mass-normalised principal moments [m^2]; x < 0 = never set
    Vec3 crossSections{20, 20, 20};
    double cwZPos = 0.1, cwZNeg = 0.3, cwX = 0.3, cwY = 0.3;
    Vec3 rotDrag{0.01, 0.01, 0.01};
    double pitchMomentScale = 0, yawMomentScale = 0;
    double (*liftCoeff)(double aoa) = nullptr; // lift coefficient of the AOA; null = no lift
    double wingAspect = 1.0, wingEffectiveness = 2.8;
    double defaultIsp = 5e4;                    // Isp for thrusters created with isp0 <= 0
    double defaultMu = 0.5, defaultMuLng = 0.1; // friction for touchdown points created later
    std::vector<TouchdownPoint, PooledAllocator<TouchdownPoint>> touchdown{
        {{0, -2, 10}}, {{-3, -2, -5}}, {{3, -2, -5}}};
    StableList<Tank> tanks; // element addresses stay valid while elements are added (the host's handles)
    StableList<Thruster> thrusters;
    StableList<ThrusterGroup> groups;
    // Indices of the thrusters whose level may be above 0, ascending: setThrusterLevel and setGroupLevel add
    // to it, the step drops those it finds at 0. A step walks these instead of every thruster's record.
    std::vector<int, PooledAllocator<int>> litThrusters;
    const Planet* planet = &earth();

    // External force and torque for the next step (AddForce), vessel frame; cleared by step().
    Vec3 addForce, addTorque;

    // ---- state ----
    bool landed = false;
    bool thrustEngaged = false; // any thruster gave thrust in the last step
    bool forceActive = false;   // a landed vessel lifts off at its next step (its touchdown points changed)
    // Always valid (also landed): planet-relative global position/velocity, vessel -> global rotation.
    Vec3 pos, vel;
    Mat3 rot;
    Quat q;     // same attitude as rot
    Vec3 omega; // angular velocity in vessel axes [rad/s] (+x nose up, +z bank right)
    // The accelerations at the end of the last step, with that step's forces: the integrator takes them as
    // the first stage of the next, as the simulator does. acc: planet-relative, global axes; arot: vessel
    // axes.
    Vec3 acc, arot;
    // The state vectors at the start of the last step. The simulator makes a step's new state vectors current
    // only after the modules' post-step callbacks, so those see these (and the new surface quantities).
    Kinematics stepStart;
    double mass = 1000; // empty mass + propellant, updated at the end of each step
    double simt = 0;    // time of the current state
    SurfaceParams surf;

    // ---- read only on or near the ground ----
    // Everything above is what a step in flight reads and writes (prefetchRecord fetches up to here), so that
    // a world of thousands of vessels moves no more of each record through the memory than that.
    // Landed: surface position, heading, CoG height and vessel -> planet-frame rotation.
    double landLng = 0, landLat = 0, landHdg = 0, landHeight = 0;
    Mat3 landRot;
    // The local vertical at (landUpLng, landUpLat), kept: a landed vessel's is the same step after step.
    double landUpLng = std::numeric_limits<double>::quiet_NaN(), landUpLat = landUpLng;
    Vec3 landUp;
    // Bookkeeping of the return to the landed state: since when it has rested (-1: not resting on the
    // ground), and where and how it stood at the last look.
    double restCheckT = -1;
    Vec3 restCheckPos; // planet frame
    Quat restCheckQ;   // vessel -> global
    // The descent of this contact with the ground has been held to what the substeps take.
    bool contactSpeedChecked = false;
};

} // namespace orb::phys
