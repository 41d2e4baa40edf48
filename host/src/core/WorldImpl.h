// The world behind orb::World and the oapi* functions: vessels, time, focus, keys, modules and saving.
#pragma once

#include "core/HandleSet.h"
#include "core/HostFiles.h"
#include "core/ScenarioFile.h"
#include "core/Vessel.h"
#include "orbhost/World.h"
#include "physics/Physics.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orb {

class WorldImpl {
public:
    explicit WorldImpl(const std::filesystem::path& root);
    ~WorldImpl();

    std::filesystem::path root;
    phys::Planet planet; // Earth with the scenario's epoch
    double simt = 0;     // time of the vessels' state (after a step: its end)
    double frameT0 = 0;  // start of the step being taken
    double simdt = 0.02; // length of the step being taken (oapiGetSimStep)
    double stepLength = 0.02;
    bool stepping = false;
    // In the modules' post-step callbacks: the simulator makes the step's new state vectors current only
    // after them, so what they read of a vessel's position, velocity, attitude and rotation is the step's
    // start.
    bool inPostStep = false;
    std::uint64_t stepSerial = 0; // counts the steps begun; a vessel created in one is new until the next
    size_t deletesPending = 0;    // vessels flagged for deletion and not yet removed
    bool ended = false;           // the last vessel went away
    std::vector<std::unique_ptr<Vessel>> vessels; // in list order
    HandleSet live;                               // every valid handle, also during creation
    Vessel* focus = nullptr;
    char debug[256] = {};
    std::vector<VesselEvent> events;
    std::vector<std::string> log;
    std::string fatalError;  // what the simulator would stop on (a class's mesh, a state beyond the finite
                             // numbers); the step then throws it
    int failedCreations = 0; // vessels that modules asked for and did not get
    std::map<std::string, std::weak_ptr<ModuleLibrary>> modules;

    struct Key {
        DWORD key;
        unsigned mods;
    };
    std::deque<Key> keys;    // waiting for the next step
    std::vector<Key> keysUp; // released at the start of the step after their press

    // Each listed name's first vessel; the keys view the vessels' own names. A module can make a second
    // vessel of a name while the first is still being made: sharedNames counts the times that happened, so
    // that the list is searched for the next of a name only when there can be one.
    std::unordered_map<std::string_view, Vessel*> byName;
    int sharedNames = 0;

    // What was read from the scenario, written back on save.
    std::string system = "Sol";
    std::vector<std::string> description;
    std::vector<std::string> environmentExtra, camera;
    std::vector<std::vector<std::string>> cockpitBlocks, pluginBlocks;

    double mjd() const { return planet.epochMjd + simt / 86400.0; }
    // What oapiGetSimTime reports: as in the simulator, the frame's start time throughout the frame.
    double frameTime() const { return stepping ? frameT0 : simt; }

    Vessel* find(OBJHANDLE h) const; // null for anything that is not a live vessel
    // The first vessel in the list with that name (one lookup, so that a world of thousands of vessels is
    // built and searched without walking the list for every name).
    Vessel* findByName(std::string_view name) const;

    void loadScenario(const ScenarioFile& scn);
    // Creates a vessel from scenario lines; source/firstLine locate the lines for messages.
    Vessel* createFromLines(const std::string& name, const std::string& className,
                            const std::vector<std::string>& lines, const std::string& source, int firstLine);
    Vessel* createFromStatus(const std::string& name, const std::string& className, const VESSELSTATUS* vs,
                             const void* vs2);
    void postCreation(Vessel* v);

    void step(double dt);
    void requestDelete(Vessel* v);
    void removeDeleted();     // destroys the vessels flagged for deletion
    bool setFocus(Vessel* v); // true when the focus changed
    void endSession();        // ovcExit for every vessel

    std::string saveText(const std::vector<std::string>& description) const;
    void writeShip(const Vessel& v, std::string& out) const;

private:
    std::unique_ptr<Vessel> construct(const std::string& name, const std::string& className,
                                      std::unique_ptr<ConfigFile>& cfg);
    std::unique_ptr<ConfigFile> openClassConfig(const std::string& className) const;
    std::shared_ptr<ModuleLibrary> loadModule(const std::string& moduleName);
    void applyGenericCaps(Vessel& v, const ConfigFile& cfg, int depth = 0) const;
    void destroy(Vessel* v);
    void listVessel(std::unique_ptr<Vessel> v); // appends it to the list and its name to the index
    void forgetName(const Vessel* v);
    void deliverKeys();
    void prefetchCallbacks(size_t next) const;
    // Stops the run, naming what of v's state at time t a scenario could not hold.
    void stopUnsavable(const Vessel& v, double t);
};

WorldImpl* currentWorld();

} // namespace orb
