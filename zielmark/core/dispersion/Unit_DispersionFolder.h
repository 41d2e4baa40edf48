// The files of a dispersion folder, each saved atomically: "summary.txt", "dispersion.csv",
// "impacts.csv", "dispersion.json", "dispersion.kml" and one picture per missile, "NN_MISSILE.svg".
#pragma once

#include "Unit_Dispersion.h"
#include "Unit_Result.h"

#include <string>
#include <vector>

namespace zm {

// The picture's file name without extension for the missile at `index` (0-based): "01_TeskAlpha".
std::string DispersionPictureName(size_t index, const std::string& missile);

// Writes every file into `dir` (created when missing). `notes` are added to the end of the summary.
// The Value lists the pictures written; a failure names the file that could not be written.
TResultOf<std::vector<std::string>> WriteDispersionFolder(const std::string& dir, const TDispersion& d,
                                                          const std::vector<std::string>& notes);

} // namespace zm
