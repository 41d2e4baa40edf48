#include "Unit_Plan.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_ModelAdvice.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

namespace zm {

TRandomInt SeededRandom(unsigned seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine](int n) {
        if (n <= 1) return 0;
        return std::uniform_int_distribution<int>(0, n - 1)(*engine);
    };
}

TRandomInt ClockSeededRandom() {
    return SeededRandom(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
}

std::string BulletedLines(const TLines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += "- " + line + "\r\n";
    return text;
}

TResult ImportWaypoints(const std::string& path, TWaypoints& waypoints, TDModule& dm) {
    const TResult r = dm.ImportKml(path);
    if (r.Ok()) LoadWaypoints(dm.KMLDataSet, waypoints);
    return r;
}

std::vector<TLink> RecountLinks(TWaypoints& waypoints) {
    std::vector<TLink> links;
    for (size_t a = 0; a < waypoints.Targets.size(); ++a) {
        TTarget& t = waypoints.Targets[a];
        t.LinkCount = 0;
        for (size_t b = 0; b < waypoints.Tesks.size(); ++b) {
            if (waypoints.Tesks[b].TargetName != t.Name) continue;
            ++t.LinkCount;
            links.push_back({static_cast<int>(b), static_cast<int>(a)});
        }
    }
    return links;
}

void Randomize(TWaypoints& waypoints, const TRandomInt& random) {
    const int n = static_cast<int>(waypoints.Targets.size());
    const auto draw = [&](int count) { return count <= 1 ? 0 : std::clamp(random(count), 0, count - 1); };
    for (size_t i = 0; i < waypoints.Tesks.size(); ++i) {
        TTesk& m = waypoints.Tesks[i];
        m.TargetName.clear();
        RecountLinks(waypoints);
        m.SetDelay(draw(10));
        if (n == 0) { // nothing to point at: keep the delays, leave the missile unassigned
            waypoints.AssignTarget(static_cast<int>(i), -1);
            continue;
        }
        const int s = draw(n);
        for (int k = 0; k < n; ++k) {
            const int j = (s + k) % n;
            if (!m.IsAssigned() && waypoints.Targets[static_cast<size_t>(j)].LinkCount == 0)
                waypoints.AssignTarget(static_cast<int>(i), j);
        }
        if (!m.IsAssigned()) waypoints.AssignTarget(static_cast<int>(i), draw(n));
        RecountLinks(waypoints);
    }
}

void SetAllRealistic(TWaypoints& waypoints, bool realistic) {
    for (auto& m : waypoints.Tesks)
        m.Realistic = realistic;
}

void SetAllPrecise(TWaypoints& waypoints, bool precise) {
    for (auto& m : waypoints.Tesks)
        m.Precise = precise;
}

std::vector<std::string> AssignedMissiles(const TWaypoints& waypoints) {
    std::vector<std::string> names;
    for (const auto& m : waypoints.Tesks)
        if (m.IsAssigned()) names.push_back(m.Name);
    return names;
}

std::string DefaultFocus(const TWaypoints& waypoints) {
    int best = -1;
    std::string bestName;
    for (const auto& m : waypoints.Tesks)
        if (m.IsAssigned() && m.Delay > best) {
            best = m.Delay;
            bestName = m.Name;
        }
    return bestName;
}

namespace {

std::string Filled(std::string_view pattern, const std::string& text) {
    const size_t at = pattern.find("%s");
    return std::string(pattern.substr(0, at)) + text + std::string(pattern.substr(at + 2));
}

// The note that names a placemark left out and says why; a long coordinates text is shown by its start.
std::string LeftOutNote(const TLeftOut& placemark) {
    static constexpr size_t ShownCoordinates = 40;
    std::string coordinates = placemark.Coordinates.substr(0, ShownCoordinates);
    if (placemark.Coordinates.size() > ShownCoordinates) coordinates += "...";
    const char* const patterns[] = {NoteLeftOutLaunchSite, NoteNoCoordinates, NoteNotOnTheEarth,
                                    NoteLaunchSiteWithoutPoint};
    std::string note = patterns[static_cast<int>(placemark.Reason)];
    // The coordinates (the second %s, where the note shows them) go in first, so a name with "%s" stays.
    if (const size_t second = note.rfind("%s"); second != note.find("%s"))
        note.replace(second, 2, coordinates);
    note.replace(note.find("%s"), 2, placemark.Name);
    return note;
}

} // namespace

TLines ScenarioNameWarnings(const std::string& scenarioName) {
    if (scenarioName.empty()) return {WarnNoScenarioName};
    if (!IsValidSaveName(scenarioName)) return {Filled(WarnBadScenarioName, scenarioName)};
    if (!StaysInFolder(scenarioName)) return {Filled(WarnScenarioNameOutside, scenarioName)};
    return {};
}

TLines TargetWarnings(const TWaypoints& waypoints) {
    if (!waypoints.AnyAssigned()) return {WarnNoTargets};
    return {};
}

TLines ShownDateWarnings(const TShownDate& shown) {
    TLines warnings;
    double parsed = 0;
    if (!TryParseDate(shown.Date, parsed)) warnings.push_back(Filled(WarnBadDate, shown.Date));
    if (!TryParseTime(shown.Time, parsed)) warnings.push_back(Filled(WarnBadTime, shown.Time));
    return warnings;
}

TLines LeftOutNotes(const TWaypoints& waypoints) {
    TLines notes;
    for (const TLeftOut& placemark : waypoints.LeftOut)
        notes.push_back(LeftOutNote(placemark));
    return notes;
}

TLines PlanAdvice(const TWaypoints& waypoints) {
    TLines advice;
    const auto leftOut = [&](int count, const char* kind) {
        if (count > 0)
            advice.push_back("The file holds " + std::to_string(MaxWaypointsPerKind + count) + " " + kind +
                             "; only the first " + std::to_string(MaxWaypointsPerKind) + " are used");
    };
    leftOut(waypoints.LeftOutTesks, "launch sites");
    leftOut(waypoints.LeftOutTargets, "targets");
    for (const TTesk& m : waypoints.Tesks)
        if (std::string line = ModelAdvice(m); !line.empty()) advice.push_back(std::move(line));
    return advice;
}

TShownDate ShownDate(double dateUtc, bool showUtc, int zoneMinutes) {
    const double shown = showUtc ? dateUtc : SubtractMinutes(zoneMinutes, dateUtc);
    return {FormatDate(shown), FormatTime(shown)};
}

bool ParseShownDate(const TShownDate& shown, bool showUtc, int zoneMinutes, double& dateUtc) {
    double date = 0, time = 0;
    if (!TryParseTime(shown.Time, time) || !TryParseDate(shown.Date, date)) return false;
    dateUtc = showUtc ? date + time : AddMinutes(zoneMinutes, date + time);
    return true;
}

} // namespace zm
