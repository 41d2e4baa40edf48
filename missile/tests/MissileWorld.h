// A small fixture for the missile's tests in orbhost: a world on the build's installation root, missiles on
// a pad made from a few scenario lines, and access to the plug-in's own object and its thruster groups.
#pragma once

#include "Teski.h"
#include "TeskiWreck.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace missiletest {

// ORB_ROOT, or else the build's installation root beside the folder of the test program (<build>/bin).
inline std::filesystem::path OrbRoot() {
    if (const char* root = std::getenv("ORB_ROOT"); root && *root) return root;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path("orbroot") : exe.parent_path().parent_path() / "orbroot";
}

// The host's landed lines of a missile on a pad at Woomera, heading given, and the missile's own keys.
inline std::string PadLines(double headingDeg, const std::string& missileKeys, double lonDeg = 136.52,
                            double latDeg = -30.95) {
    return "STATUS Landed Earth\nPOS " + std::to_string(lonDeg) + " " + std::to_string(latDeg) +
           "\nHEADING " + std::to_string(headingDeg) + "\nFUEL 1.000\n------\n" + missileKeys;
}

// The lines of one vessel's block in a saved scenario text, without the blanks around them and the CR.
inline std::vector<std::string> SavedBlock(const std::string& saved, const std::string& vesselName) {
    std::vector<std::string> lines;
    bool inside = false;
    std::size_t pos = 0;
    while (pos < saved.size()) {
        std::size_t end = saved.find('\n', pos);
        if (end == std::string::npos) end = saved.size();
        std::string line = saved.substr(pos, end - pos);
        pos = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        const std::size_t first = line.find_first_not_of(' ');
        line = first == std::string::npos ? std::string() : line.substr(first);
        if (!inside) {
            inside = line.rfind(vesselName + ":", 0) == 0;
            continue;
        }
        if (line == "END") break;
        lines.push_back(line);
    }
    return lines;
}

// The value text of the first line of key in a block ("" when absent, "<absent>" when no such line).
inline std::string SavedValue(const std::vector<std::string>& block, const std::string& key) {
    for (const std::string& line : block)
        if (line.rfind(key + " ", 0) == 0)
            return line.substr(key.size() + 1);
        else if (line == key)
            return "";
    return "<absent>";
}

// The keys of a block in their order.
inline std::vector<std::string> SavedKeys(const std::vector<std::string>& block) {
    std::vector<std::string> keys;
    for (const std::string& line : block)
        keys.push_back(line.substr(0, line.find(' ')));
    return keys;
}

class MissileTest : public ::testing::Test {
protected:
    void SetUp() override { world = std::make_unique<orb::World>(OrbRoot()); }
    void TearDown() override { world.reset(); }

    OBJHANDLE Create(const std::string& name, const std::string& lines) {
        return world->createVessel(name, "Teski", lines);
    }
    Teski* Missile(const std::string& name) const { return world->moduleAs<Teski>(name); }
    TeskiWreck* Wreck(const std::string& missileName) const {
        return world->moduleAs<TeskiWreck>(missileName + "-Wreck");
    }
    double Level(const std::string& name, THGROUP_HANDLE g) const {
        return g ? world->vessel(name)->GetThrusterGroupLevel(g) : 0.0;
    }
    // Restarts the plug-in's generator (the module re-seeds from the clock at every creation).
    void SeedModule(unsigned seed) const {
        const std::string path = (world->root() / "Modules" / "Teski.so").string();
        void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(lib, nullptr) << path;
        auto seedFn = reinterpret_cast<void (*)(unsigned)>(dlsym(lib, "TeskiSeedRandom"));
        ASSERT_NE(seedFn, nullptr);
        seedFn(seed);
        dlclose(lib);
    }
    // Steps until the missile's engine has been lit (or the time is up).
    bool RunUntilLaunched(const std::string& name, double maxSeconds) {
        return world->runUntil([&] { return Missile(name) && Missile(name)->launched; }, maxSeconds);
    }

    std::unique_ptr<orb::World> world;
};

} // namespace missiletest
