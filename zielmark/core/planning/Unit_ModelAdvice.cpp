#include "Unit_ModelAdvice.h"

#include "Unit_Functions.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

constexpr TModelReachRow kMeasured[] = {
#include "ModelReach.inc"
};

std::string Km(double km) {
    return FormatFixed(static_cast<long double>(km), 0) + " km";
}

} // namespace

std::span<const TModelReachRow> ModelReachTable() {
    return kMeasured;
}

TModelExpectation ExpectedFlight(std::span<const TModelReachRow> table, bool realistic, double askedKm,
                                 bool precise) {
    TModelExpectation e;
    const TModelReachRow* below = nullptr;
    const TModelReachRow* above = nullptr;
    for (const TModelReachRow& r : table) {
        if (r.Realistic != realistic) continue;
        e.ReachKm = std::max(e.ReachKm, r.FlownKm);
        if (r.Precise != precise) continue;
        if (r.AskedKm <= askedKm) below = &r;
        if (r.AskedKm >= askedKm && !above) above = &r;
    }
    if (!below) below = above;
    if (!above) above = below;
    if (!below) return e; // the model or its cut-off is not in the table
    const double span = above->AskedKm - below->AskedKm;
    const double f = span > 0 ? (askedKm - below->AskedKm) / span : 0;
    e.FlownKm = below->FlownKm + f * (above->FlownKm - below->FlownKm);
    e.MissKm = below->MissKm + f * (above->MissKm - below->MissKm);
    return e;
}

std::string ModelAdvice(const TTesk& missile, std::span<const TModelReachRow> table) {
    if (!missile.IsAssigned()) return {};
    const double asked = static_cast<double>(missile.Range) / 1000.0;
    const TModelExpectation e = ExpectedFlight(table, missile.Realistic, asked, missile.Precise);
    if (e.ReachKm <= 0) return {};
    const std::string model = missile.Realistic ? "realistic" : "simple";
    if (asked > e.ReachKm)
        return missile.Name + ": " + Km(asked) + " is beyond the " + model + " model's reach (about " +
               Km(e.ReachKm) + ")";
    if (e.MissKm > BadMissShare * asked)
        return missile.Name + ": the " + model + " model" +
               (missile.Precise ? " with the precise cut-off" : "") + " flies about " + Km(e.FlownKm) +
               " when asked for " + Km(asked) + " (typical miss " + Km(e.MissKm) + ")";
    return {};
}

} // namespace zm
