// A scenario file's structure in the simulator's format: description, environment (system, date), focus,
// camera, cockpit blocks, ship blocks, plugin blocks. Reading checks the structure (a truncated or malformed
// file is a HostError naming the file and line); writing gives CR LF lines.
#pragma once

#include "ShipBlocks.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

using scenario_files::ShipBlock; // read as the simulator reads the ship list

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
