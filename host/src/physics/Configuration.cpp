// Configuration helpers: tanks, thrusters, groups, touchdown points, mass.
#include "Physics.h"

#include <algorithm>

namespace orb::phys {

namespace {
double clamp01(double v) {
    return v > 0 ? (v < 1 ? v : 1.0) : 0.0;
} // NaN -> 0
} // namespace

int addTank(Body& b, double maxMass, double mass, double efficiency) {
    Tank t;
    t.maxMass = std::max(0.0, maxMass);
    t.mass = mass < 0 ? t.maxMass : std::min(mass, t.maxMass);
    t.efficiency = efficiency > 0 ? efficiency : 1.0;
    b.tanks.push_back(t);
    b.mass = totalMass(b);
    return int(b.tanks.size()) - 1;
}

void updateIspFactor(Thruster& th) {
    th.eta =
        (th.ispRef > 0 && th.isp0 > 0 && th.pRef > 0) ? (th.isp0 - th.ispRef) / (th.pRef * th.isp0) : 0.0;
}

int addThruster(Body& b, Vec3 pos, Vec3 dir, double maxThrust, int tank, double isp0, double ispRef,
                double pRef) {
    Thruster th;
    th.pos = pos;
    th.dir = unit(dir);
    th.maxThrust = maxThrust;
    th.tank = (tank >= 0 && tank < int(b.tanks.size())) ? tank : -1;
    th.isp0 = isp0 > 0 ? isp0 : b.defaultIsp;
    th.ispRef = ispRef;
    th.pRef = pRef;
    updateIspFactor(th);
    b.thrusters.push_back(th);
    return int(b.thrusters.size()) - 1;
}

int addGroup(Body& b, int type, const int* members, int count) {
    ThrusterGroup g;
    g.type = type;
    for (int i = 0; i < count; ++i)
        if (members[i] >= 0 && members[i] < int(b.thrusters.size())) g.members.push_back(members[i]);
    b.groups.push_back(std::move(g));
    return int(b.groups.size()) - 1;
}

int findGroup(const Body& b, int type) {
    for (size_t i = 0; i < b.groups.size(); ++i)
        if (b.groups[i].type == type) return int(i);
    return -1;
}

namespace {
// Sets a valid thruster's level and keeps the list of lit thrusters in index order.
void putLevel(Body& b, int thruster, double level) {
    level = clamp01(level);
    b.thrusters[size_t(thruster)].level = level;
    if (!(level > 0)) return;
    auto& lit = b.litThrusters;
    auto at = std::lower_bound(lit.begin(), lit.end(), thruster);
    if (at == lit.end() || *at != thruster) lit.insert(at, thruster);
}
} // namespace

void setThrusterLevel(Body& b, int thruster, double level) {
    if (thruster >= 0 && thruster < int(b.thrusters.size())) putLevel(b, thruster, level);
}

void setGroupLevel(Body& b, int group, double level) {
    if (group < 0 || group >= int(b.groups.size())) return;
    for (int m : b.groups[size_t(group)].members)
        putLevel(b, m, level);
}

double groupLevel(const Body& b, int group) {
    if (group < 0 || group >= int(b.groups.size()) || b.groups[group].members.empty()) return 0.0;
    double sum = 0;
    for (int m : b.groups[group].members)
        sum += b.thrusters[m].level;
    return sum / double(b.groups[group].members.size());
}

void setTouchdownPoints(Body& b, const TouchdownPoint* pts, int count) {
    if (!pts || count < 3) return;
    b.touchdown.assign(pts, pts + count);
    b.forceActive = true; // the simulator releases a landed vessel at its next step when its points change
}

void setTouchdownPoints3(Body& b, Vec3 p1, Vec3 p2, Vec3 p3) {
    double k = b.emptyMass == 1000.0 ? 1e6 : b.emptyMass * 20.0;
    TouchdownPoint pts[3];
    Vec3 p[3] = {p1, p2, p3};
    for (int i = 0; i < 3; ++i)
        pts[i] = {p[i], k, 0.1 * k, b.defaultMu, b.defaultMuLng};
    setTouchdownPoints(b, pts, 3);
}

void setSurfaceFriction(Body& b, double muLng, double muLat) {
    b.defaultMuLng = muLng;
    b.defaultMu = muLat;
    for (auto& p : b.touchdown) {
        p.muLng = muLng;
        p.mu = muLat;
    }
}

Vec3 effectivePmi(const Body& b) {
    if (b.pmi.x > 0 && b.pmi.y > 0 && b.pmi.z > 0) return b.pmi;
    double s = b.size > 0 ? b.size : 1.0;
    return {2 * s, 2 * s, s};
}

double totalMass(const Body& b) {
    double m = b.emptyMass;
    for (const auto& t : b.tanks)
        m += t.mass;
    return m;
}

double thrusterIsp(const Body& b, int thruster) {
    if (thruster < 0 || thruster >= int(b.thrusters.size())) return 0.0;
    const Thruster& th = b.thrusters[thruster];
    return th.isp0 * std::max(0.0, 1.0 - b.surf.p * th.eta);
}

double thrusterThrust(const Body& b, int thruster) {
    if (thruster < 0 || thruster >= int(b.thrusters.size())) return 0.0;
    const Thruster& th = b.thrusters[thruster];
    if (th.tank < 0 || !(b.tanks[th.tank].mass > 0)) return 0.0;
    return th.maxThrust * th.level * std::max(0.0, 1.0 - b.surf.p * th.eta);
}

} // namespace orb::phys
