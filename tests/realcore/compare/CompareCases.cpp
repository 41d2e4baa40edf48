#include "CompareCases.h"

#include <cmath>
#include <cstdio>

namespace hostcompare {

double greatCircle(double lng1, double lat1, double lng2, double lat2) {
    double p1 = lat1 * kDeg, p2 = lat2 * kDeg, dl = (lng2 - lng1) * kDeg;
    double a = std::sin((p2 - p1) / 2), b = std::sin(dl / 2);
    double h = a * a + std::cos(p1) * std::cos(p2) * b * b;
    return 2 * kEarthRadius * std::asin(std::sqrt(std::min(1.0, h)));
}

double bearing(double lng1, double lat1, double lng2, double lat2) {
    double p1 = lat1 * kDeg, p2 = lat2 * kDeg, dl = (lng2 - lng1) * kDeg;
    double az = std::atan2(std::sin(dl) * std::cos(p2),
                           std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
    return std::fmod(az / kDeg + 360.0, 360.0);
}

void pointAlong(double lng, double lat, double azimuth, double dist, double& outLng, double& outLat) {
    double p = lat * kDeg, az = azimuth * kDeg, d = dist / kEarthRadius;
    double p2 = std::asin(std::sin(p) * std::cos(d) + std::cos(p) * std::sin(d) * std::cos(az));
    double l2 = lng * kDeg + std::atan2(std::sin(az) * std::sin(d) * std::cos(p),
                                        std::cos(d) - std::sin(p) * std::sin(p2));
    outLat = p2 / kDeg;
    outLng = std::remainder(l2 / kDeg, 360.0);
}

namespace {

MissileCase missile(std::string name, bool realistic, double lng, double lat, double azimuth, double range) {
    MissileCase m{std::move(name), realistic, lng, lat, azimuth, range};
    pointAlong(lng, lat, azimuth, range, m.tlng, m.tlat);
    return m;
}

} // namespace

std::vector<MissileCase> missileMatrix() {
    std::vector<MissileCase> out;
    const double lats[] = {-31.0, 55.0};
    const double azimuths[] = {0, 90, 180, 270};
    const double ranges[] = {50e3, 150e3, 250e3, 350e3, 450e3};
    int n = 0;
    for (int model = 0; model < 2; ++model)
        for (double lat : lats)
            for (double az : azimuths)
                for (double r : ranges) {
                    char name[32];
                    std::snprintf(name, sizeof name, "%c%02d-%+03.0f-%03.0f-%03.0f", model ? 'R' : 'S',
                                  n % 40, lat, az, r / 1e3);
                    // Each pad a tenth of a degree east of the one before, so no two missiles meet.
                    out.push_back(missile(name, model == 1, 20.0 + 0.1 * n, lat, az, r));
                    ++n;
                }
    return out;
}

std::vector<MissileCase> missileCheck() {
    return {missile("Check-simple", false, 136.52, -30.95, 279.26, 300e3),
            missile("Check-realistic", true, 136.60, -30.95, 14.73, 300e3)};
}

std::vector<ProbeCase> probeCases() {
    return {
        {"Probe-ballistic", "drag-free ballistic body",
         "  STATUS Orbiting Earth\r\n  RPOS 6471010.00 0.00 0.00\r\n  RVEL 1500.0000 0.0000 2500.0000\r\n"
         "  AROT 0.00 0.00 0.00\r\n  DRAG 0\r\n"},
        {"Probe-fall", "body falling through the atmosphere",
         "  STATUS Orbiting Earth\r\n  RPOS 0.00 6411010.00 0.00\r\n  RVEL 0.0000 -200.0000 1500.0000\r\n"
         "  AROT 0.00 0.00 0.00\r\n  DRAG 1\r\n"},
        {"Probe-lift", "landed body lifted by thrust",
         "  STATUS Landed Earth\r\n  POS 30.0000000 -20.0000000\r\n  HEADING 45.00\r\n  PRPLEVEL "
         "0:1.000000\r\n"
         "  DRAG 1\r\n"
         "  THRUST 600000 1\r\n"},
        {"Probe-spin", "spinning body",
         "  STATUS Orbiting Earth\r\n  RPOS 0.00 0.00 6671010.00\r\n  RVEL 7700.0000 0.0000 0.0000\r\n"
         "  AROT 10.00 20.00 30.00\r\n  VROT 5.0000 -10.0000 90.0000\r\n  DRAG 0\r\n"},
    };
}

std::string scenarioText(const CaseSet& set) {
    std::string focus = !set.missiles.empty() ? set.missiles.front().name : set.probes.front().name;
    char line[512];
    std::snprintf(line, sizeof line, "%.10f", set.dateMjd);
    std::string s =
        "BEGIN_DESC\r\nThe host comparison: the same flights in orbhost and the simulator's core.\r\n"
        "END_DESC\r\n\r\nBEGIN_ENVIRONMENT\r\n  System Sol\r\n  Date MJD " +
        std::string(line) + "\r\nEND_ENVIRONMENT\r\n\r\nBEGIN_FOCUS\r\n  Ship " + focus +
        "\r\nEND_FOCUS\r\n\r\nBEGIN_SHIPS\r\n";
    for (const MissileCase& m : set.missiles) {
        std::snprintf(line, sizeof line,
                      "%s:Teski\r\n  STATUS Landed Earth\r\n  POS %.10f %.10f\r\n  HEADING %.4f\r\n"
                      "  FUEL 1.000\r\n  ------\r\n  RANGE %.1f\r\n  LAUNCHDELAY %.0f\r\n  REALISTIC %d\r\n"
                      "  LATITUDE_TARGET %.10f\r\n  LONGITUDE_TARGET %.10f\r\n  TARGET %s-target\r\n"
                      "  RELIABILITY 100\r\n%sEND\r\n",
                      m.name.c_str(), m.lng, m.lat, m.azimuth, m.range, m.delay, m.realistic ? 1 : 0, m.tlat,
                      m.tlng, m.name.c_str(), m.precise ? "  PRECISE 1\r\n" : "");
        s += line;
    }
    for (const ProbeCase& p : set.probes)
        s += p.name + ":HostProbe\r\n" + p.state + "END\r\n";
    return s + "END_SHIPS\r\n";
}

} // namespace hostcompare
