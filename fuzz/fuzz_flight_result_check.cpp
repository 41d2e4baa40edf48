// The test whether a saved scenario is a flight result (wrecks and no missiles in its ship list).
#include "FuzzInput.h"

#include "Unit_Functions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput(data, size, "input.scn");
  std::string error;
  zm::IsFlightResultScenario(path, &error);
  if (!error.empty()) std::abort();  // an existing file is always read
  return 0;
}
