// The ship blocks of a saved scenario, as the end-to-end checks read them: each ship's name, class and its
// parameter lines split into key and value. Independent of the host's and Zielmark's own readers, so the
// checks compare the programs against the file itself.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

struct ShipBlock {
    std::string name, className;
    std::vector<std::pair<std::string, std::string>> lines; // key, value (after one blank), in file order
    bool ended = false;                                     // closed by "END"

    // The last value of a key (keys compared as written), or nothing.
    std::optional<std::string> value(std::string_view key) const;
    // The last value of a key read as a number; nothing when absent or not a whole number text.
    std::optional<double> number(std::string_view key) const;
    std::vector<std::string> values(std::string_view key) const; // every value of a key, in order
};

// Ship blocks between BEGIN_SHIPS and END_SHIPS; CR LF or LF lines.
std::vector<ShipBlock> ReadShipBlocks(std::string_view scenarioText);
std::vector<ShipBlock> ShipsOfClass(const std::vector<ShipBlock>& ships, std::string_view className);

// A decimal number that fills the whole text (blanks around allowed); nothing otherwise.
std::optional<double> ParseNumber(std::string_view text);
// Splits at blanks, empty pieces dropped.
std::vector<std::string> Words(std::string_view text);

std::string ReadFile(const std::string& path);

} // namespace e2e
