// A file's text as lines: LF or CR LF ends a line (one CR before the LF is dropped), and a last line
// without an end is a line too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenario_files {

std::vector<std::string> splitLines(std::string_view text);

// Calls visit(line, number) for each line without copying it, numbers from 1; stops early when visit
// returns false.
template <class Visit> void forEachLine(std::string_view text, Visit visit) {
    size_t number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        if (!visit(line, ++number)) return;
    }
}

// Every line followed by CR LF, as scenario files are written.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

} // namespace scenario_files
