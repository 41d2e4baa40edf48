// The simulator's propagators for the linear and angular state (its BodyIntegrator), and how it chooses one.
//
// Each propagator's first stage takes the accelerations that the last step left (evaluated at its end with
// its own forces) instead of evaluating them again; the attitude turns by a first-order quaternion increment
// per stage, renormalised once per substep.
#include "Propagators.h"

#include "RungeKuttaTables.h"

#include <algorithm>
#include <cmath>

namespace orb::phys {
namespace {

constexpr double kDeg = kPi / 180.0;

// The simulator's default propagation levels: the method, the time and angle per substep it aims at, and
// the step length and angle per step up to which it is used (the last level takes everything beyond).
enum class Method { RK2, RK4, RK6, RK8 };
struct Level {
    Method method;
    double timeTarget, angleTarget, timeLimit, angleLimit;
};
constexpr Level kLevels[] = {
    {Method::RK2, 0.1, 0.2 * kDeg, 0.5, 1.0 * kDeg},
    {Method::RK4, 2.0, 2.0 * kDeg, 10.0, 4.0 * kDeg},
    {Method::RK6, 20.0, 5.0 * kDeg, 100.0, 10.0 * kDeg},
    {Method::RK8, 200.0, 20.0 * kDeg, 1e20, 1e20},
};
constexpr int kLevelCount = 4;
constexpr int kMaxSubsteps = 10;

// q turned by the small rotation vector w (vessel axes), to first order: the simulator's increment. Our
// quaternion is the conjugate of the simulator's, so its q + (0, w) q / 2 is our q + q (0, -w) / 2.
Quat turned(const Quat& q, Vec3 w) {
    Quat d = q * Quat{0, -0.5 * w.x, -0.5 * w.y, -0.5 * w.z};
    return {q.w + d.w, q.x + d.x, q.y + d.y, q.z + d.z};
}
Quat turnedUnit(const Quat& q, Vec3 w) {
    Quat t = turned(q, w);
    double n2 = t.w * t.w + t.x * t.x + t.y * t.y + t.z * t.z;
    if (!(n2 > 0)) return {};
    double inv = 1.0 / std::sqrt(n2);
    return {t.w * inv, t.x * inv, t.y * inv, t.z * inv};
}

void rk2(const StageForces& f, double h, int nsub, int isub, Stage& s1, Vec3 acc, Vec3& arot) {
    double h05 = 0.5 * h;
    Stage m{s1.pos + s1.vel * h05, s1.vel + acc * h05, turned(s1.q, s1.omega * h05), s1.omega + arot * h05};
    Vec3 acc1, aacc1;
    f.moments(m, (isub + 0.5) / nsub, h, acc1, aacc1);
    s1.pos += m.vel * h;
    s1.vel += acc1 * h;
    s1.q = turnedUnit(s1.q, m.omega * h);
    s1.omega += aacc1 * h;
}

void rk4(const StageForces& f, double h, int nsub, int isub, Stage& s1, Vec3 acc, Vec3 arot) {
    double h05 = 0.5 * h, hi6 = h / 6.0;
    Vec3 acc1, aacc1, acc2, aacc2, acc3, aacc3;
    Stage sa{s1.pos + s1.vel * h05, s1.vel + acc * h05, turned(s1.q, s1.omega * h05), s1.omega + arot * h05};
    f.moments(sa, (isub + 0.5) / nsub, h, acc1, aacc1);
    Stage sb{s1.pos + sa.vel * h05, s1.vel + acc1 * h05, turned(s1.q, sa.omega * h05),
             s1.omega + aacc1 * h05};
    f.moments(sb, (isub + 0.5) / nsub, h, acc2, aacc2);
    Stage sc{s1.pos + sb.vel * h, s1.vel + acc2 * h, turned(s1.q, sb.omega * h), s1.omega + aacc2 * h};
    f.moments(sc, (isub + 1.0) / nsub, h, acc3, aacc3);
    s1.pos += (s1.vel + (sa.vel + sb.vel) * 2.0 + sc.vel) * hi6;
    s1.vel += (acc + (acc1 + acc2) * 2.0 + acc3) * hi6;
    s1.q = turnedUnit(s1.q, (s1.omega + (sa.omega + sb.omega) * 2.0 + sc.omega) * hi6);
    s1.omega += (arot + (aacc1 + aacc2) * 2.0 + aacc3) * hi6;
}

// The general explicit method of n stages (the simulator's driver for its higher orders).
template <int N>
void rkn(const StageForces& f, double h, int nsub, int isub, Stage& s1, Vec3 acc, Vec3 arot,
         const double (&alpha)[N - 1], const double (&beta)[(N - 1) * (N - 1)], const double (&gamma)[N]) {
    Stage s[N];
    Vec3 a[N], d[N];
    s[0] = s1;
    a[0] = acc;
    d[0] = arot;
    for (int i = 1; i < N; ++i) {
        s[i] = s1;
        const double* row = beta + (i - 1) * (N - 1);
        for (int j = 0; j < i; ++j) {
            double bh = row[j] * h;
            s[i].vel += a[j] * bh;
            s[i].pos += s[j].vel * bh;
            s[i].omega += d[j] * bh;
            s[i].q = turnedUnit(s[i].q, s[j].omega * bh);
        }
        f.moments(s[i], (isub + alpha[i - 1]) / nsub, h, a[i], d[i]);
    }
    for (int i = 0; i < N; ++i) {
        double bh = gamma[i] * h;
        s1.vel += a[i] * bh;
        s1.pos += s[i].vel * bh;
        s1.q = turnedUnit(s1.q, s[i].omega * bh);
        s1.omega += d[i] * bh;
    }
}

} // namespace

void propagate(StageForces& f, double dt, Stage& s, Vec3& acc, Vec3& arot, bool contact, bool& speedChecked) {
    Stage start = s;
    const Vec3 acc0 = acc, arot0 = arot;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The level: the first whose step limit the step stays under, then the first whose angle limit the
        // step's turn stays under; the substeps: enough for the level's time and angle targets, at most ten.
        int level = 0, n = kMaxSubsteps;
        if (contact) {
            level = kLevelCount - 1;
        } else {
            while (level < kLevelCount - 1 && !(dt < kLevels[level].timeLimit))
                ++level;
            const double turn = length(start.omega) * dt;
            while (level < kLevelCount - 1 && !(turn < kLevels[level].angleLimit))
                ++level;
            const Level& L = kLevels[level];
            double want = std::ceil(std::max(dt / L.timeTarget, turn / L.angleTarget));
            n = std::isfinite(want) ? std::clamp(int(std::min(want, 1e6)), 1, kMaxSubsteps) : kMaxSubsteps;
        }
        f.withContact = contact;
        f.collided = false;
        s = start, acc = acc0, arot = arot0;
        const double h = dt / n;
        for (int i = 0; i < n; ++i) {
            switch (kLevels[level].method) {
            case Method::RK2:
                rk2(f, h, n, i, s, acc, arot);
                break;
            case Method::RK4:
                rk4(f, h, n, i, s, acc, arot);
                break;
            case Method::RK6:
                rkn<rk::RK6_n>(f, h, n, i, s, acc, arot, rk::RK6_alpha, rk::RK6_beta, rk::RK6_gamma);
                break;
            case Method::RK8:
                rkn<rk::RK8_n>(f, h, n, i, s, acc, arot, rk::RK8_alpha, rk::RK8_beta, rk::RK8_gamma);
                break;
            }
            f.moments(s, (i + 1.0) / n, h, acc, arot);
        }
        if (!f.collided) return;
        if (!contact) { // the ground was met on the way: the step again, feeling it
            contact = true;
            speedChecked = false;
            continue;
        }
        if (speedChecked) return;
        speedChecked = true;
        // A descent faster than the substeps can take is slowed to it, and the step made again.
        const SurfaceParams& sp = f.b.surf;
        const double vmax = -0.1 * kMaxSubsteps / dt;
        const Vec3 up = unit(tmul(f.b.rot, start.pos));
        const double vs = dot(sp.airVelShip, up);
        if (!(vs < vmax)) return;
        start.vel += mul(f.b.rot, sp.airVelShip * (vmax / vs)) - sp.groundVel;
    }
}

} // namespace orb::phys
