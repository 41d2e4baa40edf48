#include "Unit_Targeting.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_ModelAdvice.h"

#include <algorithm>

namespace zm {

void TTargetingPage::Clear(double nowLocal) {
    Waypoints.Clear();
    Notes.clear();
    KmlDescription.clear();
    ScenarioFiles.clear();
    ScenarioFileName.clear();
    ScenarioRead = {};
    Description.clear(); // the box shows its prompt
    FocusList.clear();
    FocusIndex = -1;
    Focus.clear();
    NowUtc = AddMinutes(SystemBiasMinutes, nowLocal);
    ScenarioDateUtc = NowUtc;
    OrbDateTimeToGUI();
    MarkUnchanged();
}

TResult TTargetingPage::LoadKml(const std::string& folder, const std::string& fileName, double nowLocal,
                                TDModule& dm) {
    KmlFileName = fileName;
    Clear(nowLocal);
    const std::string path = JoinPath(folder, fileName);
    const TResult r = ImportWaypoints(path, Waypoints, dm);
    if (!r.Ok()) return r;
    KmlDescription = ReadKmlDescription(path);
    Notes = LeftOutNotes(Waypoints);
    if (!Waypoints.Tesks.empty()) ZoneMinutes = ZoneMinutesForLongitude(Waypoints.Tesks.front().Lon);
    OrbDateTimeToGUI();
    MarkUnchanged();
    return r;
}

void TTargetingPage::TakePlan(const TLaunchPlan& plan) {
    static_cast<TLaunchPlan&>(*this) = plan;
    RecountLinks();
    FocusList = AssignedMissiles(Waypoints);
    SelectFocus(plan.Focus);
    OrbDateTimeToGUI();
    UpdateGEtoOrbWarnings();
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
    return zm::RecountLinks(Waypoints);
}

void TTargetingPage::FillFocusList() {
    FocusList = AssignedMissiles(Waypoints);
    FocusIndex = -1;
    Focus.clear();
    if (FocusEnabled()) SelectFocus(DefaultFocus(Waypoints));
}

void TTargetingPage::SelectFocus(std::string_view name) {
    const auto found = std::find(FocusList.begin(), FocusList.end(), name);
    SelectFocusAt(found == FocusList.end() ? -1 : static_cast<int>(found - FocusList.begin()));
}

void TTargetingPage::SelectFocusAt(int index) {
    const bool listed = index >= 0 && index < static_cast<int>(FocusList.size());
    FocusIndex = listed ? index : -1;
    Focus = listed ? FocusList[static_cast<size_t>(index)] : std::string();
}

void TTargetingPage::Randomize(const TRandomInt& random) {
    zm::Randomize(Waypoints, random);
    UpdateGEtoOrbWarnings();
    FillFocusList();
}

void TTargetingPage::SetAllRealistic(bool checked) {
    FlipAllChecked = checked;
    zm::SetAllRealistic(Waypoints, checked);
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
    zm::SetAllPrecise(Waypoints, precise);
    UpdateGEtoOrbWarnings();
}

void TTargetingPage::UpdateGEtoOrbWarnings() {
    Warnings = ScenarioNameWarnings(ScenarioFileName);
    for (std::string& line : TargetWarnings(Waypoints))
        Warnings.push_back(std::move(line));
    for (std::string& line : ShownDateWarnings({DateText, TimeText}))
        Warnings.push_back(std::move(line));
    Advice = PlanAdvice(Waypoints);
}

void TTargetingPage::OrbDateTimeToGUI() {
    const TShownDate shown = ShownDate(ScenarioDateUtc, ShowUtc, ZoneMinutes);
    DateText = shown.Date;
    TimeText = shown.Time;
}

bool TTargetingPage::DateTimeGUItoUTC() {
    return ParseShownDate({DateText, TimeText}, ShowUtc, ZoneMinutes, ScenarioDateUtc);
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
