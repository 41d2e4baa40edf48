// Step cost: 10 missiles under full thrust in the atmosphere, stepped as the host steps them.
#include "TestVessels.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

using namespace orb::phys;
using namespace orb::phys::test;

int main(int argc, char** argv) {
    if (argc > 1) {
        const bool help = std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h";
        std::fprintf(help ? stdout : stderr,
                     "usage: physics_bench\n"
                     "Times the step of 10 missiles under full thrust in the atmosphere.\n");
        return help ? 0 : 2;
    }
    std::vector<Missile> fleet(10);
    for (int i = 0; i < 10; ++i) {
        fleet[i] = makeMissile();
        setLanded(fleet[i].b, 0.1 * i, 0.3, 0.5 * i, 0);
        setGroupLevel(fleet[i].b, fleet[i].main, 1.0);
        setGroupLevel(fleet[i].b, fleet[i].pitchUp, 0.3);
    }
    // Off the pad first: the timed part is powered flight in the air.
    for (int s = 0; s < 100; ++s)
        for (auto& m : fleet)
            step(m.b, m.b.simt, kDt);
    // Thread CPU time, best of several rounds: the machine is shared, so wall time would measure the others.
    auto cpuNow = [] {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
    };
    const int rounds = 8, steps = 250; // 40 s more of powered flight, still inside the atmosphere
    double best = 1e300, total = 0;
    for (int r = 0; r < rounds; ++r) {
        double t0 = cpuNow();
        for (int s = 0; s < steps; ++s)
            for (auto& m : fleet)
                step(m.b, m.b.simt, kDt);
        double ns = (cpuNow() - t0) / (steps * 10.0);
        best = std::min(best, ns);
        total += ns;
    }
    std::printf("10 vessels under thrust in the atmosphere: best %.0f ns, mean %.0f ns per vessel-step "
                "(%.2f million vessel-steps/s at best); altitude now %.0f m, density %.3g kg/m3\n",
                best, total / rounds, 1e3 / best, altitude(fleet[0].b), atmDensity(fleet[0].b));
    return 0;
}
