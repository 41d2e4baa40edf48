#include "BenchCommon.h"

#include "MissileBlockKeys.h"
#include "VesselClasses.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>

namespace fs = std::filesystem;

namespace bench {

fs::path ChooseRoot(const std::string& given) {
    if (!given.empty()) return given;
    if (const char* env = std::getenv("ORB_ROOT"); env && *env) return env;
    return TESKI_ORB_ROOT;
}

void TargetOf(const MissilePlan& m, double& lat, double& lon) {
    const double d2r = M_PI / 180, d = m.range / 6371010.0, az = m.heading * d2r;
    const double lat1 = m.lat * d2r, lon1 = m.lon * d2r;
    const double lat2 = std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(az));
    const double lon2 = lon1 + std::atan2(std::sin(az) * std::sin(d) * std::cos(lat1),
                                          std::cos(d) - std::sin(lat1) * std::sin(lat2));
    lat = lat2 / d2r;
    lon = std::remainder(lon2 / d2r, 360.0);
}

namespace {
std::string Fixed(double v, int decimals) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}
} // namespace

std::string ShipBlock(const MissilePlan& m) {
    double tlat = 0, tlon = 0;
    TargetOf(m, tlat, tlon);
    const auto line = [](const char* key, const std::string& value) {
        return "\n  " + std::string(key) + " " + value;
    };
    const auto missile = [&](MissileKey key, const std::string& value) {
        return line(MissileKeyName(key), value);
    };
    return m.name + ":" + TeskiClassName + line(HostKeyStatus, "Landed Earth") +
           line(HostKeyPosition, Fixed(m.lon, 13) + " " + Fixed(m.lat, 13)) +
           line(HostKeyHeading, Fixed(m.heading, 4)) + line(HostKeyFuel, "1.000") + "\n  " +
           MissileSeparator + missile(MissileKey::RANGE, Fixed(m.range, 1)) +
           missile(MissileKey::LAUNCHDELAY, std::to_string(m.delay)) +
           missile(MissileKey::REALISTIC, m.realistic ? "1" : "0") +
           missile(MissileKey::RELIABILITY, Fixed(m.reliability, 3)) +
           missile(MissileKey::LATITUDE_TARGET, Fixed(tlat, 13)) +
           missile(MissileKey::LONGITUDE_TARGET, Fixed(tlon, 13)) + missile(MissileKey::TARGET, m.target) +
           (m.precise ? missile(MissileKey::PRECISE, "1") : "") + "\nEND\n";
}

std::string Scenario(const std::string& ships) {
    return "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD "
           "61384.250000000000\nEND_ENVIRONMENT\n\nBEGIN_SHIPS\n" +
           ships + "END_SHIPS\n";
}

bool SeedMissileModule(const orb::World& world, unsigned seed) {
    const std::string path = (world.root() / "Modules" / "Teski.so").string();
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!lib) return false;
    auto seedFn = reinterpret_cast<void (*)(unsigned)>(dlsym(lib, "TeskiSeedRandom"));
    if (seedFn) seedFn(seed);
    dlclose(lib);
    return seedFn != nullptr;
}

std::vector<MissilePlan> TenMissileSalvo() {
    const double ranges[] = {50e3, 95e3, 140e3, 185e3, 230e3, 275e3, 315e3, 360e3, 420e3, 470e3};
    std::vector<MissilePlan> salvo;
    for (int i = 0; i < 10; ++i) {
        MissilePlan m;
        m.name = "Tesk-" + std::to_string(i + 1);
        m.lat = -31.1 + 0.15 * i;
        m.lon = 136.5 + 0.1 * (i % 4);
        m.heading = 20.0 + 33.0 * i;
        m.range = ranges[i];
        m.realistic = m.range <= 320e3 && i % 2 == 0;
        m.delay = i;
        m.target = "Target-" + std::to_string(i + 1);
        salvo.push_back(m);
    }
    return salvo;
}

size_t CountClass(const orb::World& world, const std::string& className) {
    size_t n = 0;
    for (size_t i = 0; i < world.vesselCount(); ++i)
        n += world.className(world.vesselHandle(i)) == className;
    return n;
}

} // namespace bench
