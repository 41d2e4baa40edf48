// The oapi* functions: time, objects, vessel creation and lookup, focus, surface-relative queries, the debug
// line, meshes and textures, and versions. They act on the current world; without one they return nothing.
#include "CoreEntries.h"
#include "Orbitersdk.h"

#include "core/Convert.h"
#include "core/Text.h"
#include "core/WorldImpl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

using namespace orb;

namespace {
// The one reference body. Its handle is the address of this object.
struct EarthObject {
    char tag = 'E';
} g_earth;

Vessel* vesselOf(OBJHANDLE h) {
    WorldImpl* w = currentWorld();
    return w ? w->find(h) : nullptr;
}

// Creation errors go to the host's log (the module only sees a null handle).
OBJHANDLE createLogged(const char* name, const char* classname, const VESSELSTATUS* vs, const void* vs2) {
    WorldImpl* w = currentWorld();
    if (!w || !name || !classname) return nullptr;
    try {
        return w->createFromStatus(name, classname, vs, vs2);
    } catch (const FatalHostError& e) {
        // The simulator stops here; the step that asked for the vessel ends, then the world throws.
        w->log.push_back(std::string("error: ") + e.what());
        if (w->fatalError.empty())
            w->fatalError =
                std::string(e.what()) + " (vessel \"" + name + "\" at t = " + text::fixed(w->simt, 2) + " s)";
        ++w->failedCreations;
        return nullptr;
    } catch (const HostError& e) {
        w->log.push_back(std::string("error: ") + e.what());
        ++w->failedCreations;
        return nullptr;
    }
}
} // namespace

OBJHANDLE orb::earthHandle() {
    return &g_earth;
}

// ---- time ----
double oapiGetSimTime() {
    WorldImpl* w = currentWorld();
    return w ? w->frameTime() : 0;
}
double oapiGetSimStep() {
    WorldImpl* w = currentWorld();
    return w ? w->simdt : 0;
}
double oapiGetSimMJD() {
    WorldImpl* w = currentWorld();
    return w ? w->planet.epochMjd + w->frameTime() / 86400.0 : 0;
}
double oapiGetSysTime() {
    using namespace std::chrono;
    static const auto start = steady_clock::now();
    return duration<double>(steady_clock::now() - start).count();
}

// ---- objects ----
OBJHANDLE oapiGetObjectByName(char* name) {
    if (!name) return nullptr;
    if (std::strcmp(name, "Earth") == 0) return earthHandle();
    return oapiGetVesselByName(name);
}
OBJHANDLE oapiGetGbodyByName(char* name) {
    return name && std::strcmp(name, "Earth") == 0 ? earthHandle() : nullptr;
}
DWORD oapiGetGbodyCount() {
    return 1;
}
OBJHANDLE oapiGetGbodyByIndex(int index) {
    return index == 0 ? earthHandle() : nullptr;
}
double oapiGetSize(OBJHANDLE hObj) {
    if (hObj == earthHandle()) return phys::kEarthRadius;
    Vessel* v = vesselOf(hObj);
    return v ? v->body.size : 0;
}
double oapiGetMass(OBJHANDLE hObj) {
    if (hObj == earthHandle()) return phys::kEarthMass;
    Vessel* v = vesselOf(hObj);
    return v ? v->body.mass : 0;
}
void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3* pos) {
    if (!pos) return;
    Vessel* v = vesselOf(hObj);
    // In a post-step callback, the step's start, as in the simulator (VesselQueries.cpp).
    *pos = v ? toV3(phys::kinematics(v->body, v->world.inPostStep).pos) : _V(0, 0, 0);
}
void oapiGetGlobalVel(OBJHANDLE hObj, VECTOR3* vel) {
    if (!vel) return;
    Vessel* v = vesselOf(hObj);
    *vel = v ? toV3(phys::kinematics(v->body, v->world.inPostStep).vel) : _V(0, 0, 0);
}
void oapiGetRelativePos(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3* pos) {
    if (!pos) return;
    VECTOR3 a, b;
    oapiGetGlobalPos(hObj, &a);
    oapiGetGlobalPos(hRef, &b);
    *pos = a - b;
}
void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3* vel) {
    if (!vel) return;
    VECTOR3 a, b;
    oapiGetGlobalVel(hObj, &a);
    oapiGetGlobalVel(hRef, &b);
    *vel = a - b;
}
double oapiGetPlanetPeriod(OBJHANDLE hPlanet) {
    return hPlanet == earthHandle() ? phys::kEarthSidRotPeriod : 0;
}
// The simulator takes the distance less the planet's size as the altitude; a body without air gives zeros.
void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double rad, ATMPARAM* prm) {
    if (!prm) return;
    *prm = ATMPARAM{0, 0, 0};
    if (hPlanet != earthHandle()) return;
    const phys::AtmState a = phys::atmosphere(rad - phys::kEarthRadius, phys::kEarthAtmAltLimit);
    *prm = ATMPARAM{a.T, a.p, a.rho};
}

// ---- vessels ----
OBJHANDLE oapiCreateVessel(const char* name, const char* classname, const VESSELSTATUS& status) {
    return createLogged(name, classname, &status, nullptr);
}
OBJHANDLE oapiCreateVesselEx(const char* name, const char* classname, const void* status) {
    if (!status) return nullptr;
    return createLogged(name, classname, nullptr, status);
}
bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE) {
    Vessel* v = vesselOf(hVessel);
    if (!v || v->deletePending) return false;
    v->world.requestDelete(v);
    return true;
}
VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel) {
    Vessel* v = vesselOf(hVessel);
    return v ? v->intf : nullptr;
}
DWORD oapiGetVesselCount() {
    WorldImpl* w = currentWorld();
    return w ? DWORD(w->vessels.size()) : 0;
}
OBJHANDLE oapiGetVesselByIndex(int index) {
    WorldImpl* w = currentWorld();
    if (!w || index < 0 || size_t(index) >= w->vessels.size()) return nullptr;
    return w->vessels[size_t(index)].get();
}
OBJHANDLE oapiGetVesselByName(char* name) {
    WorldImpl* w = currentWorld();
    return w && name ? w->findByName(name) : nullptr;
}
bool oapiIsVessel(OBJHANDLE hVessel) {
    return vesselOf(hVessel) != nullptr;
}
OBJHANDLE oapiGetFocusObject() {
    WorldImpl* w = currentWorld();
    return w ? w->focus : nullptr;
}
OBJHANDLE oapiSetFocusObject(OBJHANDLE hVessel) {
    Vessel* v = vesselOf(hVessel);
    if (!v) return nullptr;
    Vessel* old = v->world.focus;
    return v->world.setFocus(v) ? old : nullptr;
}
VESSEL* oapiGetFocusInterface() {
    WorldImpl* w = currentWorld();
    return w && w->focus ? w->focus->intf : nullptr;
}

// ---- attitude and position relative to the planet ----
BOOL oapiGetHeading(OBJHANDLE hVessel, double* heading) {
    Vessel* v = vesselOf(hVessel);
    if (!v || !heading) return FALSE;
    *heading = phys::heading(v->body);
    return TRUE;
}
BOOL oapiGetPitch(OBJHANDLE hVessel, double* pitch) {
    Vessel* v = vesselOf(hVessel);
    if (!v || !pitch) return FALSE;
    *pitch = phys::pitch(v->body);
    return TRUE;
}
BOOL oapiGetBank(OBJHANDLE hVessel, double* bank) {
    Vessel* v = vesselOf(hVessel);
    if (!v || !bank) return FALSE;
    *bank = phys::bank(v->body);
    return TRUE;
}
BOOL oapiGetEquPos(OBJHANDLE hVessel, double* longitude, double* latitude, double* radius) {
    Vessel* v = vesselOf(hVessel);
    if (!v || !longitude || !latitude || !radius) return FALSE;
    phys::EquPos p = phys::equPos(v->body);
    *longitude = p.lng, *latitude = p.lat, *radius = p.rad;
    return TRUE;
}
BOOL oapiGetAltitude(OBJHANDLE hVessel, double* alt) {
    Vessel* v = vesselOf(hVessel);
    if (!v || !alt) return FALSE;
    *alt = phys::altitude(v->body);
    return TRUE;
}
BOOL oapiGetAltitude(OBJHANDLE hVessel, AltitudeMode, double* alt) {
    return oapiGetAltitude(hVessel, alt);
}
BOOL oapiGetAirspeed(OBJHANDLE hVessel, double* airspeed) {
    Vessel* v = vesselOf(hVessel);
    if (!v || !airspeed) return FALSE;
    *airspeed = phys::airspeed(v->body);
    return TRUE;
}
bool oapiGetAirspeedVector(OBJHANDLE hVessel, REFFRAME frame, VECTOR3* v) {
    Vessel* vessel = vesselOf(hVessel);
    if (!vessel || !v) return false;
    return vessel->intf->GetAirspeedVector(frame, *v);
}
BOOL oapiGetAirspeedVector(OBJHANDLE hVessel, VECTOR3* speedvec) {
    return oapiGetAirspeedVector(hVessel, FRAME_HORIZON, speedvec) ? TRUE : FALSE;
}
// A null vessel means the focus vessel; outside any atmosphere (or without a vessel) every value is 0.
void oapiGetAtm(OBJHANDLE hVessel, ATMPARAM* prm, OBJHANDLE* hAtmRef) {
    if (hAtmRef) *hAtmRef = nullptr;
    if (!prm) return;
    *prm = ATMPARAM{0, 0, 0};
    Vessel* v = vesselOf(hVessel ? hVessel : oapiGetFocusObject());
    if (!v) return;
    prm->T = phys::atmTemperature(v->body);
    prm->p = phys::atmPressure(v->body);
    prm->rho = phys::atmDensity(v->body);
    if (hAtmRef && prm->rho > 0) *hAtmRef = earthHandle();
}

// ---- debug line, meshes, textures ----
char* oapiDebugString() {
    static char detached[256];
    WorldImpl* w = currentWorld();
    return w ? w->debug : detached;
}
void oapiDebugString(const char* str) {
    char* d = oapiDebugString();
    std::snprintf(d, 256, "%s", str ? str : "");
}

namespace {
// Meshes are not drawn; a loaded mesh is its file name, kept for the session.
struct MeshObject {
    std::string name;
};
std::vector<std::unique_ptr<MeshObject>>& meshStore() {
    static std::vector<std::unique_ptr<MeshObject>> store;
    return store;
}
MESHHANDLE loadMesh(const char* fname) {
    WorldImpl* w = currentWorld();
    if (!fname || !*fname) return nullptr;
    for (auto& m : meshStore())
        if (m->name == fname) return m.get();
    std::string rel = fname;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    std::error_code ec;
    if (!w || rel.find("..") != std::string::npos ||
        !std::filesystem::is_regular_file(w->root / "Meshes" / (rel + ".msh"), ec)) {
        if (w) w->log.push_back("Mesh not found: " + (w->root / "Meshes" / (rel + ".msh")).string());
        return nullptr;
    }
    meshStore().push_back(std::make_unique<MeshObject>(MeshObject{fname}));
    return meshStore().back().get();
}
} // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers" // declared with a const handle, as the simulator does
const MESHHANDLE oapiLoadMeshGlobal(const char* fname) {
    return loadMesh(fname);
}
const MESHHANDLE oapiLoadMeshGlobal(const char* fname, LoadMeshClbkFunc fClbk) {
    bool first = true;
    if (fname)
        for (auto& m : meshStore())
            if (m->name == fname) first = false;
    MESHHANDLE h = loadMesh(fname);
    if (fClbk) fClbk(h, h && first);
    return h;
}
#pragma GCC diagnostic pop
MESHHANDLE oapiLoadMesh(const char* fname) {
    return loadMesh(fname);
}
void oapiDeleteMesh(MESHHANDLE) {}

namespace {
struct TextureObject {
    std::string name;
};
SURFHANDLE texture(const char* name) {
    static std::vector<std::unique_ptr<TextureObject>> store;
    if (!name) return nullptr;
    for (auto& t : store)
        if (t->name == name) return t.get();
    store.push_back(std::make_unique<TextureObject>(TextureObject{name}));
    return store.back().get();
}
} // namespace

SURFHANDLE oapiRegisterExhaustTexture(char* name) {
    return texture(name);
}
SURFHANDLE oapiRegisterParticleTexture(char* name) {
    return texture(name);
}

// ---- versions ----
int Date2Int(char* date) {
    static const char* const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    if (!date || std::strlen(date) < 3) return 0;
    int month = 0;
    for (int m = 0; m < 12; ++m)
        if (text::iequals(std::string_view(date, 3), months[m])) month = m + 1;
    std::string_view rest;
    std::string_view dayText = text::firstWord(std::string_view(date).substr(3), &rest);
    auto day = text::parseInt(dayText);
    auto year = text::parseInt(text::firstWord(rest));
    if (!month || !day || !year) return 0;
    return (*year % 100) * 10000 + month * 100 + *day;
}
int oapiGetOrbiterVersion() {
    static char date[] = "Apr 25 2006";
    return Date2Int(date);
}
