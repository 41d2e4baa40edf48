// orbhost-bench: the cost of a vessel-step through the whole host (module callbacks, physics, bookkeeping)
// for vessels under thrust in the lower atmosphere, and how it changes with the number of vessels in one
// world.
//
// Usage: orbhost-bench [--vessels N[,N...]] [--rounds R] [ROOT]
//   --vessels   vessel counts to measure, e.g. 1,10,100,1000,10000 (default 10); each count gives a line
//               of the curve: microseconds of CPU time per vessel-step and the ratio to the 10-vessel one
//   --rounds    rounds per count (default: enough for about 600,000 vessel-steps, 5 to 40); the counts take
//               turns round by round, and the ratio is the median of rounds flown side by side
//   ROOT        default: $ORB_ROOT, else ../orbroot beside the program; it must hold
//               Modules/HostTestVessel.so
#include "orbhost/World.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kDt = 0.02;

// Thread CPU time: the machine may be shared, and wall time would measure the others too.
double cpuNow() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + 1e-9 * double(ts.tv_nsec);
}

std::string number(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// Vessel i of n, 10 km up at 250 m/s along its nose with the main engine at full thrust. Vessels come in rows
// of ten, 1 km apart along the flight direction; the rows are spread round the planet, so that any number of
// them fly in the same conditions (ten vessels make one row, as they always did).
std::string vesselLines(int i, int n) {
    const int rows = (n + 9) / 10, row = i / 10;
    const double r = 6381010, phi = 2 * M_PI * row / rows;
    const double x = row == 0 ? 0.0 : -r * std::sin(phi), y = row == 0 ? r : r * std::cos(phi);
    return "STATUS Orbiting Earth\nRPOS " + number(x) + " " + number(y) + " " +
           std::to_string(i % 10 * 1000) + "\nRVEL 0 0 250\nAROT 0 0 0\nPRPLEVEL 0:1\nGROUP 0 1\nQUIET\n";
}

struct Figures {
    int vessels = 0, rounds = 0, steps = 0;
    long vesselSteps = 0;
    double cpu = 0;              // total CPU time of the steps [s]
    std::vector<double> perStep; // each round's CPU time per vessel-step [s], in the order measured
    double minAlt = 1e9;         // lowest altitude at the end of a round [m]
    double maxQ = 0;             // highest dynamic pressure at the end of a round [Pa]
};

double best(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Enough steps per round that a round is not over before the caches have been filled, and enough rounds for
// about 600,000 vessel-steps per count.
Figures plan(int vessels, int roundsWanted) {
    Figures f;
    f.vessels = vessels;
    f.steps = std::clamp(15000 / vessels, 50, 1500);
    f.rounds = roundsWanted > 0 ? roundsWanted : std::clamp(600000 / (vessels * f.steps), 5, 40);
    return f;
}

// One round: a new world of f.vessels vessels, flown f.steps steps.
void measureRound(const fs::path& root, Figures& f) {
    orb::World world(root);
    std::vector<VESSEL*> list;
    for (int i = 0; i < f.vessels; ++i) {
        OBJHANDLE h =
            world.createVessel("V" + std::to_string(i), "HostTestVessel", vesselLines(i, f.vessels));
        list.push_back(oapiGetVesselInterface(h));
    }
    double t0 = cpuNow();
    for (int s = 0; s < f.steps; ++s)
        world.step(kDt);
    double used = cpuNow() - t0;
    f.cpu += used;
    f.vesselSteps += long(f.steps) * f.vessels;
    f.perStep.push_back(used / (double(f.steps) * f.vessels));
    for (VESSEL* v : list) {
        f.minAlt = std::min(f.minAlt, v->GetAltitude());
        f.maxQ = std::max(f.maxQ, v->GetDynPressure());
    }
}

// The machine's speed drifts by several per cent within a minute, so the counts take turns: pass p flies
// round p of every count, and a count's ratio to the reference is the median of the ratios of rounds flown
// in the same pass.
void measureCurve(const fs::path& root, std::vector<Figures>& curve) {
    int passes = 0;
    for (const Figures& f : curve)
        passes = std::max(passes, f.rounds);
    for (int p = 0; p < passes; ++p)
        for (Figures& f : curve)
            if (p < f.rounds) measureRound(root, f);
}

double ratioTo(const Figures& f, const Figures& ref) {
    std::vector<double> r;
    for (size_t p = 0; p < f.perStep.size() && p < ref.perStep.size(); ++p)
        r.push_back(f.perStep[p] / ref.perStep[p]);
    return median(r);
}

bool parseCounts(const char* text, std::vector<int>& counts) {
    std::string_view s(text);
    while (!s.empty()) {
        int n = 0;
        auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
        if (ec != std::errc() || n < 1 || n > 1000000) return false;
        counts.push_back(n);
        s.remove_prefix(size_t(p - s.data()));
        if (!s.empty()) {
            if (s.front() != ',') return false;
            s.remove_prefix(1);
        }
    }
    return !counts.empty();
}

int usage() {
    std::fprintf(stderr, "usage: orbhost-bench [--vessels N[,N...]] [--rounds R] [ROOT]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    int rounds = 0;
    fs::path buildRoot = std::getenv("ORB_ROOT")
                             ? fs::path(std::getenv("ORB_ROOT"))
                             : fs::canonical("/proc/self/exe").parent_path().parent_path() / "orbroot";
    for (int i = 1; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf(
                "Usage: orbhost-bench [--vessels N[,N...]] [--rounds R] [ROOT]\n"
                "CPU time per vessel-step through the whole host for N vessels (default 10) under thrust in\n"
                "the lower atmosphere, one line per count. ROOT holds Modules/HostTestVessel.so (default:\n"
                "$ORB_ROOT, else ../orbroot beside the program).\n");
            return 0;
        } else if (!std::strcmp(argv[i], "--vessels") && more) {
            if (!parseCounts(argv[++i], counts)) return usage();
        } else if (!std::strcmp(argv[i], "--rounds") && more) {
            rounds = std::atoi(argv[++i]);
            if (rounds < 1) return usage();
        } else if (argv[i][0] == '-') {
            return usage();
        } else {
            buildRoot = argv[i];
        }
    }
    if (counts.empty()) counts.push_back(10);

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
        fs::remove_all(root, ec);
        return 1;
    }
    std::ofstream(root / "Config" / "Vessels" / "HostTestVessel.cfg") << "Module = HostTestVessel\n";

    std::vector<Figures> curve;
    for (int n : counts)
        curve.push_back(plan(n, rounds));
    try {
        measureCurve(root, curve);
    } catch (const orb::HostError& e) {
        std::fprintf(stderr, "orbhost-bench: %s\n", e.what());
        fs::remove_all(root, ec);
        return 1;
    }
    for (const Figures& f : curve) {
        std::printf("orbhost-bench: %d vessels under thrust, %ld vessel-steps in %.3f s of CPU time: %.0f "
                    "vessel-steps per second (best round %.0f)\n",
                    f.vessels, f.vesselSteps, f.cpu, double(f.vesselSteps) / f.cpu, 1.0 / best(f.perStep));
        std::printf("  (lowest altitude %.0f m, highest dynamic pressure %.0f Pa: all in the atmosphere)\n",
                    f.minAlt, f.maxQ);
    }
    fs::remove_all(root, ec);

    if (curve.size() > 1) {
        // The reference is the ten-vessel figure when it was measured, else the first count's.
        auto ref = std::find_if(curve.begin(), curve.end(), [](const Figures& f) { return f.vessels == 10; });
        if (ref == curve.end()) ref = curve.begin();
        const std::string against = "x " + std::to_string(ref->vessels) + " vessels";
        std::printf("\n%9s %7s %22s %10s %14s\n", "vessels", "rounds", "us per vessel-step", "best",
                    against.c_str());
        for (const Figures& f : curve)
            std::printf("%9d %7d %22.3f %10.3f %14.2f\n", f.vessels, f.rounds, median(f.perStep) * 1e6,
                        best(f.perStep) * 1e6, ratioTo(f, *ref));
    }
    return 0;
}
