// teski-host-compare: the same flights in orbhost and in the simulator's own core (its Linux port), with the
// same scenario, step and seed, and what differs between them. Prints figures; --check is the test.
//
// Per missile: its landed attitude before launch in each host (degrees off vertical), the impact difference
// in metres and in per mille of the range, the largest altitude difference along the track from 2 s after
// lift-off (per cent of the real core's altitude, where both are above 1 km) and the largest position
// difference along it (metres).
// Per plain body (HostProbe): the largest position and altitude difference over its track. The last line
// holds the worst of each column.
#include "CompareCases.h"
#include "SavedTracks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace hostcompare;

namespace {

const char* const kUsage =
    "usage: teski-host-compare [--missiles] [--probes] [--check] [--precise] [--orbhost-only] [--seed N]\n"
    "                          [--step S] [--keep DIR]\n"
    "  flies the same flights in orbhost and in the simulator's own core and prints their differences:\n"
    "  --missiles   both models, 50 to 450 km, four directions, two latitudes (80 missiles, reliability "
    "100)\n"
    "  --probes     plain bodies: drag-free ballistic, falling through the air, lifted by thrust, spinning\n"
    "               (without either: both)\n"
    "  --check      one flight of each model and the plain bodies; says whether the missiles meet the goal\n"
    "               (landing within 0.1 % of the range of the real core's impact, or no further than the\n"
    "               real core's own flight from pads moved 1 cm and started 8.64 ms later, and altitudes\n"
    "               from 2 s after lift-off within 0.5 %); exit 1 when a missile lands more than 1 % of its\n"
    "               range away, or a plain body departs by more than 0.5 % in altitude or 100 m\n"
    "  --precise    the 80 missiles of --missiles with the precise cut-off: each one's miss from its target\n"
    "               in each host, and per model and host the worst and the median miss in per cent of the\n"
    "               range; exit 1 when a flight within reach misses by more than 0.3 % of its range (a\n"
    "               flight is beyond reach past its far-target companion's landing, or when it runs dry)\n"
    "  --orbhost-only  with --precise: orbhost alone (no port needed)\n"
    "  --seed N     the missiles' random generator in both hosts (default 1)\n"
    "  --step S     the fixed step (default 0.02 s)\n"
    "  --keep DIR   leave the scenario and both saved states in DIR\n"
    "Needs ../shared/orbiter-port beside the checkout: without it, or with TESKI_SKIP_REAL_CORE set, says "
    "so\n"
    "and exits 77.\n";

constexpr double kImpactGoal = 1e-3; // of the range
// What --check holds orbhost to today: the goal is not yet met by every flight (see the README), and this
// catches a host that falls back (the missile's tilted stance put orbhost 10 to 15 % of the range off).
constexpr double kImpactGuard = 1e-2;
constexpr double kAltitudeGoal = 5e-3;
constexpr double kAltitudeFloor = 1000; // [m]

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a command; its last line of output (a path) goes to out. Returns its exit status.
int run(const std::string& cmd, std::string* out = nullptr) {
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    std::string last;
    while (std::fgets(buf, sizeof buf, p))
        last = buf;
    int st = pclose(p);
    while (!last.empty() && (last.back() == '\n' || last.back() == '\r'))
        last.pop_back();
    if (out) *out = last;
    return WIFEXITED(st) ? WEXITSTATUS(st) : 128;
}

struct Hosts {
    std::string realRoot, scratch, seed, step;
};

// Writes the set as Compare/<name>.scn into a host's root (and the scratch folder).
void writeScenario(const Hosts& h, const std::string& root, const CaseSet& set, const std::string& name) {
    const std::string text = scenarioText(set);
    fs::create_directories(root + "/Scenarios/Compare");
    std::ofstream(root + "/Scenarios/Compare/" + name + ".scn", std::ios::binary) << text;
    std::ofstream(h.scratch + "/" + name + ".scn", std::ios::binary) << text;
}

bool readBack(const std::string& path, std::map<std::string, SavedVessel>& out) {
    std::string error;
    out = readSavedState(path, error);
    if (!error.empty()) std::fprintf(stderr, "teski-host-compare: %s\n", error.c_str());
    return error.empty();
}

// The O key is pressed at 1 s: the real core's key script hands it to the vessel after the step that ends
// one step later (measured with HostProbe's KEY lines), so orbhost is given it at 1 s plus a step, the same
// moment. The saved states go to scratch/<name>.orbhost.scn and .real.scn.
bool flyOrbhost(const Hosts& h, const CaseSet& set, const std::string& name, double tmax, bool key,
                std::map<std::string, SavedVessel>& out) {
    writeScenario(h, TESKI_ORB_ROOT, set, name);
    const std::string saved = h.scratch + "/" + name + ".orbhost.scn";
    std::string cmd = quote(TESKI_ORBHOST) + " run " + quote("Compare/" + name) + " --root " +
                      quote(TESKI_ORB_ROOT) + " --dt " + h.step + " --tmax " + std::to_string(tmax) +
                      " --seed " + h.seed + " --progress 0 --save-to " + quote(saved) +
                      (key ? " --key O@" + std::to_string(1.0 + std::stod(h.step)) : "") + " >/dev/null";
    if (run(cmd) != 0) {
        std::fprintf(stderr, "teski-host-compare: orbhost failed: %s\n", cmd.c_str());
        return false;
    }
    return readBack(saved, out);
}

bool flyReal(const Hosts& h, const CaseSet& set, const std::string& name, double tmax, bool key,
             std::map<std::string, SavedVessel>& out) {
    writeScenario(h, h.realRoot, set, name);
    std::string saved;
    std::string cmd = "bash " + quote(std::string(TESKI_SOURCE_DIR) + "/scripts/real-core.sh") + " fly " +
                      quote(h.realRoot) + " " + quote("Compare/" + name) + " --step " + h.step + " --tmax " +
                      std::to_string(tmax) + " --seed " + h.seed + (key ? " --key O@1" : "");
    if (run(cmd, &saved) != 0) {
        std::fprintf(stderr, "teski-host-compare: the real core failed: %s\n", cmd.c_str());
        return false;
    }
    const std::string kept = h.scratch + "/" + name + ".real.scn";
    fs::copy_file(saved, kept, fs::copy_options::overwrite_existing);
    return readBack(kept, out);
}

bool flyBoth(const Hosts& h, const CaseSet& set, const std::string& name, double tmax, bool key,
             std::map<std::string, SavedVessel>& orb, std::map<std::string, SavedVessel>& real) {
    return flyOrbhost(h, set, name, tmax, key, orb) && flyReal(h, set, name, tmax, key, real);
}

// Degrees between a landed vessel's +z axis and the local vertical, from its saved POS and AROT.
double landedTilt(const SavedVessel& v) {
    double lng = 0, lat = 0, ax = 0, ay = 0, az = 0;
    if (std::sscanf(lineValue(v, "POS").c_str(), "%lf %lf", &lng, &lat) != 2 ||
        std::sscanf(lineValue(v, "AROT").c_str(), "%lf %lf %lf", &ax, &ay, &az) != 3)
        return NAN;
    ax *= kDeg, ay *= kDeg, lng *= kDeg, lat *= kDeg;
    // Third column of the vessel -> planet rotation, against the up direction in the planet's frame.
    double zx = -std::sin(ay), zy = std::sin(ax) * std::cos(ay), zz = std::cos(ax) * std::cos(ay);
    double ux = std::cos(lat) * std::cos(lng), uy = std::sin(lat), uz = std::cos(lat) * std::sin(lng);
    return std::acos(std::clamp(zx * ux + zy * uy + zz * uz, -1.0, 1.0)) / kDeg;
}

struct TrackDiff {
    double altPct = 0, posM = 0, attDeg = 0;
    int points = 0;
};

// Up to the first point where the real core's body, having flown above 10 m, is back on the ground: what a
// crash does next is not flight.
TrackDiff compareTracks(const std::vector<TrackSample>& a, const std::vector<TrackSample>& b, double fromT) {
    TrackDiff d;
    bool flown = false;
    for (const TrackSample& p : b) {
        if (flown && p.alt < 1.0) break;
        flown = flown || p.alt > 10.0;
        if (p.t < fromT) continue;
        auto q = std::find_if(a.begin(), a.end(),
                              [&](const TrackSample& s) { return std::fabs(s.t - p.t) < 0.01; });
        if (q == a.end()) continue;
        ++d.points;
        // Altitudes are set side by side above a kilometre: near the ground any difference in range becomes a
        // large share of a small altitude.
        if (p.alt > kAltitudeFloor && q->alt > kAltitudeFloor)
            d.altPct = std::max(d.altPct, 100 * std::fabs(q->alt - p.alt) / p.alt);
        d.posM = std::max(d.posM, greatCircle(q->lng / kDeg, q->lat / kDeg, p.lng / kDeg, p.lat / kDeg));
        d.attDeg = std::max(d.attDeg, std::fabs(q->pitch - p.pitch) / kDeg);
    }
    return d;
}

// The impact and track of one missile in two saved states.
struct FlightDiff {
    bool found = false;
    double impact = 0; // [m]
    TrackDiff track;
};
FlightDiff flightDiff(const std::map<std::string, SavedVessel>& a,
                      const std::map<std::string, SavedVessel>& b, const std::string& missile) {
    FlightDiff d;
    auto p = a.find(missile + "-Wreck"), q = b.find(missile + "-Wreck");
    if (p == a.end() || q == b.end() || !p->second.hasImpact || !q->second.hasImpact) return d;
    d.found = true;
    d.impact =
        greatCircle(p->second.impactLng, p->second.impactLat, q->second.impactLng, q->second.impactLat);
    d.track = compareTracks(p->second.track, q->second.track, 2.0);
    return d;
}

double landedKm(const MissileCase& m, const std::map<std::string, SavedVessel>& saved) {
    auto w = saved.find(m.name + "-Wreck");
    return w == saved.end() ? NAN : greatCircle(m.lng, m.lat, w->second.impactLng, w->second.impactLat) / 1e3;
}

struct Verdict {
    bool goal = true, guard = true;
};

// The missiles' table; says whether every flight meets the goal, and whether every one lands within the
// guard.
//
// The real core is flown twice: as given, and with every pad moved 1 cm east and the start 8.64 ms (1e-7
// day) later. Its own flights part by what the second shows ("self"), the floor below which no other host
// can agree with it: its vessels fly in heliocentric coordinates, where the planet's own position jitters by
// about a millimetre from step to step (1.4 mm in a pattern of three steps of 0.02 s), which a vessel on the
// ground follows and a flying one does not; and the models' attitude control (the simple model's on-off jets,
// the realistic model's rudders that always move) turns such differences into another pattern of corrections.
// Measured: with the later start the real core lands 2 of 40 realistic-model flights 10 and 31 per mille of
// the range from where it landed them before, and one simple-model flight 0.8 per mille. A flight meets the
// goal when orbhost lands within 0.1 % of the range of the real core, or no further from it than the real
// core from itself; the same for the altitudes.
Verdict reportMissiles(const Hosts& h, const std::vector<MissileCase>& cases, const std::string& name) {
    std::map<std::string, SavedVessel> orbPad, realPad, orb, real, self;
    CaseSet set{cases, {}}, moved = set;
    for (MissileCase& m : moved.missiles)
        m.lng += 1e-2 / (kEarthRadius * std::cos(m.lat * kDeg)) / kDeg;
    moved.dateMjd += 1e-7;
    Verdict v;
    if (!flyBoth(h, set, name + "-pad", 0.5, false, orbPad, realPad) ||
        !flyBoth(h, set, name, 800, true, orb, real) || !flyReal(h, moved, name + "-moved", 800, true, self))
        return {false, false};
    std::printf("%-18s %-5s %5s %4s %4s | %6s %6s | %7s %7s | %8s %8s %6s | %6s %6s %6s\n", "flight", "model",
                "lat", "az", "km", "tilt-o", "tilt-r", "land-o", "land-r", "impact m", "self m", "o/oo",
                "alt %", "self %", "pos m");
    double w[9] = {};
    for (const MissileCase& m : cases) {
        double tiltO = landedTilt(orbPad[m.name]), tiltR = landedTilt(realPad[m.name]);
        FlightDiff d = flightDiff(orb, real, m.name), e = flightDiff(self, real, m.name);
        if (!d.found || !e.found) {
            std::printf("%-18s a wreck is missing\n", m.name.c_str());
            v = {false, false};
            continue;
        }
        // Both hosts save when the missile lit its engine, and agree on it to a few steps.
        const double launchO = std::atof(lineValue(orb[m.name + "-Wreck"], "MJD_LAUNCH").c_str());
        const double launchR = std::atof(lineValue(real[m.name + "-Wreck"], "MJD_LAUNCH").c_str());
        if (launchO == 0 || launchR == 0 || std::fabs(launchO - launchR) * 86400 > 0.1) {
            std::printf(
                "%-18s launch dates differ or are missing: MJD_LAUNCH %.10f here, %.10f in the core\n",
                m.name.c_str(), launchO, launchR);
            v = {false, false};
        }
        double permille = 1000 * d.impact / m.range;
        std::printf("%-18s %-5s %5.1f %4.0f %4.0f | %6.3f %6.3f | %7.2f %7.2f | %8.1f %8.1f %6.3f | %6.2f "
                    "%6.2f %6.0f\n",
                    m.name.c_str(), m.realistic ? "real" : "simpl", m.lat, m.azimuth, m.range / 1e3, tiltO,
                    tiltR, landedKm(m, orb), landedKm(m, real), d.impact, e.impact, permille, d.track.altPct,
                    e.track.altPct, d.track.posM);
        const double row[9] = {tiltO,    tiltR,          0,           0, d.impact, e.impact,
                               permille, d.track.altPct, d.track.posM};
        for (int i = 0; i < 9; ++i)
            w[i] = std::max(w[i], row[i]);
        v.goal = v.goal && d.impact <= std::max(kImpactGoal * m.range, e.impact) &&
                 d.track.altPct <= std::max(100 * kAltitudeGoal, e.track.altPct);
        v.guard = v.guard && d.impact <= std::max(kImpactGuard * m.range, e.impact);
    }
    std::printf("%-18s %-5s %5s %4s %4s | %6.3f %6.3f | %7s %7s | %8.1f %8.1f %6.3f | %6.2f %6s %6.0f\n",
                "worst", "", "", "", "", w[0], w[1], "", "", w[4], w[5], w[6], w[7], "", w[8]);
    std::printf("missiles: %s\n",
                v.goal    ? "every flight within the goal (0.1 %, or the real core's own spread)"
                : v.guard ? "not every flight within the goal of 0.1 %; all within 1 %"
                          : "a flight lands more than 1 % of its range from the real core's");
    return v;
}

// Per cent of its range by which a missile's wreck missed its target; not a number without a wreck.
double missPct(const MissileCase& m, const std::map<std::string, SavedVessel>& saved) {
    auto w = saved.find(m.name + "-Wreck");
    if (w == saved.end() || !w->second.hasImpact) return NAN;
    return 100 * greatCircle(m.tlng, m.tlat, w->second.impactLng, w->second.impactLat) / m.range;
}

// The miss split along the pad's track to the target (positive: long) and across it (positive: right), per
// cent of the range; not numbers without a wreck.
void missParts(const MissileCase& m, const std::map<std::string, SavedVessel>& saved, double& along,
               double& cross) {
    along = cross = NAN;
    auto w = saved.find(m.name + "-Wreck");
    if (w == saved.end() || !w->second.hasImpact) return;
    const double d = greatCircle(m.lng, m.lat, w->second.impactLng, w->second.impactLat);
    const double off = (bearing(m.lng, m.lat, w->second.impactLng, w->second.impactLat) - m.azimuth) * kDeg;
    along = 100 * (d * std::cos(off) - m.range) / m.range;
    cross = 100 * d * std::sin(off) / m.range;
}

// The precise missiles' table: each flight's miss from its target in each host, then the worst and the
// median per model and host. Beside each realistic-model flight a companion from a pad halfway to the next
// flies the same way with a target far beyond any reach, so it burns all its propellant: where it lands is
// the reach in that direction. A target beyond it cannot be hit; such flights are listed apart, not counted
// as misses of the guidance. The companions fly in orbhost alone (the hosts agree on a full burn to a tenth
// of a per cent, and the real core's world of 80 is slow enough), their reach serves both hosts. Near its
// reach a flight's own end of burn lands some per cent apart from its companion's, with the way the body
// turns when the propellant runs out: so each host also flies the same world to kAfterBurn and a missile
// whose propellant ran out before it cut its engine is beyond its reach too ("dry" names the hosts: o, c).
// Returns whether every flight within reach lands within the goal.
constexpr double kPreciseGoalPct = 0.3;
constexpr double kFarBeyondReach = 2000e3; // [m]
constexpr double kAfterBurn = 150;         // [s] every missile's engine has stopped, none has landed

// Whether a missile saved in flight had no main propellant left: the hosts save a tank's level as
// "PRPLEVEL index:level ..." and leave an empty tank out.
bool ranDry(const MissileCase& m, const std::map<std::string, SavedVessel>& saved) {
    const auto v = saved.find(m.name);
    if (v == saved.end()) return false;
    std::istringstream levels(lineValue(v->second, "PRPLEVEL"));
    int tank = -1;
    char colon = 0;
    double level = 0;
    while (levels >> tank >> colon >> level)
        if (tank == 0) return level < 1e-3;
    return true;
}

bool reportPrecise(const Hosts& h, bool realCore) {
    CaseSet set{missileMatrix(), {}};
    const size_t flights = set.missiles.size();
    for (size_t i = 0; i < flights; ++i) {
        MissileCase& m = set.missiles[i];
        m.precise = true;
        if (!m.realistic) continue;
        MissileCase far = m;
        far.name = "F" + m.name.substr(1);
        far.lng += 0.05;
        far.range = kFarBeyondReach;
        pointAlong(far.lng, far.lat, far.azimuth, far.range, far.tlng, far.tlat);
        set.missiles.push_back(far);
    }
    std::map<std::string, SavedVessel> orb, real;
    if (!flyOrbhost(h, set, "precise", 800, true, orb)) return false;
    const CaseSet guided{{set.missiles.begin(), set.missiles.begin() + long(flights)}, {}};
    if (realCore && !flyReal(h, guided, "precise", 800, true, real)) return false;
    std::map<std::string, SavedVessel> orbBurnt, realBurnt;
    if (!flyOrbhost(h, set, "precise-burn", kAfterBurn, true, orbBurnt)) return false;
    if (realCore && !flyReal(h, guided, "precise-burn", kAfterBurn, true, realBurnt)) return false;
    auto reachKm = [&](const MissileCase& m, const std::map<std::string, SavedVessel>& saved) {
        if (!m.realistic) return double(INFINITY);
        for (size_t j = flights; j < set.missiles.size(); ++j)
            if (set.missiles[j].name == "F" + m.name.substr(1)) return landedKm(set.missiles[j], saved);
        return double(NAN);
    };
    std::printf("%-18s %-5s %5s %4s %4s %6s %3s | %9s %7s %7s | %9s %7s %7s\n", "flight", "model", "lat",
                "az", "km", "reach", "dry", "orbhost %", "along", "across", "core %", "along", "across");
    std::vector<double> misses[2][2]; // [model][host]
    int beyond[2][2] = {};
    bool ok = true;
    for (size_t i = 0; i < flights; ++i) {
        const MissileCase& m = set.missiles[i];
        const double o = missPct(m, orb), r = realCore ? missPct(m, real) : NAN;
        const double ro = reachKm(m, orb);
        double oa = NAN, oc = NAN, ra = NAN, rc = NAN;
        missParts(m, orb, oa, oc);
        if (realCore) missParts(m, real, ra, rc);
        const bool dry[2] = {ranDry(m, orbBurnt), realCore && ranDry(m, realBurnt)};
        const std::string dryHosts = std::string(dry[0] ? "o" : "") + (dry[1] ? "c" : "");
        std::printf("%-18s %-5s %5.1f %4.0f %4.0f %6.0f %3s | %9.3f %7.3f %7.3f | %9.3f %7.3f %7.3f\n",
                    m.name.c_str(), m.realistic ? "real" : "simpl", m.lat, m.azimuth, m.range / 1e3, ro,
                    dryHosts.empty() ? "-" : dryHosts.c_str(), o, oa, oc, r, ra, rc);
        for (int host = 0; host < (realCore ? 2 : 1); ++host) {
            if (m.range > 1e3 * ro || dry[host]) { // a missing companion counts as within reach
                ++beyond[m.realistic][host];
                continue;
            }
            // A missing wreck counts as an infinite miss, and fails.
            const double miss = host ? r : o;
            misses[m.realistic][host].push_back(std::isnan(miss) ? INFINITY : miss);
            ok = ok && miss <= kPreciseGoalPct;
        }
    }
    std::printf("\n%-10s %-9s %8s %8s %8s %13s\n", "model", "host", "flights", "worst %", "median %",
                "beyond reach");
    for (int model = 0; model < 2; ++model)
        for (int host = 0; host < (realCore ? 2 : 1); ++host) {
            std::vector<double> v = misses[model][host];
            std::sort(v.begin(), v.end());
            if (v.empty()) v.push_back(NAN);
            std::printf("%-10s %-9s %8zu %8.3f %8.3f %13d\n", model ? "realistic" : "simple",
                        host ? "core" : "orbhost", misses[model][host].size(), v.back(), v[v.size() / 2],
                        beyond[model][host]);
        }
    std::printf("precise: %s\n",
                ok ? "every flight within reach lands within 0.3 % of its range of its target"
                   : "a flight within reach misses its target by more than 0.3 % of its range");
    return ok;
}

// The plain bodies' table; returns whether each stayed within 0.5 % in altitude and 100 m in position of
// the real core (they have no attitude control that could magnify the real core's jitter).
bool reportProbes(const Hosts& h) {
    std::map<std::string, SavedVessel> orb, real;
    CaseSet set{{}, probeCases()};
    if (!flyBoth(h, set, "probes", 200, false, orb, real)) return false;
    std::printf("\n%-16s %-38s %6s | %10s %10s %10s\n", "body", "", "points", "alt %", "pos m", "pitch deg");
    bool ok = true;
    for (const ProbeCase& p : set.probes) {
        TrackDiff td = compareTracks(orb[p.name].track, real[p.name].track, 0.0);
        std::printf("%-16s %-38s %6d | %10.4f %10.1f %10.3f\n", p.name.c_str(), p.what.c_str(), td.points,
                    td.altPct, td.posM, td.attDeg);
        ok = ok && td.points > 0 && td.altPct <= 100 * kAltitudeGoal && td.posM <= 100.0;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    bool missiles = false, probes = false, check = false, precise = false, orbhostOnly = false;
    std::string keep;
    Hosts h{"", "", "1", "0.02"};
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--missiles")
            missiles = true;
        else if (a == "--probes")
            probes = true;
        else if (a == "--check")
            check = true;
        else if (a == "--precise")
            precise = true;
        else if (a == "--orbhost-only")
            orbhostOnly = true;
        else if (a == "--seed")
            h.seed = next();
        else if (a == "--step")
            h.step = next();
        else if (a == "--keep")
            keep = next();
        else {
            std::fputs(kUsage, a == "-h" || a == "--help" ? stdout : stderr);
            return a == "-h" || a == "--help" ? 0 : 2;
        }
    }
    if (!missiles && !probes) missiles = probes = true;
    if (precise && orbhostOnly) {
        Hosts o = h;
        o.scratch = keep.empty() ? (fs::temp_directory_path() / ("teski-precise-" + std::to_string(getpid())))
                                 : fs::path(keep);
        fs::create_directories(o.scratch);
        const bool ok = reportPrecise(o, false);
        if (keep.empty()) fs::remove_all(o.scratch);
        return ok ? 0 : 1;
    }
    if (const char* skip = std::getenv("TESKI_SKIP_REAL_CORE"); skip && *skip) {
        std::puts("teski-host-compare: skipped: TESKI_SKIP_REAL_CORE is set");
        return 77;
    }
    const std::string script = std::string(TESKI_SOURCE_DIR) + "/scripts/real-core.sh";
    if (run("bash " + quote(script) + " available") != 0) {
        std::puts(
            "teski-host-compare: skipped: the simulator's port (../shared/orbiter-port) is not beside the "
            "checkout");
        return 77;
    }
    h.scratch = keep.empty()
                    ? (fs::temp_directory_path() / ("teski-host-compare-" + std::to_string(getpid())))
                    : fs::path(keep);
    fs::create_directories(h.scratch);
    h.realRoot = (fs::path(TESKI_ORB_ROOT).parent_path() / "realcore-root").string();
    if (run("bash " + quote(script) + " root " + quote(h.realRoot)) != 0) {
        std::fprintf(stderr, "teski-host-compare: the real core's folder could not be made (%s)\n",
                     h.realRoot.c_str());
        return 1;
    }
    bool ok = true;
    if (precise) {
        ok = reportPrecise(h, true);
    } else if (check) {
        const Verdict v = reportMissiles(h, missileCheck(), "check");
        const bool probesOk = reportProbes(h);
        std::puts(probesOk ? "plain bodies: every one within 0.5 % and 100 m" : "plain bodies: one is off");
        ok = v.guard && probesOk;
    } else {
        if (missiles) ok = reportMissiles(h, missileMatrix(), "matrix").goal;
        if (probes) ok = reportProbes(h) && ok;
    }
    if (keep.empty()) fs::remove_all(h.scratch);
    return ok ? 0 : 1;
}
