#include "SavedTracks.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace hostcompare {

namespace {

bool startsWith(const std::string& s, const char* key) {
    std::string k = std::string(key) + " ";
    return s.compare(0, k.size(), k) == 0;
}

void readLine(SavedVessel& v, const std::string& s) {
    const char* rest = s.c_str();
    if (startsWith(s, "LATITUDE_LAST")) {
        v.impactLat = std::strtod(rest + 14, nullptr);
        v.hasImpact = true;
    } else if (startsWith(s, "LONGITUDE_LAST")) {
        v.impactLng = std::strtod(rest + 15, nullptr);
    } else if (startsWith(s, "RANGE_ACTUAL")) {
        v.rangeActual = std::strtod(rest + 13, nullptr);
    } else if (startsWith(s, "TRACK")) {
        TrackSample p;
        double idx = 0, phase = 0;
        if (v.className == "HostProbe") {
            double wx, wy, wz;
            if (std::sscanf(rest + 6, "%lf %lf %lf %lf %lf %lf %lf %lf %lf %lf", &idx, &p.t, &p.lng, &p.lat,
                            &p.alt, &p.pitch, &p.bank, &wx, &wy, &wz) >= 7)
                v.track.push_back(p);
        } else if (std::sscanf(rest + 6, "%lf %lf %lf %lf %lf", &idx, &p.lng, &p.lat, &p.alt, &phase) == 5) {
            p.t = idx;
            v.track.push_back(p);
        }
    }
}

} // namespace

std::map<std::string, SavedVessel> readSavedState(const std::string& path, std::string& error) {
    std::map<std::string, SavedVessel> out;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return out;
    }
    std::string line;
    bool ships = false;
    SavedVessel* cur = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t b = line.find_first_not_of(' ');
        std::string s = b == std::string::npos ? std::string() : line.substr(b);
        if (s == "BEGIN_SHIPS") {
            ships = true;
        } else if (s == "END_SHIPS") {
            ships = false;
        } else if (ships && !cur) {
            size_t colon = s.find(':');
            if (colon == std::string::npos) continue;
            cur = &out[s.substr(0, colon)];
            cur->className = s.substr(colon + 1);
        } else if (ships && s == "END") {
            cur = nullptr;
        } else if (cur) {
            cur->lines.push_back(s);
            readLine(*cur, s);
        }
    }
    if (out.empty()) error = path + ": no ships in it";
    return out;
}

std::string lineValue(const SavedVessel& v, const std::string& key) {
    for (const std::string& s : v.lines)
        if (startsWith(s, key.c_str())) return s.substr(key.size() + 1);
    return {};
}

} // namespace hostcompare
