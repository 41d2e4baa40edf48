// zielmark-cli results, run as the user runs it: figures table, result KML, diagrams, errors, exit codes.
// Runs the program built beside this test; skipped when it has not been built.
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct TRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

class ResultsCli : public ::testing::Test {
protected:
    void SetUp() override {
        cli_ = fs::read_symlink("/proc/self/exe").parent_path() / "zielmark-cli";
        if (!fs::exists(cli_)) GTEST_SKIP() << "zielmark-cli is not built at " << cli_;
    }

    std::string Path(const std::string& name) const { return dir_.Path + name; }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TRun Run(const std::string& args) const {
        const std::string command = "cd '" + dir_.Path + "' && '" + cli_.string() + "' results " + args +
                                    " 2>'" + Path("err.txt") + "'";
        TRun run;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            run.Out.append(buffer, n);
        const int status = pclose(pipe);
        run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Err = Read(Path("err.txt"));
        return run;
    }

    fs::path cli_;
    zm::test::TTempFolder dir_;
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
        {"flight.scn --kml nofolder/out.kml", 1, "nofolder/"},
        {"bad.scn --kml never", 1, "bad.scn: line 7:"},
    };
    for (const auto& c : cases) {
        const TRun run = Run(c.args);
        EXPECT_EQ(run.Code, c.code) << c.args << "\n" << run.Err;
        EXPECT_NE((c.code == 0 ? run.Out : run.Err).find(c.message), std::string::npos) << c.args << "\n"
                                                                                        << run.Err;
    }
    EXPECT_FALSE(fs::exists(Path("never.kml"))); // a bad scenario writes nothing
}
