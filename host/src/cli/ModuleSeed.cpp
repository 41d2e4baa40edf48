#include "cli/ModuleSeed.h"

#include <dlfcn.h>

#include <algorithm>
#include <system_error>

namespace orb::cli {

std::vector<std::string> seedLoadedModules(const std::filesystem::path& root, unsigned seed) {
    std::vector<std::string> seeded;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(root / "Modules", ec)) {
        if (entry.path().extension() != ".so") continue;
        // RTLD_NOLOAD: only a module the world has loaded already; nothing new is loaded here.
        void* lib = dlopen(entry.path().c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (!lib) continue;
        const std::string name = entry.path().stem().string();
        auto seedFn = reinterpret_cast<void (*)(unsigned)>(dlsym(lib, (name + "SeedRandom").c_str()));
        if (seedFn) {
            seedFn(seed);
            seeded.push_back(name);
        }
        dlclose(lib);
    }
    std::sort(seeded.begin(), seeded.end());
    return seeded;
}

} // namespace orb::cli
