// The simulator's propagators for a vessel's linear and angular state, with the forces they evaluate at
// their intermediate stages (internal to orbphysics).
#pragma once

#include "Body.h"

namespace orb::phys {

// A state the propagators pass between stages. Its attitude may be a little off unit length in a stage, as
// the simulator leaves it; each full (sub)step renormalises it.
struct Stage {
    Vec3 pos, vel; // planet-relative, global axes
    Quat q;        // vessel -> global
    Vec3 omega;    // vessel axes
};

// What acts on the vessel during one step: the step's thrust, aerodynamic and added loads (vessel frame,
// constant over the step), and at every stage gravity and the touchdown points' contact with the ground.
struct StageForces {
    const Body& b;
    Vec3 force, torque;
    Vec3 pmi;
    double mass;
    double simt, dt;        // the step's start and length
    const PlanetFrame& end; // the planet's frame at the step's end
    // Whether the stages feel the ground; whether a stage found a touchdown point below it.
    bool withContact = false;
    mutable bool collided = false;

    // The linear (planet-relative, global) and angular (vessel axes) acceleration at a stage that lies the
    // fraction tfrac into the step; h is the substep length, the time over which friction may stop a motion.
    void moments(const Stage& s, double tfrac, double h, Vec3& acc, Vec3& aacc) const;
};

// Advances s over the step dt with the propagator and substeps the simulator chooses for this step length
// and rotation rate. acc and arot hold the accelerations at the start of the step (those the last step left)
// and come back as those at its end.
//
// As in the simulator, a vessel that touched the ground at the start of the step (contact) is advanced by the
// highest level with the most substeps, its touchdown points felt at every stage; one that did not is
// advanced without the ground, and if a stage then finds a point below it, the step is made again as a
// contact step. The first such step of a contact also holds a fast descent to what the substeps can take
// (0.1 m of sinking per substep): speedChecked remembers it was done.
void propagate(StageForces& f, double dt, Stage& s, Vec3& acc, Vec3& arot, bool contact, bool& speedChecked);

} // namespace orb::phys
