#include "ShipBlocks.h"

#include "TextLines.h"

#include <algorithm>
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

std::vector<std::string> ShipBlock::texts() const {
    std::vector<std::string> out;
    for (const ShipLine& l : lines)
        out.push_back(l.text);
    return out;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool startsWithAnyCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (lower(s[i]) != lower(prefix[i])) return false;
    return true;
}

// What each rule makes of a line and of the tags.
struct Rule {
    ShipListRule rule;
    bool simulator() const { return rule == ShipListRule::AsTheSimulatorReads; }

    std::string_view clean(std::string_view line) const {
        if (!simulator()) return line;
        return trimmed(line.substr(0, line.find(';')));
    }
    bool isEnd(std::string_view line) const {
        return simulator() ? line.size() == 3 && startsWithAnyCase(line, "END") : line == "END";
    }
    bool isEndShips(std::string_view line) const {
        return simulator() ? startsWithAnyCase(line, "END_SHIPS") : line == "END_SHIPS";
    }
};

ShipLine lineOf(std::string_view text, size_t number) {
    ShipLine l;
    l.text = std::string(text);
    l.number = number;
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return l;
    text.remove_prefix(start);
    const size_t blank = text.find(' ');
    l.key = std::string(text.substr(0, blank));
    l.value = blank == std::string_view::npos ? "" : std::string(text.substr(blank + 1));
    return l;
}

} // namespace

ShipList scanShipList(const std::vector<std::string>& lines, size_t beginIndex, ShipListRule ruleName) {
    const Rule rule{ruleName};
    ShipList list;
    auto fault = [&](size_t number, std::string why) {
        list.fault = {number, std::move(why)};
        return list;
    };
    for (size_t i = beginIndex + 1; i < lines.size(); ++i) {
        const std::string_view header = rule.clean(lines[i]);
        if (header.empty()) continue;
        if (rule.isEndShips(header)) {
            list.nextLine = i + 1;
            return list;
        }
        const size_t colon = header.find(':');
        if (!rule.simulator() && (colon == std::string_view::npos || header[0] == ' ')) continue;
        ShipBlock ship;
        const auto piece = [&](std::string_view s) { return std::string(rule.simulator() ? trimmed(s) : s); };
        ship.name = piece(header.substr(0, colon));
        if (colon != std::string_view::npos) ship.className = piece(header.substr(colon + 1));
        ship.headerLine = i + 1;
        if (rule.simulator() && ship.name.empty()) return fault(i + 1, "ship line without a vessel name");
        if (rule.simulator() && colon != std::string_view::npos && ship.className.empty())
            return fault(i + 1, "ship line \"" + std::string(header) + "\" without a class name");
        for (++i; i < lines.size(); ++i) {
            const std::string_view line = rule.clean(lines[i]);
            if (rule.isEnd(line)) {
                ship.ended = true;
                break;
            }
            if (rule.isEndShips(line)) break;
            // The host hands a block's lines on as they stand; the others have no use for blank ones.
            if (rule.simulator() || lines[i].find_first_not_of(' ') != std::string::npos)
                ship.lines.push_back(lineOf(lines[i], i + 1));
        }
        list.ships.push_back(std::move(ship));
        const ShipBlock& read = list.ships.back();
        if (read.ended) continue;
        if (rule.simulator())
            return fault(read.headerLine,
                         "ship block of \"" + read.name + "\" has no END line (file truncated?)");
        list.nextLine = std::min(i + 1, lines.size()); // at "END_SHIPS" or cut at the end of the file
        return list;
    }
    list.nextLine = lines.size();
    if (rule.simulator()) return fault(beginIndex + 1, "BEGIN_SHIPS has no END_SHIPS (file truncated?)");
    return list;
}

std::vector<ShipBlock> readShipBlocks(std::string_view text) {
    const std::vector<std::string> lines = splitLines(text);
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == "BEGIN_SHIPS") return scanShipList(lines, i, ShipListRule::AsWritten).ships;
    return {};
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
