// zielmark-cli plan: a Google Earth KML file to a launch scenario, planned as the targeting page plans it.
#include "CliArgs.h"
#include "Commands.h"
#include "TextTable.h"

#include "Unit_DM.h"
#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_LaunchScenario.h"
#include "Unit_Plan.h"
#include "Unit_Targeting.h"

#include <algorithm>
#include <cstdio>

using namespace zm;

namespace {

const char* kUsage =
    "Usage: zielmark-cli plan KMLFILE --out SCENARIO [OPTIONS]\n"
    "\n"
    "Writes a launch scenario with one missile for every launch site (placemark named \"Tesk...\")\n"
    "that is pointed at a target.\n"
    "\n"
    "Options:\n"
    "  --out FILE              the scenario to write (\".scn\" replaces another extension)\n"
    "  --assign MISSILE=TARGET point a missile at a target (repeatable)\n"
    "  --random                point every missile at a random target with a random delay 0..9 s\n"
    "  --seed N                seed of --random (default: the clock)\n"
    "  --delay MISSILE=SECONDS launch delay 0..100 s (repeatable; after --random)\n"
    "  --realistic MISSILE=0|1 the missile's \"Realistic\" flag (repeatable; default 1)\n"
    "  --all-realistic 0|1     the flag of every missile\n"
    "  --alternate-models      realistic and simple model in turn, in list order (before --realistic)\n"
    "  --precise MISSILE=0|1   the missile's precise cut-off: the engine stops when the fall predicted\n"
    "                          with drag and the Earth's rotation reaches the target (repeatable;\n"
    "                          default 0, the model's own cut-off)\n"
    "  --all-precise 0|1       the precise cut-off of every missile (before --precise)\n"
    "  --description TEXT      a line of the scenario description (repeatable)\n"
    "  --focus MISSILE         the vessel the camera follows (default: the assigned missile that\n"
    "                          starts last)\n"
    "  --date DD.MM.YYYY       date of the first launch (default: today)\n"
    "  --time HH:MM            time of the first launch (default: now)\n"
    "  --utc                   date and time are UTC (default: the zone of the alphabetically\n"
    "                          first launch site, UTC + round(longitude / 15) hours)\n"
    "  --force                 replace an existing scenario file\n"
    "  --transforms DIR        folder of kml2datD.xtr and kml2datF.xtr (default: beside this program)\n"
    "  --help                  this text\n"
    "\n"
    "Exit codes: 0 written, 1 not written (bad input file, warnings, file exists, write error),\n"
    "2 wrong usage.\n";

int UsageError(const std::string& message) {
    std::fprintf(stderr, "zielmark-cli plan: %s\n\nzielmark-cli plan --help shows the options.\n",
                 message.c_str());
    return 2;
}

int Failure(const std::string& message) {
    std::fprintf(stderr, "zielmark-cli plan: %s\n", message.c_str());
    return 1;
}

bool SplitPair(const std::string& text, std::string& left, std::string& right) {
    const size_t eq = text.rfind('=');
    if (eq == std::string::npos || eq == 0) return false;
    left = text.substr(0, eq);
    right = text.substr(eq + 1);
    return true;
}

std::string Names(const auto& items) {
    std::string s;
    for (const auto& i : items)
        s += (s.empty() ? "" : ", ") + i.Name;
    return s.empty() ? "none" : s;
}

// The missile an option names: exact, else letter case ignored; when there is none, the usage error that
// lists the missiles there are.
struct TNamedMissile {
    int Index = -1;
    std::string Error;
};
TNamedMissile MissileNamed(const TWaypoints& w, const std::string& name) {
    const int exact = w.FindTesk(name);
    const int i = exact >= 0 ? exact : w.IndexOfTesk(name);
    if (i < 0) return {-1, "no missile \"" + name + "\"; missiles: " + Names(w.Tesks)};
    return {i, {}};
}

} // namespace

int RunPlan(int argc, char** argv) {
    const TCliArgs args = ParseCliArgs(argc, argv,
                                       {{"out", true},
                                        {"assign", true},
                                        {"random", false},
                                        {"seed", true},
                                        {"delay", true},
                                        {"realistic", true},
                                        {"all-realistic", true},
                                        {"alternate-models", false},
                                        {"precise", true},
                                        {"all-precise", true},
                                        {"description", true},
                                        {"focus", true},
                                        {"date", true},
                                        {"time", true},
                                        {"utc", false},
                                        {"force", false},
                                        {"transforms", true},
                                        {"help", false}});
    if (!args.Error.empty()) return UsageError(args.Error);
    if (args.Has("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.Positional.size() != 1) return UsageError("exactly one KML file expected");
    // The file first: options cannot help a file that is not there.
    if (DirectoryExists(args.Positional[0]))
        return Failure("\"" + args.Positional[0] + "\" is a folder, not a KML file");
    if (!FileExists(args.Positional[0]))
        return Failure("KML file \"" + args.Positional[0] + "\" does not exist");
    if (!args.Has("out")) return UsageError("--out SCENARIO is required");
    if (const std::string problem = OutputPathProblem("--out", args.Value("out")); !problem.empty())
        return UsageError(problem);
    if (!args.Has("assign") && !args.Has("random"))
        return UsageError("give --assign MISSILE=TARGET or --random");

    DModule().TransformDir = IncludeTrailingPathDelimiter(args.Value("transforms", ProgramDir()));
    const std::string kmlPath = args.Positional[0];
    const std::string out = args.Value("out");

    TLaunchPlan plan;
    plan.KmlFileName = ExtractFileName(kmlPath);
    const int systemBias = SystemBiasMinutes();
    plan.ScenarioDateUtc = AddMinutes(systemBias, NowLocal());
    const TResult imported =
        ImportWaypoints(JoinPath(ExtractFilePath(kmlPath), plan.KmlFileName), plan.Waypoints);
    if (imported.Code == TResultCode::Empty) return Failure("\"" + kmlPath + "\" holds no placemarks");
    if (!imported.Ok()) return Failure(imported.Message);
    // Launch sites whose names no scenario can carry are named; the others are planned.
    std::vector<std::string> notes;
    SplitLines(BulletedLines(LeftOutNotes(plan.Waypoints)), notes);
    for (const std::string& note : notes) // a name's line break shows as a line of its own
        std::fprintf(stderr, "zielmark-cli plan: warning: %s\n",
                     TerminalSafe(note.c_str() + (note.rfind("- ", 0) == 0 ? 2 : 0)).c_str());
    std::vector<std::string> noPoint;
    for (const zm::TLeftOut& placemark : plan.Waypoints.LeftOut)
        if (placemark.Reason == zm::TLeftOutReason::NoPoint) noPoint.push_back(placemark.Name);
    TWaypoints& w = plan.Waypoints;
    if (w.Tesks.empty() && !noPoint.empty()) {
        // The user sees launch sites in the file: they are named, and what they lack.
        std::string named;
        for (const std::string& name : noPoint)
            named += (named.empty() ? "\"" : ", \"") + TerminalSafe(name) + "\"";
        return Failure("\"" + kmlPath + "\" has no launch site with a point: " + named +
                       (noPoint.size() == 1 ? " has no point" : " have no point"));
    }
    if (w.Tesks.empty())
        return Failure("\"" + kmlPath +
                       "\" has no launch site (a placemark whose name begins with \"Tesk\")");

    if (args.Has("random")) {
        TRandomInt random = ClockSeededRandom();
        if (args.Has("seed")) {
            int seed = 0;
            if (!TryParseInt(args.Value("seed"), seed)) return UsageError("--seed needs an integer");
            random = SeededRandom(static_cast<unsigned>(seed));
        }
        Randomize(w, random);
    }
    for (const auto& a : args.Values("assign")) {
        std::string missile, target;
        if (!SplitPair(a, missile, target))
            return UsageError("--assign needs MISSILE=TARGET, not \"" + a + "\"");
        const TNamedMissile m = MissileNamed(w, missile);
        if (m.Index < 0) return UsageError(m.Error);
        const int j = w.IndexOfTarget(target);
        if (j < 0) return UsageError("no target \"" + target + "\"; targets: " + Names(w.Targets));
        w.AssignTarget(m.Index, j);
    }
    if (args.Has("all-realistic")) {
        const std::string v = args.Value("all-realistic");
        if (v != "0" && v != "1") return UsageError("--all-realistic needs 0 or 1");
        SetAllRealistic(w, v == "1");
    }
    if (args.Has("alternate-models"))
        for (size_t i = 0; i < w.Tesks.size(); ++i)
            w.Tesks[i].Realistic = i % 2 == 0;
    for (const auto& d : args.Values("delay")) {
        std::string missile, seconds;
        int value = 0;
        if (!SplitPair(d, missile, seconds) || !TryParseInt(seconds, value) || value < 0 ||
            value > MaxLaunchDelay)
            return UsageError("--delay needs MISSILE=SECONDS with 0..100 seconds, not \"" + d + "\"");
        const TNamedMissile m = MissileNamed(w, missile);
        if (m.Index < 0) return UsageError(m.Error);
        w.Tesks[static_cast<size_t>(m.Index)].SetDelay(value);
    }
    for (const auto& r : args.Values("realistic")) {
        std::string missile, flag;
        if (!SplitPair(r, missile, flag) || (flag != "0" && flag != "1"))
            return UsageError("--realistic needs MISSILE=0 or MISSILE=1, not \"" + r + "\"");
        const TNamedMissile m = MissileNamed(w, missile);
        if (m.Index < 0) return UsageError(m.Error);
        w.Tesks[static_cast<size_t>(m.Index)].Realistic = flag == "1";
    }
    if (args.Has("all-precise")) {
        const std::string v = args.Value("all-precise");
        if (v != "0" && v != "1") return UsageError("--all-precise needs 0 or 1");
        SetAllPrecise(w, v == "1");
    }
    for (const auto& p : args.Values("precise")) {
        std::string missile, flag;
        if (!SplitPair(p, missile, flag) || (flag != "0" && flag != "1"))
            return UsageError("--precise needs MISSILE=0 or MISSILE=1, not \"" + p + "\"");
        const TNamedMissile m = MissileNamed(w, missile);
        if (m.Index < 0) return UsageError(m.Error);
        w.Tesks[static_cast<size_t>(m.Index)].Precise = flag == "1";
    }
    plan.Focus = DefaultFocus(w);
    if (args.Has("focus")) {
        const std::vector<std::string> assigned = AssignedMissiles(w);
        plan.Focus = args.Value("focus");
        if (std::find(assigned.begin(), assigned.end(), plan.Focus) == assigned.end())
            return UsageError("--focus must name an assigned missile, not \"" + args.Value("focus") + "\"");
    }
    if (args.Has("description")) plan.Description = args.Values("description");

    // Date and time are read as the page reads its fields: local time in the zone of the first launch site.
    const bool utc = args.Has("utc");
    const int zone = ZoneMinutesForLongitude(w.Tesks.front().Lon);
    TShownDate shown = ShownDate(plan.ScenarioDateUtc, utc, zone);
    if (args.Has("date")) shown.Date = args.Value("date");
    if (args.Has("time")) shown.Time = args.Value("time");
    if (!ParseShownDate(shown, utc, zone, plan.ScenarioDateUtc))
        return UsageError("not a valid date and time: \"" + shown.Date + " " + shown.Time + "\"");

    const std::string scenarioName = ExtractFileName(out);
    const std::string folder = ExtractFilePath(out);
    if (!folder.empty() && !DirectoryExists(folder))
        return Failure("folder \"" + folder + "\" does not exist");
    TLines warnings = ScenarioNameWarnings(scenarioName);
    for (std::string& line : TargetWarnings(w))
        warnings.push_back(std::move(line));
    if (!warnings.empty()) return Failure("not written:\n" + BulletedLines(warnings));

    // The plan is saved as the page saves it, and the report shows the scenario as read back from the file.
    TTargetingPage page;
    page.SystemBiasMinutes = systemBias;
    page.ShowUtc = utc;
    page.ZoneMinutes = zone;
    page.ScenarioFileName = scenarioName;
    page.TakePlan(plan);
    page.DateText = shown.Date; // the fields the date was read from, read again by the save
    page.TimeText = shown.Time;
    const bool force = args.Has("force");
    std::string mru;
    const TResultOf<std::string> saved = SaveLaunchScenario(
        page, folder, [&](const std::string& question) { return question != AskOverwrite || force; }, mru);
    if (saved.Code == TResultCode::Declined)
        return Failure("\"" + saved.Value + "\" exists; --force replaces it");
    if (!saved.Ok()) return Failure(saved.Message);
    std::printf("Written: %s\n", saved.Value.c_str());
    std::printf("Date: %s %s UTC\n", FormatDate(page.ScenarioDateUtc).c_str(),
                FormatTime(page.ScenarioDateUtc).c_str());
    std::printf("Focus: %s\n", page.FocusName().c_str());
    std::vector<std::vector<std::string>> rows = {
        {"Missile", "Target", "Range km", "Azimuth deg", "Delay s", "Model"}};
    for (const auto& m : page.Waypoints.Tesks) {
        if (!m.IsAssigned()) {
            rows.push_back({m.Name, "no target (left out)"});
            continue;
        }
        rows.push_back({m.Name, m.TargetName, FormatFixed(m.Range / 1000.0L, 1), FormatFixed(m.Azimuth, 1),
                        std::to_string(m.Delay),
                        std::string(m.Realistic ? "realistic" : "simple") + (m.Precise ? ", precise" : "")});
    }
    PrintTextTable(rows, {false, false, true, true, true, false});
    // Advice does not stop the scenario: the user may want just that firing.
    if (!page.Advice.empty()) {
        std::string advice = BulletedLines(page.Advice);
        for (size_t cr; (cr = advice.find('\r')) != std::string::npos;)
            advice.erase(cr, 1);
        std::printf("Warnings:\n%s", advice.c_str());
    }
    return 0;
}
