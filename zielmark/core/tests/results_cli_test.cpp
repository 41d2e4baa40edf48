// zielmark-cli results, run as the user runs it: figures table, result KML, diagrams, errors, exit codes.
// Runs the program built beside this test; skipped when it has not been built.
#include "CliRun.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace fs = std::filesystem;
using namespace zm::test;

namespace {

class ResultsCli : public TCliTest {
protected:
    TRun Run(const std::string& args) const { return RunCli("results " + args); }
};

const char* const Scenario = "BEGIN_SHIPS\r\n"
                             "Tesk_3-Wreck:TeskiWreck\r\n"
                             "  LANDED 1\r\n"
                             "  LATITUDE_TARGET 0.0000000000000\r\n"
                             "  LONGITUDE_TARGET 1.0000000000000\r\n"
                             "  RANGE_ACTUAL 112195.4\r\n"
                             "  RANGE_MISS 1000.0\r\n"
                             "  AZIMUTH_MISS 90.0\r\n"
                             "  LATERAL_MISS 0.0\r\n"
                             "  LONGITUDAL_MISS 1000.0\r\n"
                             "  LATITUDE_LAUNCH 0.0000000000000\r\n"
                             "  LONGITUDE_LAUNCH 0.0000000000000\r\n"
                             "  TARGET Fish & Chips\r\n"
                             "  FAILURE Engine failure\r\n"
                             "  TRACK 0 0.0 0.0 0.0 1\r\n"
                             "  TRACK 1 0.01 0.0 5231.7 3\r\n"
                             "END\r\n"
                             "END_SHIPS\r\n";

} // namespace

TEST_F(ResultsCli, PrintsTheFiguresAndWritesTheResultKmlAndDiagrams) {
    Write("flight.scn", Scenario);
    const TRun run = Run("flight.scn --kml out --diagrams diagrams");
    ASSERT_EQ(run.Code, 0) << run.Err;
    // Caption, launch azimuth, planned and actual range, miss, longitudinal and lateral miss, failure.
    EXPECT_NE(run.Out.find("Tesk_3 to Fish & Chips"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("  90  "), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("  111195  "), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("  112195  "), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Engine failure"), std::string::npos) << run.Out;

    const std::string kml = Read(Path("out.kml"));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kml.c_str())) << kml;
    EXPECT_STREQ(doc.child("kml").child("Document").child_value("name"), "out.kml");
    EXPECT_NE(kml.find(",5231.7000000000000000\r\n"), std::string::npos);
    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_file(Path("diagrams/01_Tesk_3.svg").c_str()));
    EXPECT_TRUE(svg.child("svg"));
}

// A wreck block without its miss lines: the table shows the misses as missing, not as a hit of 0, the
// diagram says why it is empty, and the KML is written from what the block gives.
TEST_F(ResultsCli, FiguresTheBlockDoesNotGiveAreShownAsMissing) {
    std::string scenario = Scenario;
    for (const char* key : {"  RANGE_MISS ", "  AZIMUTH_MISS ", "  LATERAL_MISS ", "  LONGITUDAL_MISS "}) {
        const size_t at = scenario.find(key);
        scenario.erase(at, scenario.find("\r\n", at) + 2 - at);
    }
    Write("flight.scn", scenario);
    const TRun run = Run("flight.scn --kml out --diagrams diagrams");
    ASSERT_EQ(run.Code, 0) << run.Err;
    const size_t row = run.Out.find("Tesk_3 to Fish & Chips");
    ASSERT_NE(row, std::string::npos) << run.Out;
    const std::string line = run.Out.substr(row, run.Out.find('\n', row) - row);
    EXPECT_NE(line.find("  112195  "), std::string::npos) << line;
    EXPECT_NE(line.find("  -  "), std::string::npos) << line;
    EXPECT_EQ(line.find("  0  "), std::string::npos) << line;
    EXPECT_NE(run.Out.find("01_Tesk_3.svg (figures missing: empty diagram)"), std::string::npos) << run.Out;
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file(Path("out.kml").c_str()));
}

// Control characters in a wreck's names and failure text reach the terminal as escapes, so a name cannot
// clear the screen or ring the bell; the scenario stays as it is.
TEST_F(ResultsCli, ControlCharactersInNamesArePrintedEscaped) {
    std::string scenario = Scenario;
    scenario.replace(scenario.find("Tesk_3-Wreck"), 6, "Tesk\x1b[2J\x07");
    scenario.replace(scenario.find("Engine failure"), 6, "Eng\xc2\x9bine");
    Write("flight.scn", scenario);
    const TRun run = Run("flight.scn");
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(run.Out.find("Tesk\\x1B[2J\\x07 to Fish & Chips"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Eng\\u009Bine"), std::string::npos) << run.Out;
    for (const char raw : {'\x1b', '\x07'})
        EXPECT_EQ(run.Out.find(raw), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("\xc2\x9b"), std::string::npos) << run.Out;
    // Cut inside the block, the error that names it is escaped as well.
    Write("cut.scn", scenario.substr(0, scenario.find("  TARGET")));
    const TRun cut = Run("cut.scn");
    EXPECT_EQ(cut.Code, 1);
    EXPECT_NE(cut.Err.find("line 2: the wreck block of \"Tesk\\x1B[2J\\x07-Wreck\" has no END line"),
              std::string::npos)
        << cut.Err;
    EXPECT_EQ(cut.Err.find('\x1b'), std::string::npos) << cut.Err;
}

TEST_F(ResultsCli, RefusesToOverwriteWithoutForce) {
    Write("flight.scn", Scenario);
    Write("out.kml", "mine");
    TRun run = Run("flight.scn --kml out.kml");
    EXPECT_EQ(run.Code, 1);
    EXPECT_NE(run.Err.find("--force"), std::string::npos) << run.Err;
    EXPECT_EQ(Read(Path("out.kml")), "mine");
    run = Run("flight.scn --kml out.kml --force");
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(Read(Path("out.kml")), "mine");
}

TEST_F(ResultsCli, ErrorsAndExitCodes) {
    Write("flight.scn", Scenario);
    std::string bad = Scenario;
    bad.replace(bad.find("1000.0"), 6, "1,000");
    Write("bad.scn", bad);
    const struct {
        std::string args;
        int code;
        std::string message; // in stdout for --help, in stderr otherwise
    } cases[] = {
        {"--help", 0, "Usage: zielmark-cli results SCENARIO"},
        {"", 2, "which scenario?"},
        {"flight.scn --bogus", 2, "unknown option \"--bogus\""},
        {"flight.scn other.scn", 2, "only one scenario"},
        {"flight.scn --kml", 2, "--kml needs a value"},
        {"flight.scn --kml 'a?b'", 2, "not a usable file name"},
        {"gone.scn", 1, "\"gone.scn\" does not exist"},
        {"flight.scn --kml flight.scn/out.kml", 1, "cannot create folder \"flight.scn/\""},
        {"bad.scn --kml never", 1, "bad.scn: line 7:"},
        {"folder.scn", 1, "\"folder.scn\" is a folder, not a scenario file"},
        {"pipe.scn --kml never", 1, "\"pipe.scn\": not a regular file"},
        {"flight.scn --kml ''", 2, "--kml needs a file name, not an empty text"},
        {"flight.scn --kml=", 2, "--kml needs a file name, not an empty text"},
        {"flight.scn --diagrams ''", 2, "--diagrams needs a folder, not an empty text"},
        {"flight.scn --kml /dev/null", 2, "--kml \"/dev/null\" is a device or pipe, not a file to write"},
        {"flight.scn --replay ''", 2, "--replay needs a file name, not an empty text"},
        {"flight.scn --replay 'a?b'", 2, "not a usable file name for --replay"},
        {"flight.scn --kml same --replay same.kml", 2, "--kml and --replay name the same file"},
        {"flight.scn --kml pipe.scn", 2, "--kml \"pipe.scn\" is a device or pipe, not a file to write"},
    };
    fs::create_directory(Path("folder.scn"));
    ASSERT_EQ(mkfifo(Path("pipe.scn").c_str(), 0644), 0);
    for (const auto& c : cases) {
        const TRun run = Run(c.args);
        EXPECT_EQ(run.Code, c.code) << c.args << "\n" << run.Err;
        EXPECT_NE((c.code == 0 ? run.Out : run.Err).find(c.message), std::string::npos) << c.args << "\n"
                                                                                        << run.Err;
    }
    EXPECT_FALSE(fs::exists(Path("never.kml"))); // a bad scenario writes nothing
    EXPECT_FALSE(fs::exists("/dev/null.kml"));
}

// The replay beside the result KML: the wreck with its launch date flies in time, the one saved before
// missiles kept it is left out and named; the result KML is what it is without the replay.
TEST_F(ResultsCli, ReplayLeavesOutTheWreckWithoutItsDateAndSaysWhy) {
    std::string dated = Scenario;
    dated.replace(dated.find("Tesk_3-Wreck"), 12, "Tesk_4-Wreck");
    dated.insert(dated.find("  TARGET "), "  MJD_LAUNCH 61384.2500118056\r\n  FLIGHT_TIME 1.5\r\n");
    std::string both = Scenario;
    both.insert(both.find("END_SHIPS"), dated.substr(dated.find("Tesk_4-Wreck"),
                                                     dated.find("END_SHIPS") - dated.find("Tesk_4-Wreck")));
    Write("flight.scn", both);
    const TRun run = Run("flight.scn --kml out/salvo.kml --replay out/salvo-replay");
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(run.Err.find("note: the replay leaves out Tesk_3-Wreck: no launch date"), std::string::npos)
        << run.Err;
    EXPECT_EQ(run.Err.find("Tesk_4-Wreck"), std::string::npos) << run.Err;
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(Path("out/salvo-replay.kml").c_str()));
    EXPECT_FALSE(doc.select_node("//Folder[name='Tesk_4-Wreck']/Placemark/gx:Track").node().empty());
    EXPECT_TRUE(doc.select_node("//Folder[name='Tesk_3-Wreck']").node().empty());
    const std::string kml = Read(Path("out/salvo.kml"));
    EXPECT_EQ(kml.find("gx:"), std::string::npos);
    EXPECT_EQ(kml.find("MJD"), std::string::npos);
}

// The KML file's folder is made, as the diagrams' folder is: the README's firing works from a fresh clone.
TEST_F(ResultsCli, MakesTheFoldersItWritesInto) {
    Write("flight.scn", Scenario);
    const TRun run = Run("flight.scn --kml out/deep/salvo.kml --diagrams out/diagrams");
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_TRUE(fs::exists(Path("out/deep/salvo.kml")));
    EXPECT_TRUE(fs::exists(Path("out/diagrams/01_Tesk_3.svg")));
}

// Names and failure texts from a Latin-1 scenario are printed as UTF-8, and every row keeps its columns:
// the miss figures end where their heading ends.
TEST_F(ResultsCli, Latin1NamesArePrintedAsUtf8InTheirColumns) {
    std::string latin1 = Scenario;
    latin1.replace(latin1.find("Fish & Chips"), 12,
                   "M\xfc"
                   "nchen S\xfc"
                   "d");
    latin1.replace(latin1.find("Engine failure"), 14,
                   "Gr\xf6\xdf"
                   "er Fehler");
    Write("latin1.scn", latin1);
    const TRun run = Run("latin1.scn");
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(run.Out.find("Tesk_3 to M\xc3\xbc"
                           "nchen S\xc3\xbc"
                           "d"),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("Gr\xc3\xb6\xc3\x9f"
                           "er Fehler"),
              std::string::npos)
        << run.Out;
    EXPECT_EQ(run.Out.find('\xfc'), std::string::npos) << run.Out;
    // Columns counted in characters: "Lateral miss" ends in the same column in the heading and in the row.
    const std::string heading = run.Out.substr(0, run.Out.find('\n'));
    const std::string row =
        run.Out.substr(heading.size() + 1, run.Out.find('\n', heading.size() + 1) - heading.size() - 1);
    const auto columnsBefore = [](const std::string& line, size_t bytes) {
        size_t n = 0;
        for (size_t i = 0; i < bytes; ++i)
            n += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
        return n;
    };
    const size_t headingEnd = heading.find("Lateral miss") + 12;
    const size_t rowEnd = row.find("  0  ") + 3; // the lateral miss of the row is 0
    EXPECT_EQ(columnsBefore(heading, headingEnd), columnsBefore(row, rowEnd)) << heading << "\n" << row;
}
