// The host's own vessel object behind an OBJHANDLE and behind VESSEL::vessel: name and class, the physics
// body, the module's interface object, and what the module defined for display (meshes, exhausts, streams).
#pragma once

#include "Orbitersdk.h"
#include "orbhost/World.h"
#include "physics/Physics.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace orb {
class ModuleLibrary;
class WorldImpl;
struct ScenarioReader;
} // namespace orb

class Vessel {
public:
    Vessel(orb::WorldImpl& world, std::string name, std::string className);
    ~Vessel();
    Vessel(const Vessel&) = delete;
    Vessel& operator=(const Vessel&) = delete;
    // The records lie side by side in pooled memory: the steps read the front of every one in turn.
    static void* operator new(size_t bytes) { return orb::phys::pooledAllocate(bytes); }
    static void operator delete(void* p, size_t bytes) noexcept { orb::phys::pooledFree(p, bytes); }

    orb::WorldImpl& world;
    // What the world reads of every vessel in every step sits together at the front.
    VESSEL* intf = nullptr; // the module's object, or the host's plain VESSEL
    std::uint64_t createdInStep =
        0; // serial of the step that created it, 0 outside steps; called back from the next
    bool deletePending = false; // oapiDeleteVessel was called; removed after the post-steps
    bool plain = true;          // intf was made by the host (deleted by the host, not by ovcExit)
    std::string name, className;
    // The body lies in pooled memory beside the other vessels' bodies, which the step walks in turn.
    std::unique_ptr<orb::phys::Body, orb::phys::PooledDelete<orb::phys::Body>> bodyMemory;
    orb::phys::Body& body;
    std::shared_ptr<orb::ModuleLibrary> module;
    bool enableFocus = true;
    VECTOR3 cameraOffset{};
    LiftCoeffFunc liftCoeff = nullptr; // recorded; lift needs airfoil data this host does not model

    std::vector<orb::MeshRecord> meshes;
    std::vector<orb::ExhaustRecord> exhausts;
    std::deque<orb::StreamRecord> streams; // PSTREAM_HANDLE = element address (stable in a deque)

    // Lists a VESSELSTATUS2 being filled by the default scenario parser points into.
    std::vector<VESSELSTATUS2::FUELSPEC> fuelSpecs;
    std::vector<VESSELSTATUS2::THRUSTSPEC> thrustSpecs;
    // Problems found by the default parser while a scenario block is read: (line index in block, message).
    std::vector<std::pair<int, std::string>> parseErrors;
    int parseLineIndex = -1; // index of the block line being parsed, -1 outside a scenario load
    orb::ScenarioReader* loadReader = nullptr; // the block being read by clbkLoadStateEx

    VESSEL2* callbacks() const {
        return intf && intf->Version() >= 1 ? static_cast<VESSEL2*>(intf) : nullptr;
    }
    OBJHANDLE handle() { return this; }

    // Handle <-> index of thrusters, tanks and groups (-1 when the handle is not this vessel's).
    int thrusterIndex(THRUSTER_HANDLE th) const;
    int tankIndex(PROPELLANT_HANDLE ph) const;
    int groupIndex(THGROUP_HANDLE gh) const;
    THRUSTER_HANDLE thrusterHandle(int i) { return &body.thrusters[size_t(i)]; }
    PROPELLANT_HANDLE tankHandle(int i) { return &body.tanks[size_t(i)]; }
    THGROUP_HANDLE groupHandle(int i) { return &body.groups[size_t(i)]; }
};
