#include "TextTable.h"

#include "Unit_Utf8.h"

#include <algorithm>

std::string TerminalSafe(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F) {
            out += {'\\', 'x', Hex[c >> 4], Hex[c & 15]};
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) { // U+0080..U+009F in UTF-8
            out += {'\\', 'u', '0', '0', Hex[next >> 4], Hex[next & 15]};
            ++i;
        } else {
            out += char(c);
        }
    }
    return out;
}

void PrintTextTable(const std::vector<std::vector<std::string>>& given, const std::vector<bool>& rightAligned,
                    std::FILE* out) {
    std::vector<std::vector<std::string>> rows = given;
    for (auto& row : rows)
        for (std::string& cell : row)
            cell = TerminalSafe(cell);
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
