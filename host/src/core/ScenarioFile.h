// A scenario file's structure in the simulator's format: description, environment (system, date), focus,
// camera, cockpit blocks, ship blocks, plugin blocks. Reading checks the structure (a truncated or malformed
// file is a HostError naming the file and line); writing gives CR LF lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

struct ShipBlock {
    std::string name, className;    // className empty when the line had no ":class"
    std::vector<std::string> lines; // the vessel's lines, without the END line
    int firstLine = 0;              // file line number of lines[0]
};

struct ScenarioFile {
    std::string source;                   // file name for messages
    std::vector<std::string> description; // the whole description block, its BEGIN_/END_ lines included
    std::string system = "Sol";
    std::optional<double> mjd;                 // from "Date MJD|JD|JE"
    std::vector<std::string> environmentExtra; // other environment lines, kept as read (trimmed)
    std::string focus;
    std::vector<std::string> camera;                     // inner lines of the camera block, trimmed
    std::vector<std::vector<std::string>> cockpitBlocks; // HUD, MFD, panel, VC blocks, raw, with their tags
    std::vector<ShipBlock> ships;
    std::vector<std::vector<std::string>> pluginBlocks; // blocks after END_SHIPS, raw

    static ScenarioFile parse(std::string_view text, const std::string& source);
};

// MJD of the current system time (used when a scenario gives no date).
double systemTimeMjd();

} // namespace orb
