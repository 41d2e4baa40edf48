// The two attitude-control sets and aerodynamic sets, and the engine-related operations of the flight:
// cut-off, zeroing the attitude groups, and the contrail.
#include "PreciseFall.h"
#include "Teski.h"

namespace {

// Every attitude thruster: vacuum Isp 4.9e7 m/s, no pressure dependence, on a 1 kg tank of its own.
constexpr double AttitudeIsp = 4.9e7;

// Plain arrays rather than VECTOR3 (a union), so the tables below initialise without nested braces.
struct ThrusterSpec {
    double pos[3], dir[3];
    double thrust;

    VECTOR3 Pos() const { return _V(pos[0], pos[1], pos[2]); }
    VECTOR3 Dir() const { return _V(dir[0], dir[1], dir[2]); }
};

struct GroupSpec {
    THGROUP_HANDLE Teski::*field;
    THGROUP_TYPE type;
    int count;
    ThrusterSpec thrusters[2];
};

// Simple model: six pairs of 30 N thrusters 6 m from the origin.
const GroupSpec simpleGroups[] = {
    {&Teski::thgBankRight,
     THGROUP_ATT_BANKRIGHT,
     2,
     {{{-6, 0, 0}, {0, 1, 0}, 30}, {{6, 0, 0}, {0, -1, 0}, 30}}},
    {&Teski::thgBankLeft,
     THGROUP_ATT_BANKLEFT,
     2,
     {{{6, 0, 0}, {0, 1, 0}, 30}, {{-6, 0, 0}, {0, -1, 0}, 30}}},
    {&Teski::thgYawRight,
     THGROUP_ATT_YAWRIGHT,
     2,
     {{{6, 0, 0}, {0, 0, -1}, 30}, {{-6, 0, 0}, {0, 0, 1}, 30}}},
    {&Teski::thgYawLeft, THGROUP_ATT_YAWLEFT, 2, {{{-6, 0, 0}, {0, 0, -1}, 30}, {{6, 0, 0}, {0, 0, 1}, 30}}},
    {&Teski::thgPitchUp, THGROUP_ATT_PITCHUP, 2, {{{0, 0, 6}, {0, 1, 0}, 30}, {{0, 0, -6}, {0, -1, 0}, 30}}},
    {&Teski::thgPitchDown,
     THGROUP_ATT_PITCHDOWN,
     2,
     {{{0, 0, 6}, {0, -1, 0}, 30}, {{0, 0, -6}, {0, 1, 0}, 30}}},
};

// Realistic model: jet vanes in the exhaust and air rudders at the fins, as thrusters at the tail.
const THGROUP_TYPE User = THGROUP_USER;
const GroupSpec realisticGroups[] = {
    {&Teski::thgBankRight,
     THGROUP_ATT_BANKRIGHT,
     2,
     {{{-1.6, 0, -7}, {0, 1, 0}, 400}, {{1.6, 0, -7}, {0, -1, 0}, 400}}},
    {&Teski::thgBankLeft,
     THGROUP_ATT_BANKLEFT,
     2,
     {{{1.6, 0, -7}, {0, 1, 0}, 400}, {{-1.6, 0, -7}, {0, -1, 0}, 400}}},
    {&Teski::thgUpperVaneYawRight, User, 1, {{{0, 0.5, -6.5}, {-1, 0, 0}, 200}}},
    {&Teski::thgLowerVaneYawRight, THGROUP_ATT_YAWRIGHT, 1, {{{0, -0.5, -6.5}, {-1, 0, 0}, 200}}},
    {&Teski::thgLowerVaneYawLeft, THGROUP_ATT_YAWLEFT, 1, {{{0, -0.5, -6.5}, {1, 0, 0}, 200}}},
    {&Teski::thgUpperVaneYawLeft, User, 1, {{{0, 0.5, -6.5}, {1, 0, 0}, 200}}},
    {&Teski::thgUpperRudderYawRight, User, 1, {{{0, 1.6, -7}, {-1, 0, 0}, 400}}},
    {&Teski::thgLowerRudderYawRight, User, 1, {{{0, -1.6, -7}, {-1, 0, 0}, 400}}},
    {&Teski::thgLowerRudderYawLeft, User, 1, {{{0, -1.6, -7}, {1, 0, 0}, 400}}},
    {&Teski::thgUpperRudderYawLeft, User, 1, {{{0, 1.6, -7}, {1, 0, 0}, 400}}},
    {&Teski::thgPitchUp,
     THGROUP_ATT_PITCHUP,
     2,
     {{{0.5, 0, -6.5}, {0, -1, 0}, 200}, {{-0.5, 0, -6.5}, {0, -1, 0}, 200}}},
    {&Teski::thgPitchDown,
     THGROUP_ATT_PITCHDOWN,
     2,
     {{{0.5, 0, -6.5}, {0, 1, 0}, 200}, {{-0.5, 0, -6.5}, {0, 1, 0}, 200}}},
};

struct AeroSpec {
    VECTOR3 pmi, crossSections;
    double cw[4]; // z forward, z backward, x, y
    VECTOR3 rotDrag;
};

const AeroSpec simpleAero = {
    {{0.35, 0.35, 0.35}}, {{1.07, 1.07, 1.07}}, {0.55, 0.55, 0.55, 0.55}, {{0.1, 0.1, 0.1}}};
const AeroSpec realisticAero = {
    {{1.41, 1.41, 0.35}}, {{12, 12, 1.07}}, {0.55, 0.7, 1.5, 1.5}, {{0.7, 0.7, 0.1}}};

// The contrail behind the missile between 4 and 20 km while the engine burns.
PARTICLESTREAMSPEC contrailSpec = {0,
                                   5,
                                   100,
                                   500,
                                   0,
                                   30,
                                   2,
                                   1000,
                                   PARTICLESTREAMSPEC::EMISSIVE,
                                   PARTICLESTREAMSPEC::LVL_PSQRT,
                                   0,
                                   0.5,
                                   PARTICLESTREAMSPEC::ATM_PLOG,
                                   0.000001,
                                   0.1,
                                   nullptr};

} // namespace

// Builds each group's thrusters on a 1 kg tank of the set's own and stores the group handles.
template <std::size_t N> static void CreateGroups(Teski& t, const GroupSpec (&groups)[N]) {
    PROPELLANT_HANDLE tank = t.CreatePropellantResource(1, -1, 1);
    for (const GroupSpec& g : groups) {
        THRUSTER_HANDLE th[2] = {};
        for (int i = 0; i < g.count; ++i)
            th[i] = t.CreateThruster(g.thrusters[i].Pos(), g.thrusters[i].Dir(), g.thrusters[i].thrust, tank,
                                     AttitudeIsp, 0, 101400);
        t.*g.field = t.CreateThrusterGroup(th, g.count, g.type);
    }
}

// Groups of the other model stay empty; setting them is a no-op.
static void SetGroup(const Teski& t, THGROUP_HANDLE group, double level) {
    if (group) t.SetThrusterGroupLevel(group, level);
}

static void ApplyAero(const Teski& t, const AeroSpec& a) {
    t.SetPMI(a.pmi);
    t.SetCrossSections(a.crossSections);
    t.SetCW(a.cw[0], a.cw[1], a.cw[2], a.cw[3]);
    t.SetRotDrag(a.rotDrag);
}

void Teski::SetupSimpleControls() {
    CreateGroups(*this, simpleGroups);
}
void Teski::SetupRealisticControls() {
    CreateGroups(*this, realisticGroups);
}
void Teski::SetupSimpleAero() {
    ApplyAero(*this, simpleAero);
}
void Teski::SetupRealisticAero() {
    ApplyAero(*this, realisticAero);
}

// The falling missile's drag and turning as the host computes them from the aerodynamic set: drag areas of
// half the cross-section times its coefficient; the moments of pitch (about x, from cs.y) and yaw (about y,
// from cs.x) are alike for both sets, so one pull and one damping across the nose.
void Teski::DescribeFall(FallBody& b) const {
    const AeroSpec& a = realistic ? realisticAero : simpleAero;
    const double mass = GetMass(), size = GetSize();
    b.turns = true;
    b.forward = 0.5 * a.crossSections.z * a.cw[0] / mass;
    b.side = 0.5 * a.crossSections.x * a.cw[2] / mass;
    b.vertical = 0.5 * a.crossSections.y * a.cw[3] / mass;
    b.inertiaAcross = a.pmi.x;
    b.inertiaAlong = a.pmi.z;
    b.turn = size * a.crossSections.y * GetPitchMomentScale();
    b.dampAcross = size * a.rotDrag.x;
    b.dampAlong = size * a.rotDrag.z;
}

void Teski::CutOffEngine() {
    SetThrusterLevel(thMain, 0);
    ZeroControls();
    engineBurning = false;
    UpdateContrail();
}

void Teski::ZeroControls() {
    THGROUP_HANDLE Teski::*const realisticYaw[] = {
        &Teski::thgUpperVaneYawRight,   &Teski::thgUpperVaneYawLeft,    &Teski::thgLowerVaneYawRight,
        &Teski::thgLowerVaneYawLeft,    &Teski::thgUpperRudderYawRight, &Teski::thgUpperRudderYawLeft,
        &Teski::thgLowerRudderYawRight, &Teski::thgLowerRudderYawLeft,
    };
    SetGroup(*this, thgBankRight, 0);
    SetGroup(*this, thgBankLeft, 0);
    if (realistic) {
        for (auto field : realisticYaw)
            SetGroup(*this, this->*field, 0);
    } else {
        SetGroup(*this, thgYawRight, 0);
        SetGroup(*this, thgYawLeft, 0);
    }
    SetGroup(*this, thgPitchUp, 0);
    SetGroup(*this, thgPitchDown, 0);
}

void Teski::UpdateContrail() {
    const bool due = altitude > 4000 && altitude < 20000 && engineBurning;
    if (contrailActive && !due) {
        if (contrail) DelExhaustStream(contrail);
        contrail = nullptr;
        contrailActive = false;
    } else if (!contrailActive && due) {
        contrail = AddExhaustStream(mainGroupList[0], _V(0, 0, -25), &contrailSpec);
        contrailActive = true;
    }
}
