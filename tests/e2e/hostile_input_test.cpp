// Inputs that once hung a program or lost a firing, run through the built programs: a wreck class whose mesh
// is missing, launch sites whose names no ship line can carry, pipes where files are expected.
#include "ProgramRuns.h"
#include "ShipBlocks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace program_runs;
using namespace scenario_files;

namespace {

const fs::path SourceDir = TESKI_SOURCE_DIR_PATH;
const std::string Orbhost = ORBHOST_EXE, Cli = ZIELMARK_CLI_EXE;

void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// Every program run here is under a time limit: a read that waits on a pipe fails instead of hanging.
CommandResult RunLimited(std::vector<std::string> argv) {
    argv.insert(argv.begin(), {"timeout", "300"});
    return RunProgram(argv);
}

TEST(HostileInput, WreckWithoutItsMeshStopsTheRunAndKeepsTheSavedState) {
    ScratchRoot scratch(OrbRoot());
    const fs::path r = scratch.root();
    const fs::path current = r / "Scenarios" / "(Current state).scn";
    WriteFile(current, "the wrecks of the previous firing\r\n");
    fs::remove(r / "Meshes" / "TeskiWreck.msh");
    const CommandResult plan =
        RunLimited({Cli, "plan", (SourceDir / "examples" / "desert_range.kml").string(), "--out",
                    (r / "Scenarios" / "Teski" / "nomesh.scn").string(), "--assign", "TeskAlpha=Dry Lake",
                    "--delay", "TeskAlpha=0", "--realistic", "TeskAlpha=0"});
    ASSERT_EQ(plan.status, 0) << plan.output;
    const CommandResult flight =
        RunLimited({Orbhost, "run", "Teski/nomesh", "--root", r.string(), "--key", "O@1", "--progress", "0"});
    EXPECT_EQ(flight.status, 1) << flight.output;
    // The class file (wherever the root keeps it) and its line, then the mesh file.
    const size_t error = flight.output.find("orbhost: error: " + r.string() + "/Config/");
    ASSERT_NE(error, std::string::npos) << flight.output;
    EXPECT_NE(flight.output.find("TeskiWreck.cfg: line ", error), std::string::npos) << flight.output;
    EXPECT_NE(flight.output.find((r / "Meshes" / "TeskiWreck.msh").string() + " not found"),
              std::string::npos)
        << flight.output;
    EXPECT_EQ(flight.output.find("current state saved"), std::string::npos) << flight.output;
    EXPECT_EQ(ReadFile(current.string()), "the wrecks of the previous firing\r\n");
}

// A missile module cut short (a copy that did not finish): orbhost refuses it with its name and reason,
// where the loader's first touch of the missing pages killed it with SIGBUS and no word.
TEST(HostileInput, ATruncatedModuleIsRefusedWithItsName) {
    ScratchRoot scratch(OrbRoot());
    const fs::path r = scratch.root();
    const fs::path module = r / "Modules" / "Teski.so";
    const std::string bytes = ReadFile(module.string());
    ASSERT_GT(bytes.size(), 10000u);
    fs::remove(module); // a new file: the installation root's copy may be a link to the build's
    WriteFile(module, bytes.substr(0, 10000));
    const CommandResult plan =
        RunLimited({Cli, "plan", (SourceDir / "examples" / "desert_range.kml").string(), "--out",
                    (r / "Scenarios" / "Teski" / "cut.scn").string(), "--assign", "TeskAlpha=Dry Lake"});
    ASSERT_EQ(plan.status, 0) << plan.output;
    const CommandResult flight =
        RunLimited({Orbhost, "run", "Teski/cut", "--root", r.string(), "--key", "O@1", "--progress", "0"});
    EXPECT_EQ(flight.status, 1) << flight.output;
    EXPECT_NE(flight.output.find(module.string() + ": cannot load the module: the file is truncated"),
              std::string::npos)
        << flight.output;
}

TEST(HostileInput, LaunchSitesWithColonOrSemicolonAreLeftOutAndTheScenarioLoads) {
    ScratchRoot scratch(OrbRoot());
    const fs::path r = scratch.root();
    const fs::path kml = scratch.folder() / "names.kml";
    WriteFile(
        kml,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">"
        "<Document>"
        "<Placemark><name>TeskAl:pha</name><Point><coordinates>13.1,52.1,0</coordinates></Point></Placemark>"
        "<Placemark><name>Tesk;Gamma</name><Point><coordinates>13.2,52.2,0</coordinates></Point></Placemark>"
        "<Placemark><name>TeskBeta</name><Point><coordinates>13.3,52.3,0</coordinates></Point></Placemark>"
        "<Placemark><name>Goal</name><Point><coordinates>14.3,52.3,0</coordinates></Point></Placemark>"
        "</Document></kml>\n");
    const fs::path scenario = r / "Scenarios" / "Teski" / "names.scn";
    const CommandResult plan =
        RunLimited({Cli, "plan", kml.string(), "--out", scenario.string(), "--random", "--seed", "1"});
    ASSERT_EQ(plan.status, 0) << plan.output;
    for (const char* name : {"TeskAl:pha", "Tesk;Gamma"})
        EXPECT_NE(plan.output.find(std::string("warning: Launch site \"") + name + "\" is left out"),
                  std::string::npos)
            << plan.output;
    const auto ships = readShipBlocks(ReadFile(scenario.string()));
    ASSERT_EQ(ships.size(), 1u);
    EXPECT_EQ(ships[0].name, "TeskBeta");
    // Only a missile the planner could name can be pointed at a target.
    EXPECT_EQ(RunLimited({Cli, "plan", kml.string(), "--out", (scratch.folder() / "x.scn").string(),
                          "--assign", "TeskAl:pha=Goal"})
                  .status,
              2);
    const CommandResult load =
        RunLimited({Orbhost, "run", "Teski/names", "--root", r.string(), "--tmax", "1", "--no-save"});
    EXPECT_EQ(load.status, 0) << load.output;
}

TEST(HostileInput, PipesNamedToTheProgramsAreRefusedWithTheirNames) {
    ScratchRoot scratch(OrbRoot());
    const fs::path pipe = scratch.folder() / "fifo.scn";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const struct {
        std::vector<std::string> argv;
        int status;
        std::string message;
    } cases[] = {
        {{Orbhost, "run", pipe.string(), "--root", scratch.root().string()},
         1,
         pipe.string() + ": not a regular file"},
        {{Cli, "results", pipe.string()}, 1, "\"" + pipe.string() + "\": not a regular file"},
        {{Cli, "check", "--settings", pipe.string()}, 2, "\"" + pipe.string() + "\": not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argv[1]);
        const CommandResult result = RunLimited(c.argv);
        EXPECT_EQ(result.status, c.status) << result.output;
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
    }
}

} // namespace
