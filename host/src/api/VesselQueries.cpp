// The VESSEL operations that read the flight state, exchange state records and scenario lines, and record
// what a vessel shows (meshes, exhaust flames, particle streams).
#include "Orbitersdk.h"

#include "core/Convert.h"
#include "core/HostFiles.h"
#include "core/Vessel.h"
#include "core/VesselState.h"
#include "core/WorldImpl.h"

#include <cmath>

using namespace orb;

// ---- flight state ----
double VESSEL::GetAltitude() const {
    return phys::altitude(vessel->body);
}
// No terrain: the ground is the mean-radius sphere in both modes.
double VESSEL::GetAltitude(AltitudeMode, int* reslvl) {
    if (reslvl) *reslvl = 0;
    return phys::altitude(vessel->body);
}
double VESSEL::GetAirspeed() const {
    return phys::airspeed(vessel->body);
}
double VESSEL::GetGroundspeed() const {
    return phys::airspeed(vessel->body);
}
bool VESSEL::GetAirspeedVector(REFFRAME frame, VECTOR3& v) const {
    const phys::Body& b = vessel->body;
    switch (frame) {
    case FRAME_LOCAL:
        v = toV3(phys::airspeedVectorShip(b));
        return true;
    case FRAME_HORIZON:
        v = toV3(phys::airspeedVectorHorizon(b));
        return true;
    case FRAME_GLOBAL:
        v = toV3(mul(b.rot, phys::airspeedVectorShip(b)));
        return true;
    default:
        v = toV3(phys::airspeedVectorShip(b));
        return true;
    }
}
bool VESSEL::GetHorizonAirspeedVector(VECTOR3& v) const {
    return GetAirspeedVector(FRAME_HORIZON, v);
}
bool VESSEL::GetShipAirspeedVector(VECTOR3& v) const {
    return GetAirspeedVector(FRAME_LOCAL, v);
}
double VESSEL::GetDynPressure() const {
    return phys::dynamicPressure(vessel->body);
}
double VESSEL::GetMachNumber() const {
    return phys::machNumber(vessel->body);
}
double VESSEL::GetAtmTemperature() const {
    return phys::atmTemperature(vessel->body);
}
double VESSEL::GetAtmDensity() const {
    return phys::atmDensity(vessel->body);
}
double VESSEL::GetAtmPressure() const {
    return phys::atmPressure(vessel->body);
}
double VESSEL::GetBank() const {
    return phys::bank(vessel->body);
}
double VESSEL::GetPitch() const {
    return phys::pitch(vessel->body);
}
double VESSEL::GetYaw() const {
    return phys::heading(vessel->body);
}
double VESSEL::GetAOA() const {
    return phys::aoa(vessel->body);
}
double VESSEL::GetSlipAngle() const {
    return phys::slipAngle(vessel->body);
}
bool VESSEL::GroundContact() const {
    return phys::groundContact(vessel->body);
}
DWORD VESSEL::GetFlightStatus() const {
    return vessel->body.landed ? 1 : 0;
}
OBJHANDLE VESSEL::GetEquPos(double& longitude, double& latitude, double& radius) const {
    phys::EquPos p = phys::equPos(vessel->body);
    longitude = p.lng, latitude = p.lat, radius = p.rad;
    return earthHandle();
}
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers" // declared with a const handle, as the simulator does
const OBJHANDLE VESSEL::GetSurfaceRef() const {
    return earthHandle();
}
const OBJHANDLE VESSEL::GetGravityRef() const {
    return earthHandle();
}
#pragma GCC diagnostic pop
// The state vectors a module sees: in a post-step callback those of the step's start, as in the simulator.
namespace {
phys::Kinematics seen(const Vessel& v) {
    return phys::kinematics(v.body, v.world.inPostStep);
}
} // namespace

// The planet is the origin of the global frame in this host.
void VESSEL::GetGlobalPos(VECTOR3& pos) const {
    pos = toV3(seen(*vessel).pos);
}
void VESSEL::GetGlobalVel(VECTOR3& vel) const {
    vel = toV3(seen(*vessel).vel);
}
void VESSEL::GetRelativePos(OBJHANDLE hRef, VECTOR3& pos) const {
    Vessel* ref = vessel->world.find(hRef);
    pos = toV3(ref ? seen(*vessel).pos - seen(*ref).pos : seen(*vessel).pos);
}
void VESSEL::GetRelativeVel(OBJHANDLE hRef, VECTOR3& vel) const {
    Vessel* ref = vessel->world.find(hRef);
    vel = toV3(ref ? seen(*vessel).vel - seen(*ref).vel : seen(*vessel).vel);
}
void VESSEL::GetAngularVel(VECTOR3& avel) const {
    avel = toV3(seen(*vessel).omega);
}
void VESSEL::SetAngularVel(const VECTOR3& avel) const {
    if (!vessel->body.landed) vessel->body.omega = toVec(avel);
}
void VESSEL::GetGlobalOrientation(VECTOR3& arot) const {
    arot = toV3(phys::matrixToEuler(seen(*vessel).rot));
}
void VESSEL::SetGlobalOrientation(const VECTOR3& arot) const {
    SetRotationMatrix(toM3(phys::eulerToMatrix(toVec(arot))));
}
void VESSEL::GetRotationMatrix(MATRIX3& R) const {
    R = toM3(seen(*vessel).rot);
}
void VESSEL::SetRotationMatrix(const MATRIX3& R) const {
    phys::Body& b = vessel->body;
    if (b.landed) return;
    b.rot = toMat(R);
    b.q = phys::toQuat(b.rot);
    phys::updateSurface(b);
}
// Total force and torque are not recorded by this host: they read zero, and (as in the simulator) always
// true.
bool VESSEL::GetForceVector(VECTOR3& F) const {
    F = _V(0, 0, 0);
    return true;
}
// False for zero thrust.
bool VESSEL::GetThrustVector(VECTOR3& T) const {
    phys::Vec3 sum;
    for (size_t i = 0; i < vessel->body.thrusters.size(); ++i)
        sum += vessel->body.thrusters[i].dir * phys::thrusterThrust(vessel->body, int(i));
    T = toV3(sum);
    return T.x != 0 || T.y != 0 || T.z != 0;
}
bool VESSEL::GetTorqueVector(VECTOR3& M) const {
    M = _V(0, 0, 0);
    return true;
}
void VESSEL::Local2Global(const VECTOR3& local, VECTOR3& global) const {
    const phys::Kinematics k = seen(*vessel);
    global = toV3(mul(k.rot, toVec(local)) + k.pos);
}
void VESSEL::Global2Local(const VECTOR3& global, VECTOR3& local) const {
    const phys::Kinematics k = seen(*vessel);
    local = toV3(tmul(k.rot, toVec(global) - k.pos));
}
void VESSEL::Local2Rel(const VECTOR3& local, VECTOR3& rel) const {
    const phys::Kinematics k = seen(*vessel);
    rel = toV3(mul(k.rot, toVec(local)) + k.pos);
}

namespace {
// Horizon axes (east, up, north) expressed in vessel axes, from the planet frame and the vessel's position.
phys::Mat3 vesselToHorizon(const Vessel& v) {
    const phys::Body& b = v.body;
    double lng = phys::surfaceLng(b), lat = phys::surfaceLat(b);
    // planet -> horizon rows, as the simulator defines the local horizon frame
    phys::Mat3 p2h{-std::sin(lng),
                   0,
                   std::cos(lng),
                   std::cos(lat) * std::cos(lng),
                   std::sin(lat),
                   std::cos(lat) * std::sin(lng),
                   -std::sin(lat) * std::cos(lng),
                   std::cos(lat),
                   -std::sin(lat) * std::sin(lng)};
    phys::Mat3 planetRot = b.planet->frameAt(b.simt).rot; // planet -> global
    // vessel -> global -> planet -> horizon
    return phys::mul(p2h, phys::mul(phys::transpose(planetRot), b.rot));
}
} // namespace

void VESSEL::HorizonRot(const VECTOR3& loc, VECTOR3& hor) const {
    hor = toV3(mul(vesselToHorizon(*vessel), toVec(loc)));
}
void VESSEL::HorizonInvRot(const VECTOR3& hor, VECTOR3& loc) const {
    loc = toV3(tmul(vesselToHorizon(*vessel), toVec(hor)));
}

// ---- state records and scenario lines ----
void VESSEL::GetStatus(VESSELSTATUS& status) const {
    fillStatus(*vessel, status);
}
void VESSEL::GetStatusEx(void* status) const {
    if (status && *static_cast<DWORD*>(status) == 2)
        fillStatus2(*vessel, *static_cast<VESSELSTATUS2*>(status));
}
void VESSEL::DefSetState(const VESSELSTATUS* status) const {
    if (status) applyStatus(*vessel, *status);
}
void VESSEL::DefSetStateEx(const void* status) const {
    if (status && *static_cast<const DWORD*>(status) == 2)
        applyStatus2(*vessel, *static_cast<const VESSELSTATUS2*>(status));
}
void VESSEL::ParseScenarioLine(char* line, VESSELSTATUS* status) const {
    if (!status) return;
    vessel->parseLineIndex = vessel->loadReader ? int(vessel->loadReader->next) - 1 : -1;
    parseDefaultLine(*vessel, line, *status);
}
void VESSEL::ParseScenarioLineEx(char* line, void* status) const {
    if (!status || *static_cast<DWORD*>(status) != 2) return;
    vessel->parseLineIndex = vessel->loadReader ? int(vessel->loadReader->next) - 1 : -1;
    parseDefaultLine(*vessel, line, *static_cast<VESSELSTATUS2*>(status));
}
void VESSEL::SaveDefaultState(FILEHANDLE scn) const {
    auto* w = static_cast<ScenarioWriter*>(HostFile::fromHandle(scn, HostFile::Kind::ScenarioOut));
    if (w) writeDefaultLines(*vessel, w->text);
}

// ---- meshes ----
UINT VESSEL::AddMesh(const char* meshname, const VECTOR3* ofs) const {
    MeshRecord m;
    m.name = meshname ? meshname : "";
    if (ofs) m.ofs = *ofs;
    vessel->meshes.push_back(m);
    return UINT(vessel->meshes.size() - 1);
}
UINT VESSEL::AddMesh(MESHHANDLE hMesh, const VECTOR3* ofs) const {
    MeshRecord m;
    m.handle = hMesh;
    if (ofs) m.ofs = *ofs;
    vessel->meshes.push_back(m);
    return UINT(vessel->meshes.size() - 1);
}
namespace {
// A mesh put at index idx (replacing the one there), or appended when idx is past the end.
UINT insertMesh(Vessel* vessel, MeshRecord m, UINT idx, const VECTOR3* ofs) {
    if (ofs) m.ofs = *ofs;
    if (idx < vessel->meshes.size()) {
        vessel->meshes[idx] = m;
        return idx;
    }
    vessel->meshes.push_back(m);
    return UINT(vessel->meshes.size() - 1);
}
} // namespace
UINT VESSEL::InsertMesh(const char* meshname, UINT idx, const VECTOR3* ofs) const {
    MeshRecord m;
    m.name = meshname ? meshname : "";
    return insertMesh(vessel, m, idx, ofs);
}
UINT VESSEL::InsertMesh(MESHHANDLE hMesh, UINT idx, const VECTOR3* ofs) const {
    MeshRecord m;
    m.handle = hMesh;
    return insertMesh(vessel, m, idx, ofs);
}
bool VESSEL::DelMesh(UINT idx, bool) const {
    if (idx >= vessel->meshes.size() || !vessel->meshes[idx].active) return false;
    vessel->meshes[idx].active = false;
    return true;
}
void VESSEL::ClearMeshes() const {
    vessel->meshes.clear();
}
void VESSEL::ClearMeshes(bool) const {
    ClearMeshes();
} // no animations here to retain
UINT VESSEL::GetMeshCount() const {
    return UINT(vessel->meshes.size());
}
void VESSEL::SetMeshVisibilityMode(UINT idx, WORD mode) const {
    if (idx < vessel->meshes.size()) vessel->meshes[idx].visibility = mode;
}
WORD VESSEL::GetMeshVisibilityMode(UINT idx) const {
    return idx < vessel->meshes.size() ? vessel->meshes[idx].visibility : WORD(0);
}

// ---- exhaust flames and particle streams ----
namespace {
UINT addExhaust(Vessel* v, THRUSTER_HANDLE th, double lscale, double wscale, double lofs, const VECTOR3* pos,
                const VECTOR3* dir) {
    ExhaustRecord e;
    e.thruster = v->thrusterIndex(th);
    e.lscale = lscale, e.wscale = wscale, e.lofs = lofs;
    if (pos && dir) {
        e.pos = *pos;
        e.dir = *dir;
        e.ownPos = true;
    } else if (e.thruster >= 0) {
        const auto& t = v->body.thrusters[size_t(e.thruster)];
        e.pos = toV3(t.pos);
        e.dir = toV3(-t.dir);
    }
    v->exhausts.push_back(e);
    return UINT(v->exhausts.size() - 1);
}
} // namespace

UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, SURFHANDLE) const {
    return addExhaust(vessel, th, lscale, wscale, 0, nullptr, nullptr);
}
UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, double lofs, SURFHANDLE) const {
    return addExhaust(vessel, th, lscale, wscale, lofs, nullptr, nullptr);
}
UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3& pos,
                        const VECTOR3& dir, SURFHANDLE) const {
    return addExhaust(vessel, th, lscale, wscale, 0, &pos, &dir);
}
UINT VESSEL::AddExhaust(EXHAUSTSPEC* spec) {
    if (!spec) return UINT(-1);
    return addExhaust(vessel, spec->th, spec->lsize, spec->wsize, spec->lofs, spec->lpos, spec->ldir);
}
bool VESSEL::DelExhaust(UINT idx) const {
    if (idx >= vessel->exhausts.size() || !vessel->exhausts[idx].active) return false;
    vessel->exhausts[idx].active = false;
    return true;
}
DWORD VESSEL::GetExhaustCount() const {
    return DWORD(vessel->exhausts.size());
}

namespace {
PSTREAM_HANDLE addStream(Vessel* v, THRUSTER_HANDLE th, const VECTOR3* pos, const VECTOR3* dir,
                         PARTICLESTREAMSPEC* pss, const double* lvl) {
    StreamRecord s;
    s.thruster = v->thrusterIndex(th);
    if (pos)
        s.pos = *pos, s.ownPos = true;
    else if (s.thruster >= 0)
        s.pos = toV3(v->body.thrusters[size_t(s.thruster)].pos);
    if (dir)
        s.dir = *dir;
    else if (s.thruster >= 0)
        s.dir = toV3(-v->body.thrusters[size_t(s.thruster)].dir);
    if (pss) s.spec = *pss, s.hasSpec = true;
    s.level = lvl;
    s.createdAt = v->world.simt;
    v->streams.push_back(s);
    return &v->streams.back();
}
} // namespace

PSTREAM_HANDLE VESSEL::AddExhaustStream(THRUSTER_HANDLE th, PARTICLESTREAMSPEC* pss) const {
    return addStream(vessel, th, nullptr, nullptr, pss, nullptr);
}
PSTREAM_HANDLE VESSEL::AddExhaustStream(THRUSTER_HANDLE th, const VECTOR3& pos,
                                        PARTICLESTREAMSPEC* pss) const {
    return addStream(vessel, th, &pos, nullptr, pss, nullptr);
}
PSTREAM_HANDLE VESSEL::AddParticleStream(PARTICLESTREAMSPEC* pss, const VECTOR3& pos, const VECTOR3& dir,
                                         double* lvl) const {
    return addStream(vessel, nullptr, &pos, &dir, pss, lvl);
}
bool VESSEL::DelExhaustStream(PSTREAM_HANDLE ch) const {
    for (auto& s : vessel->streams)
        if (&s == ch && s.active) {
            s.active = false;
            return true;
        }
    return false;
}
