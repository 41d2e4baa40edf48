// A scenario means the same place in orbhost as in the simulator. Vessels in flight are written in global
// (ecliptic) axes, so where they are over the Earth depends on the planet's orientation at the scenario's
// date. The simulator's own scenarios are loaded and the latitude and longitude orbhost gives their vessels
// are compared with the orientation worked out here from the simulator's constants, and with what the
// simulator itself wrote for the same moment.
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthMeanRadius = 6.37101e6;

fs::path corpusFile(const std::string& name) {
    return corpusFolder("scn") / name;
}

// The file's lines without CR, or nothing when the corpus is not there.
std::vector<std::string> readLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

double dateMjd(const std::vector<std::string>& lines) {
    for (const auto& l : lines)
        if (trimmed(l).rfind("Date MJD ", 0) == 0) return std::stod(trimmed(l).substr(9));
    return NAN;
}

// The lines of one ship block (after its "name:class" line, up to END), trimmed.
std::vector<std::string> shipBlock(const std::vector<std::string>& lines, const std::string& ship) {
    std::vector<std::string> block;
    bool in = false;
    for (const auto& l : lines) {
        std::string t = trimmed(l);
        if (!in) {
            in = t.rfind(ship + ":", 0) == 0;
            continue;
        }
        if (t == "END") break;
        block.push_back(t);
    }
    return block;
}

std::vector<double> numbersOf(const std::vector<std::string>& block, const std::string& key) {
    for (const auto& l : block) {
        if (l.rfind(key + " ", 0) != 0) continue;
        std::istringstream in(l.substr(key.size()));
        in.imbue(std::locale::classic());
        std::vector<double> v;
        for (double x; in >> x;)
            v.push_back(x);
        return v;
    }
    return {};
}

// A scenario of the file's date holding the given ship blocks, each as a plain vessel of this host.
std::string scenarioWith(const std::vector<std::string>& lines, const std::vector<std::string>& ships) {
    std::ostringstream s;
    s.precision(17);
    s << "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD " << dateMjd(lines)
      << "\nEND_ENVIRONMENT\nBEGIN_SHIPS\n";
    for (const auto& ship : ships) {
        s << ship << ":PlainVessel\n";
        for (const auto& l : shipBlock(lines, ship))
            for (const char* key : {"STATUS", "RPOS", "RVEL", "AROT", "VROT", "POS", "HEADING", "ALT"})
                if (l.rfind(std::string(key) + " ", 0) == 0) s << "  " << l << "\n";
        s << "END\n";
    }
    s << "END_SHIPS\n";
    return s.str();
}

struct LatLng {
    double lat, lng; // [rad]
};

// Latitude and longitude of a position in global axes at a date, from the simulator's Earth: the axis leans
// by the obliquity toward the June sun and turns about the ecliptic pole once per precession period; the
// prime meridian turns once per sidereal day, counted from the moving equinox. Written out on its own,
// with axis vectors, so that it shares nothing with the host's frame code.
LatLng earthLatLng(const double r[3], double mjd) {
    const double obliquity = 0.4090928023, siderealDay = 86164.10132, angleAtJ2000 = 4.88948754;
    const double precessionDays = -9413040.4, j2000 = 51544.5;
    const double node = 2 * kPi / precessionDays * (mjd - j2000); // the equinox of date on the ecliptic
    const double ce = std::cos(obliquity), se = std::sin(obliquity), cn = std::cos(node), sn = std::sin(node);
    const double north[3] = {-sn * se, ce, cn * se};
    const double equinox[3] = {cn, 0, sn};               // on the equator, 0 h of right ascension
    const double sixHours[3] = {-sn * ce, -se, cn * ce}; // on the equator, 6 h of right ascension
    const double angle = angleAtJ2000 + 2 * kPi * (mjd - j2000) * 86400 / siderealDay - node * ce;
    double meridian[3], east[3];
    for (int i = 0; i < 3; ++i) {
        meridian[i] = std::cos(angle) * equinox[i] + std::sin(angle) * sixHours[i];
        east[i] = -std::sin(angle) * equinox[i] + std::cos(angle) * sixHours[i];
    }
    auto dot = [&](const double a[3]) { return a[0] * r[0] + a[1] * r[1] + a[2] * r[2]; };
    const double len = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    return {std::asin(dot(north) / len), std::atan2(dot(east), dot(meridian))};
}

// Distance along the mean sphere between two places [m] (haversine: exact down to millimetres).
double groundDistance(LatLng a, LatLng b) {
    double sLat = std::sin((a.lat - b.lat) / 2), sLng = std::sin((a.lng - b.lng) / 2);
    double h = sLat * sLat + std::cos(a.lat) * std::cos(b.lat) * sLng * sLng;
    return 2 * std::asin(std::min(1.0, std::sqrt(h))) * kEarthMeanRadius;
}

double angleBetween(const VECTOR3& a, const VECTOR3& b) {
    double c = (a.x * b.x + a.y * b.y + a.z * b.z) /
               (std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z) * std::sqrt(b.x * b.x + b.y * b.y + b.z * b.z));
    return std::acos(std::clamp(c, -1.0, 1.0));
}

LatLng equPos(VESSEL* v) {
    double lng = 0, lat = 0, rad = 0;
    v->GetEquPos(lng, lat, rad);
    return {lat, lng};
}

constexpr const char* kCurrentState = "MatiasSaibene_Boeing747_orbiter_addon__Scenarios___Current_state_.scn";

// A state the simulator saved: an aircraft written in flight in global axes, and a landed glider written
// with its longitude and latitude, some 60 cm from it. Both lines of the same moment must mean that one
// place. Without the axis's precession they lie 700 m apart; with a mirrored axis tilt, thousands of km.
TEST(EarthFrame, TheSimulatorsSavedStateMeansTheSamePlaceInOrbhost) {
    auto lines = readLines(corpusFile(kCurrentState));
    if (lines.empty()) GTEST_SKIP() << "no scenario corpus beside the source tree";
    const double mjd = dateMjd(lines);
    auto rpos = numbersOf(shipBlock(lines, "Boeing_747SP"), "RPOS");
    auto pos = numbersOf(shipBlock(lines, "GL-01S"), "POS");
    ASSERT_EQ(rpos.size(), 3u);
    ASSERT_EQ(pos.size(), 2u);
    const LatLng glider{pos[1] * kPi / 180, pos[0] * kPi / 180};

    LatLng aircraft = earthLatLng(rpos.data(), mjd);
    double computed = groundDistance(aircraft, glider);
    std::printf("aircraft at MJD %.10f: lat %.7f lng %.7f deg, %.2f m from the glider's saved POS\n", mjd,
                aircraft.lat * 180 / kPi, aircraft.lng * 180 / kPi, computed);
    EXPECT_LT(computed, 2.0);

    // orbhost places the landed glider from its POS at the file's date; in global axes it must come out
    // beside the aircraft the simulator wrote there.
    TestRoot root;
    orb::World world(root.path());
    world.loadScenarioText(scenarioWith(lines, {"GL-01S"}), kCurrentState);
    VESSELSTATUS vs{};
    world.vessel("GL-01S")->GetStatus(vs);
    const VECTOR3 saved{rpos[0], rpos[1], rpos[2]};
    double placed = angleBetween(vs.rpos, saved) * kEarthMeanRadius;
    std::printf("glider placed by orbhost: %.2f m across from the aircraft's RPOS\n", placed);
    EXPECT_LT(placed, 2.0);
}

// Vessels in flight in the simulator's own scenarios: orbhost reads their RPOS at the file's date and reports
// the latitude and longitude of the orientation worked out above, to a few centimetres.
TEST(EarthFrame, FlyingVesselsOfTheSimulatorsScenariosAreWhereItsEarthPutsThem) {
    struct Case {
        const char *file, *ship;
    };
    const Case cases[] = {
        {"orbitersim_orbiter__Scenarios__2024_Edition__Surface_impact_model.scn", "GL-01S"},
        {"orbitersim_orbiter__Scenarios__Space_Shuttle_Atlantis__Atlantis_final_approach.scn", "STS-101"},
        {"orbitersim_orbiter__Scenarios__Space_Shuttle_Atlantis__Atlantis_final_approach.scn", "ISS"},
        {"orbitersim_orbiter__Scenarios__2024_Edition__Space_Shuttle_ascent_autopilot.scn", "ISS"},
        {"orbitersim_orbiter__Scenarios__Checklists__Quickstart.scn", "ISS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.ship);
        auto lines = readLines(corpusFile(c.file));
        if (lines.empty()) GTEST_SKIP() << "no scenario corpus beside the source tree";
        auto rpos = numbersOf(shipBlock(lines, c.ship), "RPOS");
        ASSERT_EQ(rpos.size(), 3u);
        TestRoot root;
        orb::World world(root.path());
        world.loadScenarioText(scenarioWith(lines, {c.ship}), c.file);
        LatLng host = equPos(world.vessel(c.ship));
        LatLng expected = earthLatLng(rpos.data(), dateMjd(lines));
        double apart = groundDistance(host, expected);
        std::printf("%s %s: lat %.6f lng %.6f deg, %.4f m from the expected place\n", c.file, c.ship,
                    host.lat * 180 / kPi, host.lng * 180 / kPi, apart);
        EXPECT_LT(apart, 0.05);
    }
}

// The station's orbit is inclined 51.6 degrees to the equator; flown for one revolution from the state the
// simulator's scenario gives, it reaches that latitude and no more. A mirrored axis tilt gives 82 degrees.
TEST(EarthFrame, TheSpaceStationsOrbitIsInclinedAsTheRealOne) {
    const char* file = "orbitersim_orbiter__Scenarios__2024_Edition__Space_Shuttle_ascent_autopilot.scn";
    auto lines = readLines(corpusFile(file));
    if (lines.empty()) GTEST_SKIP() << "no scenario corpus beside the source tree";
    TestRoot root;
    orb::World world(root.path());
    world.loadScenarioText(scenarioWith(lines, {"ISS"}), file);
    world.setStepLength(1.0);
    VESSEL* iss = world.vessel("ISS");
    double highest = 0;
    world.runUntil(
        [&] {
            highest = std::max(highest, std::fabs(equPos(iss).lat));
            return false;
        },
        92.7 * 60);
    std::printf("ISS: highest latitude over one revolution %.3f deg\n", highest * 180 / kPi);
    EXPECT_NEAR(highest * 180 / kPi, 51.6, 0.1);
}

} // namespace
