// "orbhost run": the command line (keys with times and modifiers) and a run's end rule, output and status.
#include "TestRoot.h"
#include "cli/RunOptions.h"
#include "cli/Runner.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using orb::cli::parseKeyEvent;
using orb::cli::parseRunOptions;

TEST(RunCommandLine, KeyEvents) {
    struct Case {
        const char* text;
        DWORD key;
        unsigned mods;
        double time;
    } good[] = {
        {"O@1", OAPI_KEY_O, 0, 1},
        {"a@5+shift", OAPI_KEY_A, orb::ModShift, 5},
        {"D@2.5+ctrl+alt", OAPI_KEY_D, orb::ModCtrl | orb::ModAlt, 2.5},
        {"0x18@0", OAPI_KEY_O, 0, 0},
        {"F10@3+Shift", OAPI_KEY_F10, orb::ModShift, 3},
        {"SPACE@7", OAPI_KEY_SPACE, 0, 7},
    };
    for (const Case& c : good) {
        SCOPED_TRACE(c.text);
        std::string err;
        auto ev = parseKeyEvent(c.text, &err);
        ASSERT_TRUE(ev) << err;
        EXPECT_EQ(ev->key, c.key);
        EXPECT_EQ(ev->mods, c.mods);
        EXPECT_EQ(ev->time, c.time);
    }
    for (const char* bad : {"O", "O@", "O@-1", "O@soon", "OO@1", "O@1+hyper", "0x100@1", "@1", "O@1e999"}) {
        SCOPED_TRACE(bad);
        std::string err;
        EXPECT_FALSE(parseKeyEvent(bad, &err));
        EXPECT_NE(err.find(bad), std::string::npos) << err;
    }
}

TEST(RunCommandLine, Options) {
    std::string err;
    auto o = parseRunOptions({"Teski/Demo salvo", "--root", "r", "--key", "A@5", "--key", "O@1", "--dt",
                              "0.05", "--tmax", "100", "--no-save"},
                             &err);
    ASSERT_TRUE(o) << err;
    EXPECT_EQ(o->scenario, "Teski/Demo salvo");
    EXPECT_EQ(o->root, "r");
    EXPECT_EQ(o->dt, 0.05);
    EXPECT_EQ(o->timeLimit, 100);
    EXPECT_FALSE(o->save);
    ASSERT_EQ(o->keys.size(), 2u);
    EXPECT_EQ(o->keys[0].key, DWORD(OAPI_KEY_O)) << "keys are sorted by time";
    EXPECT_EQ(parseRunOptions({"x"}, &err)->dt, 0.02) << "default step";
    for (auto bad : std::vector<std::vector<std::string>>{{},
                                                          {"--root", "r"},
                                                          {"a", "b"},
                                                          {"a", "--dt", "0"},
                                                          {"a", "--dt"},
                                                          {"a", "--bogus"},
                                                          {"a", "--tmax", "x"}}) {
        EXPECT_FALSE(parseRunOptions(bad, &err));
        EXPECT_FALSE(err.empty());
    }
    // A step shorter than the simulator's clock can tell would never end the run.
    for (const char* tiny : {"1e-300", "4.9e-324", "0.0000009"}) {
        EXPECT_FALSE(parseRunOptions({"a", "--dt", tiny}, &err)) << tiny;
        EXPECT_NE(err.find("a step is at least 0.000001 s"), std::string::npos) << err;
    }
    EXPECT_EQ(parseRunOptions({"a", "--dt", "0.000001"}, &err)->dt, 1e-6);
}

struct RunResult {
    int status;
    std::string out, err;
};

RunResult run(const TestRoot& root, std::vector<std::string> args) {
    args.insert(args.end(), {"--root", root.path().string()});
    std::string error;
    auto o = parseRunOptions(args, &error);
    if (!o) return {2, "", error};
    std::ostringstream out, err;
    int status = orb::cli::runScenario(*o, out, err);
    return {status, out.str(), err.str()};
}

const char* kFalling =
    "BEGIN_SHIPS\n"
    "Drop:HostTestVessel\n  STATUS Orbiting Earth\n  RPOS 0 6371510 0\n  RVEL 0 0 0\n  AROT 0 0 0\nEND\n"
    "Pad:HostTestVessel\n  STATUS Landed Earth\n  POS 10 80\nEND\n"
    "END_SHIPS\n";

TEST(Run, EndsWhenNothingHasFlownForTheSettleTimeAndSavesTheCurrentState) {
    TestRoot root;
    root.write("Scenarios/falling.scn", kFalling);
    RunResult r = run(root, {"falling", "--countdown", "0", "--settle", "5", "--key", "O@1+shift"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1.00 s  key O@1+shift"), std::string::npos) << r.out;
    // 500 m of free fall take about 10 s; the run ends 5 s after the vessel is down, not before.
    size_t at = r.out.find("orbhost: run ended at ");
    ASSERT_NE(at, std::string::npos) << r.out;
    double end = std::stod(r.out.substr(at + 22));
    EXPECT_GT(end, 15.0);
    EXPECT_LT(end, 60.0);
    EXPECT_NE(r.out.find(": nothing has flown for 5.0 s"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(root.path() / "Scenarios" / "(Current state).scn"));
    // The summary lists every vessel with its class, state and position.
    EXPECT_NE(r.out.find("Summary at t = "), std::string::npos);
    std::string summary = r.out.substr(r.out.find("Summary at t = "));
    std::string pad = summary.substr(summary.find("\n  Pad ") + 1);
    pad = pad.substr(0, pad.find('\n'));
    for (const char* part : {"HostTestVessel", "landed", " 80.000000", " 10.000000"})
        EXPECT_NE(pad.find(part), std::string::npos) << pad;
    EXPECT_NE(summary.find("\n  Drop "), std::string::npos);
}

// A class name of 16 characters (or a name of 24) keeps a blank before the next column of the summary.
TEST(Run, TheSummaryKeepsItsColumnsApartWithLongNames) {
    TestRoot root;
    root.write("Config/Vessels/SixteenCharClass.cfg", "; a class without a module\nSize = 3\nMass = 100\n");
    root.write("Scenarios/long.scn",
               "BEGIN_SHIPS\n"
               "A-name-of-24-characters_:SixteenCharClass\n  STATUS Landed Earth\n  POS 10 80\nEND\n"
               "Pad:HostTestVessel\n  STATUS Landed Earth\n  POS 11 80\nEND\n"
               "END_SHIPS\n");
    RunResult r = run(root, {"long", "--countdown", "0", "--settle", "1", "--no-save"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string summary = r.out.substr(r.out.find("Summary at t = "));
    const auto lineOf = [&](const std::string& start) {
        const size_t at = summary.find("\n  " + start);
        return at == std::string::npos ? std::string()
                                       : summary.substr(at + 1, summary.find('\n', at + 1) - at - 1);
    };
    const std::string heading = lineOf("name"), longLine = lineOf("A-name"), pad = lineOf("Pad ");
    ASSERT_FALSE(heading.empty() || longLine.empty() || pad.empty()) << summary;
    EXPECT_NE(longLine.find("A-name-of-24-characters_ SixteenCharClass landed"), std::string::npos)
        << summary;
    // Every column begins where its heading begins.
    for (const char* column : {"class", "state"}) {
        const size_t at = heading.find(column);
        EXPECT_NE(longLine[at], ' ') << column << "\n" << summary;
        EXPECT_EQ(longLine[at - 1], ' ') << column << "\n" << summary;
        EXPECT_NE(pad[at], ' ') << column << "\n" << summary;
    }
}

// Without a key nothing starts: the run says that no key was given and how to give one, before and after,
// so a replaced current state is no surprise. A run with keys has no such note.
TEST(Run, WithoutKeysSaysThatNothingFlewAndHowToGiveAKey) {
    TestRoot root;
    root.write("Scenarios/pad.scn",
               "BEGIN_SHIPS\nPad:HostTestVessel\n  STATUS Landed Earth\n  POS 10 80\nEND\nEND_SHIPS\n");
    RunResult r = run(root, {"pad", "--countdown", "2", "--settle", "1", "--no-save"});
    ASSERT_EQ(r.status, 0) << r.err;
    const size_t before =
        r.out.find("orbhost: no key was given (--key K@T presses key K for the focus vessel at time T)");
    const size_t after = r.out.find("orbhost: nothing flew: no key was given");
    EXPECT_NE(before, std::string::npos) << r.out;
    ASSERT_NE(after, std::string::npos) << r.out;
    EXPECT_LT(r.out.find("orbhost: run ended at "), after);

    r = run(root, {"pad", "--countdown", "2", "--settle", "1", "--no-save", "--key", "O@1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("no key was given"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("nothing flew"), std::string::npos) << r.out;
}

TEST(Run, EndsWhenNoVesselIsLeftOrAtTheTimeLimit) {
    TestRoot root;
    root.write(
        "Scenarios/vanish.scn",
        "BEGIN_SHIPS\nA:HostTestVessel\n  STATUS Landed Earth\n  POS 1 2\n  DELETE_AT 2\nEND\nEND_SHIPS\n");
    RunResult r = run(root, {"vanish", "--no-save"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2.00 s  deleted A (HostTestVessel)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("run ended at 2.00 s: no vessel left"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(root.path() / "Scenarios" / "(Current state).scn"));

    root.write(
        "Scenarios/still.scn",
        "BEGIN_SHIPS\nA:HostTestVessel\n  STATUS Landed Earth\n  POS 1 2\n  DEBUG_AT 1\nEND\nEND_SHIPS\n");
    r = run(root, {"still", "--tmax", "3", "--countdown", "50"});
    EXPECT_NE(r.out.find("run ended at 3.00 s: time limit reached"), std::string::npos) << r.out;
    // The debug line is shown once, when it changes.
    EXPECT_NE(r.out.find("1.00 s  debug: debug from A\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("debug: "), r.out.rfind("debug: "));
}

TEST(Run, UntilGoneEndsOnceTheClassIsGoneAndEverythingHasLandedAndSavesWhereAsked) {
    TestRoot root;
    // A leaves at 2 s; the plain crate falls 500 m and lands some 10 s later. Without the rule the run
    // would wait for the countdown and the settle time. (A crate of 100 kg on the default touchdown points,
    // whose dampers are made for tonnes, would never come to rest, in the simulator as here.)
    root.write("Config/Crate.cfg", "; a class without a module\nSize = 3\nMass = 5000\n");
    root.write("Scenarios/drop.scn",
               "BEGIN_SHIPS\nA:HostTestVessel\n  STATUS Landed Earth\n  POS 1 2\n  DELETE_AT 2\nEND\n"
               "Drop:Crate\n  STATUS Orbiting Earth\n  RPOS 0 6371510 0\n  RVEL 0 0 0\nEND\n"
               "END_SHIPS\n");
    const std::filesystem::path saveTo = root.path() / "out" / "run-1.scn";
    std::filesystem::create_directories(saveTo.parent_path());
    RunResult r = run(root, {"drop", "--key", "O@0", "--until-gone", "HostTestVessel", "--save-to",
                             saveTo.string(), "--settle", "1000", "--countdown", "1000", "--tmax", "300"});
    ASSERT_EQ(r.status, 0) << r.err;
    size_t at = r.out.find("orbhost: run ended at ");
    ASSERT_NE(at, std::string::npos) << r.out;
    double end = std::stod(r.out.substr(at + 22));
    EXPECT_GT(end, 8.0) << "the falling vessel had not landed yet";
    EXPECT_LT(end, 60.0);
    EXPECT_NE(r.out.find(": no HostTestVessel left and every vessel landed"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(saveTo));
    EXPECT_FALSE(std::filesystem::exists(root.path() / "Scenarios" / "(Current state).scn"));

    // A class that is never there ends the run after the last key only once everything is down.
    r = run(root, {"drop", "--until-gone", "Nothing", "--no-save", "--tmax", "300"});
    at = r.out.find("orbhost: run ended at ");
    ASSERT_NE(at, std::string::npos) << r.out;
    EXPECT_GT(std::stod(r.out.substr(at + 22)), 8.0);
}

TEST(Run, SeedReachesEveryLoadedModuleThatExportsItsSeedingFunction) {
    TestRoot root;
    root.write("Scenarios/one.scn",
               "BEGIN_SHIPS\nA:HostTestVessel\n  STATUS Landed Earth\n  POS 1 2\n  DELETE_AT 1\nEND\n"
               "P:PlainVessel\n  STATUS Landed Earth\n  POS 1 3\nEND\nEND_SHIPS\n");
    RunResult r = run(root, {"one", "--seed", "4294967295", "--no-save", "--tmax", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("HostTestVessel seeded with 4294967295\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("orbhost: seed 4294967295 given to HostTestVessel\n"), std::string::npos) << r.out;
    // The seed is given after the vessels were created, so a module's own seeding at creation cannot undo it.
    EXPECT_LT(r.out.find("A ovcInit"), r.out.find("seeded with"));

    std::string err;
    for (const char* bad : {"-1", "4294967296", "12x", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseRunOptions({"x", "--seed", bad}, &err));
        EXPECT_NE(err.find("--seed"), std::string::npos);
    }
    EXPECT_FALSE(parseRunOptions({"x", "--until-gone"}, &err));
    EXPECT_FALSE(parseRunOptions({"x", "--save-to", ""}, &err));
}

TEST(Run, BadScenarioRootOrModuleGivesStatusOneAndNamesTheFile) {
    TestRoot root;
    root.write("Scenarios/broken.scn", "BEGIN_SHIPS\nA:HostTestVessel\n  STATUS Landed Earth\n");
    root.write("Config/Vessels/Gone.cfg", "Module = Gone\n");
    root.write("Scenarios/gone.scn", "BEGIN_SHIPS\nA:Gone\nEND\nEND_SHIPS\n");
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"broken"}, (root.path() / "Scenarios" / "broken.scn").string() + ": line 2"},
        {{"missing"}, (root.path() / "Scenarios" / "missing.scn").string() + ": scenario not found"},
        {{"gone"}, (root.path() / "Modules" / "Gone.so").string() + ": module not found"},
    };
    for (const Case& c : cases) {
        RunResult r = run(root, c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("orbhost: error: "), std::string::npos);
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
    }
    std::ostringstream out, err;
    orb::cli::RunOptions o;
    o.scenario = "x";
    o.root = (root.path() / "nowhere").string();
    EXPECT_EQ(orb::cli::runScenario(o, out, err), 1);
    EXPECT_NE(err.str().find("nowhere: not an installation root"), std::string::npos);
}

} // namespace
