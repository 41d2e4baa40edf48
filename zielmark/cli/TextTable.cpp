#include "TextTable.h"

#include "Unit_Utf8.h"

#include <algorithm>

void PrintTextTable(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned,
                    std::FILE* out) {
    std::vector<size_t> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], zm::Utf8Width(row[c]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            const std::string pad(widths[c] - zm::Utf8Width(row[c]), ' ');
            const bool right = c < rightAligned.size() && rightAligned[c];
            line += right ? pad + row[c] : row[c] + pad;
            if (c + 1 < row.size()) line += "  ";
        }
        line.erase(line.find_last_not_of(' ') + 1);
        std::fprintf(out, "%s\n", line.c_str());
    }
}
