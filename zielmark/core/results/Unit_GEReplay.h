// The replay file: the flights of a firing stamped with their times, so that Google Earth's time slider
// plays them. Each missile's track is a time-stamped track through its points (one second of mission time
// apart, the last at the impact), coloured by phase as in the result KML; its launch and impact marks appear
// at their times, and a tour moves the camera along with the missiles in flight.
#pragma once

#include "Unit_Results.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zm {

// The replay's name beside a result KML: "salvo.kml" gives "salvo-replay.kml".
std::string ReplayFileName(const std::string& kmlName);

// Milliseconds since 1970-01-01 00:00 UTC of a modified Julian date, when it lies in the years 1 to 9999.
std::optional<int64_t> MillisecondsOfMjd(long double mjd);
// "YYYY-MM-DDThh:mm:ss.sssZ" of such a time.
std::string IsoTime(int64_t milliseconds);

// One wreck's flight in time: when each track point was passed, and when it ended.
struct TFlightTimes {
    int64_t Launch = 0;          // ms, the first ignition
    std::vector<int64_t> Points; // ms, one per track point
    int64_t End = 0;             // ms, the impact (the last point's time; the launch when there is none)
};

// The times of a wreck's flight, or the reason it has none (a wreck saved before the missiles kept their
// launch date, or a date that is no date).
TResultOf<TFlightTimes> FlightTimesOf(const TTeskWreck& wreck);

// The document, and the wrecks it leaves out, each with its reason ("NAME: why").
struct TReplay {
    std::string Text;
    std::vector<std::string> LeftOut;
};

TReplay BuildGEReplay(const std::string& fileName, const std::vector<TTeskWreck>& wrecks);

// Writes the document as `fileName` into `dir` (ending in the folder separator) through the atomic save.
// The Value lists the wrecks left out, with their reasons, also when the write failed.
TResultOf<std::vector<std::string>> WriteGEReplay(const std::string& dir, const std::string& fileName,
                                                  const std::vector<TTeskWreck>& wrecks);

} // namespace zm
