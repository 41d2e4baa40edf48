// A salvo replayed in time: three missiles with different delays fly in orbhost, and the replay file that
// zielmark-cli results writes of the saved current state places each flight at its time: the tracks begin
// as far apart as the delays, and each advances a second of mission time per point up to its impact.
#include "ProgramRuns.h"
#include "ShipBlocks.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using namespace program_runs;
using namespace scenario_files;

namespace {

const fs::path SourceDir = TESKI_SOURCE_DIR_PATH;
const std::string Orbhost = ORBHOST_EXE, Cli = ZIELMARK_CLI_EXE;

// Seconds since the day's start of "2026-12-10Thh:mm:ss.sssZ"; NaN for another day or another form.
double SecondsOfDay(const std::string& when) {
    int h = 0, m = 0;
    double s = 0;
    char z = 0;
    if (when.rfind("2026-12-10T", 0) != 0 ||
        std::sscanf(when.c_str() + 11, "%2d:%2d:%lf%c", &h, &m, &s, &z) != 4 || z != 'Z')
        return std::nan("");
    return h * 3600.0 + m * 60.0 + s;
}

TEST(Replay, TracksBeginAsFarApartAsTheDelaysAndAdvanceASecondAPoint) {
    ScratchRoot scratch(OrbRoot());
    const fs::path r = scratch.root();
    const fs::path scenario = r / "Scenarios" / "Teski" / "replay.scn";
    const std::map<std::string, double> delays = {{"TeskAlpha", 0}, {"TeskBravo", 6}, {"TeskCharlie", 15}};
    const CommandResult plan = RunProgram({Cli,
                                           "plan",
                                           (SourceDir / "examples" / "desert_range.kml").string(),
                                           "--out",
                                           scenario.string(),
                                           "--assign",
                                           "TeskAlpha=Dry Lake",
                                           "--assign",
                                           "TeskBravo=Salt Flats",
                                           "--assign",
                                           "TeskCharlie=Mesa North",
                                           "--delay",
                                           "TeskAlpha=0",
                                           "--delay",
                                           "TeskBravo=6",
                                           "--delay",
                                           "TeskCharlie=15",
                                           "--date",
                                           "10.12.2026",
                                           "--time",
                                           "06:00",
                                           "--utc"});
    ASSERT_EQ(plan.status, 0) << plan.output;
    const CommandResult flight =
        RunProgram({Orbhost, "run", "Teski/replay", "--root", r.string(), "--key", "O@1", "--seed", "3",
                    "--until-gone", "Teski", "--progress", "0"});
    ASSERT_EQ(flight.status, 0) << flight.output;
    const fs::path current = r / "Scenarios" / "(Current state).scn";

    // Each wreck keeps the date its missile lit its engine, as far apart as the delays.
    std::map<std::string, double> launchMjd, flightTime;
    for (const ShipBlock& w : shipsOfClass(readShipBlocks(ReadFile(current.string())), "TeskiWreck")) {
        const auto mjd = w.number("MJD_LAUNCH");
        ASSERT_TRUE(mjd) << w.name << " has no MJD_LAUNCH";
        launchMjd[w.name.substr(0, w.name.find("-Wreck"))] = *mjd;
        flightTime[w.name.substr(0, w.name.find("-Wreck"))] = w.number("FLIGHT_TIME").value_or(0);
    }
    ASSERT_EQ(launchMjd.size(), 3u) << flight.output;
    for (const auto& [missile, delay] : delays)
        EXPECT_NEAR((launchMjd[missile] - launchMjd["TeskAlpha"]) * 86400, delay, 0.1) << missile;

    const fs::path replay = scratch.folder() / "out" / "replay.kml";
    const CommandResult results = RunProgram({Cli, "results", current.string(), "--replay", replay.string()});
    ASSERT_EQ(results.status, 0) << results.output;
    EXPECT_EQ(results.output.find("leaves out"), std::string::npos) << results.output;

    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(replay.c_str());
    ASSERT_TRUE(parsed) << parsed.description();
    // Each missile's folder: its tracks cut by colour, neighbours sharing a point, joined here again.
    std::map<std::string, std::vector<double>> times;
    std::map<std::string, double> impact;
    for (const pugi::xml_node folder :
         doc.child("kml").child("Document").child("Folder").children("Folder")) {
        const std::string name = folder.child_value("name");
        const std::string missile = name.substr(0, name.find("-Wreck"));
        std::vector<double>& t = times[missile];
        for (const pugi::xml_node mark : folder.children("Placemark")) {
            if (std::string(mark.child_value("styleUrl")) == "#stWreck")
                impact[missile] = SecondsOfDay(mark.child("TimeSpan").child_value("begin"));
            const pugi::xml_node track = mark.child("gx:Track");
            size_t coords = 0;
            for ([[maybe_unused]] const pugi::xml_node c : track.children("gx:coord"))
                ++coords;
            size_t whens = 0;
            for (const pugi::xml_node when : track.children("when")) {
                const double s = SecondsOfDay(when.text().get());
                ASSERT_FALSE(std::isnan(s)) << when.text().get();
                if (whens++ == 0 && !t.empty()) {
                    EXPECT_EQ(s, t.back()) << missile << ": the next colour begins where the last ended";
                    continue;
                }
                t.push_back(s);
            }
            EXPECT_EQ(whens, coords) << missile;
        }
    }
    ASSERT_EQ(times.size(), 3u);
    const double first = times["TeskAlpha"].at(0);
    EXPECT_NEAR(first, 6 * 3600 + 1, 0.1); // the O key at 1 s, delay 0
    for (const auto& [missile, delay] : delays) {
        SCOPED_TRACE(missile);
        const std::vector<double>& t = times[missile];
        ASSERT_GE(t.size(), 3u);
        EXPECT_NEAR(t[0] - first, delay, 0.1);
        EXPECT_NEAR(t[0], (launchMjd[missile] - std::floor(launchMjd[missile])) * 86400, 0.002);
        for (size_t i = 1; i + 1 < t.size(); ++i)
            EXPECT_NEAR(t[i] - t[i - 1], 1.0, 1e-6) << "point " << i;
        // The last point is the impact, at the flight time after the launch; its mark appears then.
        EXPECT_GT(t.back(), t[t.size() - 2]);
        EXPECT_NEAR(t.back() - t[0], flightTime[missile], 0.002);
        EXPECT_EQ(impact[missile], t.back());
    }
}

} // namespace
