// teski-model-reach: how far each flight model flies and how well it hits, with its own cut-off and with the
// precise one, measured in orbhost. Single missiles with reliability 100 (no failures) from one launch site
// towards north, east, south and west, for asked ranges from 10 km to beyond what either model can fly; every
// missile of a model and cut-off flies in one world.
// Writes the table that the planner's advice is built from, headed by the command that made it.
//
// Usage: teski-model-reach [--out FILE] [--root DIR] [--seed S]
//   --out FILE   write the table there (the repository keeps it as zielmark/core/planning/ModelReach.inc);
//                without it the table goes to standard output
// Exit status: 0 table written, 1 a missile did not come down as a landed wreck, 2 usage.
#include "BenchCommon.h"
#include "ShipBlocks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr double AskedKm[] = {10, 25, 50, 75, 100, 125, 150, 200, 250, 300, 350, 400, 450, 500, 550, 600};
constexpr double Headings[] = {0, 90, 180, 270};
constexpr double SiteLat = 37.05, SiteLon = -116.05; // the first launch site of examples/desert_range.kml
constexpr double SimulatedLimit = 3000;              // seconds after the O key

struct Row {
    bool realistic = false, precise = false;
    double asked = 0, flown = 0, miss = 0, worstMiss = 0; // kilometres; flown and miss are means
};

std::string Fixed(double v, int decimals) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

std::string MissileName(size_t range, size_t heading) {
    return "R" + std::to_string(range) + "H" + std::to_string(heading);
}

// Flies every asked range in every direction with one model and cut-off; false with a message when a flight
// is incomplete.
bool Measure(const std::filesystem::path& root, bool realistic, bool precise, unsigned seed,
             std::vector<Row>& rows, std::string& problem) {
    std::string ships;
    for (size_t r = 0; r < std::size(AskedKm); ++r)
        for (size_t h = 0; h < std::size(Headings); ++h) {
            bench::MissilePlan m;
            m.name = MissileName(r, h);
            m.lat = SiteLat;
            m.lon = SiteLon;
            m.heading = Headings[h];
            m.range = AskedKm[r] * 1000;
            m.realistic = realistic;
            m.reliability = 100;
            m.precise = precise;
            m.target = "T" + m.name;
            ships += bench::ShipBlock(m);
        }
    orb::World world(root);
    world.loadScenarioText(bench::Scenario(ships),
                           std::string(realistic ? "realistic model" : "simple model") +
                               (precise ? ", precise cut-off" : ""));
    bench::SeedMissileModule(world, seed);
    world.sendKey(OAPI_KEY_O);
    const size_t missiles = std::size(AskedKm) * std::size(Headings);
    world.runUntil(
        [&] {
            if (bench::CountClass(world, "Teski") != 0 || bench::CountClass(world, "TeskiWreck") != missiles)
                return false;
            for (size_t i = 0; i < world.vesselCount(); ++i)
                if (!world.isLanded(world.vesselHandle(i))) return false;
            return true;
        },
        SimulatedLimit);

    const auto wrecks =
        scenario_files::shipsOfClass(scenario_files::readShipBlocks(world.saveText()), "TeskiWreck");
    for (size_t r = 0; r < std::size(AskedKm); ++r) {
        Row row;
        row.realistic = realistic;
        row.precise = precise;
        row.asked = AskedKm[r];
        for (size_t h = 0; h < std::size(Headings); ++h) {
            const std::string name = MissileName(r, h) + "-Wreck";
            const scenario_files::ShipBlock* w = nullptr;
            for (const auto& b : wrecks)
                if (b.name == name) w = &b;
            const auto flown = w ? w->number("RANGE_ACTUAL") : std::nullopt;
            const auto miss = w ? w->number("RANGE_MISS") : std::nullopt;
            if (!w || w->value("LANDED") != "1" || !flown || !miss) {
                problem = name + " is missing, has not landed or lacks its figures";
                return false;
            }
            row.flown += *flown / 1000 / std::size(Headings);
            row.miss += *miss / 1000 / std::size(Headings);
            row.worstMiss = std::max(row.worstMiss, *miss / 1000);
        }
        rows.push_back(row);
    }
    return true;
}

std::string Table(const std::vector<Row>& rows, const std::string& command) {
    std::string t =
        "// The reach and typical miss of each flight model, with its own cut-off and with the precise one, "
        "as\n"
        "// teski-model-reach measured them in orbhost: single missiles with reliability 100 from " +
        Fixed(SiteLat, 2) + " N " + Fixed(-SiteLon, 2) +
        " W\n// towards north, east, south and west.\n"
        "// Remade with (from the repository's top folder, after building):\n"
        "//   " +
        command +
        "\n"
        "// Columns: realistic model, asked range, mean range flown, mean miss, largest miss (kilometres),\n"
        "// precise cut-off.\n";
    for (const Row& r : rows)
        t += "{" + std::string(r.realistic ? "true" : "false") + ", " + Fixed(r.asked, 0) + ", " +
             Fixed(r.flown, 1) + ", " + Fixed(r.miss, 1) + ", " + Fixed(r.worstMiss, 1) + ", " +
             (r.precise ? "true" : "false") + "},\n";
    return t;
}

} // namespace

int main(int argc, char** argv) {
    std::string out, rootArg;
    unsigned seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::printf(
                "Usage: teski-model-reach [--out FILE] [--root DIR] [--seed S]\n"
                "Measures in orbhost how far each flight model flies and how far it misses, with its own\n"
                "cut-off and with the precise one, for asked ranges of 10 to 600 km in four directions,\n"
                "and writes the table the planner's advice uses (kept as "
                "zielmark/core/planning/ModelReach.inc).\n"
                "Without --out the table is printed.\n");
            return 0;
        }
        if ((a == "--out" || a == "--root" || a == "--seed") && i + 1 < argc) {
            const std::string v = argv[++i];
            if (a == "--out")
                out = v;
            else if (a == "--root")
                rootArg = v;
            else if (std::from_chars(v.data(), v.data() + v.size(), seed).ec != std::errc()) {
                std::fprintf(stderr, "teski-model-reach: --seed needs a whole number, not \"%s\"\n",
                             v.c_str());
                return 2;
            }
            continue;
        }
        std::fprintf(stderr, "teski-model-reach: unknown argument \"%s\" (see --help)\n", a.c_str());
        return 2;
    }
    const std::filesystem::path root = bench::ChooseRoot(rootArg);
    std::vector<Row> rows;
    for (const bool realistic : {false, true})
        for (const bool precise : {false, true}) {
            std::string problem;
            if (!Measure(root, realistic, precise, seed, rows, problem)) {
                std::fprintf(stderr, "teski-model-reach: %s\n", problem.c_str());
                return 1;
            }
        }
    const std::string command = "build/bin/teski-model-reach" +
                                (out.empty() ? std::string() : " --out " + out) +
                                (seed != 1 ? " --seed " + std::to_string(seed) : std::string());
    const std::string table = Table(rows, command);
    if (out.empty()) {
        std::fputs(table.c_str(), stdout);
        return 0;
    }
    std::ofstream(out, std::ios::binary) << table;
    std::printf("Wrote %s\n", out.c_str());
    return 0;
}
