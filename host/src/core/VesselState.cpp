#include "core/VesselState.h"

#include "core/Convert.h"
#include "core/Text.h"
#include "core/Vessel.h"
#include "core/WorldImpl.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace orb {

namespace {

const double kRad = PI / 180.0;

// Problems during a scenario load fail the load (with file and line); at other times they are logged.
void problem(Vessel& v, std::string msg) {
    if (v.parseLineIndex >= 0)
        v.parseErrors.emplace_back(v.parseLineIndex, std::move(msg));
    else
        v.world.log.push_back(v.name + ": " + msg);
}

// Reads exactly n numbers after the key; records a problem when they are not there.
bool numbers(Vessel& v, std::string_view key, std::string_view rest, double* out, int n) {
    if (text::parseDoubles(rest, out, n) == n) return true;
    problem(v, std::string(key) + ": expected " + std::to_string(n) + (n == 1 ? " number" : " numbers"));
    return false;
}

std::string shortest(double x) {
    char buf[32];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, x);
    return ec == std::errc() ? std::string(buf, p) : std::string("?");
}

// Reads n numbers after the key whose size stays within limit. Larger values (1e308) are finite, but the
// state made of them is not: squares and unit conversions overflow, and the vessel would fly and be saved as
// inf and nan.
bool bounded(Vessel& v, std::string_view key, std::string_view rest, double* out, int n, double limit) {
    if (!numbers(v, key, rest, out, n)) return false;
    for (int i = 0; i < n; ++i)
        if (std::fabs(out[i]) > limit) {
            problem(v, std::string(key) + ": " + shortest(out[i]) + " is out of range (at most " +
                           shortest(limit) + " in size)");
            return false;
        }
    return true;
}

// The largest component of a vector, or not a number when one is.
double largest(const phys::Vec3& a) {
    if (!std::isfinite(a.x + a.y + a.z)) return NAN;
    return std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(a.z)});
}

// A propellant level as the simulator reads it (sscanf "%lf" of the C library it is built with): the
// simulator's own text for a level that is not a number, "-1.#IND00" (and the other forms "1.#INF00",
// "1.#QNAN0", "1.#SNAN0"), reads as the number before the '#', "-1." or "1." (and -1, like every level below
// 0, leaves the tank empty). Every other text is a number as everywhere else, or nothing.
std::optional<double> simulatorLevel(std::string_view text) {
    const size_t hash = text.find('#');
    if (hash != std::string_view::npos && hash > 0 && text[hash - 1] == '.') {
        const std::string_view kind = text.substr(hash + 1);
        for (std::string_view form : {"IND", "INF", "QNAN", "SNAN"})
            if (kind.substr(0, form.size()) == form &&
                kind.substr(form.size()).find_first_not_of("0123456789") == std::string_view::npos)
                return text::parseDouble(text.substr(0, hash - 1));
    }
    return text::parseDouble(text);
}

// A thruster level as the simulator saves it (a stream's default notation, 6 significant digits: "0.75",
// "1e-07"), so it reads back as the same text; "" for a level that would read back as zero (or not at all),
// which the simulator leaves out like an unlit thruster.
std::string thrusterLevelText(double level) {
    char buf[32];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, level, std::chars_format::general, 6);
    if (ec != std::errc()) return "";
    std::string s(buf, p);
    const std::optional<double> readBack = text::parseDouble(s);
    return readBack && *readBack != 0 ? s : "";
}

// "i:level i:level ..." pairs; readLevel reads one level's text.
template <class Spec>
void levelList(Vessel& v, std::string_view key, std::string_view rest, std::vector<Spec>& out,
               std::optional<double> (*readLevel)(std::string_view) = text::parseDouble) {
    while (true) {
        std::string_view next;
        std::string_view item = text::firstWord(rest, &next);
        if (item.empty()) break;
        size_t colon = item.find(':');
        auto idx = colon == std::string_view::npos ? std::nullopt : text::parseInt(item.substr(0, colon));
        auto lvl = colon == std::string_view::npos ? std::nullopt : readLevel(item.substr(colon + 1));
        if (!idx || !lvl || *idx < 0) {
            problem(v, std::string(key) + ": \"" + std::string(item) + "\" is not index:level");
            return;
        }
        out.push_back(Spec{DWORD(*idx), std::clamp(*lvl, 0.0, 1.0)});
        rest = next;
    }
}

bool knownBody(Vessel& v, std::string_view body) {
    if (body == "Earth") return true;
    problem(v, "STATUS: unknown body \"" + std::string(body) + "\" (this host knows Earth only)");
    return false;
}

template <class Status> void setListPointers(Vessel& v, Status& vs) {
    vs.nfuel = DWORD(v.fuelSpecs.size());
    vs.fuel = v.fuelSpecs.empty() ? nullptr : v.fuelSpecs.data();
    vs.nthruster = DWORD(v.thrustSpecs.size());
    vs.thruster = v.thrustSpecs.empty() ? nullptr : v.thrustSpecs.data();
}

} // namespace

VESSELSTATUS2 scenarioStatus2() {
    VESSELSTATUS2 vs{};
    vs.version = 2;
    vs.port = -1;
    vs.flag = VS_FUELRESET | VS_FUELLIST | VS_THRUSTRESET | VS_THRUSTLIST | VS_DOCKINFOLIST;
    return vs;
}

void parseDefaultLine(Vessel& v, const char* lineText, VESSELSTATUS2& vs) {
    if (!lineText) return;
    std::string_view rest;
    std::string_view key = text::firstWord(text::stripComment(lineText), &rest);
    double d[3];
    if (text::iequals(key, "STATUS")) {
        std::string_view body;
        std::string_view mode = text::firstWord(rest, &body);
        if (text::iequals(mode, "Landed")) {
            if (!knownBody(v, body)) return;
            vs.status = 1;
            vs.rbody = earthHandle();
            vs.arot.x = 10; // orientation not given (yet)
        } else if (text::iequals(mode, "Orbiting")) {
            if (!knownBody(v, body)) return;
            vs.status = 0;
            vs.rbody = earthHandle();
        } else {
            problem(v, "STATUS: expected Landed or Orbiting and a body");
        }
    } else if (text::iequals(key, "BASE")) {
        problem(v, "BASE " + std::string(rest) + ": surface bases are not known to this host");
    } else if (text::iequals(key, "POS")) {
        if (bounded(v, key, rest, d, 2, kMaxScenarioAngle))
            vs.surf_lng = d[0] * kRad, vs.surf_lat = d[1] * kRad;
    } else if (text::iequals(key, "HEADING")) {
        if (bounded(v, key, rest, d, 1, kMaxScenarioAngle)) vs.surf_hdg = d[0] * kRad;
    } else if (text::iequals(key, "ALT")) {
        if (bounded(v, key, rest, d, 1, kMaxScenarioDistance)) vs.vrot.x = d[0];
    } else if (text::iequals(key, "AROT")) {
        if (bounded(v, key, rest, d, 3, kMaxScenarioAngle))
            vs.arot = _V(d[0] * kRad, d[1] * kRad, d[2] * kRad);
    } else if (text::iequals(key, "RPOS")) {
        if (bounded(v, key, rest, d, 3, kMaxScenarioDistance)) vs.rpos = _V(d[0], d[1], d[2]);
    } else if (text::iequals(key, "RVEL")) {
        if (bounded(v, key, rest, d, 3, kMaxScenarioSpeed)) vs.rvel = _V(d[0], d[1], d[2]);
    } else if (text::iequals(key, "VROT")) {
        if (bounded(v, key, rest, d, 3, kMaxScenarioAngle))
            vs.vrot = _V(d[0] * kRad, d[1] * kRad, d[2] * kRad);
    } else if (text::iequals(key, "ELEMENTS")) {
        problem(v, "ELEMENTS: orbital elements are not supported by this host; give RPOS and RVEL");
    } else if (text::iequals(key, "FUEL")) {
        if (numbers(v, key, rest, d, 1)) v.fuelSpecs.push_back({DWORD(-1), std::clamp(d[0], 0.0, 1.0)});
        setListPointers(v, vs);
    } else if (text::iequals(key, "PRPLEVEL")) {
        levelList(v, key, rest, v.fuelSpecs, simulatorLevel);
        setListPointers(v, vs);
    } else if (text::iequals(key, "THLEVEL")) {
        levelList(v, key, rest, v.thrustSpecs);
        setListPointers(v, vs);
    }
    // Every other line (RCSMODE, AFCMODE, NAVFREQ, XPDR, IDS, DOCKINFO, module keys, ...) has no effect here.
}

void parseDefaultLine(Vessel& v, const char* lineText, VESSELSTATUS& vs) {
    if (!lineText) return;
    VESSELSTATUS2 vs2 = scenarioStatus2();
    vs2.status = vs.status;
    vs2.arot = vs.arot;
    vs2.vrot = vs.vrot;
    vs2.rpos = vs.rpos;
    vs2.rvel = vs.rvel;
    vs2.surf_lng = vs.vdata[0].x, vs2.surf_lat = vs.vdata[0].y, vs2.surf_hdg = vs.vdata[0].z;
    size_t nfuel = v.fuelSpecs.size();
    parseDefaultLine(v, lineText, vs2);
    vs.status = vs2.status;
    vs.rbody = vs2.rbody ? vs2.rbody : vs.rbody;
    vs.arot = vs2.arot, vs.vrot = vs2.vrot, vs.rpos = vs2.rpos, vs.rvel = vs2.rvel;
    vs.vdata[0] = _V(vs2.surf_lng, vs2.surf_lat, vs2.surf_hdg);
    if (v.fuelSpecs.size() > nfuel) {
        vs.fuel = v.fuelSpecs.back().level;
        vs.flag[0] |= 2;
    }
}

namespace {

void applyFuel(Vessel& v, DWORD flag, DWORD n, const VESSELSTATUS2::FUELSPEC* list) {
    auto& tanks = v.body.tanks;
    if (flag & VS_FUELRESET)
        for (auto& t : tanks)
            t.mass = 0;
    if ((flag & VS_FUELLIST) && list)
        for (DWORD i = 0; i < n; ++i) {
            double lvl = std::clamp(list[i].level, 0.0, 1.0);
            if (list[i].idx == DWORD(-1))
                for (auto& t : tanks)
                    t.mass = lvl * t.maxMass;
            else if (list[i].idx < tanks.size())
                tanks[list[i].idx].mass = lvl * tanks[list[i].idx].maxMass;
        }
    v.body.mass = phys::totalMass(v.body);
}

void applyThrust(Vessel& v, DWORD flag, DWORD n, const VESSELSTATUS2::THRUSTSPEC* list) {
    if (flag & VS_THRUSTRESET)
        for (size_t i = 0; i < v.body.thrusters.size(); ++i)
            phys::setThrusterLevel(v.body, int(i), 0);
    if ((flag & VS_THRUSTLIST) && list)
        for (DWORD i = 0; i < n; ++i)
            if (list[i].idx < v.body.thrusters.size())
                phys::setThrusterLevel(v.body, int(list[i].idx), list[i].level);
}

void setGroupType(Vessel& v, int type, double level) {
    for (size_t g = 0; g < v.body.groups.size(); ++g)
        if (v.body.groups[g].type == type) phys::setGroupLevel(v.body, int(g), level);
}

} // namespace

void applyStatus(Vessel& v, const VESSELSTATUS& vs) {
    double t = v.world.simt;
    if (vs.flag[0] & 2 && !v.body.tanks.empty()) {
        v.body.tanks[0].mass = std::clamp(vs.fuel, 0.0, 1.0) * v.body.tanks[0].maxMass;
        v.body.mass = phys::totalMass(v.body);
    }
    if (vs.flag[0] & 1) {
        setGroupType(v, THGROUP_MAIN, vs.eng_main > 0 ? vs.eng_main : 0);
        setGroupType(v, THGROUP_RETRO, vs.eng_main < 0 ? -vs.eng_main : 0);
        setGroupType(v, THGROUP_HOVER, vs.eng_hovr);
    }
    if (vs.status == 1)
        phys::setLanded(v.body, vs.vdata[0].x, vs.vdata[0].y, vs.vdata[0].z, t);
    else
        phys::setFreeFlight(v.body, toVec(vs.rpos), toVec(vs.rvel), toVec(vs.arot), toVec(vs.vrot), t);
}

void applyStatus2(Vessel& v, const VESSELSTATUS2& vs) {
    double t = v.world.simt;
    applyFuel(v, vs.flag, vs.nfuel, vs.fuel);
    applyThrust(v, vs.flag, vs.nthruster, vs.thruster);
    if (vs.status == 1) {
        if (vs.arot.x <= 4)
            phys::setLandedOriented(v.body, vs.surf_lng, vs.surf_lat, vs.surf_hdg, toVec(vs.arot), vs.vrot.x,
                                    t);
        else
            phys::setLanded(v.body, vs.surf_lng, vs.surf_lat, vs.surf_hdg, t);
    } else {
        phys::setFreeFlight(v.body, toVec(vs.rpos), toVec(vs.rvel), toVec(vs.arot), toVec(vs.vrot), t);
    }
}

void fillStatus(const Vessel& v, VESSELSTATUS& vs) {
    phys::StatusInfo s = phys::getStatus(v.body, v.world.inPostStep);
    vs = VESSELSTATUS{};
    vs.rpos = toV3(s.rpos);
    vs.rvel = toV3(s.rvel);
    vs.vrot = toV3(s.vrot);
    vs.arot = toV3(s.arot);
    const auto& tanks = v.body.tanks;
    vs.fuel = !tanks.empty() && tanks[0].maxMass > 0 ? tanks[0].mass / tanks[0].maxMass : 0;
    auto typeLevel = [&](int type) {
        int g = phys::findGroup(v.body, type);
        return g < 0 ? 0.0 : phys::groupLevel(v.body, g);
    };
    vs.eng_main = typeLevel(THGROUP_MAIN) - typeLevel(THGROUP_RETRO);
    vs.eng_hovr = typeLevel(THGROUP_HOVER);
    vs.rbody = earthHandle();
    vs.status = s.status;
    vs.vdata[0] = _V(s.surfLng, s.surfLat, s.surfHdg);
}

void fillStatus2(const Vessel& v, VESSELSTATUS2& vs) {
    phys::StatusInfo s = phys::getStatus(v.body, v.world.inPostStep);
    vs.rbody = earthHandle();
    vs.base = nullptr;
    vs.port = -1;
    vs.status = s.status;
    vs.rpos = toV3(s.rpos);
    vs.rvel = toV3(s.rvel);
    vs.vrot = toV3(s.vrot);
    vs.arot = toV3(s.arot);
    vs.surf_lng = s.surfLng, vs.surf_lat = s.surfLat, vs.surf_hdg = s.surfHdg;
    const auto& b = v.body;
    if (vs.flag & VS_FUELLIST) {
        // As in the simulator: a list the caller did not provide is allocated here and owned by the caller.
        if (!vs.fuel) vs.fuel = new VESSELSTATUS2::FUELSPEC[b.tanks.size() ? b.tanks.size() : 1];
        vs.nfuel = DWORD(b.tanks.size());
        for (size_t i = 0; i < b.tanks.size(); ++i)
            vs.fuel[i] = {DWORD(i), b.tanks[i].maxMass > 0 ? b.tanks[i].mass / b.tanks[i].maxMass : 0};
    }
    if (vs.flag & VS_THRUSTLIST) {
        if (!vs.thruster)
            vs.thruster = new VESSELSTATUS2::THRUSTSPEC[b.thrusters.size() ? b.thrusters.size() : 1];
        vs.nthruster = DWORD(b.thrusters.size());
        for (size_t i = 0; i < b.thrusters.size(); ++i)
            vs.thruster[i] = {DWORD(i), b.thrusters[i].level};
    }
    if (vs.flag & VS_DOCKINFOLIST) vs.ndockinfo = 0;
    vs.xpdr = 0;
}

std::string beyondScenarioLimits(const phys::Body& b) {
    if (b.landed) return {};
    const struct {
        const char* what;
        double size, limit, unit;
        const char* units;
    } checks[] = {{"position", largest(b.pos), kMaxScenarioDistance, 1, "m"},
                  {"velocity", largest(b.vel), kMaxScenarioSpeed, 1, "m/s"},
                  {"angular velocity", largest(b.omega), kMaxScenarioAngle, kRad, "degrees per second"}};
    for (const auto& c : checks)
        if (!(c.size <= c.limit * c.unit))
            return std::string(c.what) + " of " + shortest(c.size / c.unit) + " " + c.units +
                   " is more than the " + shortest(c.limit) + " " + c.units + " a scenario can hold";
    return {};
}

void writeDefaultLines(const Vessel& v, std::string& out) {
    auto line = [&](std::string_view key, const std::string& value) {
        out += "  ";
        out += key;
        out += ' ';
        out += value;
        out += "\r\n";
    };
    auto vec = [](VECTOR3 a, double scale, int decimals) {
        return text::fixed(a.x * scale, decimals) + " " + text::fixed(a.y * scale, decimals) + " " +
               text::fixed(a.z * scale, decimals);
    };
    phys::StatusInfo s = phys::getStatus(v.body);
    const double deg = 180.0 / PI;
    if (s.status == 1) {
        line("STATUS", "Landed Earth");
        // Angles that round onto their wrap line are written as the next load would write them.
        const std::string lng = text::fixed(s.surfLng * deg, 7), hdg = text::fixed(s.surfHdg * deg, 2);
        line("POS", (lng == "-180.0000000" ? "180.0000000" : lng) + " " + text::fixed(s.surfLat * deg, 7));
        line("HEADING", hdg == "360.00" ? "0.00" : hdg);
        line("ALT", text::fixed(s.vrot.x, 3));
        line("AROT", vec(toV3(s.arot), deg, 3));
    } else {
        line("STATUS", "Orbiting Earth");
        line("RPOS", vec(toV3(s.rpos), 1, 3));
        line("RVEL", vec(toV3(s.rvel), 1, 4));
        line("AROT", vec(toV3(s.arot), deg, 3));
        if (phys::dot(s.vrot, s.vrot) > 1e-8) line("VROT", vec(toV3(s.vrot), deg, 4));
    }
    std::string prp;
    for (size_t i = 0; i < v.body.tanks.size(); ++i) {
        const auto& t = v.body.tanks[i];
        if (t.mass <= 0 || t.maxMass <= 0) continue;
        prp += (prp.empty() ? "" : " ") + std::to_string(i) + ":" + text::fixed(t.mass / t.maxMass, 6);
    }
    if (!prp.empty()) line("PRPLEVEL", prp);
    std::string thl;
    for (size_t i = 0; i < v.body.thrusters.size(); ++i) {
        const std::string lvl = thrusterLevelText(v.body.thrusters[i].level);
        if (!lvl.empty()) thl += (thl.empty() ? "" : " ") + std::to_string(i) + ":" + lvl;
    }
    if (!thl.empty()) line("THLEVEL", thl);
}

} // namespace orb
