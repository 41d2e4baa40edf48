// The KML file's own description, read as raw text before the first placemark.
#include "FuzzInput.h"

#include "Unit_DM.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteInput(data, size, "input.kml");
    const std::string description = zm::ReadKmlDescription(path);
    if (description.size() > size + size) std::abort(); // CR LF for LF at most doubles the text
    return 0;
}
