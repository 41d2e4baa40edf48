// The module's entry points as the host finds them, and its one random generator, which tests can seed.
#include "MissileWorld.h"
#include "Random.h"

#include <algorithm>

using namespace missiletest;

class MissileModule : public MissileTest {
protected:
    template <class F> F Entry(const char* name) {
        const std::string path = (world->root() / "Modules" / "Teski.so").string();
        void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        EXPECT_NE(lib, nullptr);
        F f = lib ? reinterpret_cast<F>(dlsym(lib, name)) : nullptr;
        if (lib) dlclose(lib);
        return f;
    }
};

TEST_F(MissileModule, EntryPoints) {
    Create("M", PadLines(0, ""));
    auto version = Entry<int (*)()>("GetModuleVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), 60425); // "Apr 25 2006"
    EXPECT_EQ(version(), 60425);
    auto exitFn = Entry<void (*)(VESSEL*)>("ovcExit");
    ASSERT_NE(exitFn, nullptr);
    exitFn(nullptr); // a null interface is ignored
    EXPECT_NE(Entry<void*>("ovcInit"), nullptr);
    const auto& log = world->log();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& l) {
        return l.find("Teski.so") != std::string::npos && l.find("API 060425") != std::string::npos;
    }));
}

TEST_F(MissileModule, SeededGeneratorGivesTheRealisticHeadingError) {
    // The realistic model's heading error is the first draw after the seed: RandomRange(-0.25, 0.5).
    SeedRandom(4711);
    const double expected = RandomRange(-0.25, 0.5);
    for (int run = 0; run < 2; ++run) {
        world.reset();
        world = std::make_unique<orb::World>(OrbRoot());
        Create("M", PadLines(60, "REALISTIC 1\nRELIABILITY 100\n"));
        SeedModule(4711);
        world->vessel("M")->SetThrusterGroupLevel(THGROUP_MAIN, 1);
        world->step();
        const Teski* m = Missile("M");
        ASSERT_TRUE(m->launched);
        EXPECT_NEAR(m->headingRealistic - m->headingIdeal, expected, 1e-9);
    }
}
