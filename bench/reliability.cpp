// teski-reliability: many firings of single missiles with random launch sites, headings, ranges (within each
// flight model's reach), models and reliabilities, each in a world of its own in a child process. Checks that
// no firing crashes, that every flight ends in a landed wreck and that no figure the wreck saves is NaN or
// infinite; counts the failures by kind and the misses by model.
//
// Usage: teski-reliability [--runs N] [--seed S] [--jobs J] [--only K] [--root DIR] [--verbose]
// --only K flies run K of the sequence alone (to look again at a firing the summary names).
// Exit status: 0 all firings sound, 1 a crash, a missing or unlanded wreck, or a bad figure; 2 usage.
#include "BenchCommon.h"
#include "ShipBlocks.h"

#include "FailureKinds.h"
#include "VesselClasses.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double SimulatedLimit = 3000; // seconds after the O key

struct Firing {
    int index = 0;
    bench::MissilePlan plan;
    unsigned seed = 0;
};

struct Outcome {
    bool finished = false; // the child reported
    bool wreck = false, landed = false;
    std::string badFigure; // key and value of the first figure that is not a finite number
    std::string failure;
    double miss = 0, flown = 0, flightTime = 0;
    std::string note; // what went wrong, for the list of problems
};

std::vector<Firing> MakeFirings(int runs, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<Firing> out;
    for (int i = 0; i < runs; ++i) {
        Firing f;
        f.index = i;
        f.plan.name = "Tesk-" + std::to_string(i);
        f.plan.target = "T-" + std::to_string(i);
        f.plan.realistic = u(rng) < 0.5;
        // The realistic model's burn-time table spans 41 to 325 km; the simple model runs dry near 490 km.
        f.plan.range = 1000 * (f.plan.realistic ? 50 + 270 * u(rng) : 50 + 400 * u(rng));
        f.plan.reliability = 100 * u(rng);
        f.plan.lat = -60 + 120 * u(rng);
        f.plan.lon = -180 + 360 * u(rng);
        f.plan.heading = 360 * u(rng);
        f.seed = static_cast<unsigned>(rng());
        out.push_back(f);
    }
    return out;
}

// The first figure of a saved block that is not a finite number ("KEY value"), or empty.
std::string BadFigure(const scenario_files::ShipBlock& block) {
    for (const scenario_files::ShipLine& line : block.lines) {
        const std::string& key = line.key;
        const std::string& value = line.value;
        if (key == "TARGET" || key == "FAILURE" || key == "STATUS" || key == "------") continue;
        std::string v = value;
        std::replace(v.begin(), v.end(), ':', ' ');
        for (const std::string& word : scenario_files::words(v)) {
            const auto n = scenario_files::parseNumber(word);
            if (!n || !std::isfinite(*n)) return key + " " + value;
        }
    }
    return {};
}

std::string Escape(std::string s) {
    std::replace(s.begin(), s.end(), '\t', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

// Flies one firing; returns the outcome as one tab-separated line.
std::string Fly(const std::filesystem::path& root, const Firing& f) {
    Outcome o;
    try {
        orb::World world(root);
        world.loadScenarioText(bench::Scenario(bench::ShipBlock(f.plan)),
                               "firing " + std::to_string(f.index));
        if (!bench::SeedMissileModule(world, f.seed)) o.note = "Teski.so not loaded, generator not seeded; ";
        world.sendKey(OAPI_KEY_O);
        const std::string wreckName = f.plan.name + WreckNameSuffix;
        world.runUntil(
            [&] {
                const OBJHANDLE w = world.findVessel(wreckName);
                return w && world.isLanded(w) && !world.findVessel(f.plan.name);
            },
            SimulatedLimit);
        const auto ships = scenario_files::readShipBlocks(world.saveText());
        const auto wrecks = scenario_files::shipsOfClass(ships, TeskiWreckClassName);
        const auto missiles = scenario_files::shipsOfClass(ships, TeskiClassName);
        o.wreck = wrecks.size() == 1 && missiles.empty();
        if (!wrecks.empty()) {
            const scenario_files::ShipBlock& w = wrecks.front();
            o.landed = w.value("LANDED") == "1";
            o.badFigure = BadFigure(w);
            o.failure = w.value("FAILURE").value_or("");
            o.miss = w.number("RANGE_MISS").value_or(NAN);
            o.flown = w.number("RANGE_ACTUAL").value_or(NAN);
            o.flightTime = w.number("FLIGHT_TIME").value_or(NAN);
        }
        if (!missiles.empty()) {
            const scenario_files::ShipBlock& m = missiles.front();
            o.note += "missile still there after " + std::to_string(SimulatedLimit) + " s: STATUS " +
                      m.value("STATUS").value_or("?") + ", STATEFLAGS " +
                      m.value("STATEFLAGS").value_or("?") + ", MET " + m.value("MET").value_or("?") +
                      ", FAILSTRING \"" + m.value("FAILSTRING").value_or("") + "\"";
            if (o.badFigure.empty()) o.badFigure = BadFigure(m).empty() ? "" : "(missile) " + BadFigure(m);
        }
    } catch (const std::exception& e) {
        o.note += std::string("error: ") + e.what();
    }
    std::ostringstream line;
    line.precision(17);
    line << o.wreck << '\t' << o.landed << '\t' << Escape(o.badFigure) << '\t' << Escape(o.failure) << '\t'
         << o.miss << '\t' << o.flown << '\t' << o.flightTime << '\t' << Escape(o.note) << '\n';
    return line.str();
}

Outcome Parse(const std::string& line) {
    Outcome o;
    std::vector<std::string> f;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, '\t'))
        f.push_back(cell);
    if (f.size() < 7) return o;
    if (!f.back().empty() && f.back().back() == '\n') f.back().pop_back();
    o.finished = true;
    o.wreck = f[0] == "1";
    o.landed = f[1] == "1";
    o.badFigure = f[2];
    o.failure = f[3];
    o.miss = std::atof(f[4].c_str());
    o.flown = std::atof(f[5].c_str());
    o.flightTime = std::atof(f[6].c_str());
    o.note = f.size() > 7 ? f[7] : "";
    return o;
}

struct Child {
    pid_t pid;
    int fd;
    size_t firing;
};

std::string ReadAll(int fd) {
    std::string s;
    char buf[4096];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
        s.append(buf, static_cast<size_t>(n));
    return s;
}

// Runs every firing in child processes, at most `jobs` at a time.
std::vector<Outcome> FlyAll(const std::filesystem::path& root, const std::vector<Firing>& firings, int jobs,
                            bool verbose) {
    std::vector<Outcome> outcomes(firings.size());
    std::vector<Child> running;
    size_t next = 0, done = 0;
    const auto reap = [&](const Child& c) {
        const std::string line = ReadAll(c.fd);
        close(c.fd);
        int status = 0;
        waitpid(c.pid, &status, 0);
        Outcome o = Parse(line);
        if (!o.finished || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            o.finished = false;
            o.note = WIFSIGNALED(status) ? "crashed with signal " + std::to_string(WTERMSIG(status)) + " (" +
                                               strsignal(WTERMSIG(status)) + ")"
                                         : "child exited with status " + std::to_string(WEXITSTATUS(status));
        }
        outcomes[c.firing] = o;
        if (verbose)
            std::fprintf(stderr, "run %d: %s\n", firings[c.firing].index,
                         line.empty() ? o.note.c_str() : line.c_str());
        if (++done % 100 == 0)
            std::fprintf(stderr, "teski-reliability: %zu of %zu firings\n", done, firings.size());
    };
    while (next < firings.size() || !running.empty()) {
        while (next < firings.size() && running.size() < static_cast<size_t>(jobs)) {
            int fds[2];
            if (pipe(fds) != 0) {
                std::perror("pipe");
                std::exit(1);
            }
            std::fflush(nullptr);
            const pid_t pid = fork();
            if (pid == 0) {
                close(fds[0]);
                const std::string line = Fly(root, firings[next]);
                ssize_t written = 0;
                while (written < static_cast<ssize_t>(line.size())) {
                    const ssize_t n = write(fds[1], line.data() + written, line.size() - written);
                    if (n <= 0) break;
                    written += n;
                }
                close(fds[1]);
                std::exit(0);
            }
            close(fds[1]);
            if (pid < 0) {
                std::perror("fork");
                std::exit(1);
            }
            running.push_back({pid, fds[0], next++});
        }
        // The oldest child first: results come back in order, and a slow firing holds back only its slot.
        reap(running.front());
        running.erase(running.begin());
    }
    return outcomes;
}

std::string Kind(const std::string& failure) {
    if (failure.empty()) return "none";
    // The failure text's first words, and the control channel a jam fixed.
    const FailureCause* cause = FailureCauseOf(failure, FailureWordsEnd::Prefix);
    if (!cause) return "other: " + failure;
    if (*cause->fixedAxis == '\0') return cause->words;
    return std::string(cause->words) + " (" + cause->fixedAxis + " fixed)";
}

void PrintStats(const char* label, std::vector<double> miss, std::vector<double> relative) {
    if (miss.empty()) {
        std::printf("  %-34s %5d\n", label, 0);
        return;
    }
    std::sort(miss.begin(), miss.end());
    std::sort(relative.begin(), relative.end());
    const auto mean = [](const std::vector<double>& v) {
        double s = 0;
        for (double x : v)
            s += x;
        return s / v.size();
    };
    std::printf("  %-34s %5zu  %8.2f %8.2f %8.2f   %7.2f %7.2f %8.2f\n", label, miss.size(),
                mean(miss) / 1000, miss[miss.size() / 2] / 1000, miss.back() / 1000, 100 * mean(relative),
                100 * relative[relative.size() / 2], 100 * relative.back());
}

} // namespace

int main(int argc, char** argv) {
    int runs = 1000, jobs = 1, only = -1;
    unsigned seed = 1;
    bool verbose = false;
    std::string rootArg;
    for (int i = 1; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (!std::strcmp(argv[i], "--runs") && more)
            runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--seed") && more)
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (!std::strcmp(argv[i], "--jobs") && more)
            jobs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--only") && more)
            only = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--root") && more)
            rootArg = argv[++i];
        else if (!std::strcmp(argv[i], "--verbose"))
            verbose = true;
        else if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf(
                "usage: teski-reliability [--runs N] [--seed S] [--jobs J] [--only K] [--root DIR] "
                "[--verbose]\n"
                "Flies N single firings (default 1000) with random ranges, models and reliabilities and\n"
                "checks that each ends in a sound landed wreck; --only K flies run K alone.\n");
            return 0;
        } else {
            std::fprintf(stderr,
                         "usage: teski-reliability [--runs N] [--seed S] [--jobs J] [--only K] [--root DIR] "
                         "[--verbose]\n");
            return 2;
        }
    }
    if (runs < 1 || jobs < 1 || only >= runs) {
        std::fprintf(stderr, "teski-reliability: --runs and --jobs must be positive, --only below --runs\n");
        return 2;
    }
    const auto root = bench::ChooseRoot(rootArg);
    std::vector<Firing> firings = MakeFirings(runs, seed);
    if (only >= 0) firings = {firings[static_cast<size_t>(only)]};
    std::printf("teski-reliability: %zu firings, seed %u, root %s\n", firings.size(), seed, root.c_str());
    const std::vector<Outcome> outcomes = FlyAll(root, firings, jobs, verbose || only >= 0);

    int crashes = 0, noWreck = 0, notLanded = 0, badFigures = 0;
    std::map<std::string, int> kinds;
    std::map<std::string, std::vector<double>> miss, relative; // by model and "clean"/"all"
    std::vector<std::string> problems;
    for (size_t i = 0; i < firings.size(); ++i) {
        const Firing& f = firings[i];
        const Outcome& o = outcomes[i];
        char params[256];
        std::snprintf(params, sizeof params,
                      "run %d (%s, %.1f km, reliability %.1f %%, %.4f %.4f heading %.1f)", f.index,
                      f.plan.realistic ? "realistic" : "simple", f.plan.range / 1000, f.plan.reliability,
                      f.plan.lat, f.plan.lon, f.plan.heading);
        std::string problem;
        if (!o.finished)
            ++crashes, problem = o.note;
        else {
            if (!o.wreck)
                ++noWreck, problem += "no wreck; ";
            else if (!o.landed)
                ++notLanded, problem += "wreck not landed; ";
            if (!o.badFigure.empty()) ++badFigures, problem += "bad figure " + o.badFigure + "; ";
            if (!problem.empty() || o.note.rfind("error", 0) == 0) problem += o.note;
        }
        if (!problem.empty()) problems.push_back(std::string(params) + ": " + problem);
        if (!o.finished || !o.wreck) continue;
        ++kinds[Kind(o.failure)];
        const std::string model = f.plan.realistic ? "realistic" : "simple";
        if (!std::isfinite(o.miss)) continue;
        miss[model + " all"].push_back(o.miss);
        relative[model + " all"].push_back(o.miss / f.plan.range);
        if (o.failure.empty()) {
            miss[model + " clean"].push_back(o.miss);
            relative[model + " clean"].push_back(o.miss / f.plan.range);
        }
    }

    const size_t n = firings.size();
    std::printf("\nfirings %zu: crashes %d, no wreck %d, wreck not landed %d, NaN or unreadable figure %d\n",
                n, crashes, noWreck, notLanded, badFigures);
    std::printf("\nfailures by kind (of the wrecks):\n");
    for (const auto& [kind, count] : kinds)
        std::printf("  %-34s %5d  %5.1f %%\n", kind.c_str(), count, 100.0 * count / n);
    std::printf(
        "\nmisses by model (clean: flights without a failure)\n  %-34s %5s  %8s %8s %8s   %7s %7s %8s\n", "",
        "n", "mean km", "med km", "max km", "mean %", "med %", "max %");
    for (const char* label : {"realistic clean", "realistic all", "simple clean", "simple all"})
        PrintStats(label, miss[label], relative[label]);
    if (!problems.empty()) {
        std::printf("\nproblems (%zu; the first 20):\n", problems.size());
        for (size_t i = 0; i < problems.size() && i < 20; ++i)
            std::printf("  %s\n", problems[i].c_str());
    }
    return crashes + noWreck + notLanded + badFigures == 0 ? 0 : 1;
}
