#include "SourcePlace.h"

namespace scenario_files {

std::string SourcePlace::describe(const std::string& message) const {
    if (!line) return file + ": " + message;
    return file + ": line " + std::to_string(*line) + ": " + message;
}

} // namespace scenario_files
