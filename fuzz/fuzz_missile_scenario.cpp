// The missile's scenario keys: each line through the key matcher and value readers, then the whole
// block as a Teski ship's lines in orbhost, fired and flown a few steps, and saved; the block the
// plug-in saves reads back to the same block.
#include "FuzzWorld.h"

#include "MissileBlockKeys.h"
#include "ScenarioText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void ReadLineDirectly(const std::string& line) {
    const KeyMatch m = MatchMissileKey(line.c_str());
    if (!m.value) std::abort();
    double d[3] = {0, 0, 0};
    int i = 0, phase = 0;
    char word[32], rest[256], out[400];
    ReadReal(m.value, d[0]);
    ReadInt(m.value, i);
    ReadReals(m.value, d, 3);
    ReadTrackPoint(m.value, i, d[0], d[1], d[2], phase);
    if (ReadName(m.value, word, sizeof word) && std::strlen(word) >= sizeof word) std::abort();
    if (ReadRest(m.value, rest, sizeof rest) && std::strlen(rest) >= sizeof rest) std::abort();
    FormatFixed(d[0], 13, out, sizeof out);
    FormatTrackPoint(i, d[0], d[1], d[2], phase, out, sizeof out);
}

std::string SavedAfterLoading(const std::string& lines) {
    orb::World world(fuzz::OrbRoot());
    world.createVessel("Tesk1", "Teski", lines);
    return world.saveText();
}

// The ship block of the saved text, from its header to its END line.
std::string ShipBlock(const std::string& saved) {
    const size_t begin = saved.find("Tesk1:Teski");
    const size_t end = saved.find("\nEND\r", begin);
    return begin == std::string::npos || end == std::string::npos ? std::string()
                                                                  : saved.substr(begin, end - begin);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::KeepPluginsLoaded();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = fuzz::Lines(text);
    for (const std::string& line : lines)
        ReadLineDirectly(line);

    std::string block;
    for (const std::string& line : lines)
        block += line + "\n";
    std::string first;
    try {
        first = SavedAfterLoading(block);
    } catch (const orb::HostError&) {
        return 0; // the host refused a line of its own with a message: fine
    }
    // What the plug-in saved, loaded again, saves the same. (Control characters are left out of this
    // check: the host trims them from the ends of every line, as the simulator's reader does.)
    for (const std::string& line : lines)
        for (const char c : line)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) return 0;
    std::string savedBlock = ShipBlock(first);
    const size_t header = savedBlock.find('\n');
    std::string second;
    try {
        second =
            SavedAfterLoading(header == std::string::npos ? std::string() : savedBlock.substr(header + 1));
    } catch (const orb::HostError& e) {
        std::fprintf(stderr, "the saved block does not load: %s\n%s\n", e.what(), savedBlock.c_str());
        std::abort();
    }
    if (ShipBlock(second) != savedBlock) {
        std::fprintf(stderr, "saved:\n%s\nsaved again:\n%s\n", savedBlock.c_str(), ShipBlock(second).c_str());
        std::abort();
    }

    // Fired and flown a few steps with whatever state the block gave it.
    try {
        orb::World world(fuzz::OrbRoot());
        world.createVessel("Tesk1", "Teski", block);
        fuzz::SeedMissiles();
        world.sendKey(OAPI_KEY_O);
        world.runSteps(4);
        world.saveText();
    } catch (const orb::HostError&) {
    }
    return 0;
}
