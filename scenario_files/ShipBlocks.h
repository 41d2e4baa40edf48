// The ship blocks of a scenario: between the lines "BEGIN_SHIPS" and "END_SHIPS", a header line
// "NAME:CLASS" opens a vessel's block, its parameter lines follow and the line "END" closes it. Each block
// keeps its line numbers, so what is read of it can name its place.
//
// Two readers read the list by different rules, both kept here:
// - the planner, the benchmarks and the tests read the lines as the host writes them (letter case and blanks
//   count, a header is not indented, blank lines are dropped) and take what is there of a cut list;
// - the host reads as the simulator does: a ';' starts a comment, blanks around a line or a name do not count,
//   tags match in any letter case and "END_SHIPS" may be followed by more text, a block's lines are handed on
//   as they stand (blank ones too), and a nameless ship or a cut list is a fault at its line.
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
    std::string text;       // the line as it stands in the file
    size_t number = 0;      // the file's line number
};

struct ShipBlock {
    std::string name, className; // className empty when the host's header had no ":CLASS"
    size_t headerLine = 0;       // the file's line number of "NAME:CLASS"
    std::vector<ShipLine> lines; // in file order
    bool ended = false;          // closed by "END"

    // The last value of a key (keys compared as written), or nothing.
    std::optional<std::string> value(std::string_view key) const;
    // The last value of a key read as a number; nothing when absent or not a whole number text.
    std::optional<double> number(std::string_view key) const;
    std::vector<std::string> values(std::string_view key) const; // every value of a key, in order
    std::vector<std::string> texts() const;                      // the lines as they stand, in order
};

enum class ShipListRule { AsWritten, AsTheSimulatorReads };

struct ShipList {
    std::vector<ShipBlock> ships;
    size_t nextLine = 0; // index of the first line after "END_SHIPS" (the lines' size when cut)
    // Under the simulator's rule, the first fault: the file's line number and why.
    std::optional<std::pair<size_t, std::string>> fault;
};

// The list whose "BEGIN_SHIPS" is lines[beginIndex].
ShipList scanShipList(const std::vector<std::string>& lines, size_t beginIndex, ShipListRule rule);

// The blocks of the first ship list, read as written; CR LF or LF lines.
std::vector<ShipBlock> readShipBlocks(std::string_view scenarioText);
std::vector<ShipBlock> shipsOfClass(const std::vector<ShipBlock>& ships, std::string_view className);

// A decimal number that fills the whole text (blanks around allowed); nothing otherwise.
std::optional<double> parseNumber(std::string_view text);
// Splits at blanks, empty pieces dropped.
std::vector<std::string> words(std::string_view text);

} // namespace scenario_files
