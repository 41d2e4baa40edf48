// orbhost's world for the fuzz targets: the build's installation root with both plug-ins, and the
// split of fuzz data into scenario lines.
#pragma once

#include "orbhost/World.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

inline std::filesystem::path OrbRoot() {
    return FUZZ_ORB_ROOT;
}

// Every World loads the plug-ins and unloads them at its end, and libFuzzer would register a
// module's coverage counters again at each load: holding them once keeps them mapped for the run.
inline void KeepPluginsLoaded() {
    for (const char* name : {"Teski.so", "TeskiWreck.so"}) {
        const std::filesystem::path file = OrbRoot() / "Modules" / name;
        if (!::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
            std::fprintf(stderr, "cannot load %s: %s\n", file.c_str(), ::dlerror());
            std::abort();
        }
    }
}

// The missile module seeds its generator from the clock at every creation; seeding it once the vessels
// exist makes a run, and so a find, repeat whenever it is run again.
inline void SeedMissiles() {
    const std::filesystem::path file = OrbRoot() / "Modules" / "Teski.so";
    void* lib = ::dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!lib) return;
    if (auto seed = reinterpret_cast<void (*)(unsigned)>(::dlsym(lib, "TeskiSeedRandom"))) seed(1);
    ::dlclose(lib);
}

// The text's lines without their line ends (LF or CR LF).
inline std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

} // namespace fuzz
