#include "core/Vessel.h"

#include "core/ModuleLibrary.h"

Vessel::Vessel(orb::WorldImpl& w, std::string n, std::string c)
    : world(w), name(std::move(n)), className(std::move(c)),
      bodyMemory(orb::phys::makePooled<orb::phys::Body>()), body(*bodyMemory) {}

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
