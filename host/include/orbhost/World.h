// orbhost's world, as programs and tests drive it: an installation root, the vessels of a scenario with their
// plug-ins, simulation steps in the simulator's call order, buffered keys, and saving.
//
// A test in a few lines:
//
//     orb::World world(std::getenv("ORB_ROOT"));               // root with Config/, Modules/, Scenarios/
//     world.loadScenarioText(R"(BEGIN_SHIPS
//     Tesk1:Teski
//       STATUS Landed Earth
//       POS 10.0 50.0
//       HEADING 90.00
//       PRPLEVEL 0:1.000000
//       LAUNCHDELAY 0
//     END
//     END_SHIPS
//     )");
//     world.sendKey(OAPI_KEY_O);                                // to the focus vessel, delivered next step
//     world.runFor(5.0);                                        // steps of stepLength() seconds
//     auto *m = world.moduleAs<Teski>("Tesk1");                 // the plug-in's own object (static_cast)
//     double main = world.vessel("Tesk1")->GetThrusterGroupLevel(THGROUP_MAIN);
//     std::string saved = world.saveText();                     // the scenario as the simulator writes it
//
// Or one vessel without a scenario: world.createVessel("Tesk1", "Teski", "STATUS Landed Earth\nPOS 10 50\n").
//
// How the host drives modules (as the simulator does):
//   - creation: class file Config/Vessels/<class>.cfg (else Config/<class>.cfg), module Modules/<Module>.so
//     (InitModule once per load), ovcInit, clbkSetClassCaps, the class file's generic keys, clbkLoadStateEx
//     with the vessel's lines, the default state set; clbkPostCreation once all vessels of a scenario exist.
//     A class without Module, or an ovcInit returning NULL, gives a plain VESSEL (isPlain()).
//   - each step: buffered keys to the focus vessel, clbkPreStep (all), physics, clbkPostStep (all), then
//     the deletions asked for during the step (ovcExit; a module is unloaded with its last vessel).
//     oapiGetSimTime() gives the step's start time throughout the step; clbkPostStep gets its end time.
//   - a vessel created during a step (oapiCreateVessel) is complete when the call returns and gets its first
//     callbacks in the next step.
//   - end() or the destructor: ovcExit for every vessel in list order, then ExitModule.
// Saved scenarios use CR LF and the simulator's number formats; tanks not listed in a ship block start empty
// and thrusters not listed start at 0, as in the simulator.
//
// Errors (missing root, class configuration, module; malformed scenario) throw orb::HostError with the
// file's name (and line) in the message. Only one World may exist at a time: the oapi* functions act on it.
#pragma once

#include "Orbitersdk.h"
#include "orbhost/HostError.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

class WorldImpl;

// Modifier bits for buffered keys.
enum KeyMod : unsigned { ModNone = 0, ModShift = 1, ModCtrl = 2, ModAlt = 4 };

// What happened to the vessel list, in order.
struct VesselEvent {
    enum class Kind { Created, Deleted } kind;
    double simt;
    std::string name, className;
};

// An exhaust flame as the module defined it (recorded, not drawn).
struct ExhaustRecord {
    int thruster = -1; // creation index of its thruster
    double lscale = 0, wscale = 0, lofs = 0;
    VECTOR3 pos{}, dir{}; // dir: direction of the exhaust (opposite to the thrust)
    bool ownPos = false;  // pos/dir given explicitly
    bool active = true;
};

// A particle stream (exhaust stream or free stream) and the settings it was made with.
struct StreamRecord {
    int thruster = -1; // -1 for a stream that is not tied to a thruster
    VECTOR3 pos{}, dir{};
    bool ownPos = false;
    PARTICLESTREAMSPEC spec{};
    bool hasSpec = false;
    const double* level = nullptr; // level source of a free stream
    bool active = true;            // false after DelExhaustStream
    double createdAt = 0;
};

// A mesh the vessel added (recorded, not drawn).
struct MeshRecord {
    std::string name; // empty for a mesh given by handle
    MESHHANDLE handle = nullptr;
    VECTOR3 ofs{};
    WORD visibility = MESHVIS_EXTERNAL;
    bool active = true;
};

class World {
public:
    // A world on an installation root (the folder holding Config/, Modules/, Meshes/, Scenarios/).
    explicit World(const std::filesystem::path& root);
    ~World(); // ends the session: every vessel gets ovcExit, modules are unloaded (nothing is saved)
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    const std::filesystem::path& root() const;

    // ---- scenarios ----
    // A scenario by name relative to Scenarios/ (".scn" optional) or by path.
    void loadScenario(const std::string& nameOrPath);
    // A scenario given as text; sourceName appears in error messages.
    void loadScenarioText(std::string_view text, const std::string& sourceName = "(scenario text)");
    // Resolves a scenario name as loadScenario does; throws HostError when there is no such file.
    std::filesystem::path scenarioPath(const std::string& nameOrPath) const;

    // Creates one vessel as a scenario's ship block would (class configuration, module, clbkSetClassCaps,
    // clbkLoadStateEx with these lines, state, clbkPostCreation). Lines are separated by LF or CR LF.
    OBJHANDLE createVessel(const std::string& name, const std::string& className, std::string_view lines);
    // As oapiCreateVessel does.
    OBJHANDLE createVessel(const std::string& name, const std::string& className, const VESSELSTATUS& status);

    // ---- time ----
    double simTime() const;
    double mjd() const;
    double stepLength() const; // default 0.02 s
    void setStepLength(double dt);
    void step();          // one step of stepLength()
    void step(double dt); // one step of dt
    void runSteps(int n);
    void runFor(double seconds); // steps until simTime() has advanced by seconds
    // Steps until done() is true or maxSeconds have passed; returns whether done() became true.
    bool runUntil(const std::function<bool()>& done, double maxSeconds);
    bool sessionEnded() const; // the last vessel was deleted (or end() was called)
    // Vessels that modules asked for (oapiCreateVessel) and did not get; the reasons are in the log. A class
    // file whose mesh cannot be loaded stops the world as it stops the simulator: the step throws
    // FatalHostError.
    int failedCreations() const;
    // Ends the session as the simulator does on exit: every vessel gets ovcExit, in list order, and the
    // modules are unloaded. The log and the events stay readable. Save before, if wanted.
    void end();

    // ---- keys ----
    // A buffered key press for the focus vessel, delivered at the start of the next step (down, then up
    // one step later). modifiers: KeyMod bits.
    void sendKey(DWORD key, unsigned modifiers = ModNone);

    // ---- vessels ----
    size_t vesselCount() const;
    OBJHANDLE vesselHandle(size_t index) const;
    OBJHANDLE findVessel(std::string_view name) const; // null when absent
    VESSEL* vessel(std::string_view name) const;       // the module's object or the plain vessel; null
    VESSEL* vessel(OBJHANDLE h) const;
    template <class T> T* moduleAs(std::string_view name) const { return static_cast<T*>(vessel(name)); }
    std::string name(OBJHANDLE h) const;
    std::string className(OBJHANDLE h) const;
    bool isPlain(OBJHANDLE h) const; // no module object: the host's plain vessel
    bool isLanded(OBJHANDLE h) const;
    std::vector<double> thrusterLevels(OBJHANDLE h) const; // in creation order
    std::vector<ExhaustRecord> exhausts(OBJHANDLE h) const;
    std::vector<StreamRecord> streams(OBJHANDLE h) const;
    std::vector<MeshRecord> meshes(OBJHANDLE h) const;
    OBJHANDLE focus() const;
    std::string debugString() const;
    const std::vector<VesselEvent>& events() const;
    // Messages the host logged (module loads, ignored scenario lines, warnings).
    const std::vector<std::string>& log() const;

    // ---- saving ----
    // The current state as a scenario text (CR LF lines), with the given description block lines.
    std::string saveText(const std::vector<std::string>& description = {}) const;
    void saveScenario(const std::filesystem::path& file,
                      const std::vector<std::string>& description = {}) const;
    // Scenarios/(Current state).scn in the root, as the simulator writes it at the end of a session.
    std::filesystem::path saveCurrentState() const;

private:
    std::unique_ptr<WorldImpl> impl_;
};

} // namespace orb
