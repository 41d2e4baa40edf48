// The VESSEL operations that configure a vessel: identity, physical properties, aerodynamics, propellant
// resources and thrusters. Each writes the vessel's physics body; a handle that is not this vessel's is
// ignored.
#include "Orbitersdk.h"

#include "core/Convert.h"
#include "core/Vessel.h"
#include "core/WorldImpl.h"

#include <algorithm>

using namespace orb;

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel)
    : vessel(static_cast<Vessel*>(hVessel)), flightmodel(static_cast<short>(fmodel)), version(0) {}

// ---- identity ----
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers" // declared with a const handle, as the simulator does
const OBJHANDLE VESSEL::GetHandle() const {
    return vessel;
}
#pragma GCC diagnostic pop
int VESSEL::GetFlightModel() const {
    return flightmodel;
}
char* VESSEL::GetName() const {
    return vessel->name.data();
}
char* VESSEL::GetClassName() const {
    return vessel->className.data();
}
void VESSEL::SetEnableFocus(bool enable) const {
    vessel->enableFocus = enable;
}

// ---- physical properties ----
double VESSEL::GetSize() const {
    return vessel->body.size;
}
void VESSEL::SetSize(double size) const {
    vessel->body.size = size;
}
double VESSEL::GetEmptyMass() const {
    return vessel->body.emptyMass;
}
void VESSEL::SetEmptyMass(double m) const {
    vessel->body.emptyMass = m;
    vessel->body.mass = phys::totalMass(vessel->body);
}
double VESSEL::GetMass() const {
    return vessel->body.mass;
}

void VESSEL::SetTouchdownPoints(const VECTOR3& pt1, const VECTOR3& pt2, const VECTOR3& pt3) const {
    phys::setTouchdownPoints3(vessel->body, toVec(pt1), toVec(pt2), toVec(pt3));
}
void VESSEL::SetTouchdownPoints(const TOUCHDOWNVTX* tdvtx, DWORD ntdvtx) const {
    if (!tdvtx || ntdvtx < 3) return;
    std::vector<phys::TouchdownPoint> pts(ntdvtx);
    for (DWORD i = 0; i < ntdvtx; ++i)
        pts[i] = {toVec(tdvtx[i].pos), tdvtx[i].stiffness, tdvtx[i].damping, tdvtx[i].mu, tdvtx[i].mu_lng};
    phys::setTouchdownPoints(vessel->body, pts.data(), int(ntdvtx));
}
void VESSEL::SetSurfaceFrictionCoeff(double mu_lng, double mu_lat) const {
    phys::setSurfaceFriction(vessel->body, mu_lng, mu_lat);
}
void VESSEL::GetPMI(VECTOR3& pmi) const {
    pmi = toV3(phys::effectivePmi(vessel->body));
}
void VESSEL::SetPMI(const VECTOR3& pmi) const {
    vessel->body.pmi = toVec(pmi);
}
void VESSEL::GetCrossSections(VECTOR3& cs) const {
    cs = toV3(vessel->body.crossSections);
}
void VESSEL::SetCrossSections(const VECTOR3& cs) const {
    vessel->body.crossSections = toVec(cs);
}
void VESSEL::GetCameraOffset(VECTOR3& co) const {
    co = vessel->cameraOffset;
}
void VESSEL::SetCameraOffset(const VECTOR3& co) const {
    vessel->cameraOffset = co;
}

// ---- legacy aerodynamics ----
void VESSEL::SetCW(double cw_z_pos, double cw_z_neg, double cw_x, double cw_y) const {
    phys::Body& b = vessel->body;
    b.cwZPos = cw_z_pos, b.cwZNeg = cw_z_neg, b.cwX = cw_x, b.cwY = cw_y;
}
void VESSEL::GetRotDrag(VECTOR3& rd) const {
    rd = toV3(vessel->body.rotDrag);
}
void VESSEL::SetRotDrag(const VECTOR3& rd) const {
    vessel->body.rotDrag = toVec(rd);
}
void VESSEL::SetPitchMomentScale(double scale) const {
    vessel->body.pitchMomentScale = scale;
}
double VESSEL::GetPitchMomentScale() const {
    return vessel->body.pitchMomentScale;
}
void VESSEL::SetYawMomentScale(double scale) const {
    vessel->body.yawMomentScale = scale;
}
double VESSEL::GetYawMomentScale() const {
    return vessel->body.yawMomentScale;
}
// The simulator's obsolete name writes the yaw moment scale.
void VESSEL::SetBankMomentScale(double scale) const {
    vessel->body.yawMomentScale = scale;
}
// Lift needs airfoil data this host does not model; a null function (no lift) is what the add-on sets.
void VESSEL::SetLiftCoeffFunc(LiftCoeffFunc lcf) const {
    vessel->liftCoeff = lcf;
}

// ---- propellant resources ----
PROPELLANT_HANDLE VESSEL::CreatePropellantResource(double maxmass, double mass, double efficiency) const {
    int i = phys::addTank(vessel->body, std::max(0.0, maxmass), mass, efficiency);
    vessel->body.mass = phys::totalMass(vessel->body);
    return vessel->tankHandle(i);
}
void VESSEL::DelPropellantResource(PROPELLANT_HANDLE& ph) const {
    // Tanks keep their places (handles and indices stay valid); a deleted tank is emptied and detached.
    int i = vessel->tankIndex(ph);
    if (i < 0) return;
    vessel->body.tanks[size_t(i)] = phys::Tank{};
    for (auto& t : vessel->body.thrusters)
        if (t.tank == i) t.tank = -1;
    vessel->body.mass = phys::totalMass(vessel->body);
    ph = nullptr;
}
void VESSEL::ClearPropellantResources() const {
    for (size_t i = 0; i < vessel->body.tanks.size(); ++i) {
        PROPELLANT_HANDLE h = vessel->tankHandle(int(i));
        DelPropellantResource(h);
    }
}
DWORD VESSEL::GetPropellantCount() const {
    return DWORD(vessel->body.tanks.size());
}
PROPELLANT_HANDLE VESSEL::GetPropellantHandleByIndex(DWORD idx) const {
    return idx < vessel->body.tanks.size() ? vessel->tankHandle(int(idx)) : nullptr;
}
double VESSEL::GetPropellantMaxMass(PROPELLANT_HANDLE ph) const {
    int i = vessel->tankIndex(ph);
    return i < 0 ? 0 : vessel->body.tanks[size_t(i)].maxMass;
}
void VESSEL::SetPropellantMaxMass(PROPELLANT_HANDLE ph, double maxmass) const {
    int i = vessel->tankIndex(ph);
    if (i < 0) return;
    auto& t = vessel->body.tanks[size_t(i)];
    t.maxMass = std::max(0.0, maxmass);
    t.mass = std::min(t.mass, t.maxMass);
    vessel->body.mass = phys::totalMass(vessel->body);
}
double VESSEL::GetPropellantMass(PROPELLANT_HANDLE ph) const {
    int i = vessel->tankIndex(ph);
    return i < 0 ? 0 : vessel->body.tanks[size_t(i)].mass;
}
void VESSEL::SetPropellantMass(PROPELLANT_HANDLE ph, double mass) const {
    int i = vessel->tankIndex(ph);
    if (i < 0) return;
    auto& t = vessel->body.tanks[size_t(i)];
    t.mass = std::clamp(mass, 0.0, t.maxMass);
    vessel->body.mass = phys::totalMass(vessel->body);
}
double VESSEL::GetPropellantEfficiency(PROPELLANT_HANDLE ph) const {
    int i = vessel->tankIndex(ph);
    return i < 0 ? 0 : vessel->body.tanks[size_t(i)].efficiency;
}
double VESSEL::GetPropellantFlowrate(PROPELLANT_HANDLE ph) const {
    int i = vessel->tankIndex(ph);
    if (i < 0) return 0;
    double flow = 0;
    const auto& b = vessel->body;
    for (size_t k = 0; k < b.thrusters.size(); ++k) {
        const auto& t = b.thrusters[k];
        if (t.tank != i || t.isp0 <= 0 || b.tanks[size_t(i)].mass <= 0) continue;
        flow += t.maxThrust * t.level / (b.tanks[size_t(i)].efficiency * t.isp0);
    }
    return flow;
}
double VESSEL::GetTotalPropellantMass() const {
    double m = 0;
    for (const auto& t : vessel->body.tanks)
        m += t.mass;
    return m;
}
double VESSEL::GetFuelMass() const {
    return vessel->body.tanks.empty() ? 0 : vessel->body.tanks[0].mass;
}
double VESSEL::GetMaxFuelMass() const {
    return vessel->body.tanks.empty() ? 0 : vessel->body.tanks[0].maxMass;
}
void VESSEL::SetDefaultPropellantResource(PROPELLANT_HANDLE ph) const {
    // The first tank is the default one; swapping contents keeps every handle pointing at the same data.
    int i = vessel->tankIndex(ph);
    if (i > 0) std::swap(vessel->body.tanks[0], vessel->body.tanks[size_t(i)]);
    if (i > 0)
        for (auto& t : vessel->body.thrusters)
            t.tank = t.tank == 0 ? i : t.tank == i ? 0 : t.tank;
}
void VESSEL::SetISP(double isp) const {
    vessel->body.defaultIsp = isp;
}
double VESSEL::GetISP() const {
    return vessel->body.defaultIsp;
}

// ---- thrusters ----
THRUSTER_HANDLE VESSEL::CreateThruster(const VECTOR3& pos, const VECTOR3& dir, double maxth0,
                                       PROPELLANT_HANDLE hp, double isp0, double isp_ref,
                                       double p_ref) const {
    int tank = vessel->tankIndex(hp);
    int i = phys::addThruster(vessel->body, toVec(pos), toVec(dir), maxth0, tank, isp0, isp_ref, p_ref);
    return vessel->thrusterHandle(i);
}
bool VESSEL::DelThruster(THRUSTER_HANDLE& th) const {
    // Thrusters keep their places (creation indices are saved in THLEVEL); a deleted one is switched off.
    int i = vessel->thrusterIndex(th);
    if (i < 0) return false;
    auto& t = vessel->body.thrusters[size_t(i)];
    t.maxThrust = 0;
    t.level = 0;
    t.tank = -1;
    for (auto& g : vessel->body.groups)
        g.members.erase(std::remove(g.members.begin(), g.members.end(), i), g.members.end());
    th = nullptr;
    return true;
}
void VESSEL::ClearThrusterDefinitions() const {
    for (size_t i = 0; i < vessel->body.thrusters.size(); ++i) {
        THRUSTER_HANDLE h = vessel->thrusterHandle(int(i));
        DelThruster(h);
    }
    for (auto& g : vessel->body.groups)
        g.members.clear();
}
DWORD VESSEL::GetThrusterCount() const {
    return DWORD(vessel->body.thrusters.size());
}
THRUSTER_HANDLE VESSEL::GetThrusterHandleByIndex(DWORD idx) const {
    return idx < vessel->body.thrusters.size() ? vessel->thrusterHandle(int(idx)) : nullptr;
}
PROPELLANT_HANDLE VESSEL::GetThrusterResource(THRUSTER_HANDLE th) const {
    int i = vessel->thrusterIndex(th);
    if (i < 0) return nullptr;
    int tank = vessel->body.thrusters[size_t(i)].tank;
    return tank >= 0 && size_t(tank) < vessel->body.tanks.size() ? vessel->tankHandle(tank) : nullptr;
}
void VESSEL::SetThrusterResource(THRUSTER_HANDLE th, PROPELLANT_HANDLE ph) const {
    int i = vessel->thrusterIndex(th);
    if (i >= 0) vessel->body.thrusters[size_t(i)].tank = vessel->tankIndex(ph);
}

namespace {
phys::Thruster* thruster(Vessel* v, THRUSTER_HANDLE th) {
    int i = v->thrusterIndex(th);
    return i < 0 ? nullptr : &v->body.thrusters[size_t(i)];
}
} // namespace

void VESSEL::GetThrusterRef(THRUSTER_HANDLE th, VECTOR3& pos) const {
    if (auto* t = thruster(vessel, th)) pos = toV3(t->pos);
}
void VESSEL::SetThrusterRef(THRUSTER_HANDLE th, const VECTOR3& pos) const {
    if (auto* t = thruster(vessel, th)) t->pos = toVec(pos);
}
void VESSEL::GetThrusterDir(THRUSTER_HANDLE th, VECTOR3& dir) const {
    if (auto* t = thruster(vessel, th)) dir = toV3(t->dir);
}
void VESSEL::SetThrusterDir(THRUSTER_HANDLE th, const VECTOR3& dir) const {
    if (auto* t = thruster(vessel, th)) t->dir = phys::unit(toVec(dir));
}
double VESSEL::GetThrusterMax0(THRUSTER_HANDLE th) const {
    auto* t = thruster(vessel, th);
    return t ? t->maxThrust : 0;
}
void VESSEL::SetThrusterMax0(THRUSTER_HANDLE th, double maxth0) const {
    if (auto* t = thruster(vessel, th)) t->maxThrust = maxth0;
}
double VESSEL::GetThrusterMax(THRUSTER_HANDLE th) const {
    auto* t = thruster(vessel, th);
    if (!t) return 0;
    return t->maxThrust * std::max(0.0, 1.0 - vessel->body.surf.p * t->eta);
}
// Thrust and Isp fall linearly with the ambient pressure, from their vacuum values.
double VESSEL::GetThrusterMax(THRUSTER_HANDLE th, double p_ref) const {
    auto* t = thruster(vessel, th);
    return t ? t->maxThrust * std::max(0.0, 1.0 - p_ref * t->eta) : 0;
}
double VESSEL::GetThrusterIsp0(THRUSTER_HANDLE th) const {
    auto* t = thruster(vessel, th);
    return t ? t->isp0 : 0;
}
double VESSEL::GetThrusterIsp(THRUSTER_HANDLE th) const {
    int i = vessel->thrusterIndex(th);
    return i < 0 ? 0 : phys::thrusterIsp(vessel->body, i);
}
double VESSEL::GetThrusterIsp(THRUSTER_HANDLE th, double p_ref) const {
    auto* t = thruster(vessel, th);
    return t ? t->isp0 * std::max(0.0, 1.0 - p_ref * t->eta) : 0;
}
void VESSEL::SetThrusterIsp(THRUSTER_HANDLE th, double isp) const {
    SetThrusterIsp(th, isp, 0);
}
void VESSEL::SetThrusterIsp(THRUSTER_HANDLE th, double isp0, double isp_ref, double p_ref) const {
    if (auto* t = thruster(vessel, th)) {
        t->isp0 = isp0 > 0 ? isp0 : vessel->body.defaultIsp;
        t->ispRef = isp_ref;
        t->pRef = p_ref;
        phys::updateIspFactor(*t);
    }
}
double VESSEL::GetThrusterLevel(THRUSTER_HANDLE th) const {
    auto* t = thruster(vessel, th);
    return t ? t->level : 0;
}
void VESSEL::SetThrusterLevel(THRUSTER_HANDLE th, double level) const {
    int i = vessel->thrusterIndex(th);
    if (i >= 0) phys::setThrusterLevel(vessel->body, i, level);
}
void VESSEL::IncThrusterLevel(THRUSTER_HANDLE th, double dlevel) const {
    int i = vessel->thrusterIndex(th);
    if (i >= 0) phys::setThrusterLevel(vessel->body, i, vessel->body.thrusters[size_t(i)].level + dlevel);
}
// This host keeps no separate one-step override level: the level holds until changed.
void VESSEL::SetThrusterLevel_SingleStep(THRUSTER_HANDLE th, double level) const {
    SetThrusterLevel(th, level);
}
void VESSEL::GetThrusterMoment(THRUSTER_HANDLE th, VECTOR3& F, VECTOR3& T) const {
    int i = vessel->thrusterIndex(th);
    if (i < 0) return;
    const auto& t = vessel->body.thrusters[size_t(i)];
    phys::Vec3 f = t.dir * phys::thrusterThrust(vessel->body, i);
    F = toV3(f);
    T = toV3(phys::cross(f, t.pos));
}

// ---- thruster groups ----
THGROUP_HANDLE VESSEL::CreateThrusterGroup(THRUSTER_HANDLE* th, int nth, THGROUP_TYPE thgt) const {
    std::vector<int> members;
    for (int k = 0; th && k < nth; ++k) {
        int i = vessel->thrusterIndex(th[k]);
        if (i >= 0) members.push_back(i);
    }
    int g = phys::addGroup(vessel->body, int(thgt), members.data(), int(members.size()));
    return vessel->groupHandle(g);
}
bool VESSEL::DelThrusterGroup(THGROUP_HANDLE& thg, THGROUP_TYPE, bool delth) const {
    int g = vessel->groupIndex(thg);
    if (g < 0) return false;
    auto& group = vessel->body.groups[size_t(g)];
    if (delth)
        for (int i : std::vector<int>(group.members.begin(), group.members.end())) {
            THRUSTER_HANDLE h = vessel->thrusterHandle(i);
            DelThruster(h);
        }
    group.members.clear();
    group.type = -1; // no longer found by type
    thg = nullptr;
    return true;
}
bool VESSEL::DelThrusterGroup(THGROUP_HANDLE thg, bool delth) const {
    return DelThrusterGroup(thg, THGROUP_USER, delth);
}
bool VESSEL::DelThrusterGroup(THGROUP_TYPE thgt, bool delth) const {
    THGROUP_HANDLE h = GetThrusterGroupHandle(thgt);
    return h && DelThrusterGroup(h, thgt, delth);
}
THGROUP_HANDLE VESSEL::GetThrusterGroupHandle(THGROUP_TYPE thgt) const {
    int g = phys::findGroup(vessel->body, int(thgt));
    return g < 0 ? nullptr : vessel->groupHandle(g);
}
THGROUP_HANDLE VESSEL::GetUserThrusterGroupHandleByIndex(DWORD idx) const {
    DWORD n = 0;
    for (size_t g = 0; g < vessel->body.groups.size(); ++g)
        if (vessel->body.groups[g].type >= THGROUP_USER && n++ == idx) return vessel->groupHandle(int(g));
    return nullptr;
}
DWORD VESSEL::GetGroupThrusterCount(THGROUP_HANDLE thg) const {
    int g = vessel->groupIndex(thg);
    return g < 0 ? 0 : DWORD(vessel->body.groups[size_t(g)].members.size());
}
DWORD VESSEL::GetGroupThrusterCount(THGROUP_TYPE thgt) const {
    return GetGroupThrusterCount(GetThrusterGroupHandle(thgt));
}
THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_HANDLE thg, DWORD idx) const {
    int g = vessel->groupIndex(thg);
    if (g < 0 || idx >= vessel->body.groups[size_t(g)].members.size()) return nullptr;
    return vessel->thrusterHandle(vessel->body.groups[size_t(g)].members[idx]);
}
THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_TYPE thgt, DWORD idx) const {
    return GetGroupThruster(GetThrusterGroupHandle(thgt), idx);
}
void VESSEL::SetThrusterGroupLevel(THGROUP_HANDLE thg, double level) const {
    int g = vessel->groupIndex(thg);
    if (g >= 0) phys::setGroupLevel(vessel->body, g, level);
}
void VESSEL::SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const {
    int g = phys::findGroup(vessel->body, int(thgt));
    if (g >= 0) phys::setGroupLevel(vessel->body, g, level);
}
void VESSEL::IncThrusterGroupLevel(THGROUP_HANDLE thg, double dlevel) const {
    int g = vessel->groupIndex(thg);
    if (g < 0) return;
    for (int i : vessel->body.groups[size_t(g)].members)
        phys::setThrusterLevel(vessel->body, i, vessel->body.thrusters[size_t(i)].level + dlevel);
}
void VESSEL::IncThrusterGroupLevel(THGROUP_TYPE thgt, double dlevel) const {
    IncThrusterGroupLevel(GetThrusterGroupHandle(thgt), dlevel);
}
double VESSEL::GetThrusterGroupLevel(THGROUP_HANDLE thg) const {
    int g = vessel->groupIndex(thg);
    return g < 0 ? 0 : phys::groupLevel(vessel->body, g);
}
double VESSEL::GetThrusterGroupLevel(THGROUP_TYPE thgt) const {
    int g = phys::findGroup(vessel->body, int(thgt));
    return g < 0 ? 0 : phys::groupLevel(vessel->body, g);
}
double VESSEL::GetEngineLevel(ENGINETYPE eng) const {
    if (eng != ENGINE_MAIN && eng != ENGINE_RETRO && eng != ENGINE_HOVER) return 0;
    return GetThrusterGroupLevel(THGROUP_TYPE(int(eng)));
}
void VESSEL::SetEngineLevel(ENGINETYPE eng, double level) const {
    if (eng == ENGINE_MAIN || eng == ENGINE_RETRO || eng == ENGINE_HOVER)
        SetThrusterGroupLevel(THGROUP_TYPE(int(eng)), level);
}
void VESSEL::SetAttitudeRotLevel(const VECTOR3& th) const {
    SetThrusterGroupLevel(THGROUP_ATT_PITCHUP, std::max(0.0, th.x));
    SetThrusterGroupLevel(THGROUP_ATT_PITCHDOWN, std::max(0.0, -th.x));
    SetThrusterGroupLevel(THGROUP_ATT_YAWLEFT, std::max(0.0, th.y));
    SetThrusterGroupLevel(THGROUP_ATT_YAWRIGHT, std::max(0.0, -th.y));
    SetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT, std::max(0.0, th.z));
    SetThrusterGroupLevel(THGROUP_ATT_BANKLEFT, std::max(0.0, -th.z));
}
// One axis (0 pitch, 1 yaw, 2 bank); the other two keep their levels.
void VESSEL::SetAttitudeRotLevel(int axis, double th) const {
    static const THGROUP_TYPE pairs[3][2] = {{THGROUP_ATT_PITCHUP, THGROUP_ATT_PITCHDOWN},
                                             {THGROUP_ATT_YAWLEFT, THGROUP_ATT_YAWRIGHT},
                                             {THGROUP_ATT_BANKRIGHT, THGROUP_ATT_BANKLEFT}};
    if (axis < 0 || axis > 2) return;
    SetThrusterGroupLevel(pairs[axis][0], std::max(0.0, th));
    SetThrusterGroupLevel(pairs[axis][1], std::max(0.0, -th));
}
void VESSEL::SetAttitudeLinLevel(const VECTOR3& th) const {
    SetThrusterGroupLevel(THGROUP_ATT_RIGHT, std::max(0.0, th.x));
    SetThrusterGroupLevel(THGROUP_ATT_LEFT, std::max(0.0, -th.x));
    SetThrusterGroupLevel(THGROUP_ATT_UP, std::max(0.0, th.y));
    SetThrusterGroupLevel(THGROUP_ATT_DOWN, std::max(0.0, -th.y));
    SetThrusterGroupLevel(THGROUP_ATT_FORWARD, std::max(0.0, th.z));
    SetThrusterGroupLevel(THGROUP_ATT_BACK, std::max(0.0, -th.z));
}
// One axis (0 x, 1 y, 2 z); the other two keep their levels.
void VESSEL::SetAttitudeLinLevel(int axis, double th) const {
    static const THGROUP_TYPE pairs[3][2] = {{THGROUP_ATT_RIGHT, THGROUP_ATT_LEFT},
                                             {THGROUP_ATT_UP, THGROUP_ATT_DOWN},
                                             {THGROUP_ATT_FORWARD, THGROUP_ATT_BACK}};
    if (axis < 0 || axis > 2) return;
    SetThrusterGroupLevel(pairs[axis][0], std::max(0.0, th));
    SetThrusterGroupLevel(pairs[axis][1], std::max(0.0, -th));
}

// ---- forces ----
void VESSEL::AddForce(const VECTOR3& F, const VECTOR3& r) const {
    phys::Vec3 f = toVec(F);
    vessel->body.addForce += f;
    vessel->body.addTorque += phys::cross(f, toVec(r));
}
