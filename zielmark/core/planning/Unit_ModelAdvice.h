// Honest planning advice: what each flight model really does with an asked range, from the table that
// teski-model-reach measured in orbhost (ModelReach.inc). The planner warns with it but never refuses.
#pragma once

#include "Unit_Objects.h"

#include <span>
#include <string>

namespace zm {

// One measured range of one model and cut-off: kilometres; flown and miss are means over four directions.
struct TModelReachRow {
    bool Realistic;
    double AskedKm, FlownKm, MissKm, WorstMissKm;
    bool Precise = false; // flown with the precise cut-off
};

// The measured table, both models with either cut-off, each in rising asked range.
std::span<const TModelReachRow> ModelReachTable();

// What a model does with an asked range: the farthest it flies at all (with either cut-off: the precise one
// burns no more fuel than the engine holds), and the range it flies and its typical miss there with the
// chosen cut-off, interpolated between the measured ranges (held at the ends of the table; 0 when the
// table has no row of that cut-off).
struct TModelExpectation {
    double ReachKm = 0;
    double FlownKm = 0;
    double MissKm = 0;
};
TModelExpectation ExpectedFlight(std::span<const TModelReachRow> table, bool realistic, double askedKm,
                                 bool precise = false);

// A typical miss above this share of the asked range is a bad hit worth a word.
inline constexpr double BadMissShare = 0.05;

// The advice line for an assigned missile whose model cannot reach its target or hits it
// badly; empty when the model does well or the missile has no target.
std::string ModelAdvice(const TTesk& missile, std::span<const TModelReachRow> table = ModelReachTable());

} // namespace zm
