#include "ShipBlocks.h"

#include "TextLines.h"

#include <charconv>

namespace scenario_files {

std::optional<std::string> ShipBlock::value(std::string_view key) const {
    std::optional<std::string> found;
    for (const ShipLine& l : lines)
        if (l.key == key) found = l.value;
    return found;
}

std::optional<double> ShipBlock::number(std::string_view key) const {
    const auto text = value(key);
    return text ? parseNumber(*text) : std::nullopt;
}

std::vector<std::string> ShipBlock::values(std::string_view key) const {
    std::vector<std::string> out;
    for (const ShipLine& l : lines)
        if (l.key == key) out.push_back(l.value);
    return out;
}

std::vector<ShipBlock> readShipBlocks(std::string_view text) {
    std::vector<ShipBlock> ships;
    bool inShips = false, inBlock = false;
    forEachLine(text, [&](std::string_view line, size_t number) {
        if (!inShips) {
            inShips = line == "BEGIN_SHIPS";
            return true;
        }
        if (line == "END_SHIPS") return false;
        if (!inBlock) {
            const size_t colon = line.find(':');
            if (colon == std::string_view::npos || line.empty() || line[0] == ' ') return true;
            ShipBlock ship;
            ship.name = std::string(line.substr(0, colon));
            ship.className = std::string(line.substr(colon + 1));
            ship.headerLine = number;
            ships.push_back(std::move(ship));
            inBlock = true;
        } else if (line == "END") {
            ships.back().ended = true;
            inBlock = false;
        } else {
            const size_t start = line.find_first_not_of(' ');
            if (start == std::string_view::npos) return true;
            line.remove_prefix(start);
            const size_t blank = line.find(' ');
            ShipLine l;
            l.key = std::string(line.substr(0, blank));
            l.value = blank == std::string_view::npos ? "" : std::string(line.substr(blank + 1));
            l.number = number;
            ships.back().lines.push_back(std::move(l));
        }
        return true;
    });
    return ships;
}

std::vector<ShipBlock> shipsOfClass(const std::vector<ShipBlock>& ships, std::string_view className) {
    std::vector<ShipBlock> out;
    for (const ShipBlock& s : ships)
        if (s.className == className) out.push_back(s);
    return out;
}

std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return v;
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find_first_not_of(' ', pos);
        if (start == std::string_view::npos) break;
        size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        out.emplace_back(text.substr(start, end - start));
        pos = end;
    }
    return out;
}

} // namespace scenario_files
