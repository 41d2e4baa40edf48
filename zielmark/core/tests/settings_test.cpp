// Settings file, the folder check with every warning line, the listings, the scenario root and the
// flight result scenario test, on temporary folders.
#include "TestFolder.h"
#include "TestResult.h"

#include "Unit_Functions.h"
#include "Unit_GlobalOptions.h"
#include "Unit_IniFile.h"
#include "Unit_Results.h"

#include <gtest/gtest.h>
#include <optional>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace zm;
using namespace zm::test;

namespace {

const std::string kSourceKml = KmlDocument({{"Tesk1", "13.5,52.4,0"}, {"Target", "14,53,0"}});
const std::string kResultScn = "BEGIN_DESC\r\nEND_DESC\r\nBEGIN_SHIPS\r\nTesk1-Wreck:TeskiWreck\r\n  STATUS "
                               "Landed Earth\r\nEND\r\nEND_SHIPS\r\n";

std::string Line(const char* pattern, const std::string& value) {
    std::string p = pattern;
    return p.substr(0, p.find("%s")) + value + p.substr(p.find("%s") + 2);
}

class FolderCheck : public TTransformsFixture {
protected:
    TTempFolder dir;
    TGlobalOptions options;

    // A complete set-up: sources, scenario folder below a simulator root, results.
    void SetUpFolders() {
        options.SrcWptDir = dir.Mkdir("src");
        options.OrbScnDir = dir.Mkdir("Sim/Scenarios/Tesk");
        options.FltResDir = dir.Mkdir("results");
    }
};

TEST_F(FolderCheck, EverythingInPlaceGivesNoWarnings) {
    SetUpFolders();
    dir.Write("src/a.kml", kSourceKml);
    dir.Write("results/r.scn", kResultScn);
    options.SrcWptDir.pop_back(); // a folder without its separator gets one
    options.CheckFolders();
    EXPECT_EQ(options.Warnings, std::vector<std::string>{});
    EXPECT_FALSE(options.HasWarnings);
    EXPECT_EQ(options.SrcWptDir, dir.Path + "src/");
    EXPECT_EQ(options.OrbRootDir, dir.Path + "Sim/Scenarios/");
    EXPECT_EQ(options.CurrentStateFile, dir.Path + "Sim/Scenarios/(Current state).scn");
    EXPECT_FALSE(options.CurrentStateUsable);
    EXPECT_EQ(options.SrcKmlFiles, std::vector<std::string>{"a.kml"});
    EXPECT_EQ(options.FltResScnFiles, std::vector<std::string>{"r.scn"});
    EXPECT_TRUE(options.GeToOrbEnabled);
    EXPECT_TRUE(options.OrbToGeEnabled);
}

TEST_F(FolderCheck, MissingTransformationFilesStopTheCheck) {
    SetUpFolders();
    dir.Write("src/a.kml", kSourceKml);
    DModule().TransformDir = dir.Mkdir("empty");
    options.SrcKmlFiles = {"kept.kml"};
    options.CheckFolders();
    EXPECT_EQ(options.Warnings,
              (std::vector<std::string>{"- Required file does not exist: \"kml2datD.xtr\"!",
                                        "- Required file does not exist: \"kml2datF.xtr\"!"}));
    EXPECT_EQ(options.WarningsText(), "- Required file does not exist: \"kml2datD.xtr\"!\r\n- Required file "
                                      "does not exist: \"kml2datF.xtr\"!\r\n");
    EXPECT_EQ(options.SrcKmlFiles, std::vector<std::string>{"kept.kml"}); // not listed again
    EXPECT_FALSE(options.GeToOrbEnabled);
    EXPECT_FALSE(options.OrbToGeEnabled);

    std::filesystem::copy_file(DataDir() + "kml2datD.xtr", dir.Path + "empty/kml2datD.xtr");
    options.CheckFolders();
    EXPECT_EQ(options.Warnings,
              std::vector<std::string>{"- Required file does not exist: \"kml2datF.xtr\"!"});
}

TEST_F(FolderCheck, MissingFoldersEachGiveTheirLine) {
    options.SrcWptDir = dir.Path + "nosrc";
    options.OrbScnDir = dir.Path + "noscn/";
    options.FltResDir = dir.Mkdir("results");
    dir.Write("results/r.scn", kResultScn);
    options.CheckFolders();
    // The missing scenario folder hides the result listing and its "No Tesk" line.
    EXPECT_EQ(options.Warnings, (std::vector<std::string>{Line(WarnFolder, dir.Path + "nosrc/"),
                                                          Line(WarnFolder, dir.Path + "noscn/")}));
    EXPECT_TRUE(options.FltResScnFiles.empty());

    options.FltResDir = dir.Path + "nores";
    options.OrbScnDir = dir.Mkdir("scn");
    options.CheckFolders();
    EXPECT_EQ(options.Warnings,
              (std::vector<std::string>{Line(WarnFolder, dir.Path + "nosrc/"), WarnNoResultScenario,
                                        Line(WarnFolder, dir.Path + "nores/")}));
    EXPECT_EQ(options.OrbRootDir, ""); // an absolute folder without "Scenarios/"
    EXPECT_FALSE(options.OrbToGeEnabled);
}

TEST_F(FolderCheck, EmptyFoldersGiveTheNoFilesLines) {
    SetUpFolders();
    dir.Write("src/only_sites.kml", KmlDocument({{"Tesk1", "1,2"}}));
    dir.Write("results/flying.scn", "BEGIN_SHIPS\r\nTesk1:Teski\r\nEND_SHIPS\r\n");
    options.CheckFolders();
    EXPECT_EQ(options.Warnings, (std::vector<std::string>{WarnNoSourceKml, WarnNoResultScenario}));
    EXPECT_EQ(std::string(WarnNoSourceKml),
              "- No source *.kml files found that conform Zielmark format conventnion!");
    EXPECT_FALSE(options.GeToOrbEnabled);
    EXPECT_FALSE(options.OrbToGeEnabled);

    // A usable current-state scenario makes the results page available without result files.
    dir.Write("Sim/Scenarios/(Current state).scn", kResultScn);
    options.CheckFolders();
    EXPECT_TRUE(options.CurrentStateUsable);
    EXPECT_EQ(options.Warnings, std::vector<std::string>{WarnNoSourceKml});
    EXPECT_TRUE(options.OrbToGeEnabled);
}

TEST_F(FolderCheck, UnreadableAndBrokenFilesAreReportedAndSkipped) {
    SetUpFolders();
    dir.Write("src/a_broken.kml", "<kml><Document><Placemark>");
    dir.Write("src/b_binary.kml", std::string("\x00\x01\x02\xff", 4));
    dir.Write("src/c_good.kml", kSourceKml);
    dir.Write("src/d_empty.kml", "");
    dir.Mkdir("src/folder.kml");
    // A file too large to be a waypoint file (sparse, so it costs no disk).
    std::filesystem::resize_file(dir.Write("src/e_huge.kml", ""), MaxInputFileBytes + 1);
    const std::string locked = dir.Write("results/locked.scn", kResultScn);
    dir.Write("results/ok.scn", kResultScn);
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    options.CheckFolders();
    EXPECT_EQ(options.SrcKmlFiles, std::vector<std::string>{"c_good.kml"});
    EXPECT_TRUE(options.Warnings.empty());
    std::string problems;
    for (const auto& p : options.FileProblems)
        problems += p + "\n";
    for (const char* name : {"a_broken.kml", "b_binary.kml", "d_empty.kml", "e_huge.kml"})
        EXPECT_NE(problems.find(name), std::string::npos) << name << "\n" << problems;
    if (::geteuid() != 0) { // root reads every file
        EXPECT_EQ(options.FltResScnFiles, std::vector<std::string>{"ok.scn"});
        EXPECT_NE(problems.find("locked.scn"), std::string::npos) << problems;
    }
}

TEST_F(FolderCheck, PipesInWatchedFoldersAreNamedAndSkippedWithoutWaiting) {
    ::alarm(20); // a read that waits on a pipe kills the test instead of hanging the run
    SetUpFolders();
    dir.Write("src/good.kml", kSourceKml);
    dir.Write("results/ok.scn", kResultScn);
    for (const char* pipe : {"src/pipe.kml", "results/pipe.scn", "Sim/Scenarios/(Current state).scn"})
        ASSERT_EQ(::mkfifo((dir.Path + pipe).c_str(), 0644), 0) << pipe;
    options.CheckFolders();
    ::alarm(0);
    EXPECT_EQ(options.SrcKmlFiles, std::vector<std::string>{"good.kml"});
    EXPECT_EQ(options.FltResScnFiles, std::vector<std::string>{"ok.scn"});
    EXPECT_FALSE(options.CurrentStateUsable);
    std::string problems;
    for (const auto& p : options.FileProblems)
        problems += p + "\n";
    for (const char* pipe : {"src/pipe.kml", "results/pipe.scn", "Sim/Scenarios/(Current state).scn"})
        EXPECT_NE(problems.find(dir.Path + pipe), std::string::npos) << pipe << "\n" << problems;
}

TEST_F(FolderCheck, ResultScenarioWithABadLineIsUsableForTheWrecksBeforeIt) {
    SetUpFolders();
    const std::string good = "Tesk1-Wreck:TeskiWreck\r\n  RANGE_MISS 12.5\r\nEND\r\n";
    const std::string bad = "Tesk2-Wreck:TeskiWreck\r\n  RANGE_MISS inf\r\nEND\r\n";
    // The current state: one good wreck, then a bad line (line 6). A result file whose only wreck is bad.
    dir.Write("Sim/Scenarios/(Current state).scn", "BEGIN_SHIPS\r\n" + good + bad + "END_SHIPS\r\n");
    dir.Write("results/bad_only.scn", "BEGIN_SHIPS\r\n" + bad + "END_SHIPS\r\n");
    dir.Write("results/ok.scn", kResultScn);
    options.CheckFolders();
    EXPECT_TRUE(options.CurrentStateUsable);
    EXPECT_EQ(options.FltResScnFiles, std::vector<std::string>{"ok.scn"});
    std::string problems;
    for (const auto& p : options.FileProblems)
        problems += p + "\n";
    EXPECT_NE(problems.find(options.CurrentStateFile +
                            ": line 6: \"inf\" is not a valid number; the wrecks before"),
              std::string::npos)
        << problems;
    EXPECT_NE(problems.find(dir.Path + "results/bad_only.scn: line 3:"), std::string::npos) << problems;
}

// The results page shows a file the check read from that read: the wrecks, the outcome and the bytes are
// what a read of the file gives, taken once; a file changed since, or one the check did not keep (not a
// result scenario), is not taken, so the page reads it anew.
TEST_F(FolderCheck, KeepsTheResultReadsForThePageWhileTheFileIsUnchanged) {
    SetUpFolders();
    const std::string current = "Sim/Scenarios/(Current state).scn";
    const std::string bad = "BEGIN_SHIPS\r\nW-Wreck:TeskiWreck\r\n  RANGE_MISS 1\r\nEND\r\n"
                            "V-Wreck:TeskiWreck\r\n  RANGE_MISS x\r\nEND\r\nEND_SHIPS\r\n";
    dir.Write(current, bad);
    dir.Write("results/ok.scn", kResultScn);
    dir.Write("results/flying.scn", "BEGIN_SHIPS\r\nTesk1:Teski\r\nEND\r\nEND_SHIPS\r\n");
    options.CheckFolders();
    for (const std::string& path : {options.CurrentStateFile, dir.Path + "results/ok.scn"}) {
        SCOPED_TRACE(path);
        TOrbResults read;
        std::string bytes;
        const TResult outcome = LoadOrbResults(path, read, &bytes);
        std::optional<TResultScenarioRead> kept = options.ResultReads.Take(path, FileStampOf(path));
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->Bytes, bytes);
        EXPECT_EQ(kept->Outcome.Code, outcome.Code);
        EXPECT_EQ(kept->Outcome.Message, outcome.Message);
        ASSERT_EQ(kept->Results.Wrecks.size(), read.Wrecks.size());
        EXPECT_EQ(kept->Results.Selected, read.Selected);
        EXPECT_FALSE(options.ResultReads.Take(path, FileStampOf(path))); // taken once
    }
    const std::string flying = dir.Path + "results/flying.scn";
    EXPECT_FALSE(options.ResultReads.Take(flying, FileStampOf(flying)));

    options.CheckFolders();
    dir.Write(current, kResultScn); // saved anew after the check
    EXPECT_FALSE(options.ResultReads.Take(options.CurrentStateFile, FileStampOf(options.CurrentStateFile)));
}

TEST_F(FolderCheck, NewestFileByModificationTime) {
    SetUpFolders();
    const auto when = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* n : {"b.kml", "a.kml", "c.kml"}) {
        dir.Write(std::string("src/") + n, kSourceKml);
        std::filesystem::last_write_time(dir.Path + "src/" + n, when);
    }
    options.CheckFolders();
    EXPECT_EQ(options.NewestSrcKmlFile, "a.kml"); // equal times: the first listed stays the newest
    std::filesystem::last_write_time(dir.Path + "src/c.kml", when + std::chrono::seconds(1));
    options.CheckFolders();
    EXPECT_EQ(options.NewestSrcKmlFile, "c.kml");
}

TEST(ScenarioRoot, DerivedFromTheScenarioFolder) {
    const std::pair<std::string, std::string> cases[] = {
        {"/sim/Scenarios/Tesk/", "/sim/Scenarios/"},
        {"/sim/Scenarios/", "/sim/Scenarios/"},
        {"/Missions/", ""},
        {"Missions/", "../"},
        {"Missions", "../"},
        {"", ""}, // becomes "/", an absolute folder
    };
    DModule().TransformDir = "/nonexistent/";
    for (const auto& [folder, root] : cases) {
        TGlobalOptions o;
        o.OrbScnDir = folder;
        o.CheckFolders();
        EXPECT_EQ(o.OrbRootDir, root) << folder;
        EXPECT_EQ(o.CurrentStateFile, root + "(Current state).scn") << folder;
    }
}

TEST(SettingsFile, DefaultsRoundTripAndOtherSections) {
    TTempFolder dir;
    TGlobalOptions o;
    o.LoadFromIni(dir.Path + "missing.ini");
    EXPECT_EQ(o.ActiveMainTab, 0);
    EXPECT_EQ(o.SrcWptDir, "");
    EXPECT_EQ(o.MRUEditedScnFile, "");

    dir.Write("Zielmark.ini", "[Mine]\r\nKeep=this\r\n[application]\r\nactivemaintab=x2\r\n");
    o.LoadFromIni(dir.Path + "Zielmark.ini");
    EXPECT_EQ(o.ActiveMainTab, 0); // not an integer
    o.ActiveMainTab = 2;
    o.SrcWptDir = "/data/kml/";
    o.OrbScnDir = "/sim/Scenarios/Tesk/";
    o.FltResDir = "/data/results/";
    o.MRUSourceKmlFile = "range.kml";
    o.MRUEditedScnFile = "range.scn";
    ASSERT_TRUE(Succeeded(o.SaveToIni()));
    EXPECT_EQ(dir.Read("Zielmark.ini"),
              "[Mine]\r\nKeep=this\r\n[application]\r\nactivemaintab=2\r\n[SrcWptDir]\r\nDir=/data/kml/\r\n"
              "[OrbScnDir]\r\nDir=/sim/Scenarios/Tesk/\r\n[FltResDir]\r\nDir=/data/results/\r\n"
              "[MRUSourceKmlFile]\r\nFile=range.kml\r\n[MRUEditedScnFile]\r\nFile=range.scn\r\n");
    TGlobalOptions back;
    back.LoadFromIni(dir.Path + "Zielmark.ini");
    EXPECT_EQ(back.ActiveMainTab, 2);
    EXPECT_EQ(back.OrbScnDir, o.OrbScnDir);
    EXPECT_EQ(back.MRUEditedScnFile, o.MRUEditedScnFile);

    dir.Write("file", "x");
    o.IniFileName = dir.Path + "file/folder.ini"; // a folder that cannot exist
    const TResult unsaved = o.SaveToIni();
    EXPECT_FALSE(unsaved.Ok());
    EXPECT_NE(unsaved.Message.find("folder.ini"), std::string::npos);
}

TEST(SettingsFile, BesideTheProgramOrInTheUsersConfigFolder) {
    TTempFolder dir;
    std::string notice;
    EXPECT_EQ(SettingsFileFor(dir.Path + "Zielmark", &notice), dir.Path + "Zielmark.ini");
    EXPECT_EQ(notice, "");
    if (::geteuid() == 0) GTEST_SKIP() << "root can write everywhere";
    const std::string locked = dir.Mkdir("locked");
    std::filesystem::permissions(locked,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ::setenv("XDG_CONFIG_HOME", (dir.Path + "config").c_str(), 1);
    EXPECT_EQ(SettingsFileFor(locked + "Zielmark", &notice), dir.Path + "config/Zielmark/Zielmark.ini");
    EXPECT_NE(notice.find("config/Zielmark/Zielmark.ini"), std::string::npos);
    TGlobalOptions o;
    o.LoadFromIni(SettingsFileFor(locked + "Zielmark"));
    EXPECT_TRUE(Succeeded(o.SaveToIni())); // the configuration folder is made
}

// A writable settings file in a folder that takes no new file cannot be saved; the message names the
// folder as the cause, not the file, and the file stays as it was.
TEST(SettingsFile, AFolderThatIsNotWritableIsNamedAsTheCause) {
    if (::geteuid() == 0) GTEST_SKIP() << "root can write everywhere";
    TTempFolder dir;
    const std::string locked = dir.Mkdir("locked");
    const std::string ini = dir.Write("locked/Zielmark.ini", "[Application]\r\nActiveMainTab=1\r\n");
    std::filesystem::permissions(locked,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    TGlobalOptions o;
    o.LoadFromIni(ini);
    o.ActiveMainTab = 2;
    const TResult unsaved = o.SaveToIni();
    EXPECT_FALSE(unsaved.Ok());
    EXPECT_NE(unsaved.Message.find("the folder \"" + locked + "\" of \"Zielmark.ini\" is not writable"),
              std::string::npos)
        << unsaved.Message;
    EXPECT_EQ(dir.Read("locked/Zielmark.ini"), "[Application]\r\nActiveMainTab=1\r\n");
}

TEST(FlightResultScenario, WrecksInTheShipListAndNoMissile) {
    const std::pair<const char*, bool> cases[] = {
        {"BEGIN_SHIPS\r\nA-Wreck:TeskiWreck\r\nEND_SHIPS\r\n", true},
        {"BEGIN_SHIPS\nA-Wreck:TeskiWreck\nB-Wreck:TeskiWreck\nEND_SHIPS\n", true},
        {"BEGIN_SHIPS\r\nA-Wreck:TeskiWreck\r\nB:Teski\r\nEND_SHIPS\r\n", false},
        {"A-Wreck:TeskiWreck\r\nBEGIN_SHIPS\r\nEND_SHIPS\r\n", false},   // outside the ship list
        {"BEGIN_SHIPS\r\nA-Wreck:TeskiWreck  \r\nEND_SHIPS\r\n", false}, // trailing blanks
        {"BEGIN_SHIPS\r\nA-Wreck:TeskiWreck\r\n  TEXT a:Teski b\r\nEND_SHIPS\r\n", true},
        {"BEGIN_SHIPS\r\nGL-01:DeltaGlider\r\nEND_SHIPS\r\n", false},
        {"", false},
    };
    TTempFolder dir;
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(IsFlightResultScenario(dir.Write("s.scn", text)).Value, expected) << text;
    const TResultOf<bool> missing = IsFlightResultScenario(dir.Path + "missing.scn");
    EXPECT_FALSE(missing.Ok() || missing.Value);
    EXPECT_NE(missing.Message.find("missing.scn"), std::string::npos);
}

// Real scenarios of the simulator (LF and CR LF files): none holds flight results until a ship of
// a runtime copy is turned into a wreck; a missile ship beside it spoils it again.
TEST(FlightResultScenario, RealScenariosFromTheCorpus) {
    const std::string corpus = SourceDir() + "../shared/corpus/scn/";
    if (!DirectoryExists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    TTempFolder dir;
    int files = 0;
    for (const auto& e : ListFolderFiles(corpus, ".scn")) {
        SCOPED_TRACE(e.Name);
        ++files;
        EXPECT_FALSE(IsFlightResultScenario(corpus + e.Name).Value);
        std::string text;
        ASSERT_TRUE(Succeeded(ReadWholeFile(corpus + e.Name, text)));
        const size_t ships = text.find("BEGIN_SHIPS");
        ASSERT_NE(ships, std::string::npos);
        const size_t header = text.find('\n', ships) + 1;
        const size_t colon = text.find(':', header);
        const size_t end = text.find_first_of("\r\n", colon);
        std::string wreck = text;
        wreck.replace(colon, end - colon, ":TeskiWreck");
        EXPECT_TRUE(IsFlightResultScenario(dir.Write("wreck.scn", wreck)).Value);
        std::string both = wreck;
        both.insert(header, "Tesk9:Teski\r\nEND\r\n");
        EXPECT_FALSE(IsFlightResultScenario(dir.Write("both.scn", both)).Value);
    }
    EXPECT_GT(files, 0);
}

} // namespace
