// teski-dispersion-bench: 1,000 flights through zielmark-cli dispersion (a ten-missile plan flown 100 times,
// all cores), in a scratch copy of the installation root. Prints the wall time, the CPU time of every
// process involved and the flights per CPU-second.
//
// Usage: teski-dispersion-bench [--root DIR] [--runs N] [--jobs J] [--cli FILE] [--orbhost FILE] [--dt S]
// The realistic missiles (those within the model's range) spread by their heading error; every missile
// fails one flight in ten.
#include "BenchCommon.h"
#include "ProgramRuns.h"
#include "ShipBlocks.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

double ChildCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           1e-6 * double(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

} // namespace

int main(int argc, char** argv) {
    std::string rootArg, runs = "100",
                         jobs = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
    std::string cli = TESKI_ZIELMARK_CLI, orbhost = TESKI_ORBHOST, dt;
    for (int i = 1; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (!std::strcmp(argv[i], "--root") && more)
            rootArg = argv[++i];
        else if (!std::strcmp(argv[i], "--runs") && more)
            runs = argv[++i];
        else if (!std::strcmp(argv[i], "--jobs") && more)
            jobs = argv[++i];
        else if (!std::strcmp(argv[i], "--cli") && more)
            cli = argv[++i];
        else if (!std::strcmp(argv[i], "--orbhost") && more)
            orbhost = argv[++i];
        else if (!std::strcmp(argv[i], "--dt") && more)
            dt = argv[++i];
        else if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf(
                "usage: teski-dispersion-bench [--root DIR] [--runs N] [--jobs J] [--cli FILE] [--orbhost "
                "FILE] "
                "[--dt S]\n"
                "Times a ten-missile plan flown N times (default 100) through zielmark-cli dispersion.\n");
            return 0;
        } else {
            std::fprintf(stderr,
                         "usage: teski-dispersion-bench [--root DIR] [--runs N] [--jobs J] [--cli FILE] "
                         "[--orbhost FILE] [--dt S]\n");
            return 2;
        }
    }
    program_runs::ScratchRoot scratch(bench::ChooseRoot(rootArg));
    auto salvo = bench::TenMissileSalvo();
    std::string ships;
    for (auto& m : salvo) {
        m.realistic = m.range <= 320e3;
        m.reliability = 90;
        ships += bench::ShipBlock(m);
    }
    const fs::path plan = scratch.root() / "Scenarios" / "Teski" / "bench salvo.scn";
    fs::create_directories(plan.parent_path());
    std::ofstream(plan, std::ios::binary) << bench::Scenario(ships);

    std::vector<std::string> command = {cli,
                                        "dispersion",
                                        plan.string(),
                                        "--runs",
                                        runs,
                                        "--seed",
                                        "1",
                                        "--jobs",
                                        jobs,
                                        "--out",
                                        (scratch.folder() / "out").string(),
                                        "--orbhost",
                                        orbhost};
    if (!dt.empty()) command.insert(command.end(), {"--dt", dt});
    std::printf("dispersion of %zu missiles x %s runs, %s at a time\n", salvo.size(), runs.c_str(),
                jobs.c_str());
    const double cpu0 = ChildCpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    const program_runs::CommandResult r = program_runs::RunProgram(command);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    const double cpu = ChildCpuSeconds() - cpu0;
    if (r.status != 0) {
        std::fprintf(stderr, "teski-dispersion-bench: zielmark-cli dispersion failed (%d):\n%s", r.status,
                     r.output.c_str());
        return 1;
    }
    const double flights = double(salvo.size()) * std::stod(runs);
    std::printf("%.0f flights: wall %.2f s (goal: under 30 s), CPU %.2f s, %.1f flights per CPU-second, "
                "%.1f flights per wall second\n",
                flights, wall, cpu, flights / cpu, flights / wall);
    const std::string summary = program_runs::ReadFile((scratch.folder() / "out" / "summary.txt").string());
    // The head of the summary: the conventions and the first missiles.
    size_t cut = 0;
    for (int line = 0; line < 30 && cut != std::string::npos; ++line)
        cut = summary.find('\n', cut + 1);
    std::printf("\n%s\n", summary.substr(0, cut).c_str());
    return 0;
}
