// The test whether a saved scenario is a flight result (wrecks and no missiles in its ship list).
#include "FuzzInput.h"

#include "Unit_Results.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteInput(data, size, "input.scn");
    if (!zm::IsFlightResultScenario(path).Ok()) std::abort(); // an existing file is always read
    return 0;
}
