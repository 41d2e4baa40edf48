// teski-salvo-bench: ten missiles from the O key to the last wreck, through the whole host (plug-ins,
// physics, wreck hand-off). Prints the wall time, the CPU time, the simulated time and the step count of each
// round, then the best and the median, and the figures of the last round's wrecks.
//
// Usage: teski-salvo-bench [--root DIR] [--dt S] [--rounds N] [--seed N] [--save FILE] [--precise]
// The missiles are sure to work (RELIABILITY 100), so every round flies the same salvo but for the small
// random heading error of the realistic model; --seed fixes that too. --save writes the last round's saved
// state (every wreck block) to FILE: with a seed, two builds can be compared byte for byte. --precise flies
// the salvo a second time with every missile on the precise cut-off, and prints the two side by side: what
// the fall prediction costs.
#include "BenchCommon.h"
#include "ShipBlocks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

struct Round {
    double wall = 0, cpu = 0, simulated = 0;
    long steps = 0;
    bool complete = false;
    std::string saved;
};

Round Fly(const std::filesystem::path& root, double dt, const std::string& scenario, size_t missiles,
          std::optional<unsigned> seed) {
    orb::World world(root);
    world.setStepLength(dt);
    world.loadScenarioText(scenario, "ten-missile salvo");
    if (seed && !bench::SeedMissileModule(world, *seed))
        throw std::runtime_error("the missile module has no seed");
    Round r;
    const double t0 = world.simTime();
    const auto wall0 = std::chrono::steady_clock::now();
    const double cpu0 = CpuSeconds();
    world.sendKey(OAPI_KEY_O);
    while (world.simTime() - t0 < 3600) {
        world.step();
        ++r.steps;
        if (bench::CountClass(world, "Teski") == 0 && bench::CountClass(world, "TeskiWreck") == missiles) {
            r.complete = true;
            break;
        }
    }
    r.cpu = CpuSeconds() - cpu0;
    r.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    r.simulated = world.simTime() - t0;
    r.saved = world.saveText();
    return r;
}

struct Summary {
    bool ok = true;
    double cpuRatio = 0, wallRatio = 0, simulated = 0; // times real time, medians; seconds
    long steps = 0;
};

// Flies the salvo the given number of rounds, plain or every missile precise, and prints each round and the
// last round's wrecks.
Summary FlySalvo(const std::filesystem::path& root, double dt, int rounds, std::optional<unsigned> seed,
                 bool precise, const std::string& saveTo) {
    Summary out;
    auto salvo = bench::TenMissileSalvo();
    for (auto& m : salvo)
        m.precise = precise;
    std::string ships;
    for (const auto& m : salvo)
        ships += bench::ShipBlock(m);
    const std::string scenario = bench::Scenario(ships);

    std::printf("%ssalvo of %zu missiles, step %.3f s, root %s\n", precise ? "precise " : "", salvo.size(),
                dt, root.c_str());
    std::vector<Round> done;
    try {
        for (int i = 0; i < rounds; ++i) {
            done.push_back(Fly(root, dt, scenario, salvo.size(), seed));
            const Round& r = done.back();
            std::printf(
                "round %d: %s after %.2f s simulated, %ld steps: wall %.4f s, CPU %.4f s (%.0f x real time "
                "in CPU time)\n",
                i + 1, r.complete ? "last wreck" : "NOT ALL WRECKS", r.simulated, r.steps, r.wall, r.cpu,
                r.simulated / r.cpu);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "teski-salvo-bench: %s\n", e.what());
        out.ok = false;
        return out;
    }
    // Times real time, median over the rounds: from the CPU time (what the host costs on one core, whatever
    // else the machine runs) and from the wall time.
    auto median = [&](double Round::*time) {
        std::vector<double> v;
        for (const Round& r : done)
            v.push_back(r.simulated / (r.*time));
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    constexpr double goal = 5000;
    const Round& last = done.back();
    const double cpuRatio = median(&Round::cpu);
    out.cpuRatio = cpuRatio;
    out.wallRatio = median(&Round::wall);
    out.steps = last.steps;
    out.simulated = last.simulated;
    std::printf(
        "O key to last wreck: %.2f s simulated in %ld steps; median %.0f x real time in CPU time (%.2f of "
        "the goal of %.0f x), %.0f x in wall time\n",
        last.simulated, last.steps, cpuRatio, cpuRatio / goal, goal, median(&Round::wall));

    std::printf("\n%-10s %-9s %10s %10s %10s  %s\n", "missile", "model", "range km", "flown km", "miss km",
                "failure");
    const auto wrecks =
        scenario_files::shipsOfClass(scenario_files::readShipBlocks(last.saved), "TeskiWreck");
    for (const auto& m : salvo) {
        const auto w =
            std::find_if(wrecks.begin(), wrecks.end(), [&](auto& b) { return b.name == m.name + "-Wreck"; });
        if (w == wrecks.end()) {
            std::printf("%-10s %-9s %10.1f  no wreck\n", m.name.c_str(), m.realistic ? "realistic" : "simple",
                        m.range / 1000);
            continue;
        }
        std::printf("%-10s %-9s %10.1f %10.1f %10.2f  %s\n", m.name.c_str(),
                    m.realistic ? "realistic" : "simple", m.range / 1000,
                    w->number("RANGE_ACTUAL").value_or(-1) / 1000,
                    w->number("RANGE_MISS").value_or(-1) / 1000, w->value("FAILURE").value_or("").c_str());
    }
    if (!saveTo.empty()) {
        std::ofstream file(saveTo, std::ios::binary);
        file << last.saved;
        if (!file.flush()) {
            std::fprintf(stderr, "teski-salvo-bench: cannot write %s\n", saveTo.c_str());
            out.ok = false;
        }
    }
    out.ok = out.ok && last.complete;
    return out;
}

} // namespace

int main(int argc, char** argv) {
    std::string rootArg, saveTo;
    double dt = 0.02;
    int rounds = 5;
    std::optional<unsigned> seed;
    bool precise = false;
    for (int i = 1; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (!std::strcmp(argv[i], "--root") && more)
            rootArg = argv[++i];
        else if (!std::strcmp(argv[i], "--dt") && more)
            dt = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--rounds") && more)
            rounds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--save") && more)
            saveTo = argv[++i];
        else if (!std::strcmp(argv[i], "--precise"))
            precise = true;
        else if (!std::strcmp(argv[i], "--seed") && more)
            seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
        else if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf(
                "usage: teski-salvo-bench [--root DIR] [--dt S] [--rounds N] [--seed N] [--save FILE] "
                "[--precise]\n"
                "Times ten missiles from the O key to the last wreck (median of N rounds, default 5) and\n"
                "prints the times real time against the goal of 5,000; --save writes the last round's "
                "state; --precise times the salvo again with the precise cut-off, beside the plain one.\n");
            return 0;
        } else {
            std::fprintf(
                stderr,
                "usage: teski-salvo-bench [--root DIR] [--dt S] [--rounds N] [--seed N] [--save FILE] "
                "[--precise]\n");
            return 2;
        }
    }
    if (dt <= 0 || rounds < 1) {
        std::fprintf(stderr, "teski-salvo-bench: --dt and --rounds must be positive\n");
        return 2;
    }
    const auto root = bench::ChooseRoot(rootArg);
    const Summary plain = FlySalvo(root, dt, rounds, seed, false, saveTo);
    if (!precise) return plain.ok ? 0 : 1;
    std::printf("\n");
    const Summary sharp = FlySalvo(root, dt, rounds, seed, true, "");
    // Per step and missile-second the CPU time each costs; the difference is the fall prediction's share.
    std::printf("\n%-8s %12s %12s %8s %16s\n", "salvo", "x real CPU", "x real wall", "steps",
                "CPU us per step");
    for (const auto& [name, r] : {std::pair{"plain", plain}, std::pair{"precise", sharp}})
        std::printf("%-8s %12.0f %12.0f %8ld %16.1f\n", name, r.cpuRatio, r.wallRatio, r.steps,
                    1e6 * r.simulated / r.cpuRatio / double(r.steps));
    return plain.ok && sharp.ok ? 0 : 1;
}
