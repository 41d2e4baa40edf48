// A small dispersion end to end with the built programs: a planned launch scenario flown a few times by
// zielmark-cli dispersion through orbhost, and the folder it writes. The seed makes the runs repeatable.
#include "ProgramRuns.h"
#include "ShipBlocks.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using namespace program_runs;
using namespace scenario_files;

extern char** environ;

namespace {

const fs::path SourceDir = TESKI_SOURCE_DIR_PATH;
const std::string Orbhost = ORBHOST_EXE, Cli = ZIELMARK_CLI_EXE;
constexpr int Runs = 4;

void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

class Dispersion : public ::testing::Test {
protected:
    struct Flown {
        std::unique_ptr<ScratchRoot> scratch;
        CommandResult plan, first, again, other;
        fs::path out, plan_file;
    };
    static inline Flown* flown = nullptr;

    static CommandResult Fly(const fs::path& out, const char* seed) {
        return RunProgram({Cli, "dispersion", flown->plan_file.string(), "--runs", std::to_string(Runs),
                           "--seed", seed, "--jobs", "2", "--out", out.string(), "--orbhost", Orbhost});
    }

    static void SetUpTestSuite() {
        flown = new Flown;
        flown->scratch = std::make_unique<ScratchRoot>(OrbRoot());
        flown->plan_file = flown->scratch->root() / "Scenarios" / "Teski" / "spread.scn";
        // Two realistic missiles (heading error and failures drawn from the generator), short ranges.
        flown->plan = RunProgram({Cli, "plan", (SourceDir / "examples" / "desert_range.kml").string(),
                                  "--out", flown->plan_file.string(), "--assign", "TeskAlpha=Dry Lake",
                                  "--assign", "TeskBravo=Salt Flats", "--delay", "TeskAlpha=0", "--delay",
                                  "TeskBravo=0", "--date", "10.12.2026", "--time", "06:00", "--utc"});
        flown->out = flown->scratch->folder() / "spread dispersion";
        flown->first = Fly(flown->out, "17");
        flown->again = Fly(flown->scratch->folder() / "again", "17");
        flown->other = Fly(flown->scratch->folder() / "other", "18");
    }
    static void TearDownTestSuite() {
        delete flown;
        flown = nullptr;
    }
    static std::string Out(const char* name) { return ReadFile((flown->out / name).string()); }
};

TEST_F(Dispersion, FliesEveryRunAndWritesEveryOutput) {
    ASSERT_EQ(flown->plan.status, 0) << flown->plan.output;
    ASSERT_EQ(flown->first.status, 0) << flown->first.output;
    EXPECT_NE(flown->first.output.find(std::to_string(Runs) + " of " + std::to_string(Runs) + " runs done"),
              std::string::npos)
        << flown->first.output;
    for (const char* name : {"summary.txt", "dispersion.csv", "impacts.csv", "dispersion.json",
                             "dispersion.kml", "01_TeskAlpha.svg", "02_TeskBravo.svg"})
        EXPECT_TRUE(fs::is_regular_file(flown->out / name)) << name;
    // Without the converter the pictures stay SVG and the summary says why.
    const bool png = fs::is_regular_file(flown->out / "01_TeskAlpha.png");
    EXPECT_EQ(png, Out("summary.txt").find("rsvg-convert") == std::string::npos);
    // Each missile has one impact per run, and the summary one block per missile with its figures.
    const auto impacts = Lines(Out("impacts.csv"));
    ASSERT_EQ(impacts.size(), 1u + 2 * Runs) << Out("impacts.csv");
    const std::string summary = Out("summary.txt");
    for (const char* part : {"TeskAlpha to Dry", "TeskBravo to Salt", "runs 4,", "about the target:"})
        EXPECT_NE(summary.find(part), std::string::npos) << part << "\n" << summary;
    EXPECT_NE(flown->first.output.find("TeskAlpha to Dry"), std::string::npos) << "the table is shown too";
    // The scratch files of the runs are gone.
    EXPECT_FALSE(fs::exists(flown->out / "runs"));
}

TEST_F(Dispersion, TheSameSeedFliesTheSameImpactsAndAnotherSeedOthers) {
    ASSERT_EQ(flown->again.status, 0) << flown->again.output;
    ASSERT_EQ(flown->other.status, 0) << flown->other.output;
    const std::string first = Out("impacts.csv");
    EXPECT_EQ(ReadFile((flown->scratch->folder() / "again" / "impacts.csv").string()), first);
    EXPECT_NE(ReadFile((flown->scratch->folder() / "other" / "impacts.csv").string()), first);
    // Within one dispersion the runs differ from one another: each run has a seed of its own.
    const auto rows = Lines(first);
    std::vector<std::string> alpha;
    for (const std::string& r : rows)
        if (r.rfind("TeskAlpha,", 0) == 0) alpha.push_back(r.substr(r.find(',', 10)));
    ASSERT_EQ(alpha.size(), size_t(Runs));
    EXPECT_NE(alpha[0], alpha[1]);
}

TEST_F(Dispersion, KmlHoldsEachMissilesImpactsAndClosedRingsOnTheGround) {
    pugi::xml_document doc;
    const std::string kml = Out("dispersion.kml");
    ASSERT_TRUE(doc.load_string(kml.c_str())) << "well-formed XML";
    const pugi::xml_node document = doc.child("kml").child("Document");
    ASSERT_TRUE(document);
    EXPECT_STREQ(doc.child("kml").attribute("xmlns").value(), "http://www.opengis.net/kml/2.2");
    int folders = 0;
    for (pugi::xml_node folder : document.children("Folder")) {
        ++folders;
        int points = 0;
        for (pugi::xml_node p : folder.child("Folder").children("Placemark")) {
            ++points;
            EXPECT_TRUE(p.child("Point").child("coordinates")) << p.child_value("name");
            EXPECT_TRUE(document.find_child_by_attribute("Style", "id", p.child_value("styleUrl") + 1))
                << "every style used is defined";
        }
        EXPECT_EQ(points, Runs) << folder.child_value("name");
        for (pugi::xml_node p : folder.children("Placemark")) {
            const pugi::xml_node ring = p.child("Polygon").child("outerBoundaryIs").child("LinearRing");
            if (!ring) continue;
            std::istringstream in(ring.child_value("coordinates"));
            std::vector<std::string> tuples;
            for (std::string t; in >> t;)
                tuples.push_back(t);
            ASSERT_GE(tuples.size(), 4u) << p.child_value("name");
            EXPECT_EQ(tuples.front(), tuples.back()) << "a ring closes: " << p.child_value("name");
            for (const std::string& t : tuples) {
                double lon = 0, lat = 0, alt = 1;
                ASSERT_EQ(std::sscanf(t.c_str(), "%lf,%lf,%lf", &lon, &lat, &alt), 3) << t;
                EXPECT_LE(std::fabs(lat), 90);
                EXPECT_LE(std::fabs(lon), 180);
                EXPECT_EQ(alt, 0);
            }
        }
    }
    EXPECT_EQ(folders, 2);
}

TEST_F(Dispersion, RunsLaunchedWithABadOrbhostAreReportedNotCounted) {
    // orbhost refusing its root, and a "program" that cannot be started at all (the plan itself).
    const std::string plan = flown->plan_file.string();
    struct Case {
        std::string orbhost, root, why;
    } cases[] = {{Orbhost, (flown->scratch->folder() / "nowhere").string(), "orbhost: error: "},
                 {plan, flown->scratch->root().string(), plan + ": cannot be started"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const fs::path out = flown->scratch->folder() / "broken";
        const CommandResult r = RunProgram({Cli, "dispersion", plan, "--runs", "2", "--seed", "1", "--out",
                                            out.string(), "--orbhost", c.orbhost, "--root", c.root});
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_NE(r.output.find("Run 1 gave no result: " + c.why), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("no run gave a result"), std::string::npos) << r.output;
        const std::string summary = ReadFile((out / "summary.txt").string());
        EXPECT_NE(summary.find("0 runs flown of 2"), std::string::npos) << summary;
        EXPECT_NE(summary.find("Run 2 gave no result: " + c.why), std::string::npos) << summary;
    }
}

// Runs that leave no wreck did not fly: they are named with the reason, not counted, and the command fails
// instead of reporting "2 runs flown of 2" over an empty list. A plan without missiles flies no run at all.
TEST_F(Dispersion, RunsThatLeaveNoWreckAreNotCounted) {
    const std::string plan = ReadFile(flown->plan_file.string());
    const fs::path late = flown->plan_file.parent_path() / "late.scn";
    std::string delayed = plan;
    for (size_t at = 0; (at = delayed.find("  LAUNCHDELAY ", at)) != std::string::npos; ++at)
        delayed.replace(at, delayed.find("\r\n", at) - at, "  LAUNCHDELAY 5000");
    WriteFile(late, delayed);
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::string why;
    } cases[] = {
        {"delays beyond the run", {late.string()}, "no wreck: 2 missiles never came down"},
        {"a step of 100 s", {flown->plan_file.string(), "--dt", "100"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path out = flown->scratch->folder() / "nothing flew";
        std::vector<std::string> argv = {Cli, "dispersion"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        argv.insert(argv.end(), {"--runs", "2", "--seed", "1", "--out", out.string(), "--orbhost", Orbhost});
        const CommandResult r = RunProgram(argv);
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_NE(r.output.find("Run 1 gave no result: " + c.why), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("no run gave a result"), std::string::npos) << r.output;
        EXPECT_NE(ReadFile((out / "summary.txt").string()).find("0 runs flown of 2"), std::string::npos);
    }
    std::string empty = plan.substr(0, plan.find("BEGIN_SHIPS")) + "BEGIN_SHIPS\r\nEND_SHIPS\r\n";
    const fs::path noShips = flown->plan_file.parent_path() / "no ships.scn";
    WriteFile(noShips, empty);
    const CommandResult r =
        RunProgram({Cli, "dispersion", noShips.string(), "--runs", "2", "--out",
                    (flown->scratch->folder() / "no ships").string(), "--orbhost", Orbhost});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("the plan holds no missile"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find(" runs of "), std::string::npos) << "no run is flown: " << r.output;
}

// A plan that gives one missile the precise cut-off is flown as planned: that missile stops its engine by the
// predicted fall and lands nearer its target than with its model's own timed cut-off, and the outputs say
// which missile it was.
TEST_F(Dispersion, APreciseMissileFliesItsCutOffAndIsNamed) {
    ASSERT_EQ(flown->first.status, 0) << flown->first.output;
    const fs::path planFile = flown->plan_file.parent_path() / "chosen.scn";
    const CommandResult plan = RunProgram({Cli,
                                           "plan",
                                           (SourceDir / "examples" / "desert_range.kml").string(),
                                           "--out",
                                           planFile.string(),
                                           "--assign",
                                           "TeskAlpha=Dry Lake",
                                           "--assign",
                                           "TeskBravo=Salt Flats",
                                           "--delay",
                                           "TeskAlpha=0",
                                           "--delay",
                                           "TeskBravo=0",
                                           "--date",
                                           "10.12.2026",
                                           "--time",
                                           "06:00",
                                           "--utc",
                                           "--precise",
                                           "TeskAlpha=1"});
    ASSERT_EQ(plan.status, 0) << plan.output;
    const fs::path out = flown->scratch->folder() / "chosen dispersion";
    const CommandResult r =
        RunProgram({Cli, "dispersion", planFile.string(), "--runs", std::to_string(Runs), "--seed", "17",
                    "--jobs", "2", "--out", out.string(), "--orbhost", Orbhost});
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string summary = ReadFile((out / "summary.txt").string());
    const size_t heading = summary.find("TeskAlpha to Dry Lake  (launch azimuth ");
    ASSERT_NE(heading, std::string::npos) << summary;
    EXPECT_EQ(summary.find(" m, precise cut-off)", heading), summary.find_first_of("\r\n", heading) - 20)
        << summary;
    EXPECT_EQ(summary.find("precise"), summary.rfind("precise")) << "TeskBravo keeps its own cut-off";
    EXPECT_EQ(Out("summary.txt").find("precise"), std::string::npos);
    const std::string json = ReadFile((out / "dispersion.json").string());
    EXPECT_LT(json.find("\"precise_cut_off\": true"), json.find("\"missile\": \"TeskBravo\"")) << json;
    EXPECT_GT(json.find("\"precise_cut_off\": false"), json.find("\"missile\": \"TeskBravo\"")) << json;
    EXPECT_EQ(Out("dispersion.json").find("precise"), std::string::npos);

    // The mean distance along the azimuth from the target of TeskAlpha's flights without a failure.
    const auto meanAlong = [](const std::string& csv) {
        double sum = 0;
        int n = 0;
        for (const std::string& row : Lines(csv)) {
            if (row.rfind("TeskAlpha,", 0) != 0 || row.find(",none,") == std::string::npos) continue;
            const size_t across = row.rfind(','), along = row.rfind(',', across - 1);
            sum += std::fabs(std::stod(row.substr(along + 1, across - along - 1)));
            ++n;
        }
        return n > 0 ? sum / n : -1.0;
    };
    const double precise = meanAlong(ReadFile((out / "impacts.csv").string()));
    const double timed = meanAlong(Out("impacts.csv"));
    ASSERT_GE(precise, 0) << "no precise flight without a failure";
    ASSERT_GE(timed, 0);
    EXPECT_LT(precise, timed / 2) << "precise " << precise << " m, timed " << timed << " m";
}

// The output folder is checked before the first run, so the runs' time is not spent to find it unusable;
// a step shorter than the simulator's clock is refused before any run as well.
TEST_F(Dispersion, OutputsAndStepAreCheckedBeforeTheFirstRun) {
    const fs::path file = flown->scratch->folder() / "a file";
    WriteFile(file, "mine\r\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"--out", file.string()}, 1, file.string() + ": something that is not a folder is in the output"},
        {{"--out", (file / "below").string()}, 1, (file / "below").string() + ": cannot create the folder"},
        {{"--dt", "1e-300"}, 2, "--dt: a step is at least 0.000001 s"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> argv = {Cli,         "dispersion", flown->plan_file.string(), "--runs", "2",
                                         "--orbhost", Orbhost};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandResult r = RunProgram(argv);
        EXPECT_EQ(r.status, c.status) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find(" runs of "), std::string::npos) << "no run is flown: " << r.output;
    }
    EXPECT_EQ(ReadFile(file.string()), "mine\r\n");
}

// A folder that already holds a dispersion gets the new one whole: the pictures of the old one go, nothing
// made aside stays. When an output cannot take its place, the runs' outputs are kept in a folder named.
TEST_F(Dispersion, OutputsReplaceTheLastDispersionWholeOrAreKeptAside) {
    const fs::path out = flown->scratch->folder() / "again and again";
    fs::create_directories(out);
    for (const char* old : {"01_TeskAlpha.png", "03_TeskZulu.svg", "03_TeskZulu.png"})
        WriteFile(out / old, "an earlier dispersion's picture");
    WriteFile(out / "notes.txt", "mine");
    const auto fly = [&] {
        return RunProgram({Cli, "dispersion", flown->plan_file.string(), "--runs", "1", "--seed", "3",
                           "--out", out.string(), "--orbhost", Orbhost});
    };
    const CommandResult r = fly();
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_FALSE(fs::exists(out / "03_TeskZulu.svg") || fs::exists(out / "03_TeskZulu.png"));
    EXPECT_NE(ReadFile((out / "01_TeskAlpha.svg").string()).find("<svg"), std::string::npos);
    if (fs::exists(out / "01_TeskAlpha.png")) {
        EXPECT_NE(ReadFile((out / "01_TeskAlpha.png").string()), "an earlier dispersion's picture");
    }
    EXPECT_EQ(ReadFile((out / "notes.txt").string()), "mine");
    for (const auto& e : fs::directory_iterator(out))
        EXPECT_NE(e.path().filename().string()[0], '.') << e.path();

    // A folder where the JSON file goes: nothing of the new dispersion moves in, and it is kept elsewhere.
    const std::string summary = ReadFile((out / "summary.txt").string());
    fs::remove(out / "dispersion.json");
    fs::create_directory(out / "dispersion.json");
    const CommandResult blocked = fly();
    EXPECT_EQ(blocked.status, 1) << blocked.output;
    const size_t kept = blocked.output.find("the outputs are kept in ");
    ASSERT_NE(kept, std::string::npos) << blocked.output;
    const std::string folder =
        blocked.output.substr(kept + 24, blocked.output.find(" instead", kept) - kept - 24);
    EXPECT_TRUE(fs::is_regular_file(fs::path(folder) / "dispersion.json")) << folder;
    EXPECT_TRUE(fs::is_regular_file(fs::path(folder) / "impacts.csv")) << folder;
    EXPECT_EQ(ReadFile((out / "summary.txt").string()), summary) << "the old outputs stay whole";
    fs::remove_all(folder);
}

// A dispersion killed outright takes its orbhost runs along, and the next dispersion removes the scratch
// folder it could not remove itself. SIGTERM stops it like Ctrl-C and is named as itself.
TEST_F(Dispersion, KilledOutrightItLeavesNoRunsFlyingAndNoScratchForLong) {
    const fs::path temp = flown->scratch->folder() / "tmp";
    fs::create_directories(temp);
    const char* before = std::getenv("TMPDIR");
    const std::string saved = before ? before : "";
    setenv("TMPDIR", temp.c_str(), 1);
    const auto scratchFolders = [&] {
        int n = 0;
        for (const auto& e : fs::directory_iterator(temp))
            n += e.path().filename().string().rfind("zielmark-dispersion-", 0) == 0;
        return n;
    };
    // orbhost runs that belong to this test's plan, by their command lines.
    const std::string planPath = fs::absolute(flown->plan_file).string();
    const auto runPids = [&] {
        std::vector<pid_t> pids;
        std::error_code ec; // processes come and go while they are listed
        for (fs::directory_iterator e("/proc", ec), end; !ec && e != end; e.increment(ec)) {
            std::string cmdline = ReadFile((e->path() / "cmdline").string());
            std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
            if (cmdline.find("orbhost run " + planPath) != std::string::npos)
                pids.push_back(pid_t(std::atoi(e->path().filename().c_str())));
        }
        return pids;
    };
    const auto runsFlying = [&] { return runPids().size(); };
    for (const int sig : {SIGKILL, SIGTERM}) {
        SCOPED_TRACE(sig);
        const fs::path out = flown->scratch->folder() / ("killed " + std::to_string(sig));
        const std::string log = out.string() + ".log";
        // Steps of a microsecond: the runs fly on for hours unless something ends them.
        std::vector<std::string> args = {Cli,          "dispersion", planPath, "--runs", "100000",
                                         "--dt",       "0.000001",   "--jobs", "2",      "--out",
                                         out.string(), "--orbhost",  Orbhost};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
        pid_t pid = -1;
        ASSERT_EQ(posix_spawn(&pid, Cli.c_str(), &files, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&files);
        const auto started = std::chrono::steady_clock::now();
        while (runsFlying() == 0u && std::chrono::steady_clock::now() - started < std::chrono::seconds(60))
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_GT(runsFlying(), 0u) << ReadFile(log);
        kill(pid, sig);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        const auto killed = std::chrono::steady_clock::now();
        while (runsFlying() > 0u && std::chrono::steady_clock::now() - killed < std::chrono::seconds(10))
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(runsFlying(), 0u) << "the runs end with their dispersion";
        for (const pid_t left : runPids()) // the test leaves none behind, whatever it found
            kill(left, SIGKILL);
        if (sig == SIGTERM) {
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 143) << ReadFile(log);
            EXPECT_NE(ReadFile((out / "summary.txt").string()).find("Stopped by SIGTERM after "),
                      std::string::npos);
            EXPECT_EQ(scratchFolders(), 0);
        } else {
            EXPECT_EQ(scratchFolders(), 1) << "a process killed outright cannot clean up";
            const CommandResult next =
                RunProgram({Cli, "dispersion", planPath, "--runs", "1", "--out",
                            (flown->scratch->folder() / "next").string(), "--orbhost", Orbhost});
            EXPECT_EQ(next.status, 0) << next.output;
            EXPECT_EQ(scratchFolders(), 0) << "the next dispersion removes it";
        }
    }
    if (before)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

TEST_F(Dispersion, CtrlCStopsTheRunsAndWritesWhatWasFlown) {
    const fs::path out = flown->scratch->folder() / "stopped";
    const std::string log = (flown->scratch->folder() / "stopped.log").string();
    std::vector<std::string> args = {Cli,      "dispersion", flown->plan_file.string(),
                                     "--runs", "100000",     "--seed",
                                     "2",      "--jobs",     "2",
                                     "--out",  out.string(), "--orbhost",
                                     Orbhost};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, Cli.c_str(), &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
    // Ctrl-C once the command has said what it flies and has had time to start its runs, however slow the
    // machine is to start the program itself.
    const auto started = std::chrono::steady_clock::now();
    while (ReadFile(log).find(" runs of ") == std::string::npos &&
           std::chrono::steady_clock::now() - started < std::chrono::seconds(60))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const auto sent = std::chrono::steady_clock::now();
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(20))
        << "it stops, it does not fly on";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130) << ReadFile(log);
    const std::string summary = ReadFile((out / "summary.txt").string());
    const size_t at = summary.find("Stopped by Ctrl-C after ");
    ASSERT_NE(at, std::string::npos) << summary;
    const int done = std::atoi(summary.c_str() + at + 24);
    EXPECT_LT(done, 100000);
    EXPECT_NE(summary.find(std::to_string(done) + " runs flown of 100000"), std::string::npos) << summary;
    // Each run that was done has both missiles' impacts; runs cut short left nothing behind.
    EXPECT_EQ(Lines(ReadFile((out / "impacts.csv").string())).size(), 1u + 2 * size_t(done));
}

} // namespace
