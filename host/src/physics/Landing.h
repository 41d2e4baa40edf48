// Resting geometry on the touchdown points and the local horizon (internal to orbphysics).
#pragma once

#include "Body.h"

namespace orb::phys {

// Local horizon axes (east, up, north) in planet-frame coordinates at (lng, lat).
struct Horizon {
    Vec3 east, up, north;
};
Horizon horizonAt(double lng, double lat);

// How the vessel rests on its first three touchdown points under its weight: the vessel-frame
// normal of the compressed touchdown plane (pointing from the plane to the CoG) and the CoG height above it.
struct RestGeometry {
    Vec3 normal{0, 1, 0};
    double height = 0;
};
RestGeometry restGeometry(const Body& b);

// Vessel -> planet-frame rotation of a vessel resting at (lng, lat) with heading hdg.
Mat3 landedRotation(const Body& b, double lng, double lat, double hdg, const RestGeometry& g);

// Fills pos/vel/rot/q/omega from the landed fields; f is the planet's frame at the body's simt.
void applyLandedState(Body& b, const PlanetFrame& f);
inline void applyLandedState(Body& b) {
    applyLandedState(b, b.planet->frameAt(b.simt));
}

// Surface parameters with the planet's frame at the body's simt already at hand.
void updateSurface(Body& b, const PlanetFrame& f);

} // namespace orb::phys
