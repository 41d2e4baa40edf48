#include "core/Vessel.h"

#include "core/ModuleLibrary.h"

#include <new>

namespace {
orb::phys::Body* newBody() {
    void* raw = orb::phys::pooledAllocate(sizeof(orb::phys::Body));
    try {
        return new (raw) orb::phys::Body();
    } catch (...) {
        orb::phys::pooledFree(raw, sizeof(orb::phys::Body));
        throw;
    }
}
} // namespace

Vessel::Vessel(orb::WorldImpl& w, std::string n, std::string c)
    : world(w), name(std::move(n)), className(std::move(c)), bodyMemory(newBody()), body(*bodyMemory) {}

Vessel::~Vessel() = default;

int Vessel::thrusterIndex(THRUSTER_HANDLE th) const {
    return th ? int(body.thrusters.indexOf(th)) : -1;
}
int Vessel::tankIndex(PROPELLANT_HANDLE ph) const {
    return ph ? int(body.tanks.indexOf(ph)) : -1;
}
int Vessel::groupIndex(THGROUP_HANDLE gh) const {
    return gh ? int(body.groups.indexOf(gh)) : -1;
}
