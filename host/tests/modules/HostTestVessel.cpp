#include "HostTestVessel.h"

#include <cstdio>
#include <cstring>
#include <sstream>

namespace {
// The host's text parameters are char*, as in the simulator: the texts go through a string of our own.
void log(std::string line) {
    oapiWriteLog(line.data());
}
void note(const VESSEL* v, const std::string& what) {
    log(std::string(v->GetName()) + " " + what);
}
std::string num(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", x);
    return buf;
}
} // namespace

namespace {
void spawn(HostTestVessel* self, const std::string& name);
}

void HostTestVessel::clbkSetClassCaps(FILEHANDLE cfg) {
    note(this, "SetClassCaps");
    char buf[256] = "", item[] = "Note";
    if (oapiReadItem_string(cfg, item, buf)) cfgNote = buf;
    SetSize(2);
    SetEmptyMass(500);
    SetPMI(_V(1, 1, 1));
    SetCrossSections(_V(2, 2, 1));
    tank = CreatePropellantResource(1000);
    main = CreateThruster(_V(0, 0, -1), _V(0, 0, 1), 10000, tank, 3000, 2500, 101.4e3);
    CreateThrusterGroup(&main, 1, THGROUP_MAIN);
    // Attitude pairs: a force at +-1 m from the centre gives a torque crossp(F, r).
    struct Pair {
        VECTOR3 pos1, dir1, pos2, dir2;
        THGROUP_TYPE type;
    };
    const Pair pairs[] = {
        {_V(0, 0, 1), _V(0, 1, 0), _V(0, 0, -1), _V(0, -1, 0), THGROUP_ATT_PITCHUP},
        {_V(0, 0, 1), _V(0, -1, 0), _V(0, 0, -1), _V(0, 1, 0), THGROUP_ATT_PITCHDOWN},
        {_V(0, 0, 1), _V(-1, 0, 0), _V(0, 0, -1), _V(1, 0, 0), THGROUP_ATT_YAWLEFT},
        {_V(0, 0, 1), _V(1, 0, 0), _V(0, 0, -1), _V(-1, 0, 0), THGROUP_ATT_YAWRIGHT},
        {_V(1, 0, 0), _V(0, 1, 0), _V(-1, 0, 0), _V(0, -1, 0), THGROUP_ATT_BANKLEFT},
        {_V(1, 0, 0), _V(0, -1, 0), _V(-1, 0, 0), _V(0, 1, 0), THGROUP_ATT_BANKRIGHT},
    };
    for (const Pair& p : pairs) {
        THRUSTER_HANDLE th[2] = {CreateThruster(p.pos1, p.dir1, 100, tank, 3000),
                                 CreateThruster(p.pos2, p.dir2, 100, tank, 3000)};
        CreateThrusterGroup(th, 2, p.type);
    }
}

void HostTestVessel::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    note(this, "LoadStateEx");
    char* line;
    while (oapiReadScenario_nextline(scn, line)) {
        std::istringstream in(line);
        std::string key;
        in >> key;
        Action a;
        if (key == "SPAWN" || key == "SPAWN_PRE" || key == "KILL") {
            a.kind = key;
            in >> a.target >> a.time;
            actions.push_back(a);
        } else if (key == "DELETE_AT") {
            a.kind = key;
            in >> a.time;
            actions.push_back(a);
        } else if (key == "SPAWN_AT_LOAD") {
            std::string name;
            in >> name;
            spawn(this, name);
        } else if (key == "DEBUG_AT") {
            in >> debugAt;
        } else if (key == "DELETE_AT_CREATION") {
            deleteAtCreation = true;
        } else if (key == "QUIET") {
            quiet = true;
        } else if (key == "GROUP") {
            in >> groupType >> groupLevel;
        } else {
            ParseScenarioLineEx(line, status);
        }
    }
}

void HostTestVessel::clbkSaveState(FILEHANDLE scn) {
    VESSEL2::clbkSaveState(scn);
    for (const Action& a : actions)
        if (!a.done) {
            std::string key = a.kind,
                        value = a.kind == "DELETE_AT" ? num(a.time) : a.target + " " + num(a.time);
            oapiWriteScenario_string(scn, key.data(), value.data());
        }
    if (groupType >= 0) {
        std::string key = "GROUP", value = std::to_string(groupType) + " " + num(groupLevel);
        oapiWriteScenario_string(scn, key.data(), value.data());
    }
}

void HostTestVessel::clbkPostCreation() {
    if (deleteAtCreation) oapiDeleteVessel(GetHandle());
    note(this, "PostCreation"); // the object must still be alive after asking for its own deletion
}

void HostTestVessel::clbkFocusChanged(bool getfocus, OBJHANDLE, OBJHANDLE) {
    note(this, std::string("FocusChanged ") + (getfocus ? "1" : "0"));
}

namespace {
void spawn(HostTestVessel* self, const std::string& name) {
    VESSELSTATUS vs;
    self->GetStatus(vs);
    OBJHANDLE h = oapiCreateVessel(name.c_str(), self->GetClassName(), vs);
    VESSEL* v = oapiGetVesselInterface(h);
    note(self,
         "Spawned " + name + (v && std::strcmp(v->GetName(), name.c_str()) == 0 ? " usable" : " unusable"));
}
} // namespace

void HostTestVessel::clbkPreStep(double simt, double simdt, double) {
    if (!quiet) note(this, "PreStep " + num(simt) + " " + num(simdt) + " " + num(oapiGetSimTime()));
    if (groupType >= 0) {
        SetThrusterGroupLevel(THGROUP_TYPE(groupType), groupLevel);
        groupType = -1;
    }
    for (Action& a : actions) {
        if (a.done || simt + 1e-9 < a.time) continue;
        if (a.kind == "SPAWN_PRE") spawn(this, a.target), a.done = true;
        if (a.kind == "KILL") {
            note(this, "Kill " + a.target +
                           (oapiDeleteVessel(oapiGetVesselByName(a.target.data())) ? " ok" : " failed"));
            a.done = true;
        }
    }
}

void HostTestVessel::clbkPostStep(double simt, double simdt, double) {
    if (!quiet) note(this, "PostStep " + num(simt) + " " + num(simdt) + " " + num(oapiGetSimTime()));
    if (debugAt >= 0 && simt + 1e-9 >= debugAt) {
        std::snprintf(oapiDebugString(), 256, "debug from %s", GetName());
        debugAt = -1;
    }
    for (Action& a : actions) {
        if (a.done || simt + 1e-9 < a.time) continue;
        if (a.kind == "SPAWN") spawn(this, a.target), a.done = true;
        if (a.kind == "DELETE_AT") {
            a.done = true;
            oapiDeleteVessel(GetHandle());
            note(this, "DeleteRequested");
        }
    }
}

int HostTestVessel::clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) {
    note(this, "Key " + std::to_string(key) + (down ? " down" : " up") +
                   (KEYMOD_SHIFT(kstate) ? " shift" : "") + (KEYMOD_CONTROL(kstate) ? " ctrl" : "") +
                   (KEYMOD_ALT(kstate) ? " alt" : ""));
    if (down) ++keysDown;
    return 1;
}

DLLCLBK VESSEL* ovcInit(OBJHANDLE h, int flightmodel) {
    const char* name = static_cast<const char*>(nullptr);
    VESSEL probe(h, flightmodel);
    name = probe.GetName();
    log(std::string(name) + " ovcInit");
    if (std::strncmp(name, "Null", 4) == 0) return nullptr;
    return new HostTestVessel(h, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* v) {
    if (!v) return;
    log(std::string(v->GetName()) + " ovcExit");
    delete static_cast<HostTestVessel*>(v);
}

DLLCLBK void InitModule(HINSTANCE) {
    log("HostTestVessel InitModule");
}
DLLCLBK void ExitModule(HINSTANCE) {
    log("HostTestVessel ExitModule");
}
// orbhost --seed hands its number to a module that exports <Module>SeedRandom.
DLLCLBK void HostTestVesselSeedRandom(unsigned seed) {
    log("HostTestVessel seeded with " + std::to_string(seed));
}
