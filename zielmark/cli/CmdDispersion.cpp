// zielmark-cli dispersion: flies a launch scenario many times in orbhost, each run with the missiles'
// random generator seeded differently, and writes where the missiles landed and how often they failed.
#include "CliArgs.h"
#include "Commands.h"
#include "DispersionOutputs.h"
#include "RunFarm.h"
#include "ScratchFolder.h"

#include "Unit_Dispersion.h"
#include "Unit_DispersionFolder.h"
#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_LaunchScenario.h"
#include "Unit_Results.h"
#include "VesselClasses.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace zm;
namespace fs = std::filesystem;

const char* kUsage =
    "Usage: zielmark-cli dispersion PLAN.scn --runs N [--seed S] [--jobs J] [--out DIR] [OPTIONS]\n"
    "\n"
    "Flies the launch scenario N times in orbhost (O pressed at 1 s), each run with the missiles' random\n"
    "generator seeded from S and the run's number, J runs at a time; a run ends as soon as no missile is "
    "left\n"
    "and every wreck has landed. Then writes, for each missile, the failures by kind and by phase and, over\n"
    "the flights without a failure, the mean point of impact, CEP, R90 and R95 about the mean point and\n"
    "about the target, the standard deviations along and across the launch azimuth and the 1-, 2- and "
    "3-sigma\n"
    "error ellipses. Ctrl-C stops the runs and writes the outputs of those done. Missiles that the plan\n"
    "gives the precise cut-off (zielmark-cli plan --precise) fly with it, and the outputs say which.\n"
    "\n"
    "Options:\n"
    "  --runs N          how many times the plan is flown (1 to 100000)\n"
    "  --seed S          the seed of the whole dispersion, 0 to 4294967295 (default: from the clock; the\n"
    "                    seed used is printed, so the dispersion can be flown again)\n"
    "  --jobs J          runs at a time (default: the number of cores)\n"
    "  --out DIR         output folder (default: PLAN's name with \" dispersion\" beside it); gets\n"
    "                    summary.txt, dispersion.csv, impacts.csv, dispersion.json, dispersion.kml and\n"
    "                    NN_MISSILE.svg and .png per missile\n"
    "  --root DIR        orbhost's installation root (default: the folder above the Scenarios folder that\n"
    "                    holds PLAN, else $ORB_ROOT)\n"
    "  --orbhost FILE    the orbhost program (default: beside zielmark-cli)\n"
    "  --dt S            orbhost's step length in seconds (default: orbhost's)\n"
    "  --keep-runs       keep each run's saved state and orbhost's messages in DIR/runs\n"
    "  -h, --help        show this help\n"
    "\n"
    "A run counts when its missiles flew and left wrecks; one that leaves none is named with the reason.\n"
    "Exit codes: 0 done, 1 failed (no run gave a result, or a file not written), 2 wrong arguments,\n"
    "130 stopped by Ctrl-C, 143 by SIGTERM (the outputs of the runs done are written).\n";

int UsageError(const std::string& message) {
    std::fprintf(stderr, "zielmark-cli dispersion: %s\n\n%s", message.c_str(), kUsage);
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "zielmark-cli dispersion: %s\n", message.c_str());
    return 1;
}

bool ParseCount(const std::string& text, unsigned long long max, unsigned long long& value) {
    if (text.empty() || text.size() > 10) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + unsigned(c - '0');
    }
    return value <= max;
}

// The run's own seed: the dispersion's seed and the run number mixed, so neighbouring runs share nothing.
unsigned RunSeed(unsigned seed, int run) {
    unsigned long long z =
        (static_cast<unsigned long long>(seed) << 32) + unsigned(run) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return unsigned((z ^ (z >> 31)) & 0xFFFFFFFFu);
}

fs::path OwnFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : self.parent_path();
}

// The installation root that holds the plan: the folder above its Scenarios folder, when it looks like one.
fs::path RootOf(const fs::path& plan) {
    for (fs::path p = fs::absolute(plan).parent_path(); p.has_relative_path(); p = p.parent_path())
        if (p.filename() == "Scenarios" && fs::is_directory(p.parent_path() / "Config"))
            return p.parent_path();
    if (const char* env = std::getenv("ORB_ROOT"); env && *env) return env;
    return {};
}

std::string Clock(double seconds) {
    const long s = long(seconds + 0.5);
    char buf[32];
    if (s >= 3600)
        std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
    return buf;
}

// Why orbhost gave no result: the first line of its messages, and the signal it died of.
std::string WhyOrbhostFailed(const std::string& file, const TFarmResult& result) {
    std::string text;
    if (!ReadWholeFile(file, text).Ok()) text.clear();
    text = text.substr(0, text.find('\n'));
    if (result.Signal != 0) {
        const std::string died =
            "orbhost died of signal " + std::to_string(result.Signal) + " (" + strsignal(result.Signal) + ")";
        return text.empty() ? died : died + ": " + text;
    }
    return text.empty() ? "orbhost exited with status " + std::to_string(result.ExitCode) + " and no messages"
                        : text;
}

// The ships of class Teski in a scenario's ship list (the header line's class compared exactly).
int MissileShips(const std::string& text) {
    int missiles = 0;
    std::vector<std::string> lines;
    SplitLines(text, lines);
    bool inShips = false;
    for (const std::string& line : lines) {
        if (line == "BEGIN_SHIPS") inShips = true;
        if (line == "END_SHIPS") inShips = false;
        const size_t colon = line.find(':');
        if (inShips && colon != std::string::npos &&
            line.compare(colon, std::string::npos, TeskiShipTag) == 0)
            ++missiles;
    }
    return missiles;
}

// Why a run that was saved gave no wreck: the missiles it still holds never came down.
std::string WhyNoWreck(const std::string& saved) {
    std::string text;
    const int left = ReadWholeFile(saved, text).Ok() ? MissileShips(text) : 0;
    if (left == 0) return "no wreck: nothing flew (the saved state holds neither missile nor wreck)";
    return "no wreck: " + std::to_string(left) + (left == 1 ? " missile" : " missiles") +
           " never came down (still on the pad or in the air when the run ended: a launch delay beyond "
           "the run, or a step too long to fly)";
}

const char* StopName(int signal) {
    return signal == SIGINT ? "Ctrl-C" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

// What the command was told, checked.
struct TDispersionOptions {
    fs::path Plan, Orbhost, Root, Out;
    unsigned long long Runs = 0, Seed = 0, Jobs = 1;
    std::string Dt; // orbhost's step as given, empty for its own
    bool KeepRuns = false;
};

// Reads and checks the options, the plan and the outputs' folder; an exit code when the command ends here
// (its help, or something it cannot work with).
std::optional<int> ReadOptions(int argc, char** argv, TDispersionOptions& o) {
    const TCliArgs args = ParseCliArgs(argc, argv,
                                       {{"runs", true},
                                        {"seed", true},
                                        {"jobs", true},
                                        {"out", true},
                                        {"root", true},
                                        {"orbhost", true},
                                        {"dt", true},
                                        {"keep-runs", false},
                                        {"help", false}});
    if (!args.Error.empty()) return UsageError(args.Error);
    if (args.Has("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.Positional.size() != 1) return UsageError("exactly one launch scenario expected");
    o.Plan = args.Positional[0];
    if (!FileExists(o.Plan.string())) return Fail(o.Plan.string() + ": no such scenario file");
    o.Jobs = std::max(1u, std::thread::hardware_concurrency());
    if (!args.Has("runs") || !ParseCount(args.Value("runs"), 100000, o.Runs) || o.Runs == 0)
        return UsageError("--runs N is required, a whole number from 1 to 100000");
    if (args.Has("seed")) {
        if (!ParseCount(args.Value("seed"), 0xFFFFFFFFull, o.Seed))
            return UsageError("--seed: a whole number from 0 to 4294967295");
    } else {
        o.Seed = static_cast<unsigned>(std::time(nullptr));
    }
    if (args.Has("jobs") && (!ParseCount(args.Value("jobs"), 4096, o.Jobs) || o.Jobs == 0))
        return UsageError("--jobs: a whole number from 1 to 4096");
    if (args.Has("dt")) {
        double v = 0;
        if (!TryParseFloat(args.Value("dt"), v) || !(v > 0))
            return UsageError("--dt: a step length in seconds above 0");
        // orbhost's own bound, told before any run: the simulator's clock counts microseconds.
        if (v < 1e-6) return UsageError("--dt: a step is at least 0.000001 s");
        o.Dt = args.Value("dt");
    }
    o.Orbhost = args.Has("orbhost") ? fs::path(args.Value("orbhost")) : OwnFolder() / "orbhost";
    if (!fs::exists(o.Orbhost))
        return Fail(o.Orbhost.string() + ": orbhost not found (give it with --orbhost)");
    o.Root = args.Has("root") ? fs::path(args.Value("root")) : RootOf(o.Plan);
    if (o.Root.empty())
        return Fail(o.Plan.string() + ": not inside an installation's Scenarios folder; give --root");
    o.Out = args.Has("out") ? fs::path(args.Value("out"))
                            : o.Plan.parent_path() / (o.Plan.stem().string() + " dispersion");
    // A plan without a missile flies nothing, however often.
    if (std::string text; ReadWholeFile(o.Plan.string(), text).Ok() && MissileShips(text) == 0)
        return Fail(o.Plan.string() +
                    ": the plan holds no missile (no ship of class Teski); nothing would fly");
    // The outputs' folder before the first run: the runs' time is not spent to find it unwritable.
    if (const std::string problem = OutputFolderProblem(o.Out.string()); !problem.empty())
        return Fail(problem);
    o.KeepRuns = args.Has("keep-runs");
    return std::nullopt;
}

// Where the runs save their states: a temporary folder, or "runs" in the outputs' folder when they are kept.
struct TRunsFolder {
    std::unique_ptr<TScratchFolder> Scratch; // removed with its runs when the command ends
    fs::path Path;
};

// Each run saves its state into a file of its own, so parallel runs share nothing. Scratch folders left by
// dispersions that were killed outright go first.
std::optional<int> PrepareRunsFolder(const TDispersionOptions& o, TRunsFolder& folder) {
    std::error_code ec;
    RemoveDeadScratchFolders();
    folder.Path = o.Out / "runs";
    if (!o.KeepRuns) {
        folder.Scratch = std::make_unique<TScratchFolder>();
        if (folder.Scratch->Path().empty())
            return Fail("cannot create a temporary folder in " + fs::temp_directory_path(ec).string());
        folder.Path = folder.Scratch->Path();
    }
    fs::create_directories(folder.Path, ec);
    if (!fs::is_directory(folder.Path)) return Fail(folder.Path.string() + ": cannot create the folder");
    return std::nullopt;
}

// One orbhost run per firing, each with a seed of its own; savedFiles receives the state each run saves.
std::vector<TFarmJob> RunJobs(const TDispersionOptions& o, const fs::path& folder,
                              std::vector<std::string>& savedFiles) {
    std::vector<TFarmJob> farm(o.Runs);
    savedFiles.assign(o.Runs, {});
    for (size_t i = 0; i < farm.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        const fs::path base =
            folder / ("run-" + std::string(number.size() < 4 ? 4 - number.size() : 0, '0') + number);
        farm[i].Argv = {o.Orbhost.string(),
                        "run",
                        fs::absolute(o.Plan).string(),
                        "--root",
                        o.Root.string(),
                        "--key",
                        "O@1",
                        "--until-gone",
                        TeskiClassName,
                        "--progress",
                        "0",
                        "--seed",
                        std::to_string(RunSeed(unsigned(o.Seed), int(i + 1))),
                        "--save-to",
                        base.string() + ".scn"};
        if (!o.Dt.empty()) farm[i].Argv.insert(farm[i].Argv.end(), {"--dt", o.Dt});
        farm[i].LogFile = base.string() + ".log";
        savedFiles[i] = base.string() + ".scn";
    }
    return farm;
}

// What the runs gave: their impacts, the notes on runs without a result, and the signal that stopped
// them (0 when all ran).
struct TFlown {
    TDispersion Dispersion;
    std::vector<std::string> Notes;
    int StopSignal = 0;
};

// Reads run i as soon as it ends and removes its files (unless they are kept), so a long dispersion keeps
// only the impacts.
void GatherRun(const TDispersionOptions& o, const TFarmJob& job, const std::string& saved, size_t i,
               const TFarmResult& result, bool tty, TFlown& flown) {
    TOrbResults read;
    const TResult outcome =
        result.ExitCode == 0 ? LoadOrbResults(saved, read) : TResult::Outcome(TResultCode::Missing);
    // A run counts when its missiles flew and left wrecks to read.
    if (outcome.Ok() && !read.Wrecks.empty()) {
        flown.Dispersion.AddRun(int(i + 1), read.Wrecks);
    } else {
        flown.Dispersion.AddFailedRun(int(i + 1));
        const std::string why = !result.Started           ? o.Orbhost.string() + ": cannot be started"
                                : result.ExitCode != 0    ? WhyOrbhostFailed(job.LogFile, result)
                                : outcome.Ok()            ? WhyNoWreck(saved)
                                : outcome.Message.empty() ? saved + ": not saved"
                                                          : outcome.Message;
        flown.Notes.push_back("Run " + std::to_string(i + 1) + " gave no result: " + why);
        std::fprintf(stderr, "%sdispersion: %s\n", tty ? "\n" : "", flown.Notes.back().c_str());
    }
    if (!o.KeepRuns) {
        std::error_code ignored;
        fs::remove(saved, ignored);
        fs::remove(job.LogFile, ignored);
    }
}

// Flies the runs, o.Jobs at a time, gathering each as it ends and showing the progress.
TFlown FlyRuns(const TDispersionOptions& o, const std::vector<TFarmJob>& farm,
               const std::vector<std::string>& savedFiles, bool tty,
               std::chrono::steady_clock::time_point start) {
    std::fprintf(stderr, "dispersion: %llu runs of %s, seed %llu, %llu at a time\n", o.Runs,
                 o.Plan.filename().c_str(), o.Seed, o.Jobs);
    TFlown flown;
    TDispersion& d = flown.Dispersion;
    d.Plan = o.Plan.filename().string();
    d.Seed = unsigned(o.Seed);
    d.RunsPlanned = int(o.Runs);
    // The plan says which missiles stop their engines with the precise cut-off; the summary names them.
    if (std::vector<std::string> lines; ReadTextLines(o.Plan.string(), lines).Ok())
        d.PreciseMissiles = PreciseMissileNames(lines);
    size_t lastShown = 0;
    std::vector<TFarmResult> results;
    flown.StopSignal =
        RunFarm(farm, unsigned(o.Jobs), results, [&](size_t i, const TFarmResult& result, size_t done) {
            GatherRun(o, farm[i], savedFiles[i], i, result, tty, flown);
            const double elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const double left = elapsed / double(done) * double(o.Runs - done);
            // On a terminal one line that updates; in a log a line every tenth of the way.
            if (tty || done == o.Runs || done * 10 / o.Runs != lastShown * 10 / o.Runs) {
                std::fprintf(stderr, "%s%zu of %llu runs done, %s elapsed, about %s left%s", tty ? "\r" : "",
                             done, o.Runs, Clock(elapsed).c_str(), Clock(left).c_str(), tty ? "   " : "\n");
                lastShown = done;
            }
        });
    return flown;
}

// Prints the summary the outputs hold, and how long the runs took and where the outputs are.
void PrintSummary(const fs::path& written, int runsFlown, double wall) {
    std::fputc('\n', stdout);
    std::string summary;
    if (ReadWholeFile(JoinPath(written.string(), "summary.txt"), summary).Ok()) {
        std::vector<std::string> lines;
        SplitLines(summary, lines);
        for (const std::string& l : lines)
            std::printf("%s\n", l.c_str());
    }
    std::printf("\n%d runs in %.1f s; outputs in %s\n", runsFlown, wall, written.string().c_str());
}

} // namespace

int RunDispersion(int argc, char** argv) {
    TDispersionOptions o;
    if (const std::optional<int> done = ReadOptions(argc, argv, o)) return *done;
    TRunsFolder folder;
    if (const std::optional<int> failed = PrepareRunsFolder(o, folder)) return *failed;
    std::vector<std::string> savedFiles;
    const std::vector<TFarmJob> farm = RunJobs(o, folder.Path, savedFiles);

    const bool tty = isatty(STDERR_FILENO);
    const auto start = std::chrono::steady_clock::now();
    TFlown flown = FlyRuns(o, farm, savedFiles, tty, start);
    // From here Ctrl-C waits until the outputs are whole; it still ends the command as an interrupt.
    auto held = std::make_unique<TInterruptsHeld>();
    if (tty) std::fputc('\n', stderr);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    TDispersion& d = flown.Dispersion;
    d.Finish();
    int stopSignal = flown.StopSignal;
    if (stopSignal != 0)
        flown.Notes.push_back("Stopped by " + std::string(StopName(stopSignal)) + " after " +
                              std::to_string(d.RunsFlown) + " runs.");

    const TResultOf<std::string> outputs = WriteDispersionOutputs(o.Out.string(), d, flown.Notes);
    if (stopSignal == 0) stopSignal = held->Pending();
    held.reset();
    if (!outputs.Ok()) return Fail(outputs.Message);
    folder.Scratch.reset();

    PrintSummary(outputs.Value, d.RunsFlown, wall);
    if (stopSignal != 0) return 128 + stopSignal;
    return d.RunsFlown > 0 ? 0 : Fail("no run gave a result");
}
