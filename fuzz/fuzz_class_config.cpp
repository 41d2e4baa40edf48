// orbhost's class configuration reader: a vessel of a class whose file is the fuzz data, created
// landed, flown a few steps and saved.
#include "FuzzInput.h"
#include "FuzzWorld.h"

namespace {
// A root of our own for the class file, sharing the build root's plug-ins, meshes and classes.
const std::filesystem::path& Root() {
    static const std::filesystem::path root = [] {
        const std::filesystem::path r = fuzz::TempFolder() + "root";
        std::filesystem::create_directories(r / "Config" / "Vessels");
        std::filesystem::create_directories(r / "Scenarios");
        for (const char* shared : {"Modules", "Meshes"})
            std::filesystem::create_directory_symlink(fuzz::OrbRoot() / shared, r / shared);
        for (const char* cls : {"Teski.cfg", "TeskiWreck.cfg"})
            std::filesystem::copy_file(fuzz::OrbRoot() / "Config" / "Vessels" / cls,
                                       r / "Config" / "Vessels" / cls);
        return r;
    }();
    return root;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::KeepPluginsLoaded();
    Root();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteInput(data, size, "root/Config/Vessels/Fuzz.cfg");
    orb::World world(Root());
    try {
        world.createVessel("Fuzz1", "Fuzz", "STATUS Landed Earth\nPOS 136.52 -30.95\nHEADING 90\n");
        world.runSteps(3);
        world.saveText();
    } catch (const orb::HostError&) {
        // refused with a message: fine
    }
    return 0;
}
