// The KML import through both transformation files, the naming-convention tests built on it, and
// what the planner makes of the records: waypoints, the targeting page and a launch scenario.
#include "FuzzInput.h"

#include "Unit_DM.h"
#include "Unit_Files.h"
#include "Unit_LaunchScenario.h"
#include "Unit_Objects.h"
#include "Unit_Targeting.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The transformation files are installed beside the programs, and so beside this one.
    zm::DModule().TransformDir = zm::ProgramDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteInput(data, size, "input.kml");
    const zm::TResult counted = zm::CountKmlPlacemarks(path);
    if (!counted.Ok() && counted.Message.empty()) std::abort(); // a failure always says why
    zm::TWaypoints waypoints;
    zm::LoadWaypoints(zm::DModule().KMLDataSet, waypoints);
    // Only places on the Earth are planned: a scenario never carries another place or one it cannot load.
    for (const auto& m : waypoints.Tesks)
        if (!zm::IsPlaceOnEarth(m.Lat, m.Lon)) std::abort();
    for (const auto& t : waypoints.Targets)
        if (!zm::IsPlaceOnEarth(t.Lat, t.Lon)) std::abort();
    zm::IsSourceKml(path);
    zm::IsResultKml(path);

    zm::TTargetingPage page;
    const double noon1Jan2020 = 43831.5;
    if (page.LoadKml(fuzz::TempFolder(), "input.kml", noon1Jan2020).Code == zm::TResultCode::Failed) return 0;
    page.Randomize(zm::SeededRandom(7));
    page.FillFocusList();
    zm::BuildLaunchScenario(page);
    zm::LaunchScenarioFileText(page);
    return 0;
}
