// The command line of "orbhost run": scenario, root, step length, buffered keys, time limit and end rule.
#pragma once

#include "Orbitersdk.h"

#include <optional>
#include <string>
#include <vector>

namespace orb::cli {

struct KeyEvent {
    DWORD key = 0;
    unsigned mods = 0; // orb::KeyMod bits
    double time = 0;
    std::string text; // as given, for messages
};

// The shortest step a run takes: the simulator measures its frames with a microsecond clock, and a run of
// shorter steps would take years to reach the end of a flight.
inline constexpr double kShortestStep = 1e-6;

struct RunOptions {
    std::string scenario;
    std::string root;           // empty: $ORB_ROOT, else the current folder
    double dt = 0.02;           // the simulator's usual frame time at 50 frames per second
    std::vector<KeyEvent> keys; // sorted by time
    double timeLimit = 3600;
    double countdown = 110; // longer than the longest launch delay the planning tool offers (100 s)
    double settle = 10;     // nothing flying for this long ends the run
    double progress = 10;   // seconds of simulation time between progress lines, 0 = none
    bool save = true;
    std::string saveTo; // the saved state goes here instead of Scenarios/(Current state).scn
    std::optional<unsigned>
        seed;              // given to every loaded module's <Module>SeedRandom once the scenario is loaded
    std::string untilGone; // a class: the run ends once none of it is left and every vessel is landed
    bool help = false;     // --help: show the usage, run nothing
};

// Parses "K@T[+mod...]", e.g. "O@1", "A@5+shift", "D@2.5+ctrl+alt", "0x18@1".
std::optional<KeyEvent> parseKeyEvent(const std::string& text, std::string* error);
// Parses the arguments after "run"; nullopt with a message on a usage error.
std::optional<RunOptions> parseRunOptions(const std::vector<std::string>& args, std::string* error);

extern const char* const kUsage;

} // namespace orb::cli
