// The typical firing end to end with the built programs: a Google Earth file becomes a launch scenario
// (zielmark-cli plan), orbhost flies it with the O key, and zielmark-cli results reads the saved current
// state into the figures table, the result KML and the diagrams. Three missiles, both flight models, short
// delays; the missiles draw their failures from the clock, so the checks hold for any outcome.
#include "ProgramRuns.h"
#include "ShipBlocks.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;
using namespace program_runs;
using namespace scenario_files;

namespace {

const fs::path SourceDir = TESKI_SOURCE_DIR_PATH;
const std::string Orbhost = ORBHOST_EXE, Cli = ZIELMARK_CLI_EXE;

// One row of the figures table: the caption, six figures, the failure text (may be empty).
struct TableRow {
    std::string caption;
    std::vector<double> figures;
    std::string failure;
};

// Cells set apart by two blanks or more.
std::vector<std::string> SplitAtGaps(const std::string& line) {
    std::vector<std::string> cells;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t gap = line.find("  ", pos);
        if (gap == std::string::npos) gap = line.size();
        cells.push_back(line.substr(pos, gap - pos));
        pos = line.find_first_not_of(' ', gap);
        if (pos == std::string::npos) break;
    }
    return cells;
}

// Columns are set apart by two blanks or more; captions and failure texts hold single blanks only.
std::vector<TableRow> ReadTable(const std::string& output, std::string& error) {
    std::vector<TableRow> rows;
    std::istringstream in(output);
    std::string line;
    bool header = false;
    while (std::getline(in, line)) {
        if (line.rfind("Missile to target", 0) == 0) {
            header = true;
            continue;
        }
        if (!header || line.rfind("Wrote ", 0) == 0 || line.empty()) continue;
        const std::vector<std::string> cells = SplitAtGaps(line);
        if (cells.size() < 7 || cells.size() > 8) {
            error = "not a table row: \"" + line + "\"";
            return rows;
        }
        TableRow row{cells[0], {}, cells.size() == 8 ? cells[7] : ""};
        for (size_t c = 1; c < 7; ++c) {
            const auto v = parseNumber(cells[c]);
            if (!v) {
                error = "not a figure: \"" + cells[c] + "\" in \"" + line + "\"";
                return rows;
            }
            row.figures.push_back(*v);
        }
        rows.push_back(row);
    }
    if (!header) error = "no table header in:\n" + output;
    return rows;
}

// Distance (m) and initial azimuth (degrees) on the planning program's sphere.
std::pair<double, double> GreatCircle(double lat1, double lon1, double lat2, double lon2) {
    const double d2r = M_PI / 180;
    lat1 *= d2r, lon1 *= d2r, lat2 *= d2r, lon2 *= d2r;
    const double c =
        std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(lon2 - lon1);
    const double dist = std::acos(std::clamp(c, -1.0, 1.0)) * 6371010.0;
    const double y = std::sin(lon2 - lon1) * std::cos(lat2);
    const double x =
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(lon2 - lon1);
    return {dist, std::fmod(std::atan2(y, x) / d2r + 360, 360)};
}

class FiringLoop : public ::testing::Test {
protected:
    struct Firing {
        std::unique_ptr<ScratchRoot> scratch;
        CommandResult plan, flight, results;
        std::vector<ShipBlock> planned, saved;
        fs::path kml;
    };
    static inline Firing* firing = nullptr;

    static void SetUpTestSuite() {
        const char* root = OrbRoot();
        firing = new Firing;
        firing->scratch = std::make_unique<ScratchRoot>(root);
        const fs::path r = firing->scratch->root();
        const fs::path scenario = r / "Scenarios" / "Teski" / "e2e.scn";
        firing->plan = RunProgram({Cli,
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
                                   "TeskBravo=1",
                                   "--delay",
                                   "TeskCharlie=2",
                                   "--realistic",
                                   "TeskBravo=0",
                                   "--date",
                                   "10.12.2026",
                                   "--time",
                                   "06:00",
                                   "--utc"});
        firing->planned = readShipBlocks(ReadFile(scenario.string()));
        firing->flight = RunProgram(
            {Orbhost, "run", "Teski/e2e", "--root", r.string(), "--key", "O@1", "--progress", "0"});
        const fs::path current = r / "Scenarios" / "(Current state).scn";
        firing->saved = readShipBlocks(ReadFile(current.string()));
        fs::create_directories(firing->scratch->folder() / "out");
        firing->kml = firing->scratch->folder() / "out" / "e2e.kml";
        firing->results =
            RunProgram({Cli, "results", current.string(), "--kml", firing->kml.string(), "--diagrams",
                        (firing->scratch->folder() / "out" / "diagrams").string()});
    }
    static void TearDownTestSuite() {
        delete firing;
        firing = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(firing, nullptr);
        ASSERT_EQ(firing->plan.status, 0) << firing->plan.output;
        ASSERT_EQ(firing->flight.status, 0) << firing->flight.output;
        ASSERT_EQ(firing->results.status, 0) << firing->results.output;
    }
    static std::vector<ShipBlock> Wrecks() { return shipsOfClass(firing->saved, "TeskiWreck"); }
};

TEST_F(FiringLoop, EveryPlannedMissileComesBackAsAWreckWithResults) {
    const auto missiles = shipsOfClass(firing->planned, "Teski");
    ASSERT_EQ(missiles.size(), 3u) << firing->plan.output;
    EXPECT_TRUE(shipsOfClass(firing->saved, "Teski").empty()) << "a missile never became a wreck";
    const auto wrecks = Wrecks();
    ASSERT_EQ(wrecks.size(), missiles.size()) << firing->flight.output;
    for (const ShipBlock& m : missiles) {
        SCOPED_TRACE(m.name);
        auto w =
            std::find_if(wrecks.begin(), wrecks.end(), [&](auto& b) { return b.name == m.name + "-Wreck"; });
        ASSERT_NE(w, wrecks.end());
        EXPECT_TRUE(w->ended);
        EXPECT_EQ(w->value("LANDED"), "1");
        for (const char* key :
             {"LATITUDE_LAST", "LONGITUDE_LAST", "MAX_ALTITUDE", "FLIGHT_TIME", "IMPACT_VELOCITY",
              "LATITUDE_TARGET", "LONGITUDE_TARGET", "RANGE_ACTUAL", "AZIMUTH_ACTUAL", "RANGE_MISS",
              "AZIMUTH_MISS", "LATERAL_MISS", "LONGITUDAL_MISS", "LATITUDE_LAUNCH", "LONGITUDE_LAUNCH"}) {
            const auto v = w->number(key);
            ASSERT_TRUE(v && std::isfinite(*v)) << key << " = " << w->value(key).value_or("(missing)");
        }
        EXPECT_GT(*w->number("FLIGHT_TIME"), 3.0);
        EXPECT_EQ(*w->number("LATITUDE_TARGET"), *m.number("LATITUDE_TARGET"));
        EXPECT_EQ(*w->number("LONGITUDE_TARGET"), *m.number("LONGITUDE_TARGET"));
        // The target's whole name reaches the wreck, of one word or several.
        EXPECT_EQ(w->value("TARGET"), m.value("TARGET"));
        const auto pos = words(*m.value("POS"));
        EXPECT_NEAR(*w->number("LONGITUDE_LAUNCH"), *parseNumber(pos.at(0)), 1e-6);
        EXPECT_NEAR(*w->number("LATITUDE_LAUNCH"), *parseNumber(pos.at(1)), 1e-6);
        const auto track = w->values("TRACK");
        ASSERT_GE(track.size(), 2u);
        for (size_t i = 0; i < track.size(); ++i) {
            const auto fields = words(track[i]);
            ASSERT_EQ(fields.size(), 5u) << track[i];
            EXPECT_EQ(fields[0], std::to_string(i));
            for (const std::string& f : fields)
                EXPECT_TRUE(parseNumber(f) && std::isfinite(*parseNumber(f))) << f;
        }
    }
}

TEST_F(FiringLoop, FiguresTableMatchesTheWreckBlocks) {
    std::string error;
    const auto rows = ReadTable(firing->results.output, error);
    ASSERT_TRUE(error.empty()) << error;
    const auto wrecks = Wrecks();
    ASSERT_EQ(rows.size(), wrecks.size()) << firing->results.output;
    for (size_t i = 0; i < rows.size(); ++i) {
        const ShipBlock& w = wrecks[i];
        SCOPED_TRACE(w.name);
        const std::string missile = w.name.substr(0, w.name.find("-Wreck"));
        EXPECT_EQ(rows[i].caption, missile + " to " + w.value("TARGET").value_or(""));
        const auto [planned, azimuth] =
            GreatCircle(*w.number("LATITUDE_LAUNCH"), *w.number("LONGITUDE_LAUNCH"),
                        *w.number("LATITUDE_TARGET"), *w.number("LONGITUDE_TARGET"));
        const auto& f = rows[i].figures; // azimuth, planned range, actual range, miss, longitudal, lateral
        EXPECT_NEAR(f[0], azimuth, 1.0);
        EXPECT_NEAR(f[1], planned, 1.0);
        EXPECT_NEAR(f[2], *w.number("RANGE_ACTUAL"), 0.51);
        EXPECT_NEAR(f[3], *w.number("RANGE_MISS"), 0.51);
        EXPECT_NEAR(f[4], *w.number("LONGITUDAL_MISS"), 0.51);
        EXPECT_NEAR(f[5], *w.number("LATERAL_MISS"), 0.51);
        EXPECT_EQ(rows[i].failure, w.value("FAILURE").value_or(""));
        // The plan's range is the planned range the table shows.
        auto m = std::find_if(firing->planned.begin(), firing->planned.end(),
                              [&](auto& b) { return b.name == missile; });
        ASSERT_NE(m, firing->planned.end());
        EXPECT_NEAR(f[1], *m->number("RANGE"), 1.0);
    }
}

TEST_F(FiringLoop, ResultKmlHoldsThreeMarksAndATrackFolderPerMissile) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(firing->kml.c_str());
    ASSERT_TRUE(parsed) << parsed.description() << " at offset " << parsed.offset;
    const pugi::xml_node outer = doc.child("kml").child("Document").child("Folder");
    ASSERT_TRUE(outer);
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> marks; // style -> (name, coords)
    std::map<std::string, size_t> trackPieces;
    for (const pugi::xml_node n : outer.children()) {
        if (std::string(n.name()) == "Placemark")
            marks[n.child_value("styleUrl")].emplace_back(n.child_value("name"),
                                                          n.child("Point").child_value("coordinates"));
        else if (std::string(n.name()) == "Folder")
            trackPieces[n.child_value("name")] =
                std::distance(n.children("Placemark").begin(), n.children("Placemark").end());
    }
    const auto wrecks = Wrecks();
    EXPECT_EQ(marks["#stWreck"].size(), wrecks.size());
    EXPECT_EQ(marks["#stTarget"].size(), wrecks.size());
    EXPECT_EQ(marks["#stLaunch"].size(), wrecks.size());
    EXPECT_EQ(trackPieces.size(), wrecks.size());
    for (size_t i = 0; i < wrecks.size() && i < marks["#stWreck"].size(); ++i) {
        const ShipBlock& w = wrecks[i];
        SCOPED_TRACE(w.name);
        const std::string missile = w.name.substr(0, w.name.find("-Wreck"));
        const auto& [name, coordinates] = marks["#stWreck"][i];
        EXPECT_EQ(name, missile + " to " + w.value("TARGET").value_or(""));
        double lon = 0, lat = 0;
        ASSERT_EQ(std::sscanf(coordinates.c_str(), "%lf,%lf", &lon, &lat), 2) << coordinates;
        EXPECT_NEAR(lon, *w.number("LONGITUDE_LAST"), 1e-9);
        EXPECT_NEAR(lat, *w.number("LATITUDE_LAST"), 1e-9);
        EXPECT_EQ(marks["#stLaunch"][i].first, missile);
        ASSERT_TRUE(trackPieces.count("trk " + w.name));
        EXPECT_EQ(trackPieces["trk " + w.name], w.values("TRACK").size() - 1);
    }
    size_t diagrams = 0;
    for (const auto& e : fs::directory_iterator(firing->scratch->folder() / "out" / "diagrams"))
        diagrams += e.path().extension() == ".svg";
    EXPECT_EQ(diagrams, wrecks.size());
}

// The firing's result KML, lying beside a planning file, is not offered for planning: the folder check lists
// only the planning file.
TEST_F(FiringLoop, ResultKmlIsNoPlanningSource) {
    const fs::path out = firing->kml.parent_path();
    fs::copy_file(SourceDir / "examples" / "desert_range.kml", out / "desert_range.kml",
                  fs::copy_options::overwrite_existing);
    const CommandResult check =
        RunProgram({Cli, "check", "--src", out.string(), "--scn", out.string(), "--results", out.string()});
    EXPECT_NE(check.output.find("Source KML files (1)"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("  desert_range.kml\n"), std::string::npos) << check.output;
    EXPECT_EQ(check.output.find("  e2e.kml"), std::string::npos) << check.output;
}

// The one-command firing itself, without set-up, build and window, in a scratch root. `path` puts a folder
// in front of the programs the script finds (empty: the machine's own).
CommandResult RunFiringScript(const ScratchRoot& scratch, const fs::path& out, const fs::path& path = {}) {
    std::vector<std::string> argv = {(SourceDir / "scripts" / "firing.sh").string(),
                                     "--no-setup",
                                     "--no-build",
                                     "--no-gui",
                                     "--build",
                                     TESKI_BUILD_DIR,
                                     "--root",
                                     scratch.root().string(),
                                     "--out",
                                     out.string(),
                                     "--seed",
                                     "11"};
    if (!path.empty()) {
        const char* inherited = std::getenv("PATH");
        argv.insert(argv.begin(),
                    {"env", "PATH=" + path.string() + ":" + (inherited ? inherited : "/usr/bin:/bin")});
    }
    return RunProgram(argv);
}

bool IsPng(const fs::path& file) {
    return ReadFile(file.string()).rfind("\x89PNG\r\n\x1a\n", 0) == 0;
}

TEST(FiringScript, WritesTheResultsIntoTheFolderItNames) {
    ScratchRoot scratch(OrbRoot());
    const fs::path out = scratch.folder() / "firing out";
    const CommandResult r = RunFiringScript(scratch, out);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("results in " + out.string()), std::string::npos) << r.output;
    const auto wrecks =
        shipsOfClass(readShipBlocks(ReadFile((out / "desert_range result.scn").string())), "TeskiWreck");
    EXPECT_EQ(wrecks.size(), 3u); // desert_range.kml has three launch sites, each given a target
    std::string error;
    EXPECT_EQ(ReadTable(ReadFile((out / "figures.txt").string()), error).size(), wrecks.size()) << error;
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((out / "desert_range.kml").c_str()));
    // Every diagram as SVG and as a real PNG picture beside it.
    size_t svg = 0;
    for (const auto& e : fs::directory_iterator(out / "diagrams")) {
        if (e.path().extension() != ".svg") continue;
        ++svg;
        fs::path png = e.path();
        EXPECT_TRUE(IsPng(png.replace_extension(".png"))) << png;
    }
    EXPECT_EQ(svg, wrecks.size());
}

// A converter that says it succeeded but writes no picture: the promised PNG is missing, so the firing fails
// and says which diagram, rather than report "done".
TEST(FiringScript, ADiagramLeftWithoutItsPictureFailsTheFiring) {
    ScratchRoot scratch(OrbRoot());
    const fs::path fakes = scratch.folder() / "fake programs";
    fs::create_directories(fakes);
    const fs::path converter = fakes / "rsvg-convert";
    { std::ofstream(converter) << "#!/bin/sh\nexit 0\n"; }
    fs::permissions(converter, fs::perms::owner_all, fs::perm_options::add);
    const CommandResult r = RunFiringScript(scratch, scratch.folder() / "firing out", fakes);
    EXPECT_NE(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("could not turn diagrams/"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(".svg into diagrams/"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("firing: done"), std::string::npos) << r.output;
}

} // namespace
