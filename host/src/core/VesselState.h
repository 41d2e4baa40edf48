// The host's default vessel state handling: the generic scenario lines (parse and write), the state records
// VESSELSTATUS / VESSELSTATUS2 (fill and apply).
#pragma once

#include "Orbitersdk.h"

class Vessel;

namespace orb {

// Parses one generic line into a VESSELSTATUS2 (the default parser; unknown keys are ignored). Problems
// are recorded in v.parseErrors.
void parseDefaultLine(Vessel& v, const char* line, VESSELSTATUS2& vs);
// The obsolete parser into a VESSELSTATUS.
void parseDefaultLine(Vessel& v, const char* line, VESSELSTATUS& vs);
// A VESSELSTATUS2 prepared for a scenario load: version 2, port -1, every reset and list flag.
VESSELSTATUS2 scenarioStatus2();

void applyStatus(Vessel& v, const VESSELSTATUS& vs);
void applyStatus2(Vessel& v, const VESSELSTATUS2& vs);
void fillStatus(const Vessel& v, VESSELSTATUS& vs);
void fillStatus2(const Vessel& v, VESSELSTATUS2& vs);

// The generic lines of a vessel (STATUS, POS/HEADING/ALT/AROT or RPOS/RVEL/AROT/VROT, PRPLEVEL, THLEVEL).
void writeDefaultLines(const Vessel& v, std::string& out);

} // namespace orb
