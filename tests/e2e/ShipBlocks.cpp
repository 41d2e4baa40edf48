#include "ShipBlocks.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace e2e {

std::optional<std::string> ShipBlock::value(std::string_view key) const {
    std::optional<std::string> found;
    for (const auto& [k, v] : lines)
        if (k == key) found = v;
    return found;
}

std::optional<double> ShipBlock::number(std::string_view key) const {
    const auto text = value(key);
    return text ? ParseNumber(*text) : std::nullopt;
}

std::vector<std::string> ShipBlock::values(std::string_view key) const {
    std::vector<std::string> out;
    for (const auto& [k, v] : lines)
        if (k == key) out.push_back(v);
    return out;
}

std::vector<ShipBlock> ReadShipBlocks(std::string_view text) {
    std::vector<ShipBlock> ships;
    bool inShips = false, inBlock = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!inShips) {
            inShips = line == "BEGIN_SHIPS";
            continue;
        }
        if (line == "END_SHIPS") break;
        if (!inBlock) {
            const size_t colon = line.find(':');
            if (colon == std::string_view::npos || line.empty() || line[0] == ' ') continue;
            ships.push_back(
                {std::string(line.substr(0, colon)), std::string(line.substr(colon + 1)), {}, false});
            inBlock = true;
        } else if (line == "END") {
            ships.back().ended = true;
            inBlock = false;
        } else {
            const size_t start = line.find_first_not_of(' ');
            if (start == std::string_view::npos) continue;
            line.remove_prefix(start);
            const size_t blank = line.find(' ');
            std::string key(line.substr(0, blank));
            std::string value = blank == std::string_view::npos ? "" : std::string(line.substr(blank + 1));
            ships.back().lines.emplace_back(std::move(key), std::move(value));
        }
    }
    return ships;
}

std::vector<ShipBlock> ShipsOfClass(const std::vector<ShipBlock>& ships, std::string_view className) {
    std::vector<ShipBlock> out;
    for (const ShipBlock& s : ships)
        if (s.className == className) out.push_back(s);
    return out;
}

std::optional<double> ParseNumber(std::string_view text) {
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

std::vector<std::string> Words(std::string_view text) {
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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace e2e
