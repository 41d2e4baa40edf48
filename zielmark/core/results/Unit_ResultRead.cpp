#include "Unit_ResultRead.h"

namespace zm {

TResultScenarioRead ReadResultScenario(const std::string& path) {
    TResultScenarioRead r;
    r.Path = path;
    r.Stamp = FileStampOf(path);
    r.Outcome = ReadWholeFile(path, r.Bytes);
    r.FileRead = r.Outcome.Ok();
    if (!r.FileRead) return r;
    r.FlightResult = IsFlightResultScenarioText(r.Bytes);
    r.Outcome = ReadOrbResultText(r.Bytes, path, r.Results);
    return r;
}

TResultOf<bool> UsableResultScenario(const TResultScenarioRead& read) {
    if (!read.FileRead) return {read.Outcome, false};
    if (!read.FlightResult) return {TResult::Success(), false};
    TResult outcome = read.Outcome;
    const bool someWrecks = !read.Results.Wrecks.empty();
    if (outcome.Code == TResultCode::Failed && someWrecks)
        outcome.Message += "; the wrecks before that line are read";
    return {outcome, outcome.Ok() || someWrecks};
}

void TResultReads::Clear() {
    Reads.clear();
    KeptBytes = 0;
}

void TResultReads::Keep(TResultScenarioRead read) {
    if (auto old = Reads.find(read.Path); old != Reads.end()) {
        KeptBytes -= old->second.Bytes.size();
        Reads.erase(old);
    }
    if (!read.Stamp.Exists || read.Bytes.size() > MaxKeptBytes - KeptBytes) return;
    KeptBytes += read.Bytes.size();
    std::string path = read.Path;
    Reads.emplace(std::move(path), std::move(read));
}

std::optional<TResultScenarioRead> TResultReads::Take(const std::string& path, const TFileStamp& stampNow) {
    const auto kept = Reads.find(path);
    if (kept == Reads.end()) return std::nullopt;
    KeptBytes -= kept->second.Bytes.size();
    std::optional<TResultScenarioRead> read;
    if (stampNow.Exists && kept->second.Stamp == stampNow) read = std::move(kept->second);
    Reads.erase(kept);
    return read;
}

} // namespace zm
