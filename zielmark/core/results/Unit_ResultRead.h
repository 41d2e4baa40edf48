// One read of a result scenario, from which every question about it is answered: whether it is a flight
// result scenario, whether the results page gets wrecks from it, and the wrecks and bytes the page shows.
// The folder check keeps the reads it made, so the page shows a file it checked without reading it again.
#pragma once

#include "Unit_Files.h"
#include "Unit_Result.h"
#include "Unit_Results.h"

#include <map>
#include <optional>
#include <string>

namespace zm {

struct TResultScenarioRead {
    std::string Path;
    TFileStamp Stamp;          // the file's stamp before it was read
    bool FileRead = false;     // false: the file could not be read (Outcome says why)
    TResult Outcome;           // the file's read, then the wreck reader's ("file: line N: cause")
    bool FlightResult = false; // IsFlightResultScenario
    TOrbResults Results;       // as LoadOrbResults gives them
    std::string Bytes;         // what the wrecks were read from
};

TResultScenarioRead ReadResultScenario(const std::string& path);

// What the folder check makes of a read: a flight result scenario of which the reader gets wrecks (the
// Value); the message names why the file cannot be read or where the read stops early.
TResultOf<bool> UsableResultScenario(const TResultScenarioRead& read);

// The reads the folder check made, by path, until the page takes them. Reads beyond a total size are not
// kept (the page reads those files again), so many large files do not fill the memory.
class TResultReads {
public:
    static constexpr size_t MaxKeptBytes = 64u << 20;

    void Clear();
    void Keep(TResultScenarioRead read);
    // The kept read of the file when the file is still as it was read; it is no longer kept then.
    std::optional<TResultScenarioRead> Take(const std::string& path, const TFileStamp& stampNow);

private:
    std::map<std::string, TResultScenarioRead> Reads;
    size_t KeptBytes = 0;
};

} // namespace zm
