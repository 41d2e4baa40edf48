// Repeatable runs: a module may export "<Module>SeedRandom(unsigned)" (the missile module exports
// TeskiSeedRandom); orbhost hands it the run's seed once the scenario's vessels exist, because a module may
// re-seed itself from the clock whenever one of its vessels is created.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orb::cli {

// Seeds every module of <root>/Modules that is loaded now and exports its seeding function; returns the
// names of the modules seeded.
std::vector<std::string> seedLoadedModules(const std::filesystem::path& root, unsigned seed);

} // namespace orb::cli
