// The precise cut-off: the engine stops when the predicted fall, with the missile's own drag and the planet's
// rotation, reaches the target; the held heading is the target's azimuth, turned against the drift that the
// rotation gives the fall and trimmed by the flight's own predictions.
#include "Angles.h"
#include "Cutoff.h"
#include "GreatCircle.h"
#include "PreciseFall.h"
#include "Teski.h"

#include <cmath>

namespace {

constexpr double Gravitation = 6.67259e-11; // the simulator's constant [m^3/(kg s^2)]
// The precise prediction begins once the drag-free one passes this share of the target's distance, runs every
// PreciseInterval until its estimate comes within PreciseNearShare, and every step from there.
constexpr double PreciseStartShare = 0.5;
constexpr double PreciseNearShare = 0.9;
constexpr double PreciseInterval = 1.0; // [s]
// The trim turns the held heading against the predicted cross-range at this time constant [s].
constexpr double PreciseTrimTime = 1.0;
constexpr double PreciseTrimFloor = 0.05; // the least share of the speed still to come it reckons with
constexpr double PreciseTrimGain = 0.7;

double HostDensity(const void* planet, double radius) {
    ATMPARAM prm{};
    oapiGetPlanetAtmParams(static_cast<OBJHANDLE>(const_cast<void*>(planet)), radius, &prm);
    return prm.rho;
}

// Degrees in -180..180.
double Wrapped(double deg) {
    return std::remainder(deg, 360.0);
}

FallModel Planet(const Teski& t, bool withAir) {
    FallModel m;
    OBJHANDLE planet = t.GetSurfaceRef();
    m.gm = Gravitation * oapiGetMass(planet);
    const double period = oapiGetPlanetPeriod(planet);
    m.omega = period != 0 ? 2 * 3.14159265358979323846 / period : 0;
    m.groundRadius = t.launchRadius;
    if (withAir) {
        t.DescribeFall(m.body);
        m.density = HostDensity;
        m.context = planet;
    }
    return m;
}

void TargetTrack(const Teski& t, double& distance, double& azimuth) {
    RangeAndAzimuth(t.launchLatitude, t.launchLongitude, RadFromDeg(t.targetLatitude),
                    RadFromDeg(t.targetLongitude), t.launchRadius, distance, azimuth);
}

} // namespace

double Teski::HeldHeadingOffset() const {
    if (!precise) return 0;
    return Wrapped(preciseAim + preciseTrim - (realistic ? headingRealistic : headingIdeal));
}

void Teski::AimPrecise() {
    // A nominal fall from the pad, 45 degrees up, without air: its speed is set to reach the target's
    // distance and its azimuth turned until it lands on the track; what the azimuth was turned by is the
    // rotation's drift.
    double distance = 0, azimuth = 0;
    TargetTrack(*this, distance, azimuth);
    preciseAim = azimuth;
    preciseTrim = 0;
    preciseMet = -1;
    preciseEveryStep = false;
    preciseLettingGo = false;
    if (!(distance > 0) || !(launchRadius > 0)) return;
    const FallModel m = Planet(*this, false);
    double speed = std::sqrt(m.gm / launchRadius * distance / launchRadius);
    double psi = azimuth;
    for (int i = 0; i < 6; ++i) {
        const double a = RadFromDeg(psi), up = std::sqrt(0.5);
        const double horizon[3] = {speed * up * std::sin(a), speed * up, speed * up * std::cos(a)};
        double pos[3], vel[3];
        PlanetState(launchLongitude, launchLatitude, launchRadius, horizon, pos, vel);
        const FallImpact f = PredictFall(pos, vel, m);
        if (!f.found) return;
        double along = 0, cross = 0;
        TrackOffsets(launchLatitude, launchLongitude, azimuth, f.latitude, f.longitude, launchRadius, along,
                     cross);
        if (along > 0) speed *= std::sqrt(distance / along);
        psi -= DegFromRad(cross / distance);
    }
    preciseAim = Wrapped(psi);
}

// The precise prediction from the present state: where the fall lands, along and across the track that
// leaves the pad at the azimuth; false when it finds no ground.
bool Teski::PredictImpact(double azimuth, double& along, double& cross) {
    double lon = 0, lat = 0, r = 0;
    GetEquPos(lon, lat, r);
    VECTOR3 horizon = {};
    GetAirspeedVector(FRAME_HORIZON, horizon);
    double pos[3], vel[3];
    PlanetState(lon, lat, r, horizon.data, pos, vel);
    FallModel model = Planet(*this, true);
    // The body's axes in the planet frame, and its angular velocity along them.
    VECTOR3 spin = {};
    GetAngularVel(spin);
    double axes[3][3], unused[3];
    for (int i = 0; i < 3; ++i) {
        VECTOR3 axis = {}, local = {};
        local.data[i] = 1;
        HorizonRot(local, axis);
        PlanetState(lon, lat, 1.0, axis.data, unused, axes[i]);
    }
    for (int i = 0; i < 3; ++i) {
        model.body.nose[i] = axes[2][i];
        model.body.sideAxis[i] = axes[0][i];
        model.body.spin[i] = spin.x * axes[0][i] + spin.y * axes[1][i] + spin.z * axes[2][i];
    }
    const FallImpact f = PredictFall(pos, vel, model);
    if (!f.found) return false;
    TrackOffsets(launchLatitude, launchLongitude, azimuth, f.latitude, f.longitude, launchRadius, along,
                 cross);
    return true;
}

void Teski::PreciseCutoffTest(double stepLength) {
    if (preciseLastStep) {
        CutOffEngine();
        return;
    }
    double distance = 0, azimuth = 0;
    TargetTrack(*this, distance, azimuth);
    // The drag-free range is cheap: it says when the precise prediction is worth its cost.
    const double free = DragFreeRange();
    if (!(free >= PreciseStartShare * distance)) return;
    const bool earlier = preciseMet >= 0;
    // Every interval, and every step from where the estimate, grown at the drag-free range's rate for an
    // interval, comes near the target. The estimate swings with the body's turning by some per cent of the
    // range within a second, so a rate taken from it would say when to look again by chance.
    if (earlier && !preciseEveryStep && met - preciseMet < PreciseInterval) return;

    double along = 0, cross = 0;
    if (!PredictImpact(azimuth, along, cross)) return;
    double rate = 0; // how fast the prediction grows, with the turning the controls give the body
    if (earlier && met > preciseMet) {
        const double dt = met - preciseMet;
        // A turn of the heading moves the impact only through the speed still to come, about half the share
        // of the range still to go: the trim is the larger the nearer the cut-off.
        const double toCome = std::fmax(PreciseTrimFloor, 0.5 * (1 - along / distance));
        preciseTrim -=
            DegFromRad(cross / distance) / toCome * PreciseTrimGain * std::fmin(1.0, dt / PreciseTrimTime);
        preciseFreeRate = (free - preciseFree) / dt;
        rate = (along - preciseAlong) / dt;
    }
    preciseFree = free;
    preciseAlong = along;
    preciseMet = met;
    if (along + preciseFreeRate * PreciseInterval >= PreciseNearShare * distance) preciseEveryStep = true;
    // Where the target lies behind, the engine stops now. From where the next step could reach it, the
    // controls let go, so that the body turns on as it turns now, as the prediction has it: the impact then
    // moves only with the speed the engine adds, as the drag-free range grows. The engine burns whole steps
    // until the share of one that the prediction still lacks, and stops at its end.
    const double step = preciseFreeRate * stepLength;
    if (along >= distance) {
        CutOffEngine();
    } else if (preciseLettingGo || along + std::fmax(rate * stepLength, step) >= distance) {
        preciseLettingGo = true;
        ZeroControls();
        if (along + step < distance) return;
        SetThrusterLevel(thMain, (distance - along) / step);
        preciseLastStep = true;
    }
}
