#include "Unit_Targeting.h"

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

std::string TTargetingPage::FocusName() const {
    return FocusIndex >= 0 && FocusIndex < static_cast<int>(FocusList.size())
               ? FocusList[static_cast<size_t>(FocusIndex)]
               : std::string();
}

void TTargetingPage::Clear(double nowLocal) {
    Waypoints.Clear();
    NotesText.clear();
    KmlDescription.clear();
    ScenarioFiles.clear();
    ScenarioFileName.clear();
    ScenarioRead = {};
    Description.clear(); // the box shows its prompt
    FocusList.clear();
    FocusIndex = -1;
    NowUtc = AddMinutes(SystemBiasMinutes, nowLocal);
    ScenarioDateUtc = NowUtc;
    OrbDateTimeToGUI();
    MarkUnchanged();
}

namespace {
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

TResult TTargetingPage::LoadKml(const std::string& folder, const std::string& fileName, double nowLocal,
                                TDModule& dm) {
    KmlFileName = fileName;
    Clear(nowLocal);
    const std::string path = JoinPath(folder, fileName);
    const TResult r = dm.ImportKml(path);
    if (!r.Ok()) return r;
    KmlDescription = ReadKmlDescription(path);
    LoadWaypoints(dm.KMLDataSet, Waypoints);
    for (const TLeftOut& placemark : Waypoints.LeftOut)
        NotesText += LeftOutNote(placemark);
    if (!Waypoints.Tesks.empty()) ZoneMinutes = ZoneMinutesForLongitude(Waypoints.Tesks.front().Lon);
    OrbDateTimeToGUI();
    MarkUnchanged();
    return r;
}

void TTargetingPage::AssignTarget(int tesk, int target) {
    Waypoints.AssignTarget(tesk, target);
    UpdateGEtoOrbWarnings();
}

void TTargetingPage::DropOnTarget(int tesk, int target) {
    if (tesk < 0 || tesk >= static_cast<int>(Waypoints.Tesks.size())) return;
    AssignTarget(tesk, target);
    RecountLinks();
    FillFocusList();
}

std::vector<TLink> TTargetingPage::RecountLinks() {
    std::vector<TLink> links;
    for (size_t a = 0; a < Waypoints.Targets.size(); ++a) {
        TTarget& t = Waypoints.Targets[a];
        t.LinkCount = 0;
        for (size_t b = 0; b < Waypoints.Tesks.size(); ++b) {
            if (Waypoints.Tesks[b].TargetName != t.Name) continue;
            ++t.LinkCount;
            links.push_back({static_cast<int>(b), static_cast<int>(a)});
        }
    }
    return links;
}

void TTargetingPage::FillFocusList() {
    FocusList.clear();
    FocusIndex = -1;
    int best = -1;
    std::string bestName;
    for (const auto& m : Waypoints.Tesks) {
        if (!m.IsAssigned()) continue;
        FocusList.push_back(m.Name);
        if (m.Delay > best) {
            best = m.Delay;
            bestName = m.Name;
        }
    }
    if (FocusEnabled()) SelectFocus(bestName);
}

void TTargetingPage::SelectFocus(std::string_view name) {
    FocusIndex = -1;
    for (size_t i = 0; i < FocusList.size(); ++i)
        if (FocusList[i] == name) {
            FocusIndex = static_cast<int>(i);
            return;
        }
}

void TTargetingPage::Randomize(const TRandomInt& random) {
    const int n = static_cast<int>(Waypoints.Targets.size());
    const auto draw = [&](int count) { return count <= 1 ? 0 : std::clamp(random(count), 0, count - 1); };
    for (size_t i = 0; i < Waypoints.Tesks.size(); ++i) {
        TTesk& m = Waypoints.Tesks[i];
        m.TargetName.clear();
        RecountLinks();
        m.SetDelay(draw(10));
        if (n == 0) { // nothing to point at: keep the delays, leave the missile unassigned
            AssignTarget(static_cast<int>(i), -1);
            continue;
        }
        const int s = draw(n);
        for (int k = 0; k < n; ++k) {
            const int j = (s + k) % n;
            if (!m.IsAssigned() && Waypoints.Targets[static_cast<size_t>(j)].LinkCount == 0)
                AssignTarget(static_cast<int>(i), j);
        }
        if (!m.IsAssigned()) AssignTarget(static_cast<int>(i), draw(n));
        RecountLinks();
    }
    UpdateGEtoOrbWarnings();
    FillFocusList();
}

void TTargetingPage::SetAllRealistic(bool checked) {
    FlipAllChecked = checked;
    for (auto& m : Waypoints.Tesks)
        m.Realistic = checked;
    UpdateGEtoOrbWarnings();
}

void TTargetingPage::SetRealistic(int tesk, bool realistic) {
    if (tesk < 0 || tesk >= static_cast<int>(Waypoints.Tesks.size())) return;
    Waypoints.Tesks[static_cast<size_t>(tesk)].Realistic = realistic;
    UpdateGEtoOrbWarnings();
}

void TTargetingPage::SetPrecise(int tesk, bool precise) {
    if (tesk < 0 || tesk >= static_cast<int>(Waypoints.Tesks.size())) return;
    Waypoints.Tesks[static_cast<size_t>(tesk)].Precise = precise;
    UpdateGEtoOrbWarnings();
}

void TTargetingPage::SetAllPrecise(bool precise) {
    for (auto& m : Waypoints.Tesks)
        m.Precise = precise;
    UpdateGEtoOrbWarnings();
}

namespace {

std::string Filled(std::string_view pattern, const std::string& text) {
    const size_t at = pattern.find("%s");
    return std::string(pattern.substr(0, at)) + text + std::string(pattern.substr(at + 2));
}

} // namespace

void TTargetingPage::UpdateGEtoOrbWarnings() {
    WarningsText.clear();
    if (ScenarioFileName.empty()) {
        WarningsText += WarnNoScenarioName;
    } else if (!IsValidSaveName(ScenarioFileName)) {
        WarningsText += Filled(WarnBadScenarioName, ScenarioFileName);
    } else if (!StaysInFolder(ScenarioFileName)) {
        WarningsText += Filled(WarnScenarioNameOutside, ScenarioFileName);
    }
    if (!Waypoints.AnyAssigned()) WarningsText += WarnNoTargets;
    // A date or time the fields show but that does not parse would be saved as the last valid one.
    double parsed = 0;
    if (!TryParseDate(DateText, parsed)) WarningsText += Filled(WarnBadDate, DateText);
    if (!TryParseTime(TimeText, parsed)) WarningsText += Filled(WarnBadTime, TimeText);

    AdviceText.clear();
    const auto leftOut = [&](int count, const char* kind) {
        if (count > 0)
            AdviceText += "- The file holds " + std::to_string(MaxWaypointsPerKind + count) + " " + kind +
                          "; only the first " + std::to_string(MaxWaypointsPerKind) + " are used\r\n";
    };
    leftOut(Waypoints.LeftOutTesks, "launch sites");
    leftOut(Waypoints.LeftOutTargets, "targets");
    for (const TTesk& m : Waypoints.Tesks)
        AdviceText += ModelAdvice(m);
}

void TTargetingPage::OrbDateTimeToGUI() {
    const double shown = ShowUtc ? ScenarioDateUtc : SubtractMinutes(ZoneMinutes, ScenarioDateUtc);
    DateText = FormatDate(shown);
    TimeText = FormatTime(shown);
}

bool TTargetingPage::DateTimeGUItoUTC() {
    double date = 0, time = 0;
    if (!TryParseTime(TimeText, time) || !TryParseDate(DateText, date)) return false;
    ScenarioDateUtc = ShowUtc ? date + time : AddMinutes(ZoneMinutes, date + time);
    return true;
}

void TTargetingPage::SetShowUtc(bool utc) {
    ShowUtc = utc;
    OrbDateTimeToGUI();
}

std::string PreselectedSourceKml(const std::vector<std::string>& files, const std::string& mru,
                                 const std::string& newest) {
    for (const std::string& wanted : {mru, newest}) {
        if (wanted.empty()) continue;
        for (const auto& f : files)
            if (SameText(f, wanted)) return f;
    }
    return {};
}

} // namespace zm
