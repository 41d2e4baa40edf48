// Reading wreck blocks from a saved scenario, and the file rules of the results page.
#include "Unit_Results.h"

#include "FlightResult.h"
#include "KeyGrammar.h"
#include "SourcePlace.h"
#include "TextLines.h"
#include "Unit_DM.h"
#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "VesselClasses.h"
#include "WreckBlockKeys.h"

#include <algorithm>
#include <array>
#include <cstdint>

static_assert(zm::TrackArraySize == MaxTrackPoints + 1, "the wreck's track and one index beyond");

namespace zm {

namespace {

constexpr std::string_view WreckMarker = TeskiWreckShipTag;
constexpr std::string_view WreckSuffix = WreckNameSuffix;
constexpr size_t MaxValueLength = 256; // a key's value is cut after this many characters

enum class TKeyKind { Text, Number, Track };

struct TKey {
    const char* Name;
    TKeyKind Kind;
    std::string TTeskWreck::*Text;
    long double TTeskWreck::*Number;
};

// Where Zielmark keeps a wreck key's value; the flags stay with the wreck.
struct TWreckField {
    WreckKeyId Id;
    long double TTeskWreck::*Number = nullptr;
    std::string TTeskWreck::*Text = nullptr;
};
constexpr TWreckField WreckFields[] = {
    {WreckKeyId::LATITUDE_LAST, &TTeskWreck::LatitudeLast},
    {WreckKeyId::LONGITUDE_LAST, &TTeskWreck::LongitudeLast},
    {WreckKeyId::MAX_ALTITUDE, &TTeskWreck::MaxAltitude},
    {WreckKeyId::FLIGHT_TIME, &TTeskWreck::FlightTime},
    {WreckKeyId::IMPACT_VELOCITY, &TTeskWreck::ImpactVelocity},
    {WreckKeyId::LATITUDE_TARGET, &TTeskWreck::LatitudeTarget},
    {WreckKeyId::LONGITUDE_TARGET, &TTeskWreck::LongitudeTarget},
    {WreckKeyId::RANGE_ACTUAL, &TTeskWreck::RangeActual},
    {WreckKeyId::AZIMUTH_ACTUAL, &TTeskWreck::AzimuthActual},
    {WreckKeyId::RANGE_MISS, &TTeskWreck::RangeMiss},
    {WreckKeyId::AZIMUTH_MISS, &TTeskWreck::AzimuthMiss},
    {WreckKeyId::LATERAL_MISS, &TTeskWreck::LateralMiss},
    {WreckKeyId::LONGITUDAL_MISS, &TTeskWreck::LongitudalMiss},
    {WreckKeyId::LATITUDE_LAUNCH, &TTeskWreck::LatitudeLaunch},
    {WreckKeyId::LONGITUDE_LAUNCH, &TTeskWreck::LongitudeLaunch},
    {WreckKeyId::MJD_LAUNCH, &TTeskWreck::LaunchMJD},
    {WreckKeyId::TARGET, nullptr, &TTeskWreck::Target},
    {WreckKeyId::FAILURE, nullptr, &TTeskWreck::Failure},
    {WreckKeyId::TRACK},
};

// The wreck's keys as Zielmark reads them: each only as the simulator writes it ("  KEY value").
const std::vector<TKey>& Keys() {
    static const std::vector<TKey> keys = [] {
        std::vector<TKey> list;
        for (const WreckBlockKey& key : WreckBlockKeys)
            for (const TWreckField& f : WreckFields)
                if (f.Id == key.id)
                    list.push_back({key.name,
                                    f.Number ? TKeyKind::Number : (f.Text ? TKeyKind::Text : TKeyKind::Track),
                                    f.Text, f.Number});
        return list;
    }();
    return keys;
}

// The key a line begins with and the length up to its value.
const TKey* FindKey(std::string_view line, size_t& valueAt) {
    for (const TKey& key : Keys())
        if ((valueAt = MatchKey(line, key.Name, SavedKeys)) != 0) return &key;
    return nullptr;
}

// A value as the error message shows it: short enough to read, whatever the file holds.
std::string Quoted(std::string_view value) {
    constexpr size_t Shown = 40;
    std::string text = "\"" + std::string(value.substr(0, Shown));
    if (value.size() > Shown) text += "...";
    return text + "\"";
}

// A number as TryParseFloat reads it, quicker for the plain decimals the wreck writes ("-123.4567"): with
// at most 19 digits the digits are an exact 64-bit integer, and 10^k up to 10^27 is exact in a long double,
// so one division (or product) rounds once, to the same nearest long double that the full conversion finds.
// Every other text takes the full conversion.
bool ReadNumber(std::string_view text, long double& value) {
    static constexpr std::array<long double, 28> PowersOf10 = {
        1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
        1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    uint64_t digits = 0;
    int significant = 0, places = -1, intDigits = 0;
    for (; p != end; ++p) {
        if (*p == '.' && places < 0) {
            places = 0;
            continue;
        }
        if (*p < '0' || *p > '9') return TryParseFloat(text, value);
        digits = digits * 10 + uint64_t(*p - '0');
        significant += digits != 0;
        if (places >= 0)
            ++places;
        else
            ++intDigits;
    }
    if (intDigits == 0 || places == 0 || significant > 19 || places >= int(PowersOf10.size()))
        return TryParseFloat(text, value);
    const long double magnitude = places > 0 ? static_cast<long double>(digits) / PowersOf10[size_t(places)]
                                             : static_cast<long double>(digits);
    value = negative ? -magnitude : magnitude;
    return true;
}

// The number fields, one bit of TTeskWreck::Given each.
constexpr long double TTeskWreck::*NumberFields[] = {
    &TTeskWreck::LatitudeLast,    &TTeskWreck::LongitudeLast,   &TTeskWreck::MaxAltitude,
    &TTeskWreck::FlightTime,      &TTeskWreck::ImpactVelocity,  &TTeskWreck::LatitudeTarget,
    &TTeskWreck::LongitudeTarget, &TTeskWreck::RangeActual,     &TTeskWreck::AzimuthActual,
    &TTeskWreck::RangeMiss,       &TTeskWreck::AzimuthMiss,     &TTeskWreck::LateralMiss,
    &TTeskWreck::LongitudalMiss,  &TTeskWreck::PlannedRange,    &TTeskWreck::LaunchAz,
    &TTeskWreck::LatitudeLaunch,  &TTeskWreck::LongitudeLaunch, &TTeskWreck::LaunchMJD,
};

uint32_t GivenBit(long double TTeskWreck::*field) {
    for (size_t i = 0; i < std::size(NumberFields); ++i)
        if (NumberFields[i] == field) return uint32_t(1) << i;
    return 0;
}

// The work of one block's end: planned range and azimuth from launch site to target, the missile's name.
void FinishWreck(TTeskWreck& w) {
    const TGreatCircle gc = GreatCircleKmDeg(w.LaunchPoint(), w.TargetPoint());
    w.PlannedRange = gc.Distance * 1000.0L;
    w.LaunchAz = gc.Azimuth;
    if (w.Gives(&TTeskWreck::LatitudeLaunch) && w.Gives(&TTeskWreck::LongitudeLaunch) &&
        w.Gives(&TTeskWreck::LatitudeTarget) && w.Gives(&TTeskWreck::LongitudeTarget)) {
        w.MarkGiven(&TTeskWreck::PlannedRange);
        w.MarkGiven(&TTeskWreck::LaunchAz);
    }
    const size_t suffix = w.Name.find(WreckSuffix);
    w.MissileName = suffix == std::string::npos ? std::string() : w.Name.substr(0, suffix);
}

// Stores one TRACK point ("index lon lat alt phase", single blanks). Returns an error text, empty when fine.
// Indices outside the arrays are skipped, like the wreck itself skips them.
std::string ReadTrackPoint(std::string_view value, TTeskWreck& w) {
    // The fields as SplitText cuts them (at every blank), without a string for each.
    std::array<std::string_view, 5> fields;
    size_t found = 0;
    for (size_t from = 0, blank = 0; !value.empty() && from <= value.size(); from = blank + 1) {
        blank = std::min(value.find(' ', from), value.size());
        if (found < fields.size()) fields[found] = value.substr(from, blank - from);
        ++found;
    }
    if (found < 5) return "TRACK needs five fields, found " + std::to_string(found);
    int index = 0, phase = 0;
    long double lon = 0, lat = 0, alt = 0;
    if (!TryParseInt(fields[0], index)) return Quoted(fields[0]) + " is not a valid integer";
    if (!ReadNumber(fields[1], lon)) return Quoted(fields[1]) + " is not a valid number";
    if (!ReadNumber(fields[2], lat)) return Quoted(fields[2]) + " is not a valid number";
    if (!ReadNumber(fields[3], alt)) return Quoted(fields[3]) + " is not a valid number";
    if (!TryParseInt(fields[4], phase)) return Quoted(fields[4]) + " is not a valid integer";
    if (index < 0 || index >= TrackArraySize) return {};
    w.SetTrackPoint(index, TGeoPoint::FromRadians(lat, lon));
    w.TrackAlt[index] = alt;
    w.TrackPhase[index] = phase;
    w.TrackCount = index + 1;
    return {};
}

// Stores one key line's value; returns an error text, empty when fine.
std::string StoreKey(const TKey& key, std::string_view value, TTeskWreck& w) {
    switch (key.Kind) {
    case TKeyKind::Text:
        w.*key.Text = std::string(value);
        return {};
    case TKeyKind::Number:
        if (!ReadNumber(value, w.*key.Number)) return Quoted(value) + " is not a valid number";
        w.MarkGiven(key.Number);
        return {};
    case TKeyKind::Track:
        return ReadTrackPoint(value, w);
    }
    return {};
}

} // namespace

bool TTeskWreck::Gives(long double TTeskWreck::*field) const {
    return (Given & GivenBit(field)) != 0;
}

void TTeskWreck::MarkGiven(long double TTeskWreck::*field) {
    Given |= GivenBit(field);
}

TResult ReadOrbResultText(std::string_view text, const std::string& fileName, TOrbResults& results) {
    results.Wrecks.clear();
    results.Selected = -1;
    const auto fail = [&](size_t lineNumber, const std::string& why) {
        return TResult::Failure(scenario_files::SourcePlace{fileName, lineNumber}.describe(why));
    };
    bool inBlock = false;
    TTeskWreck current;
    size_t lineNumber = 0, headerLine = 0;
    bool inShipList = false;
    std::string error; // the first bad line's reason; reading stops there
    scenario_files::forEachLine(text, [&](std::string_view line, size_t number) {
        lineNumber = number;
        if (line == "BEGIN_SHIPS") inShipList = true;
        if (line == "END_SHIPS") inShipList = false;
        const size_t marker = line.find(WreckMarker);
        if (marker != std::string_view::npos) {
            if (results.Wrecks.size() >= MaxWreckBlocks) {
                error = "more than " + std::to_string(MaxWreckBlocks) + " wreck blocks";
                return false;
            }
            current = TTeskWreck(); // an unfinished open block is dropped
            current.Given = 0;
            current.Name = std::string(line.substr(0, marker));
            inBlock = true;
            headerLine = lineNumber;
        } else if (line == "END" && inBlock) {
            FinishWreck(current);
            results.Wrecks.push_back(current);
            inBlock = false;
        } else if (inBlock) {
            size_t valueAt = 0;
            if (const TKey* key = FindKey(line, valueAt)) {
                const std::string_view value = line.substr(valueAt, MaxValueLength);
                error = StoreKey(*key, value, current);
                if (!error.empty()) return false;
            }
        }
        return true;
    });
    if (!error.empty()) return fail(lineNumber, error);
    // A file cut inside a block (a save that did not finish) is not whole from that block on: the wrecks
    // before it are read, and the block is named, as a bad line would be.
    if (inBlock)
        return fail(headerLine, "the wreck block of " + Quoted(current.Name) +
                                    " has no END line: the file ends inside it");
    if (inShipList) return fail(lineNumber, "the file ends here, inside the ship list (no END_SHIPS line)");
    if (!results.Wrecks.empty()) results.Selected = 0;
    return TResult::Success();
}

TResult LoadOrbResults(const std::string& path, TOrbResults& results, std::string* bytes) {
    if (bytes) bytes->clear();
    if (!FileExists(path)) return TResult::Outcome(TResultCode::Missing);
    results.Wrecks.clear();
    results.Selected = -1;
    std::string text;
    if (TResult read = ReadWholeFile(path, text); !read.Ok()) return read;
    TResult parsed = ReadOrbResultText(text, path, results);
    if (bytes) *bytes = std::move(text);
    return parsed;
}

TResultOf<bool> OrbResultsUsable(const std::string& path) {
    TOrbResults results;
    TResult read = LoadOrbResults(path, results);
    if (read.Code == TResultCode::Failed && !results.Wrecks.empty())
        read.Message += "; the wrecks before that line are read";
    return {read, read.Ok() || !results.Wrecks.empty()};
}

// ---- The scenario test ----

TResultOf<bool> IsFlightResultScenario(const std::string& path) {
    std::string text;
    if (TResult read = ReadWholeFile(path, text); !read.Ok()) return read;
    return {TResult::Success(), IsFlightResultScenarioText(text)};
}

bool IsFlightResultScenarioText(std::string_view text) {
    bool inShips = false;
    int wrecks = 0, missiles = 0;
    scenario_files::forEachLine(text, [&](std::string_view line, size_t) {
        if (line.find("BEGIN_SHIPS") != std::string_view::npos) inShips = true;
        if (line.find("END_SHIPS") != std::string_view::npos) inShips = false;
        if (!inShips) return true;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) return true;
        const std::string_view cls = line.substr(colon, 256);
        if (cls == TeskiWreckShipTag)
            ++wrecks;
        else if (cls == TeskiShipTag)
            ++missiles;
        return true;
    });
    return wrecks >= 1 && missiles == 0;
}

// ---- The source panel ----

TResultSource ChooseResultSource(const TResultSourceInputs& in) {
    TResultSource s;
    s.SavedFiles = in.FltResScnFiles;
    s.RecentEnabled = in.CurrentStateUsable;
    s.PreviousEnabled = !in.FltResScnFiles.empty();
    s.RecentChecked = s.RecentEnabled;
    s.PreviousChecked = s.PreviousEnabled && !s.RecentChecked;
    if (s.PreviousEnabled) {
        if (!in.NewestFltResScnFile.empty())
            for (size_t i = 0; i < s.SavedFiles.size(); ++i)
                if (s.SavedFiles[i] == in.NewestFltResScnFile) {
                    s.SavedSelected = static_cast<int>(i);
                    break;
                }
        if (s.SavedSelected < 0 && !s.SavedFiles.empty()) s.SavedSelected = 0;
    }
    return s;
}

std::string ResultSourcePath(const TResultSource& source, const TResultSourceInputs& in) {
    if (source.RecentChecked) return in.CurrentStateFile;
    const bool selected = source.SavedSelected >= 0 && source.SavedSelected < int(source.SavedFiles.size());
    return in.FltResDir + (selected ? source.SavedFiles[source.SavedSelected] : std::string());
}

// ---- Result names ----

std::vector<std::string> ListResultNames(const std::string& dir, const TFilePredicate& isResultKml,
                                         const TFilePredicate& isFlightResultScenario) {
    std::vector<std::string> names;
    const std::vector<TFolderEntry> kml = ListFolderFiles(dir, ".kml");
    const auto besideItsResult = [&](const std::string& name) {
        constexpr std::string_view Suffix = "-replay.kml";
        if (name.size() <= Suffix.size() ||
            name.compare(name.size() - Suffix.size(), Suffix.size(), Suffix) != 0)
            return false;
        const std::string result = name.substr(0, name.size() - Suffix.size()) + ".kml";
        return std::any_of(kml.begin(), kml.end(), [&](const TFolderEntry& e) { return e.Name == result; });
    };
    for (const TFolderEntry& e : kml)
        // A replay beside its result KML is saved with it, under the result's name; offered on its own, it
        // would be completed in the box before that name.
        if (!besideItsResult(e.Name) && isResultKml(dir + e.Name)) names.push_back(ChangeFileExt(e.Name, ""));
    for (const TFolderEntry& e : ListFolderFiles(dir, ".scn"))
        if (isFlightResultScenario(dir + e.Name)) names.push_back(ChangeFileExt(e.Name, ""));
    return names;
}

std::vector<std::string> ListResultNames(const std::string& dir) {
    return ListResultNames(
        dir, [](const std::string& path) { return IsResultKml(path).Value; },
        [](const std::string& path) { return IsFlightResultScenario(path).Value; });
}

std::string ResultNameOf(const std::string& savedName) {
    return ChangeFileExt(savedName, "");
}

std::string GEFileQuestion(bool exists) {
    return exists ? "Google Earth file already exists. Overwrite?" : "Create new Google Earth file?";
}

std::string ScenarioCopyQuestion(bool exists) {
    return exists ? "Scenaio file copy with the given name already exists. Overwrite?"
                  : "Create a copy of autosaved Orbiter scenario file?";
}

TResult CopyScenarioFile(const std::string& source, const std::string& target) {
    std::string bytes;
    if (TResult read = ReadWholeFile(source, bytes); !read.Ok()) return read;
    return WriteFileAtomic(target, bytes);
}

} // namespace zm
