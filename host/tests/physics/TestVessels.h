// Vessels and helpers shared by the physics tests.
#pragma once

#include "Physics.h"

#include <cmath>

namespace orb::phys::test {

constexpr double kDt = 0.02; // the host's default step
constexpr double kDeg = kPi / 180.0;

// Advances a body by a duration in default steps, starting at its own time.
inline void run(Body& b, double seconds, double dt = kDt) {
    long n = std::lround(seconds / dt);
    for (long i = 0; i < n; ++i)
        step(b, b.simt, dt);
}

// A small winged vessel standing on its gear: +y up, +z forward, with a hover engine and attitude pairs
// placed as a vessel would place them.
struct Craft {
    Body b;
    int hover = -1, pitchUp = -1, bankRight = -1;
};

inline Craft makeCraft(double fuel = 500) {
    Craft c;
    Body& b = c.b;
    b.size = 5;
    b.emptyMass = 1000;
    b.pmi = {4, 4, 2};
    int tank = addTank(b, 500, fuel);
    int th = addThruster(b, {0, 0, 0}, {0, 1, 0}, 20000, tank, 3000);
    c.hover = addGroup(b, 2, &th, 1);
    // Pitch up: the nose is pushed up and the tail down.
    int pu[2] = {addThruster(b, {0, 0, 4}, {0, 1, 0}, 200, tank, 3000),
                 addThruster(b, {0, 0, -4}, {0, -1, 0}, 200, tank, 3000)};
    c.pitchUp = addGroup(b, 3, pu, 2);
    // Bank right: the right wing is pushed down, the left wing up.
    int br[2] = {addThruster(b, {3, 0, 0}, {0, -1, 0}, 200, tank, 3000),
                 addThruster(b, {-3, 0, 0}, {0, 1, 0}, 200, tank, 3000)};
    c.bankRight = addGroup(b, 8, br, 2);
    // Their centre lies under the centre of mass: the craft rests level.
    TouchdownPoint pts[3] = {{{0, -1.5, 4}}, {{-2, -1.5, -2}}, {{2, -1.5, -2}}};
    setTouchdownPoints(b, pts, 3);
    b.mass = totalMass(b);
    return c;
}

// The missile as its module sets it up (realistic aerodynamics), standing on its tail: the touchdown
// plane's normal is +z, so its -y axis points along the heading.
struct Missile {
    Body b;
    int main = -1, pitchUp = -1;
};

inline Missile makeMissile() {
    Missile m;
    Body& b = m.b;
    b.size = 7;
    b.emptyMass = 4008;
    setTouchdownPoints3(b, {0, -1, -7.013}, {-0.7, 0.5, -7.013}, {0.7, 0.5, -7.013});
    b.pitchMomentScale = 1e-4;
    b.yawMomentScale = 1e-4;
    setSurfaceFriction(b, 0.5, 0.5);
    int tank = addTank(b, 8797);
    int th = addThruster(b, {0, 0, -6.613}, {0, 0, 1}, 315000, tank, 2520, 2000, 101400);
    m.main = addGroup(b, 0, &th, 1);
    int rcsTank = addTank(b, 1);
    int pu[2] = {addThruster(b, {0.5, 0, -6.5}, {0, -1, 0}, 200, rcsTank, 4.9e7, 0, 101400),
                 addThruster(b, {-0.5, 0, -6.5}, {0, -1, 0}, 200, rcsTank, 4.9e7, 0, 101400)};
    m.pitchUp = addGroup(b, 3, pu, 2);
    b.pmi = {1.41, 1.41, 0.35};
    b.crossSections = {12, 12, 1.07};
    b.cwZPos = 0.55;
    b.cwZNeg = 0.7;
    b.cwX = 1.5;
    b.cwY = 1.5;
    b.rotDrag = {0.7, 0.7, 0.1};
    b.mass = totalMass(b);
    return m;
}

} // namespace orb::phys::test
