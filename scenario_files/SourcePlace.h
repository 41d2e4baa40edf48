// Where in which file something was found, and the one way a message names it: "file: line N: what"
// ("file: what" when no line is known), as a parser's result carries its offset.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace scenario_files {

struct SourcePlace {
    std::string file;          // as shown to the user
    std::optional<size_t> line; // 1-based; none when the message is about the whole file

    // "file: line N: message", or "file: message" without a line.
    std::string describe(const std::string& message) const;
};

} // namespace scenario_files
