// The wreck's scenario block: each line through the block reader, the record written back, then
// the whole block as a TeskiWreck ship's lines in orbhost, flown a few steps and saved.
#include "FuzzWorld.h"

#include "WreckBlock.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Collects the written lines as text, as the host's scenario writer would. A number the wreck writes is
// never inf or nan, whatever it read.
class TextWriter : public WreckBlockWriter {
public:
    std::string Text;
    void WriteInt(const char* key, int value) override { Line(key, std::to_string(value)); }
    void WriteFloat(const char* key, double value) override {
        if (!std::isfinite(value)) std::abort();
        Line(key, std::to_string(value));
    }
    void WriteString(const char* key, const char* value) override {
        const std::string v = value;
        const bool text = std::strcmp(key, "TARGET") == 0 || std::strcmp(key, "FAILURE") == 0;
        if (!text && (v.find("inf") != std::string::npos || v.find("nan") != std::string::npos)) std::abort();
        Line(key, value);
    }

private:
    void Line(const char* key, const std::string& value) { Text += std::string(key) + " " + value + "\n"; }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::KeepPluginsLoaded();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = fuzz::Lines(text);

    static FlightResult result; // large: kept off the stack
    result = FlightResult{};
    bool fallPhase = false;
    for (const std::string& line : lines)
        ReadWreckBlockLine(line.c_str(), result, fallPhase);
    // The fixed-size texts stay terminated, the track count within its arrays.
    if (::strnlen(result.TARGET, sizeof result.TARGET) == sizeof result.TARGET) std::abort();
    if (::strnlen(result.FAILURE, sizeof result.FAILURE) == sizeof result.FAILURE) std::abort();
    if (result.trackCount < 0 || result.trackCount > MaxTrackPoints) std::abort();
    TextWriter writer;
    WriteWreckBlock(result, fallPhase, writer);

    std::string block;
    for (const std::string& line : lines)
        block += line + "\n";
    try {
        orb::World world(fuzz::OrbRoot());
        world.createVessel("Tesk1-Wreck", "TeskiWreck", block);
        world.runSteps(4);
        world.saveText();
    } catch (const orb::HostError&) {
        // the host refused a line of its own with a message: fine
    }
    return 0;
}
