// TeskiSeed: a plug-in for the simulator's Linux port that seeds the vessel modules' random generators once
// the scenario is loaded, as `orbhost --seed N` does, so that flights of the realistic model repeat.
//
// The seed comes from the environment (TESKI_SEED, 0 to 4294967295); without it the plug-in does nothing.
// Every module loaded from Modules/lib<Name>.so that exports <Name>SeedRandom(unsigned) gets it, in the order
// the modules were loaded, and the plug-in says so on the standard output (the core's log of a headless run).
#include <Orbitersdk.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> loadedVesselModules() {
    std::vector<std::string> paths;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            const char* path = info->dlpi_name;
            // The core loads them as Modules/./lib<Name>.so; any other library simply lacks the entry.
            if (path && std::strstr(path, "Modules/"))
                static_cast<std::vector<std::string>*>(data)->push_back(path);
            return 0;
        },
        &paths);
    return paths;
}

// "…/Modules/./libTeski.so" -> "Teski"
std::string moduleName(const std::string& path) {
    size_t slash = path.rfind('/'), from = (slash == std::string::npos ? 0 : slash + 1) + 3,
           dot = path.rfind(".so");
    if (path.compare(from - 3, 3, "lib") != 0 || dot == std::string::npos || dot < from) return {};
    return path.substr(from, dot - from);
}

class SeedModule : public oapi::Module {
public:
    explicit SeedModule(MODULEHANDLE h) : oapi::Module(h) {}

    void clbkSimulationStart(RenderMode) override {
        const char* text = std::getenv("TESKI_SEED");
        if (!text || !*text) return;
        char* end = nullptr;
        errno = 0;
        unsigned long long seed = std::strtoull(text, &end, 10);
        if (*end || errno || seed > 0xFFFFFFFFull) {
            std::printf("TeskiSeed: TESKI_SEED is not a number from 0 to 4294967295: %s\n", text);
            return;
        }
        for (const std::string& path : loadedVesselModules()) {
            void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
            if (!lib) continue;
            const std::string name = moduleName(path);
            if (name.empty()) continue;
            std::string entry = name + "SeedRandom";
            if (auto seedRandom = reinterpret_cast<void (*)(unsigned)>(dlsym(lib, entry.c_str()))) {
                seedRandom(static_cast<unsigned>(seed));
                std::printf("TeskiSeed: %s(%s)\n", entry.c_str(), text);
            }
            dlclose(lib);
        }
    }
};

} // namespace

DLLCLBK void InitModule(MODULEHANDLE hDLL) {
    oapiRegisterModule(new SeedModule(hDLL));
}

DLLCLBK void ExitModule(MODULEHANDLE) {}
