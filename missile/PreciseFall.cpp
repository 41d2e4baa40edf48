#include "PreciseFall.h"

#include "GreatCircle.h"

#include <algorithm>
#include <cmath>

namespace {

// Position, ground-relative velocity, and for a turning body its nose, its angular momentum per mass and its
// side axis; all in the planet frame.
constexpr int StateSize = 15;
struct State {
    double q[StateSize];
    double* p() { return q; }
    double* v() { return q + 3; }
    double* n() { return q + 6; }
    double* m() { return q + 9; }
    double* x() { return q + 12; }
    const double* p() const { return q; }
    const double* v() const { return q + 3; }
    const double* n() const { return q + 6; }
    const double* m() const { return q + 9; }
    const double* x() const { return q + 12; }
};

double Dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double Length(const double a[3]) {
    return std::sqrt(Dot(a, a));
}

void Cross(const double a[3], const double b[3], double o[3]) {
    o[0] = a[1] * b[2] - a[2] * b[1];
    o[1] = a[2] * b[0] - a[0] * b[2];
    o[2] = a[0] * b[1] - a[1] * b[0];
}

// The angular velocity of a body symmetric about its nose from its angular momentum per mass.
void AngularVelocity(const State& s, const FallBody& b, double w[3]) {
    const double h = Dot(s.m(), s.n());
    for (int i = 0; i < 3; ++i)
        w[i] = (s.m()[i] - h * s.n()[i]) / b.inertiaAcross + h / b.inertiaAlong * s.n()[i];
}

double Density(const FallModel& m, double r) {
    return m.density && r - m.groundRadius < FallAirTop ? m.density(m.context, r) : 0.0;
}

// The state's rate of change: gravity, drag against the co-rotating air, the rotating frame's Coriolis and
// centrifugal terms; for a turning body the air's moment on it and its damping.
void Rate(const State& s, const FallModel& m, State& d) {
    const double r = Length(s.p());
    const double g = -m.gm / (r * r * r);
    const double rho = Density(m, r);
    const double speed = Length(s.v());
    const double w = m.omega, w2 = w * w;
    double area = m.dragPerMass; // drag / (dynamic pressure x mass)
    const FallBody& b = m.body;
    double u[3] = {0, 0, 0};
    if (speed > 0)
        for (int i = 0; i < 3; ++i)
            u[i] = s.v()[i] / speed;
    const double c = Dot(u, s.n());
    if (b.turns) {
        const double ux = Dot(u, s.x());
        const double uy = std::sqrt(std::max(0.0, 1 - c * c - ux * ux));
        area = b.forward * std::fabs(c) + b.side * std::fabs(ux) + b.vertical * uy;
    }
    const double k = -0.5 * rho * speed * area; // times v: the drag's deceleration
    d.p()[0] = s.v()[0];
    d.p()[1] = s.v()[1];
    d.p()[2] = s.v()[2];
    d.v()[0] = g * s.p()[0] + k * s.v()[0] + 2 * w * s.v()[1] + w2 * s.p()[0];
    d.v()[1] = g * s.p()[1] + k * s.v()[1] - 2 * w * s.v()[0] + w2 * s.p()[1];
    d.v()[2] = g * s.p()[2] + k * s.v()[2];
    if (!b.turns) {
        for (int i = 0; i < 3; ++i)
            d.n()[i] = d.m()[i] = d.x()[i] = 0;
        return;
    }
    // The angular velocity from the momentum: the spin about the nose, the rest across it.
    double spin[3];
    AngularVelocity(s, b, spin);
    const double along = Dot(spin, s.n());
    const double turning[3] = {spin[0], spin[1], spin[2] - w}; // relative to the planet
    Cross(turning, s.n(), d.n());
    Cross(turning, s.x(), d.x());
    // The air's moment turns the nose toward the airflow and damps the rotation; the planet frame turns under
    // the momentum.
    double pull[3], frame[3];
    Cross(s.n(), u, pull);
    const double planetW[3] = {0, 0, w};
    Cross(planetW, s.m(), frame);
    for (int i = 0; i < 3; ++i) {
        const double across = spin[i] - along * s.n()[i];
        d.m()[i] = rho * (b.turn * speed * pull[i] - b.dampAcross * across - b.dampAlong * along * s.n()[i]) -
                   frame[i];
    }
}

State Moved(const State& s, const State& d, double h) {
    State o;
    for (int i = 0; i < StateSize; ++i)
        o.q[i] = s.q[i] + h * d.q[i];
    return o;
}

State RungeKutta(const State& s, const FallModel& m, double h) {
    State k1, k2, k3, k4;
    Rate(s, m, k1);
    Rate(Moved(s, k1, h / 2), m, k2);
    Rate(Moved(s, k2, h / 2), m, k3);
    Rate(Moved(s, k3, h), m, k4);
    State o;
    for (int i = 0; i < StateSize; ++i)
        o.q[i] = s.q[i] + h / 6 * (k1.q[i] + 2 * k2.q[i] + 2 * k3.q[i] + k4.q[i]);
    return o;
}

// Keeps the nose a unit vector and the side axis a unit vector square to it.
void Square(State& s) {
    const double ln = Length(s.n());
    if (!(ln > 0)) return;
    for (int i = 0; i < 3; ++i)
        s.n()[i] /= ln;
    const double xn = Dot(s.x(), s.n());
    for (int i = 0; i < 3; ++i)
        s.x()[i] -= xn * s.n()[i];
    const double lx = Length(s.x());
    if (lx > 0)
        for (int i = 0; i < 3; ++i)
            s.x()[i] /= lx;
}

// The step: FallStep, or shorter where the body would turn by more than FallTurnPerStep in it.
double StepLength(const State& s, const FallModel& m) {
    if (!m.body.turns) return FallStep;
    const double rho = Density(m, Length(s.p()));
    const FallBody& b = m.body;
    double spin[3];
    AngularVelocity(s, b, spin);
    const double fastest =
        std::max({std::sqrt(b.turn * rho * Length(s.v()) / b.inertiaAcross),
                  b.dampAcross * rho / b.inertiaAcross, b.dampAlong * rho / b.inertiaAlong, Length(spin)});
    return fastest * FallStep > FallTurnPerStep ? FallTurnPerStep / fastest : FallStep;
}

} // namespace

FallImpact PredictFall(const double pos[3], const double vel[3], const FallModel& model) {
    FallImpact out;
    State s{};
    for (int i = 0; i < 3; ++i) {
        s.p()[i] = pos[i];
        s.v()[i] = vel[i];
        s.n()[i] = model.body.nose[i];
        s.m()[i] = 0;
        s.x()[i] = model.body.sideAxis[i];
    }
    Square(s);
    if (model.body.turns) {
        // The momentum from the angular velocity: across the nose and about it.
        const double* w = model.body.spin;
        const double h = Dot(w, s.n());
        for (int i = 0; i < 3; ++i)
            s.m()[i] =
                model.body.inertiaAcross * (w[i] - h * s.n()[i]) + model.body.inertiaAlong * h * s.n()[i];
    }
    double t = 0;
    for (int n = 0; n < FallMaxSteps; ++n) {
        const double h = StepLength(s, model);
        State next = RungeKutta(s, model, h);
        Square(next);
        const double r0 = Length(s.p()), r1 = Length(next.p());
        if (!std::isfinite(r1)) return out;
        if (r1 <= model.groundRadius && r1 < r0) {
            // The ground lies within this step: a linear share of it in radius.
            const double f = (r0 - model.groundRadius) / (r0 - r1);
            double p[3];
            for (int i = 0; i < 3; ++i)
                p[i] = s.p()[i] + f * (next.p()[i] - s.p()[i]);
            out.found = true;
            out.time = t + f * h;
            out.latitude = std::asin(p[2] / Length(p));
            out.longitude = std::atan2(p[1], p[0]);
            return out;
        }
        s = next;
        t += h;
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
