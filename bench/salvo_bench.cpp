// teski-salvo-bench: ten missiles from the O key to the last wreck, through the whole host (plug-ins,
// physics, wreck hand-off). Prints the wall time, the CPU time, the simulated time and the step count of each
// round, then the best and the median, and the figures of the last round's wrecks.
//
// Usage: teski-salvo-bench [--root DIR] [--dt S] [--rounds N]
// The missiles are sure to work (RELIABILITY 100), so every round flies the same salvo.
#include "BenchCommon.h"
#include "ShipBlocks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

double CpuSeconds()
{
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

Round Fly(const std::filesystem::path &root, double dt, const std::string &scenario, size_t missiles)
{
    orb::World world(root);
    world.setStepLength(dt);
    world.loadScenarioText(scenario, "ten-missile salvo");
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

} // namespace

int main(int argc, char **argv)
{
    std::string rootArg;
    double dt = 0.02;
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (!std::strcmp(argv[i], "--root") && more) rootArg = argv[++i];
        else if (!std::strcmp(argv[i], "--dt") && more) dt = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--rounds") && more) rounds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf("usage: teski-salvo-bench [--root DIR] [--dt S] [--rounds N]\n"
                        "Times ten missiles from the O key to the last wreck (best of N rounds, default 5).\n");
            return 0;
        } else {
            std::fprintf(stderr, "usage: teski-salvo-bench [--root DIR] [--dt S] [--rounds N]\n");
            return 2;
        }
    }
    if (dt <= 0 || rounds < 1) {
        std::fprintf(stderr, "teski-salvo-bench: --dt and --rounds must be positive\n");
        return 2;
    }
    const auto root = bench::ChooseRoot(rootArg);
    const auto salvo = bench::TenMissileSalvo();
    std::string ships;
    for (const auto &m : salvo) ships += bench::ShipBlock(m);
    const std::string scenario = bench::Scenario(ships);

    std::printf("salvo of %zu missiles, step %.3f s, root %s\n", salvo.size(), dt, root.c_str());
    std::vector<Round> done;
    try {
        for (int i = 0; i < rounds; ++i) {
            done.push_back(Fly(root, dt, scenario, salvo.size()));
            const Round &r = done.back();
            std::printf("round %d: %s after %.2f s simulated, %ld steps: wall %.4f s, CPU %.4f s (%.0f x real time)\n",
                        i + 1, r.complete ? "last wreck" : "NOT ALL WRECKS", r.simulated, r.steps, r.wall, r.cpu,
                        r.simulated / r.wall);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "teski-salvo-bench: %s\n", e.what());
        return 1;
    }
    std::vector<double> walls;
    for (const Round &r : done) walls.push_back(r.wall);
    std::sort(walls.begin(), walls.end());
    const Round &last = done.back();
    std::printf("O key to last wreck: %.2f s simulated in %ld steps; wall best %.4f s, median %.4f s "
                "(goal: under 1 s)\n",
                last.simulated, last.steps, walls.front(), walls[walls.size() / 2]);

    std::printf("\n%-10s %-9s %10s %10s %10s  %s\n", "missile", "model", "range km", "flown km", "miss km", "failure");
    const auto wrecks = e2e::ShipsOfClass(e2e::ReadShipBlocks(last.saved), "TeskiWreck");
    for (const auto &m : salvo) {
        const auto w = std::find_if(wrecks.begin(), wrecks.end(), [&](auto &b) { return b.name == m.name + "-Wreck"; });
        if (w == wrecks.end()) {
            std::printf("%-10s %-9s %10.1f  no wreck\n", m.name.c_str(), m.realistic ? "realistic" : "simple",
                        m.range / 1000);
            continue;
        }
        std::printf("%-10s %-9s %10.1f %10.1f %10.2f  %s\n", m.name.c_str(), m.realistic ? "realistic" : "simple",
                    m.range / 1000, w->number("RANGE_ACTUAL").value_or(-1) / 1000,
                    w->number("RANGE_MISS").value_or(-1) / 1000, w->value("FAILURE").value_or("").c_str());
    }
    return last.complete ? 0 : 1;
}
