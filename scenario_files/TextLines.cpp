#include "TextLines.h"

namespace scenario_files {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    forEachLine(text, [&](std::string_view line, size_t) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) {
        s += l;
        s += "\r\n";
    }
    return s;
}

} // namespace scenario_files
