#include "MissileScenarioKeys.h"

#include "ScenarioText.h"

#include <cstring>

namespace {

struct KeyName {
    const char* name;
    MissileKey key;
};

const KeyName keyNames[] = {
    {"RANGE", MissileKey::RANGE},
    {"LAUNCHDELAY", MissileKey::LAUNCHDELAY},
    {"REALISTIC", MissileKey::REALISTIC},
    {"LATITUDE_TARGET", MissileKey::LATITUDE_TARGET},
    {"LONGITUDE_TARGET", MissileKey::LONGITUDE_TARGET},
    {"TARGET", MissileKey::TARGET},
    {"AUTOPILOT", MissileKey::AUTOPILOT},
    {"RELIABILITY", MissileKey::RELIABILITY},
    {"STATEFLAGS", MissileKey::STATEFLAGS},
    {"POS0", MissileKey::POS0},
    {"HEADING_IDEAL", MissileKey::HEADING_IDEAL},
    {"HEADING_REALISTIC", MissileKey::HEADING_REALISTIC},
    {"RVEL0", MissileKey::RVEL0},
    {"COSS", MissileKey::COSS},
    {"SINS", MissileKey::SINS},
    {"MET_MECO", MissileKey::MET_MECO},
    {"MET", MissileKey::MET},
    {"MAX_ALTITUDE", MissileKey::MAX_ALTITUDE},
    {"MJD_LAUNCH", MissileKey::MJD_LAUNCH},
    {"FAILDOUBLES", MissileKey::FAILDOUBLES},
    {"CONTROLSFIXED", MissileKey::CONTROLSFIXED},
    {"FAILSTRING", MissileKey::FAILSTRING},
    {"FAILIDX1", MissileKey::FAILIDX1},
    {"FAILIDX2", MissileKey::FAILIDX2},
    {"FAILTYPE", MissileKey::FAILTYPE},
    {"MET_GPS", MissileKey::MET_GPS},
    {"TRACK", MissileKey::TRACK},
    {"PRECISE", MissileKey::PRECISE},
};

} // namespace

KeyMatch MatchMissileKey(const char* line) {
    if (std::strncmp(line, "------", 6) == 0) return {MissileKey::Separator, line + 6};
    const KeyName* best = nullptr;
    std::size_t bestLength = 0;
    for (const KeyName& k : keyNames) {
        const std::size_t n = KeyPrefixLength(line, k.name);
        if (n > bestLength) {
            best = &k;
            bestLength = n;
        }
    }
    if (!best) return {MissileKey::None, line};
    return {best->key, SkipBlanks(line + bestLength)};
}
