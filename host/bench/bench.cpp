// orbhost-bench: vessel-steps per second through the whole host (module callbacks, physics, bookkeeping) for
// 10 vessels under thrust in the lower atmosphere. Usage: orbhost-bench [ROOT] (default: $ORB_ROOT, else
// ../orbroot beside the program); the root must hold Modules/HostTestVessel.so.
#include "orbhost/World.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

int main(int argc, char **argv) {
    if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::printf("Usage: orbhost-bench [ROOT]\n"
                    "Vessel-steps per second through the whole host for 10 vessels under thrust in the lower\n"
                    "atmosphere. ROOT holds Modules/HostTestVessel.so (default: $ORB_ROOT, else ../orbroot beside\n"
                    "the program).\n");
        return 0;
    }
    fs::path buildRoot = argc > 1 ? fs::path(argv[1])
                         : std::getenv("ORB_ROOT") ? fs::path(std::getenv("ORB_ROOT"))
                                                   : fs::canonical("/proc/self/exe").parent_path().parent_path() / "orbroot";
    // A private root with the test vessel class, so the run does not depend on the add-on's classes.
    std::string tmpl = (fs::temp_directory_path() / "orbhost-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return 1;
    fs::path root = tmpl;
    fs::create_directories(root / "Config" / "Vessels");
    fs::create_directories(root / "Modules");
    std::error_code ec;
    fs::copy_file(buildRoot / "Modules" / "HostTestVessel.so", root / "Modules" / "HostTestVessel.so", ec);
    if (ec) {
        std::fprintf(stderr, "orbhost-bench: %s: %s\n", (buildRoot / "Modules" / "HostTestVessel.so").c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::ofstream(root / "Config" / "Vessels" / "HostTestVessel.cfg") << "Module = HostTestVessel\n";

    const int vessels = 10, rounds = 40;
    const double dt = 0.02, seconds = 30;
    long vesselSteps = 0;
    double elapsed = 0, best = 1e300, minAlt = 1e9, maxQ = 0;
    // Thread CPU time: the machine may be shared, and wall time would measure the others too.
    auto cpuNow = [] {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + 1e-9 * double(ts.tv_nsec);
    };
    try {
        for (int r = 0; r < rounds; ++r) {
            orb::World world(root);
            for (int i = 0; i < vessels; ++i) {
                // 10 km up, 250 m/s level flight along the vessel's nose, main engine at full thrust.
                std::string lines = "STATUS Orbiting Earth\nRPOS 0 6381010 " + std::to_string(i * 1000) +
                                    "\nRVEL 0 0 250\nAROT 0 0 0\nPRPLEVEL 0:1\nGROUP 0 1\nQUIET\n";
                world.createVessel("V" + std::to_string(i), "HostTestVessel", lines);
            }
            int steps = int(seconds / dt);
            double t0 = cpuNow();
            for (int s = 0; s < steps; ++s) world.step(dt);
            double used = cpuNow() - t0;
            elapsed += used;
            best = std::min(best, used / (double(steps) * vessels));
            vesselSteps += long(steps) * vessels;
            for (int i = 0; i < vessels; ++i) {
                VESSEL *v = world.vessel("V" + std::to_string(i));
                minAlt = std::min(minAlt, v->GetAltitude());
                maxQ = std::max(maxQ, v->GetDynPressure());
            }
        }
    } catch (const orb::HostError &e) {
        std::fprintf(stderr, "orbhost-bench: %s\n", e.what());
        fs::remove_all(root, ec);
        return 1;
    }
    fs::remove_all(root, ec);
    std::printf("orbhost-bench: %d vessels under thrust, %ld vessel-steps in %.3f s of CPU time: %.0f vessel-steps "
                "per second (best round %.0f)\n",
                vessels, vesselSteps, elapsed, double(vesselSteps) / elapsed, 1.0 / best);
    std::printf("  (lowest altitude %.0f m, highest dynamic pressure %.0f Pa: all in the atmosphere)\n", minAlt, maxQ);
    return 0;
}
