// The shared scenario-file pieces: the bounded read, the atomic save, lines and ship blocks, and the one
// way a message names its place.
#include "AtomicSave.h"
#include "FileRead.h"
#include "ShipBlocks.h"
#include "SourcePlace.h"
#include "TextLines.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace scenario_files;

namespace {

class Folder {
public:
    Folder() : path_(fs::temp_directory_path() / ("scenario_files_test." + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Folder() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(file(name), std::ios::binary) << text;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    fs::path path_;
};

std::string contentOf(const std::string& path) {
    return readWholeFile(path).text;
}

} // namespace

TEST(FileRead, ReadsARegularFileAndNamesEachKindOfFailure) {
    Folder dir;
    dir.write("a.scn", "BEGIN_SHIPS\r\nEND_SHIPS\r\n");
    EXPECT_EQ(contentOf(dir.file("a.scn")), "BEGIN_SHIPS\r\nEND_SHIPS\r\n");
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::string path;
        ReadFailure failure;
        std::string reason;
    } cases[] = {
        {dir.file("missing.scn"), ReadFailure::NotFound, "No such file or directory"},
        {dir.file(""), ReadFailure::Folder, "a folder, not a file"},
        {pipe, ReadFailure::NotRegular, "not a regular file"}, // refused without waiting for a writer
    };
    for (const Case& c : cases) {
        const FileRead r = readWholeFile(c.path);
        EXPECT_EQ(r.failure, c.failure) << c.path;
        EXPECT_EQ(r.reason(), c.reason) << c.path;
        EXPECT_TRUE(r.text.empty());
    }
}

TEST(FileRead, RefusesAFileBeyondTheCapAndReadsOneOfSizeZeroToItsEnd) {
    Folder dir;
    dir.write("big.scn", std::string(101, 'x'));
    const FileRead big = readWholeFile(dir.file("big.scn"), 100);
    EXPECT_EQ(big.failure, ReadFailure::TooLarge);
    EXPECT_EQ(big.reason(), "the file is too large");
    EXPECT_TRUE(readWholeFile(dir.file("big.scn"), 101).ok());
    // /proc files say size 0 and hold text.
    const FileRead proc = readWholeFile("/proc/self/status");
    ASSERT_TRUE(proc.ok()) << proc.reason();
    EXPECT_NE(proc.text.find("Name:"), std::string::npos);
}

TEST(AtomicSave, ReplacesTheFileKeepingItsModeAndLeavesNoTemporaryFile) {
    Folder dir;
    const std::string path = dir.file("state.scn");
    ASSERT_FALSE(saveAtomic(path, "one\r\n"));
    ::chmod(path.c_str(), 0640);
    ASSERT_FALSE(saveAtomic(path, "two\r\n"));
    EXPECT_EQ(contentOf(path), "two\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"state.scn"});
}

TEST(AtomicSave, RefusesAReadOnlyFileAndKeepsALinkWritingItsTarget) {
    Folder dir;
    const std::string path = dir.file("ro.scn");
    dir.write("ro.scn", "old");
    ::chmod(path.c_str(), 0444);
    const SaveFailure refused = saveAtomic(path, "new");
    EXPECT_EQ(refused.step, SaveFailure::Step::Write);
    EXPECT_EQ(refused.reason, "the file is read-only");
    EXPECT_EQ(contentOf(path), "old");

    dir.write("target.scn", "old");
    fs::create_symlink("target.scn", dir.file("link.scn"));
    ASSERT_FALSE(saveAtomic(dir.file("link.scn"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.scn")));
    EXPECT_EQ(contentOf(dir.file("target.scn")), "new");
}

// Killed saves leave temporary files; the next save removes those of processes that are gone, in the hidden
// form and in the visible one older saves used, and leaves a running save's and other files' alone.
TEST(AtomicSave, RemovesTheTemporaryFilesOfKilledSavesOnly) {
    Folder dir;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string gone = std::to_string(child), running = std::to_string(::getppid());
    for (const std::string& name : {".s.scn.tmp" + gone, "s.scn.tmp" + gone, ".s.scn.tmp" + running,
                                    ".other.scn.tmp" + gone, std::string(".s.scn.tmpx")})
        dir.write(name, "left");
    ASSERT_FALSE(saveAtomic(dir.file("s.scn"), "x"));
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{".other.scn.tmp" + gone, ".s.scn.tmp" + running, ".s.scn.tmpx", "s.scn"}));
}

TEST(AtomicFile, KeepsTheTargetUntilCommitAndRemovesAnUncommittedTemporaryFile) {
    Folder dir;
    const std::string path = dir.file("big.kml");
    dir.write("big.kml", "old");
    {
        AtomicFile file;
        ASSERT_TRUE(file.open(path));
        ASSERT_TRUE(file.write("new"));
        EXPECT_EQ(contentOf(path), "old");
    }
    EXPECT_EQ(contentOf(path), "old");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"big.kml"});

    AtomicFile file;
    ASSERT_TRUE(file.open(path));
    file.write("ne");
    file.write("w");
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(contentOf(path), "new");
}

TEST(TextLines, SplitsLfAndCrLfLinesWithTheirNumbers) {
    EXPECT_EQ(splitLines("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(splitLines("a\r\r\n"), (std::vector<std::string>{"a\r"}));
    EXPECT_TRUE(splitLines("").empty());
    std::vector<size_t> numbers;
    forEachLine("x\ny\nz\n", [&](std::string_view, size_t n) {
        numbers.push_back(n);
        return n < 2;
    });
    EXPECT_EQ(numbers, (std::vector<size_t>{1, 2}));
    EXPECT_EQ(joinLinesCrLf({"a", ""}), "a\r\n\r\n");
}

TEST(ShipBlocks, ReadsBlocksWithTheirLineNumbersAndKeyValues) {
    const std::string text = "BEGIN_DESC\r\nW:NotAShip\r\nEND_DESC\r\n"
                             "BEGIN_SHIPS\r\n"
                             "T-1:Teski\r\n  RANGE 120\r\n  TARGET A B\r\n  RANGE 130\r\n\r\nEND\r\n"
                             "  indented:Header\r\n"
                             "T-1-Wreck:TeskiWreck\r\n  FLAG\r\n"
                             "END_SHIPS\r\n"
                             "After:Ship\r\n";
    const auto ships = readShipBlocks(text);
    ASSERT_EQ(ships.size(), 2u);
    EXPECT_EQ(ships[0].name, "T-1");
    EXPECT_EQ(ships[0].className, "Teski");
    EXPECT_EQ(ships[0].headerLine, 5u);
    EXPECT_TRUE(ships[0].ended);
    EXPECT_EQ(ships[0].value("TARGET"), "A B");
    EXPECT_EQ(ships[0].number("RANGE"), 130);
    EXPECT_EQ(ships[0].values("RANGE"), (std::vector<std::string>{"120", "130"}));
    EXPECT_EQ(ships[0].lines[2].number, 8u);
    EXPECT_EQ(ships[1].headerLine, 12u);
    EXPECT_FALSE(ships[1].ended); // cut before its END
    EXPECT_EQ(ships[1].value("FLAG"), "");
    EXPECT_EQ(shipsOfClass(ships, "TeskiWreck").size(), 1u);
}

TEST(ShipBlocks, TheSimulatorsRuleTakesCommentsCaseAndBlanksAndHandsLinesOnAsTheyStand) {
    const std::vector<std::string> lines = {"begin_ships ; the list",
                                            "  T-1 : Teski  ; a missile",
                                            "  RANGE 120 ; km",
                                            "",
                                            "end ; of T-1",
                                            "; a comment between blocks",
                                            "Pad",
                                            "End",
                                            "End_Ships and more",
                                            "After:Ship"};
    const ShipList list = scanShipList(lines, 0, ShipListRule::AsTheSimulatorReads);
    ASSERT_FALSE(list.fault);
    ASSERT_EQ(list.ships.size(), 2u);
    EXPECT_EQ(list.ships[0].name, "T-1");
    EXPECT_EQ(list.ships[0].className, "Teski");
    EXPECT_EQ(list.ships[0].headerLine, 2u);
    EXPECT_EQ(list.ships[0].texts(), (std::vector<std::string>{"  RANGE 120 ; km", ""}));
    EXPECT_EQ(list.ships[1].name, "Pad");
    EXPECT_EQ(list.ships[1].className, ""); // no ":CLASS": the host takes the name for the class
    EXPECT_EQ(list.nextLine, 9u);

    // Read as written, the same lines hold no list: its tag is not in capitals.
    EXPECT_TRUE(readShipBlocks(joinLinesCrLf(lines)).empty());
}

TEST(ShipBlocks, TheSimulatorsRuleNamesTheLineOfACutOrNamelessList) {
    const struct {
        std::vector<std::string> lines;
        size_t line;
        const char* why;
    } cases[] = {
        {{"BEGIN_SHIPS", ":Teski", "END", "END_SHIPS"}, 2, "ship line without a vessel name"},
        {{"BEGIN_SHIPS", "T-1: ;x", "END", "END_SHIPS"}, 2, "ship line \"T-1:\" without a class name"},
        {{"BEGIN_SHIPS", "", "T-1:Teski", "  RANGE 1", "END_SHIPS"}, 3,
         "ship block of \"T-1\" has no END line (file truncated?)"},
        {{"BEGIN_SHIPS", "T-1:Teski", "END"}, 1, "BEGIN_SHIPS has no END_SHIPS (file truncated?)"},
    };
    for (const auto& c : cases) {
        const ShipList list = scanShipList(c.lines, 0, ShipListRule::AsTheSimulatorReads);
        ASSERT_TRUE(list.fault) << c.why;
        EXPECT_EQ(list.fault->first, c.line) << c.why;
        EXPECT_EQ(list.fault->second, c.why);
        // Read as written, a cut list gives what is there, without a fault.
        EXPECT_FALSE(scanShipList(c.lines, 0, ShipListRule::AsWritten).fault) << c.why;
    }
}

TEST(ShipBlocks, ReadsNumbersThatFillTheTextOnly) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {{" 12.5 ", 12.5}, {"+3", 3}, {"-1e3", -1000}, {"12x", {}}, {"", {}}, {"1 2", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(parseNumber(c.text), c.value) << c.text;
    EXPECT_EQ(words("  a  bc d "), (std::vector<std::string>{"a", "bc", "d"}));
}

TEST(SourcePlace, NamesTheFileAndTheLineWhenThereIsOne) {
    EXPECT_EQ((SourcePlace{"a.scn", 12}.describe("bad number")), "a.scn: line 12: bad number");
    EXPECT_EQ((SourcePlace{"a.scn", {}}.describe("not a text file")), "a.scn: not a text file");
}
