// HostTestVessel: the host's own test vessel module. It writes every callback it receives to the host's log
// ("<name> <callback> ..."), so a test can check the call sequence, and it acts on its own scenario keys:
//   SPAWN <name> <time>        create a vessel of this class at <time>, in the post-step, and use it at once
//   SPAWN_PRE <name> <time>    the same in the pre-step
//   SPAWN_AT_LOAD <name>       create a vessel of this class while this one's scenario lines are read
//   DELETE_AT <time>           delete itself in the post-step at <time>
//   KILL <name> <time>         delete another vessel in the pre-step at <time>
//   GROUP <type> <level>       set a thruster group level at the first step
//   QUIET                      log no pre- and post-steps (for the benchmark)
//   DELETE_AT_CREATION         delete itself in clbkPostCreation
//   DEBUG_AT <time>            write "debug from <name>" to the debug line at <time>
// Its class caps: size 2 m, empty mass 500 kg, one tank of 1000 kg, a main engine along +z (10 kN, Isp 3000
// m/s in vacuum, 2500 m/s at sea level), and attitude pairs for pitch, yaw and bank (100 N at 1 m lever
// arms). A vessel whose name begins with "Null" makes ovcInit return NULL (the host then makes a plain
// vessel).
#pragma once

#include "Orbitersdk.h"

#include <string>
#include <vector>

class HostTestVessel final : public VESSEL2 {
public:
    HostTestVessel(OBJHANDLE h, int fmodel) : VESSEL2(h, fmodel) {}

    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkPostCreation() override;
    void clbkFocusChanged(bool getfocus, OBJHANDLE hNew, OBJHANDLE hOld) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) override;

    struct Action {
        std::string kind, target;
        double time = 0;
        bool done = false;
    };
    std::vector<Action> actions;
    int groupType = -1;
    double groupLevel = 0;
    THRUSTER_HANDLE main = nullptr;
    PROPELLANT_HANDLE tank = nullptr;
    std::string cfgNote; // the class file's "Note" item, read in clbkSetClassCaps
    int keysDown = 0;
    bool quiet = false;
    bool deleteAtCreation = false;
    double debugAt = -1;
};
