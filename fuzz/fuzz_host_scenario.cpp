// orbhost's scenario reader: a scenario text loaded into a world with both plug-ins, a few steps
// flown, and the state saved; what the host saves it must load again.
#include "FuzzWorld.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::KeepPluginsLoaded();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string saved;
    {
        orb::World world(fuzz::OrbRoot());
        try {
            world.loadScenarioText(text, "fuzz.scn");
        } catch (const orb::HostError&) {
            return 0; // refused with a message: fine
        }
        fuzz::SeedMissiles();
        world.sendKey(OAPI_KEY_O);
        try {
            world.runSteps(3);
        } catch (const orb::FatalHostError&) {
            return 0; // the run stopped with a message (a state beyond the finite numbers): fine
        }
        saved = world.saveText();
    }
    orb::World again(fuzz::OrbRoot());
    try {
        again.loadScenarioText(saved, "saved.scn");
    } catch (const orb::HostError& e) {
        std::fprintf(stderr, "the saved scenario does not load: %s\n%s\n", e.what(), saved.c_str());
        std::abort();
    }
    return 0;
}
