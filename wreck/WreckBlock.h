// The wreck's own lines in a scenario block: written in a fixed order after the host's state lines, read
// back line by line. Free of the host, so the block's format can be checked on its own.
#pragma once

#include "FlightResult.h"

// Receives the wreck's lines one by one; the wreck module forwards them to the host's scenario writers.
class WreckBlockWriter {
public:
    virtual void WriteInt(const char* key, int value) = 0;
    virtual void WriteFloat(const char* key, double value) = 0;
    virtual void WriteString(const char* key, const char* value) = 0;

protected:
    ~WreckBlockWriter() = default;
};

// Writes the wreck's lines of the block, in the order of WreckBlockKeys.h; FALLPHASE only while the wreck
// is not landed.
void WriteWreckBlock(const FlightResult& result, bool fallPhase, WreckBlockWriter& out);

// Reads one line of a wreck block. False when the line begins with none of the wreck's keys (it then belongs
// to the host). A value that cannot be read leaves its field as it was.
bool ReadWreckBlockLine(const char* line, FlightResult& result, bool& fallPhase);
