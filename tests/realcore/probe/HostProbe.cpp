// HostProbe: a plain body of our own that both hosts fly, orbhost and the simulator's Linux port, so that
// their physics can be set side by side without the missile's guidance in between. It records where it is
// once per second of simulation time and keeps that track in its scenario block, where the saved state of
// either host carries it out.
//
// Scenario keys of its block (besides the host's own STATUS, POS, RPOS, ... lines):
//   DRAG 0|1          1: a body with cross sections and drag coefficients; 0 (default): no aerodynamics
//   THRUST F T        a main engine of F newtons along +z, lit at simulation time T (until its fuel is gone)
//   WATCH NAME N      also records the vessel NAME every N steps of its first 120 s of flight (WATCHED
//   lines):
//                     where two hosts part on another module's vessel, step by step
//   TRACK ...         the recorded track (written by the probe; read back it is dropped)
#include <Orbitersdk.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr double ProbeSize = 4;         // m
constexpr double ProbeMass = 10000;     // kg, empty
constexpr double ProbeFuel = 5000;      // kg
constexpr double ProbeIsp = 3000;       // m/s
constexpr size_t MaxTrackPoints = 4000; // one per second

struct TrackPoint {
    double t, lng, lat, alt, pitch, bank, wx, wy, wz;
};

class HostProbe final : public VESSEL2 {
public:
    HostProbe(OBJHANDLE h, int fm) : VESSEL2(h, fm) {}

    void clbkSetClassCaps(FILEHANDLE) override {
        SetSize(ProbeSize);
        SetEmptyMass(ProbeMass);
        SetPMI(_V(4, 4, 1));
        SetCrossSections(_V(0, 0, 0));
        SetCW(0, 0, 0, 0);
        SetRotDrag(_V(0, 0, 0));
        SetPitchMomentScale(0);
        SetBankMomentScale(0);
        SetLiftCoeffFunc(nullptr);
        // A tripod under the tail whose centre lies under the centre of mass: the body stands upright.
        static TOUCHDOWNVTX feet[3] = {{_V(0, -2, -3), 3e5, 3e4, 1.0, 1.0},
                                       {_V(-1.7320508, 1, -3), 3e5, 3e4, 1.0, 1.0},
                                       {_V(1.7320508, 1, -3), 3e5, 3e4, 1.0, 1.0}};
        SetTouchdownPoints(feet, 3);
        PROPELLANT_HANDLE tank = CreatePropellantResource(ProbeFuel);
        engine = CreateThruster(_V(0, 0, -3), _V(0, 0, 1), 0, tank, ProbeIsp);
    }

    void clbkLoadStateEx(FILEHANDLE scn, void* status) override {
        char* line;
        while (oapiReadScenario_nextline(scn, line)) {
            double a = 0, b = 0;
            int on = 0;
            if (std::sscanf(line, " DRAG %d", &on) == 1) {
                if (on) {
                    SetCrossSections(_V(12, 12, 3));
                    SetCW(0.2, 0.4, 0.8, 0.8);
                    SetRotDrag(_V(0.1, 0.1, 0.05));
                    SetPitchMomentScale(1e-4);
                    SetBankMomentScale(1e-4);
                }
            } else if (std::sscanf(line, " THRUST %lf %lf", &a, &b) == 2) {
                SetThrusterMax0(engine, a);
                thrustAt = b;
            } else if (char name[64]; std::sscanf(line, " WATCH %63s %d", name, &on) == 2) {
                watched = name;
                watchEvery = on > 0 ? on : 1;
            } else if (!std::strncmp(line, "TRACK", 5) || !std::strncmp(line, "  TRACK", 7)) {
                continue; // a new flight records its own
            } else {
                ParseScenarioLineEx(line, status);
            }
        }
    }

    void clbkPreStep(double, double, double) override { ++preSteps; }

    void clbkPostStep(double simt, double, double) override {
        ++postSteps;
        lastPostT = simt;
        watch(simt);
        if (thrustAt >= 0 && simt >= thrustAt) {
            SetThrusterLevel(engine, 1.0);
            thrustAt = -1;
        }
        if (simt + 1e-9 < nextSample || track.size() >= MaxTrackPoints) return;
        nextSample = std::floor(simt + 1e-9) + 1.0;
        double lng = 0, lat = 0, rad = 0;
        GetEquPos(lng, lat, rad);
        VECTOR3 w;
        GetAngularVel(w);
        track.push_back({simt, lng, lat, GetAltitude(), GetPitch(), GetBank(), w.x, w.y, w.z});
    }

    // Records when a key reached it (the simulation time and the time of the step it came in): where the
    // two hosts deliver keys.
    int clbkConsumeBufferedKey(DWORD key, bool down, char*) override {
        if (down && keyLines.size() < 100) {
            char line[128];
            std::snprintf(line, sizeof line, "%d %.4f %d %d %.4f", int(key), oapiGetSimTime(), postSteps,
                          preSteps, lastPostT);
            keyLines.push_back(line);
        }
        return 0;
    }

    void clbkSaveState(FILEHANDLE scn) override {
        VESSEL2::clbkSaveState(scn);
        for (const std::string& k : keyLines)
            oapiWriteScenario_string(scn, const_cast<char*>("KEY"), const_cast<char*>(k.c_str()));
        for (const std::string& w : watchLines)
            oapiWriteScenario_string(scn, const_cast<char*>("WATCHED"), const_cast<char*>(w.c_str()));
        char value[256];
        for (size_t i = 0; i < track.size(); ++i) {
            const TrackPoint& p = track[i];
            std::snprintf(value, sizeof value, "%zu %.3f %.10f %.10f %.4f %.8f %.8f %.8f %.8f %.8f", i, p.t,
                          p.lng, p.lat, p.alt, p.pitch, p.bank, p.wx, p.wy, p.wz);
            oapiWriteScenario_string(scn, const_cast<char*>("TRACK"), value);
        }
    }

private:
    void watch(double simt) {
        if (watched.empty() || steps++ % watchEvery != 0 || watchLines.size() > 20000) return;
        OBJHANDLE h = oapiGetVesselByName(const_cast<char*>(watched.c_str()));
        OBJHANDLE earth = oapiGetGbodyByName(const_cast<char*>("Earth"));
        if (!h || !earth) return;
        VESSEL* v = oapiGetVesselInterface(h);
        if (v->GetAltitude() > 1 && watchFrom < 0) watchFrom = simt;
        if (watchFrom >= 0 && simt > watchFrom + 120) return;
        VECTOR3 p, u, w;
        v->GetRelativePos(earth, p);
        v->GetRelativeVel(earth, u);
        v->GetAngularVel(w);
        char line[512];
        std::snprintf(line, sizeof line,
                      "%.2f %.4f %.4f %.4f %.5f %.5f %.5f %.8f %.8f %.8f %.8f %.8f %.8f %.2f", simt, p.x, p.y,
                      p.z, u.x, u.y, u.z, w.x, w.y, w.z, v->GetPitch(), v->GetBank(), v->GetAOA(),
                      v->GetMass());
        watchLines.push_back(line);
    }

    std::string watched;
    int watchEvery = 1;
    long steps = 0;
    int preSteps = 0, postSteps = 0;
    double lastPostT = -1;
    double watchFrom = -1;
    std::vector<std::string> watchLines, keyLines;
    THRUSTER_HANDLE engine = nullptr;
    double thrustAt = -1;
    double nextSample = 0;
    std::vector<TrackPoint> track;
};

} // namespace

DLLCLBK VESSEL* ovcInit(OBJHANDLE h, int flightmodel) {
    return new (std::nothrow) HostProbe(h, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* v) {
    delete static_cast<HostProbe*>(v);
}
