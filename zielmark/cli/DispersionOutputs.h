// A dispersion's outputs, written so that the output folder holds one whole dispersion or the one before:
// every file (the PNG pictures that rsvg-convert makes from the SVG ones included) is made aside in a hidden
// folder inside the output folder, then all are moved in together while interrupts wait, and pictures of an
// earlier dispersion that this one does not have are removed. When they cannot be made there (a full disk),
// they are made in a new folder of the temporary folder instead, so the runs flown are not lost.
#pragma once

#include "Unit_Dispersion.h"
#include "Unit_Result.h"

#include <string>
#include <vector>

// Ok: the outputs are in `out` (the Value). Failed: the Message says why they are not; the Value names the
// folder that keeps them instead, empty when none could. `notes` gets what the pictures lack (no converter).
// Called with interrupts held (TInterruptsHeld), so a Ctrl-C cannot leave the folder half old, half new.
zm::TResultOf<std::string> WriteDispersionOutputs(const std::string& out, const zm::TDispersion& d,
                                                  std::vector<std::string>& notes);

// Whether `out` can take the outputs: made when missing, refused when something else is in its place or it
// takes no new file. "" when fine, else why not (naming the folder). Checked before the first run.
std::string OutputFolderProblem(const std::string& out);
