// The launch scenario file: written from a plan (the targeting page's), saved atomically, read back into the
// page for editing, and tied to the KML file it was made from.
#pragma once

#include "Unit_Targeting.h"

#include <functional>
#include <string>
#include <vector>

namespace zm {

inline constexpr const char* GeneratedFromMarker = "=== GENERATED FROM: ";
inline constexpr const char* AskOverwrite = "File already exists. Overwrite?";
inline constexpr const char* AskCreate = "Create new scenario file?";

// The launch scenario of a plan (what the page saves, page.ScenarioText once built): description,
// environment with the MJD date, focus, camera, HUD, MFD and one ship block per assigned missile in list
// order.
std::vector<std::string> LaunchScenarioLines(const TLaunchPlan& plan);
// Fills page.ScenarioText with LaunchScenarioLines.
void BuildLaunchScenario(TTargetingPage& page);
// The scenario text as the file holds it: every entry followed by CR LF.
std::string LaunchScenarioFileText(const TTargetingPage& page);
// The name with its extension replaced by ".scn" (appended when it has none).
std::string ScenarioFileNameFor(const std::string& name);
// The file "Save!" writes: the page's scenario name as a ".scn" file in the launch scenario folder.
std::string ScenarioSavePath(const TTargetingPage& page, const std::string& orbScnDir);

// Reads a launch scenario back into the page: description, date, focus and each known missile's
// delay, "Realistic" and "Precise cut-off" flags and target.
TScenarioReadResult ReadLaunchScenario(TTargetingPage& page, const std::string& path);

// The missiles (ships of class Teski) of a scenario's lines whose block turns the precise cut-off on, in
// file order.
std::vector<std::string> PreciseMissileNames(const std::vector<std::string>& lines);

// Lists the scenarios of orbScnDir made from the page's KML file (and mruEdited when it lies in a folder
// below, "sub/plan7.scn") and reads back the most recently edited one (mruEdited) or else the newest;
// page.ScenarioRead keeps what the read found.
void FillScenarioFileList(TTargetingPage& page, const std::string& orbScnDir, const std::string& mruEdited);
// Whether the name, chosen or typed, names an existing scenario that ScenarioNameChanged reads back (a
// name leading out of the folder is never read).
bool ScenarioNameReadsFile(const std::string& orbScnDir, const std::string& name);
// The scenario name was chosen or typed: reads the scenario back when such a file exists. The read's
// outcome is kept in page.ScenarioRead for the caller to show (Ok with no problems when there was nothing to
// read) and returned.
const TScenarioReadResult& ScenarioNameChanged(TTargetingPage& page, const std::string& orbScnDir,
                                               const std::string& name);

// True when the scenario names kmlFileName in a marker line, or is named like it with ".scn".
bool IsGeneratedFrom(const std::string& scenarioPath, const std::string& kmlFileName);

// Asked before writing: the question text; true means Yes.
using TConfirm = std::function<bool(const std::string& question)>;
// The "Save!" steps: date from the fields, build, name, confirm, write atomically, remember the
// name in mruEdited and refill the scenario list (which reads the file back). The Value is the
// scenario file's full path. Refused (with why) while the page shows warnings, Declined when the
// question is answered No, Failed when the file cannot be written (naming it).
TResultOf<std::string> SaveLaunchScenario(TTargetingPage& page, const std::string& orbScnDir,
                                          const TConfirm& confirm, std::string& mruEdited);

} // namespace zm
