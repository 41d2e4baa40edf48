// zielmark-cli plan, run as the user runs it: a missing file named as such, a table that keeps its columns
// with long names, and warnings that say what the plan leaves out or cannot fly, without refusing it.
#include "CliRun.h"
#include "TestFolder.h"
#include "Unit_Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zm::test;

namespace {

class PlanCli : public TCliTest {
protected:
    TRun Plan(const std::string& args) const {
        return RunCli("plan --transforms '" + DataDir() + "' " + args);
    }
};

// The line of the output that begins with text, or empty.
std::string LineStarting(const std::string& out, const std::string& text) {
    const size_t at = out.find("\n" + text);
    if (at == std::string::npos) return {};
    return out.substr(at + 1, out.find('\n', at + 1) - at - 1);
}

} // namespace

TEST_F(PlanCli, AMissingKmlFileIsNamedBeforeAnyOption) {
    for (const std::string args :
         {"/nonexistent.kml", "/nonexistent.kml --out x.scn", "gone.kml --random --out x.scn"}) {
        const TRun run = Plan(args);
        EXPECT_EQ(run.Code, 1) << args;
        const std::string file = args.substr(0, args.find(' '));
        EXPECT_NE(run.Err.find("KML file \"" + file + "\" does not exist"), std::string::npos) << args << "\n"
                                                                                               << run.Err;
        EXPECT_EQ(run.Err.find("--assign"), std::string::npos) << run.Err;
    }
    const TRun folder = Plan("/tmp --random --out x.scn");
    EXPECT_EQ(folder.Code, 1);
    EXPECT_NE(folder.Err.find("\"/tmp\" is a folder, not a KML file"), std::string::npos) << folder.Err;
}

TEST_F(PlanCli, TheTableKeepsItsColumnsWithLongNames) {
    const std::string longSite = "TeskAlpha of the northern launch complex";
    const std::string longTarget = "Basin & Ridge beyond the Great Salt Flat";
    Write("range.kml", KmlDocument({{longSite, "-116.05,37.05,0"},
                                    {"TeskB", "-115.82,36.63,0"},
                                    {"Basin &amp; Ridge beyond the Great Salt Flat", "-116.92,37.61,0"},
                                    {"Near", "-115.80,36.70,0"}}));
    const TRun run = Plan("range.kml --out s.scn --date 01.05.2026 --time 12:00 --utc --assign '" + longSite +
                          "=" + longTarget + "' --assign TeskB=Near");
    ASSERT_EQ(run.Code, 0) << run.Err;
    const std::string heading = LineStarting(run.Out, "Missile");
    const std::string first = LineStarting(run.Out, longSite);
    const std::string second = LineStarting(run.Out, "TeskB ");
    ASSERT_FALSE(heading.empty() || first.empty() || second.empty()) << run.Out;
    // Names begin where their heading begins, figures end where theirs ends, in every row.
    const struct {
        std::string heading;
        bool right;
    } columns[] = {
        {"Target", false}, {"Range km", true}, {"Azimuth deg", true}, {"Delay s", true}, {"Model", false}};
    for (const auto& c : columns) {
        const size_t begin = heading.find(c.heading), end = begin + c.heading.size();
        for (const std::string& row : {first, second}) {
            ASSERT_GT(row.size(), end) << row;
            if (c.right)
                EXPECT_TRUE(row[end - 1] != ' ' && row[end] == ' ') << c.heading << "\n" << run.Out;
            else
                EXPECT_TRUE(row[begin] != ' ' && row[begin - 1] == ' ') << c.heading << "\n" << run.Out;
        }
    }
    EXPECT_NE(first.find(longTarget), std::string::npos) << run.Out;
}

// A placemark named as a launch site but without a point is named, and said to have none: the user sees a
// launch site in the file and would not understand "no launch site".
TEST_F(PlanCli, ALaunchSiteWithoutAPointIsNamed) {
    Write("nopoint.kml",
          "<?xml version=\"1.0\"?><kml><Document>"
          "<Placemark><name>Tesk_North</name></Placemark>"
          "<Placemark><name>Hill</name><Point><coordinates>14,53</coordinates></Point></Placemark>"
          "</Document></kml>");
    const TRun run = Plan("nopoint.kml --out s.scn --random");
    EXPECT_EQ(run.Code, 1);
    EXPECT_NE(run.Err.find("warning: Launch site \"Tesk_North\" is left out: it has no point!"),
              std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find("has no launch site with a point: \"Tesk_North\" has no point"), std::string::npos)
        << run.Err;
    EXPECT_EQ(run.Err.find("(a placemark whose name begins"), std::string::npos) << run.Err;
}

// Chinese, Japanese and Korean characters take two columns of a terminal: the table pads by what the terminal
// shows, so every column starts in the same terminal column in every row.
TEST_F(PlanCli, EastAsianNamesKeepTheColumns) {
    const std::string site = "Tesk_\xe6\x9d\xb1\xe4\xba\xac";          // Tesk_ and two kanji: 9 columns
    const std::string target = "\xe5\xaf\x8c\xe5\xa3\xab\xe5\xb1\xb1"; // three kanji: 6 columns
    EXPECT_EQ(zm::Utf8Width(site), 9u);
    EXPECT_EQ(zm::Utf8Width("e\xcc\x81"), 1u);                // e and a combining acute accent
    EXPECT_EQ(zm::Utf8Width("\xef\xbc\xa1\xea\xb0\x80"), 4u); // a full-width A, a Hangul syllable
    Write("japan.kml", KmlDocument({{site, "139.69,35.69,0"},
                                    {"TeskB", "139.50,35.40,0"},
                                    {target, "138.73,35.36,0"},
                                    {"Near", "139.60,35.50,0"}}));
    const TRun run = Plan("japan.kml --out s.scn --date 01.05.2026 --time 12:00 --utc --assign '" + site +
                          "=" + target + "' --assign TeskB=Near");
    ASSERT_EQ(run.Code, 0) << run.Err;
    const std::string heading = LineStarting(run.Out, "Missile");
    const std::string first = LineStarting(run.Out, site);
    const std::string second = LineStarting(run.Out, "TeskB ");
    ASSERT_FALSE(heading.empty() || first.empty() || second.empty()) << run.Out;
    // The terminal column where each word of a line begins.
    const auto starts = [](const std::string& line) {
        std::vector<size_t> columns;
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] != ' ' && (i == 0 || (line[i - 1] == ' ' && (i < 2 || line[i - 2] == ' '))))
                columns.push_back(zm::Utf8Width(line.substr(0, i)));
        return columns;
    };
    // "Target" begins where the target names begin, in both rows.
    const size_t targetColumn = zm::Utf8Width(heading.substr(0, heading.find("Target")));
    const std::vector<size_t> a = starts(first), b = starts(second);
    EXPECT_NE(std::find(a.begin(), a.end(), targetColumn), a.end()) << run.Out;
    EXPECT_NE(std::find(b.begin(), b.end(), targetColumn), b.end()) << run.Out;
    // A figure column ends in the same terminal column in every row.
    const size_t rangeEnd = zm::Utf8Width(heading.substr(0, heading.find("Range km") + 8));
    for (const std::string& row : {first, second}) {
        size_t end = 0, bytes = 0;
        while (bytes < row.size() && zm::Utf8Width(row.substr(0, bytes)) < rangeEnd)
            ++bytes;
        end = bytes;
        ASSERT_LT(end, row.size()) << row;
        EXPECT_TRUE(row[end - 1] != ' ' && row[end] == ' ') << row << "\n" << run.Out;
    }
}

// An output that is no file to write is refused before anything is planned; ".scn" is never appended to a
// device's name.
TEST_F(PlanCli, AnOutputThatIsNoFileIsRefused) {
    Write("range.kml", KmlDocument({{"TeskB", "-115.82,36.63,0"}, {"Near", "-115.80,36.70,0"}}));
    const struct {
        std::string out;
        std::string message;
    } cases[] = {
        {"''", "--out needs a file name, not an empty text"},
        {"/dev/null", "--out \"/dev/null\" is a device or pipe, not a file to write"},
    };
    for (const auto& c : cases) {
        const TRun run = Plan("range.kml --random --out " + c.out);
        EXPECT_EQ(run.Code, 2) << c.out;
        EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(std::filesystem::exists("/dev/null.scn"));
}

// A launch site or target that is no place on the Earth is named on the error output and left out; the
// scenario holds only positions the host reads back as the places planned.
TEST_F(PlanCli, PlacemarksThatAreNoPlaceAreNamedAndLeftOut) {
    Write("range.kml", KmlDocument({{"TeskFar", "1e400,37,0"},
                                    {"TeskPole", "-116,95"},
                                    {"TeskNone", "-116 37"},
                                    {"TeskB", "-115.82,36.63,0"},
                                    {"Beyond", "200,37,0"},
                                    {"Near", "-115.80,36.70,0"}}));
    const TRun run = Plan("range.kml --out s.scn --random --seed 1");
    ASSERT_EQ(run.Code, 0) << run.Err;
    for (const std::string name : {"TeskFar", "TeskPole", "TeskNone", "Beyond"})
        EXPECT_NE(run.Err.find("warning: Placemark \"" + name + "\" is left out"), std::string::npos)
            << name << "\n"
            << run.Err;
    const std::string scenario = Read(Path("s.scn"));
    EXPECT_NE(scenario.find("TeskB:Teski"), std::string::npos) << scenario;
    for (const std::string gone : {"TeskFar", "TeskPole", "TeskNone", "Beyond"})
        EXPECT_EQ(scenario.find(gone), std::string::npos) << scenario;
    EXPECT_EQ(scenario.find("00000000000000000000"), std::string::npos) << scenario;
}

// More than ten launch sites or targets, and a model asked for a range it cannot fly: the scenario is
// written all the same, and the warnings say so.
TEST_F(PlanCli, WarningsSayWhatIsLeftOutAndWhatAModelCannotDo) {
    std::vector<std::pair<std::string, std::string>> placemarks;
    for (int i = 0; i < 12; ++i)
        placemarks.push_back({"Tesk" + std::to_string(10 + i), "10.0,50.0,0"});
    placemarks.push_back({"Far", "18.5,50.0,0"}); // about 600 km east
    for (int i = 0; i < 11; ++i)
        placemarks.push_back({"Target" + std::to_string(10 + i), "10.1,50.0,0"});
    Write("many.kml", KmlDocument(placemarks));
    const TRun run = Plan("many.kml --out s.scn --assign Tesk10=Target10 --realistic Tesk10=0");
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(run.Out.find("Warnings:\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("- The file holds 12 launch sites; only the first 10 are used\n"),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("- The file holds 12 targets; only the first 10 are used\n"), std::string::npos)
        << run.Out;
    EXPECT_TRUE(std::filesystem::exists(Path("s.scn")));

    const TRun far = Plan("many.kml --out far.scn --assign Tesk11=Far --realistic Tesk11=0");
    ASSERT_EQ(far.Code, 0) << far.Err;
    EXPECT_NE(far.Out.find("- Tesk11: "), std::string::npos) << far.Out;
    EXPECT_NE(far.Out.find("beyond the simple model's reach"), std::string::npos) << far.Out;
    EXPECT_TRUE(std::filesystem::exists(Path("far.scn")));
}

// The precise cut-off is chosen like the model: for every missile, then missile by missile; the file holds
// the key only in a precise missile's block, and the table says which missiles have it.
TEST_F(PlanCli, ThePreciseCutOffIsChosenPerMissileAndForAll) {
    Write("range.kml", KmlDocument({{"TeskA", "-116.05,37.05,0"},
                                    {"TeskB", "-115.82,36.63,0"},
                                    {"Dry", "-116.92,37.61,0"},
                                    {"Near", "-115.80,36.70,0"}}));
    const std::string assign = "range.kml --out s.scn --force --assign TeskA=Dry --assign TeskB=Near ";
    const TRun run = Plan(assign + "--all-precise 1 --precise teskb=0 --realistic TeskA=0");
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(LineStarting(run.Out, "TeskA ").find(" simple, precise"), std::string::npos) << run.Out;
    EXPECT_EQ(LineStarting(run.Out, "TeskB ").find("precise"), std::string::npos) << run.Out;
    const std::string text = Read(Path("s.scn"));
    const size_t a = text.find("TeskA:Teski"), b = text.find("TeskB:Teski");
    ASSERT_LT(a, b);
    EXPECT_EQ(text.find("  PRECISE 1\r\n"), text.find("  TARGET Dry\r\n") + 14) << text;
    EXPECT_EQ(text.find("PRECISE", text.find("  PRECISE 1") + 11), std::string::npos) << text;

    ASSERT_EQ(Plan(assign).Code, 0);
    EXPECT_EQ(Read(Path("s.scn")).find("PRECISE"), std::string::npos) << "off unless chosen";

    const struct {
        std::string options, error;
    } wrong[] = {
        {"--precise TeskA=2", "--precise needs MISSILE=0 or MISSILE=1, not \"TeskA=2\""},
        {"--precise TeskA", "--precise needs MISSILE=0 or MISSILE=1, not \"TeskA\""},
        {"--precise Nobody=1", "no missile \"Nobody\"; missiles: TeskA, TeskB"},
        {"--all-precise yes", "--all-precise needs 0 or 1"},
        {"--all-precise", "--all-precise"},
    };
    for (const auto& w : wrong) {
        const TRun bad = Plan(assign + w.options);
        EXPECT_EQ(bad.Code, 2) << w.options;
        EXPECT_NE(bad.Err.find(w.error), std::string::npos) << w.options << "\n" << bad.Err;
    }
}
