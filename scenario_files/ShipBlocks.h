// The ship blocks of a scenario as written: between the lines "BEGIN_SHIPS" and "END_SHIPS", a header line
// "NAME:CLASS" (not indented) opens a vessel's block, its parameter lines follow and the line "END" closes
// it. Each block keeps its line numbers, so what is read of it can name its place. Lines are compared as
// written (letter case and blanks count); readers with a wider grammar keep their own scan.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario_files {

struct ShipLine {
    std::string key, value; // split at the first blank after the indentation; value empty without one
    size_t number = 0;      // the file's line number
};

struct ShipBlock {
    std::string name, className;
    size_t headerLine = 0;       // the file's line number of "NAME:CLASS"
    std::vector<ShipLine> lines; // in file order, blank lines left out
    bool ended = false;          // closed by "END"

    // The last value of a key (keys compared as written), or nothing.
    std::optional<std::string> value(std::string_view key) const;
    // The last value of a key read as a number; nothing when absent or not a whole number text.
    std::optional<double> number(std::string_view key) const;
    std::vector<std::string> values(std::string_view key) const; // every value of a key, in order
};

// The blocks of the ship list; CR LF or LF lines.
std::vector<ShipBlock> readShipBlocks(std::string_view scenarioText);
std::vector<ShipBlock> shipsOfClass(const std::vector<ShipBlock>& ships, std::string_view className);

// A decimal number that fills the whole text (blanks around allowed); nothing otherwise.
std::optional<double> parseNumber(std::string_view text);
// Splits at blanks, empty pieces dropped.
std::vector<std::string> words(std::string_view text);

} // namespace scenario_files
