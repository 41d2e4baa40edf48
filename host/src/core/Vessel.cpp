#include "core/Vessel.h"

#include "core/ModuleLibrary.h"

Vessel::Vessel(orb::WorldImpl &w, std::string n, std::string c)
    : world(w), name(std::move(n)), className(std::move(c)) {}

Vessel::~Vessel() = default;

template <class Container> static int indexOf(const Container &c, const void *h) {
    for (size_t i = 0; i < c.size(); ++i)
        if (&c[i] == h) return int(i);
    return -1;
}

int Vessel::thrusterIndex(THRUSTER_HANDLE th) const { return th ? indexOf(body.thrusters, th) : -1; }
int Vessel::tankIndex(PROPELLANT_HANDLE ph) const { return ph ? indexOf(body.tanks, ph) : -1; }
int Vessel::groupIndex(THGROUP_HANDLE gh) const { return gh ? indexOf(body.groups, gh) : -1; }
