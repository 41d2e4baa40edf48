#include "PreciseFall.h"

#include "GreatCircle.h"

#include <cmath>

namespace {

struct State {
    double p[3], v[3];
};

double Length(const double a[3]) {
    return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

// Gravity, drag against the co-rotating air, and the rotating frame's Coriolis and centrifugal terms.
void Acceleration(const State& s, const FallModel& m, double share, double a[3]) {
    const double r = Length(s.p);
    const double g = -m.gm / (r * r * r);
    double rho = 0;
    if (m.density && r - m.groundRadius < FallAirTop) rho = m.density(m.context, r);
    const double speed = Length(s.v);
    const double d = -0.5 * rho * speed * m.dragPerMass * share; // times v: the drag's deceleration
    const double w = m.omega, w2 = w * w;
    a[0] = g * s.p[0] + d * s.v[0] + 2 * w * s.v[1] + w2 * s.p[0];
    a[1] = g * s.p[1] + d * s.v[1] - 2 * w * s.v[0] + w2 * s.p[1];
    a[2] = g * s.p[2] + d * s.v[2];
}

State Advance(const State& s, const double a[3], const State& k, double h) {
    State o;
    for (int i = 0; i < 3; ++i) {
        o.p[i] = s.p[i] + h * k.v[i];
        o.v[i] = s.v[i] + h * a[i];
    }
    return o;
}

// The drag's multiple of nose-first for the body held along the axis, the air meeting it along v.
double DragShare(const double v[3], const FallModel& m) {
    const double speed = Length(v);
    if (!(speed > 0)) return 1;
    const double c = std::fabs(v[0] * m.axis[0] + v[1] * m.axis[1] + v[2] * m.axis[2]) / speed;
    return c + m.sideShare * std::sqrt(std::fmax(0.0, 1 - c * c));
}

State RungeKutta(const State& s, const FallModel& m, double share, double h) {
    double a1[3], a2[3], a3[3], a4[3];
    Acceleration(s, m, share, a1);
    const State s2 = Advance(s, a1, s, h / 2);
    Acceleration(s2, m, share, a2);
    const State s3 = Advance(s, a2, s2, h / 2);
    Acceleration(s3, m, share, a3);
    const State s4 = Advance(s, a3, s3, h);
    Acceleration(s4, m, share, a4);
    State o;
    for (int i = 0; i < 3; ++i) {
        o.p[i] = s.p[i] + h / 6 * (s.v[i] + 2 * s2.v[i] + 2 * s3.v[i] + s4.v[i]);
        o.v[i] = s.v[i] + h / 6 * (a1[i] + 2 * a2[i] + 2 * a3[i] + a4[i]);
    }
    return o;
}

} // namespace

FallImpact PredictFall(const double pos[3], const double vel[3], const FallModel& model) {
    FallImpact out;
    State s;
    for (int i = 0; i < 3; ++i) {
        s.p[i] = pos[i];
        s.v[i] = vel[i];
    }
    double t = 0;
    bool aligned = Length(model.axis) == 0;
    for (int n = 0; n < FallMaxSteps; ++n) {
        const double r = Length(s.p);
        if (!aligned && model.density && r - model.groundRadius < FallAirTop &&
            0.5 * model.density(model.context, r) * (s.v[0] * s.v[0] + s.v[1] * s.v[1] + s.v[2] * s.v[2]) >
                model.alignPressure)
            aligned = true;
        const State next = RungeKutta(s, model, aligned ? 1.0 : DragShare(s.v, model), FallStep);
        const double r0 = Length(s.p), r1 = Length(next.p);
        if (!std::isfinite(r1)) return out;
        if (r1 <= model.groundRadius && r1 < r0) {
            // The ground lies within this step: a linear share of it in radius.
            const double f = (r0 - model.groundRadius) / (r0 - r1);
            double p[3];
            for (int i = 0; i < 3; ++i)
                p[i] = s.p[i] + f * (next.p[i] - s.p[i]);
            out.found = true;
            out.time = t + f * FallStep;
            out.latitude = std::asin(p[2] / Length(p));
            out.longitude = std::atan2(p[1], p[0]);
            return out;
        }
        s = next;
        t += FallStep;
    }
    return out;
}

void PlanetState(double longitude, double latitude, double radius, const double horizonVel[3], double pos[3],
                 double vel[3]) {
    const double cl = std::cos(longitude), sl = std::sin(longitude);
    const double cp = std::cos(latitude), sp = std::sin(latitude);
    const double up[3] = {cp * cl, cp * sl, sp};
    const double east[3] = {-sl, cl, 0};
    const double north[3] = {-sp * cl, -sp * sl, cp};
    for (int i = 0; i < 3; ++i) {
        pos[i] = radius * up[i];
        vel[i] = horizonVel[0] * east[i] + horizonVel[1] * up[i] + horizonVel[2] * north[i];
    }
}

void TrackOffsets(double lat0, double lon0, double azimuth, double lat, double lon, double radius,
                  double& along, double& cross) {
    double d = 0, az = 0;
    const double near = lon0 + std::remainder(lon - lon0, 2 * 3.14159265358979323846); // across 180 degrees
    RangeAndAzimuth(lat0, lon0, lat, near, radius, d, az);
    const double off = (az - azimuth) * 3.14159265358979323846 / 180.0;
    along = d * std::cos(off);
    cross = d * std::sin(off);
}
