// The launch scenario read back into a targeting page that holds the waypoints of our sample
// range, and the test whether a scenario was made from a KML file.
#include "FuzzInput.h"

#include "Unit_DM.h"
#include "Unit_Files.h"
#include "Unit_LaunchScenario.h"
#include "Unit_Targeting.h"

#include <cstdio>

namespace {
zm::TTargetingPage& TemplatePage() {
    static zm::TTargetingPage page;
    return page;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zm::DModule().TransformDir = zm::ProgramDir();
    const double noon1Jan2020 = 43831.5;
    // Without the sample the page has no waypoints and the ship blocks change nothing; still fuzzed.
    TemplatePage().LoadKml(FUZZ_SOURCE_DIR "/examples/", "desert_range.kml", noon1Jan2020);
    if (TemplatePage().Waypoints.Tesks.empty())
        std::fprintf(stderr, "no waypoints from examples/desert_range.kml: ship blocks change nothing\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteInput(data, size, "input.scn");
    zm::TTargetingPage page = TemplatePage();
    const zm::TScenarioReadResult result = zm::ReadLaunchScenario(page, path);
    if (!result.Ok()) std::abort(); // an existing file is always read
    // What the page shows after the read must build a scenario again.
    zm::BuildLaunchScenario(page);
    zm::IsGeneratedFrom(path, "desert_range.kml");
    return 0;
}
