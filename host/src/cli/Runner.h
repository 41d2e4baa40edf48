// Flies one scenario from the command line: keys at their times, progress, debug line, vessel creations and
// deletions as they happen, the end rule, the current-state file and a summary.
#pragma once

#include "cli/RunOptions.h"

#include <ostream>

namespace orb::cli {

// Returns the process exit status (0 done, 1 error in the scenario, root or a module).
int runScenario(const RunOptions& options, std::ostream& out, std::ostream& err);

} // namespace orb::cli
