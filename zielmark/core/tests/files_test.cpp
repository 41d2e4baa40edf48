// File services: what a save does to the file it replaces, and that no reader waits on a pipe or reads a
// device without end.
#include "TestFolder.h"
#include "TestResult.h"
#include "Unit_Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zm;
using zm::test::TTempFolder;

namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// Names in the folder other than the ones given: what a save left behind.
std::vector<std::string> Leftovers(const TTempFolder& dir, const std::vector<std::string>& expected) {
    std::vector<std::string> extra;
    for (const auto& e : fs::directory_iterator(dir.Path)) {
        const std::string name = e.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end()) extra.push_back(name);
    }
    return extra;
}

// The id of a process that has ended, for a temporary file whose save was killed.
pid_t EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Kills the test program when a read blocks, so a hang fails the test instead of stalling the run.
struct THangWatchdog {
    explicit THangWatchdog(unsigned seconds) { ::alarm(seconds); }
    ~THangWatchdog() { ::alarm(0); }
};

TEST(AtomicSave, ReplacedFileKeepsItsPermissionsAndNewFileFollowsTheUmask) {
    TTempFolder dir;
    const std::string path = dir.Write("keep.scn", "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(Succeeded(WriteFileAtomic(path, "new")));
    EXPECT_EQ(dir.Read("keep.scn"), "new");
    EXPECT_EQ(ModeOf(path), 0640u);

    const mode_t mask = ::umask(027);
    ASSERT_TRUE(Succeeded(WriteFileAtomic(dir.Path + "fresh.scn", "x")));
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.Path + "fresh.scn"), 0640u);
    EXPECT_TRUE(Leftovers(dir, {"keep.scn", "fresh.scn"}).empty());
}

TEST(AtomicSave, ReadOnlyFileIsRefusedWithItsNameAndLeftWhole) {
    TTempFolder dir;
    const std::string path = dir.Write("locked.kml", "precious");
    ::chmod(path.c_str(), 0444);
    const TResult refused = WriteFileAtomic(path, "replacement");
    EXPECT_FALSE(refused.Ok());
    EXPECT_NE(refused.Message.find(path), std::string::npos) << refused.Message;
    EXPECT_NE(refused.Message.find("read-only"), std::string::npos) << refused.Message;
    EXPECT_EQ(dir.Read("locked.kml"), "precious");
    EXPECT_TRUE(Leftovers(dir, {"locked.kml"}).empty());
}

TEST(AtomicSave, SymbolicLinkStaysAndItsTargetGetsTheContent) {
    TTempFolder dir;
    dir.Mkdir("real");
    const std::string target = dir.Write("real/result.kml", "old");
    ::chmod(target.c_str(), 0600);
    const struct {
        const char* link;
        std::string pointsTo;
    } links[] = {{"relative.kml", "real/result.kml"}, {"absolute.kml", target}};
    for (const auto& l : links) {
        SCOPED_TRACE(l.link);
        fs::create_symlink(l.pointsTo, dir.Path + l.link);
        ASSERT_TRUE(Succeeded(WriteFileAtomic(dir.Path + l.link, std::string("via ") + l.link)));
        EXPECT_TRUE(fs::is_symlink(dir.Path + l.link));
        EXPECT_EQ(dir.Read("real/result.kml"), std::string("via ") + l.link);
        EXPECT_EQ(ModeOf(target), 0600u);
    }
    // A link to a file not yet there creates that file.
    fs::create_symlink("real/later.kml", dir.Path + "dangling.kml");
    ASSERT_TRUE(Succeeded(WriteFileAtomic(dir.Path + "dangling.kml", "made")));
    EXPECT_TRUE(fs::is_symlink(dir.Path + "dangling.kml"));
    EXPECT_EQ(dir.Read("real/later.kml"), "made");
}

TEST(AtomicSave, TemporaryFilesOfKilledSavesGoWithTheNextSave) {
    TTempFolder dir;
    const std::string stale = ".state.scn.tmp" + std::to_string(EndedProcessId());
    const std::string running = ".state.scn.tmp" + std::to_string(::getppid()); // a save still in progress
    const std::string other = ".other.scn.tmp1";                                // not this file's
    for (const auto& name : {stale, running, other})
        dir.Write(name, std::string(1000, 'x'));
    ASSERT_TRUE(Succeeded(WriteFileAtomic(dir.Path + "state.scn", "saved")));
    EXPECT_FALSE(fs::exists(dir.Path + stale));
    EXPECT_TRUE(fs::exists(dir.Path + running));
    EXPECT_TRUE(fs::exists(dir.Path + other));
}

TEST(AtomicSave, NonRegularTargetIsRefused) {
    TTempFolder dir;
    const std::string fifo = dir.Path + "pipe.scn";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const TResult refused = WriteFileAtomic(fifo, "x");
    EXPECT_FALSE(refused.Ok());
    EXPECT_NE(refused.Message.find("not a regular file"), std::string::npos) << refused.Message;
    EXPECT_FALSE(WriteFileAtomic(dir.Mkdir("folder.scn"), "x").Ok());
}

// A save written in pieces: the target keeps its old content until the commit, even while pieces are
// written, and a save given up (an error while the content was formed) leaves the old file and nothing else.
TEST(AtomicSave, PieceByPieceTheTargetChangesOnlyAtTheCommit) {
    TTempFolder dir;
    const std::string path = dir.Write("track.kml", "old");
    {
        TAtomicFile file;
        ASSERT_TRUE(Succeeded(file.Open(path)));
        EXPECT_TRUE(file.Write("first piece, "));
        EXPECT_EQ(dir.Read("track.kml"), "old");
    } // given up
    EXPECT_EQ(dir.Read("track.kml"), "old");
    EXPECT_TRUE(Leftovers(dir, {"track.kml"}).empty());

    TAtomicFile file;
    ASSERT_TRUE(Succeeded(file.Open(path)));
    for (const char* piece : {"new ", "in ", "pieces"})
        EXPECT_TRUE(file.Write(piece));
    EXPECT_EQ(dir.Read("track.kml"), "old");
    ASSERT_TRUE(Succeeded(file.Commit()));
    EXPECT_EQ(dir.Read("track.kml"), "new in pieces");
    EXPECT_TRUE(Leftovers(dir, {"track.kml"}).empty());
    // A committed file writes no more: the save is done.
    EXPECT_FALSE(file.Write("late"));
    EXPECT_FALSE(file.Commit().Ok());
    EXPECT_EQ(dir.Read("track.kml"), "new in pieces");
}

TEST(SpecialFiles, ReadersRefusePipesAndDevicesWithoutWaiting) {
    THangWatchdog watchdog(20);
    TTempFolder dir;
    const std::string fifo = dir.Path + "fifo.scn";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir.Path + "zero.kml");
    for (const std::string& path : {fifo, dir.Path + "zero.kml"}) {
        SCOPED_TRACE(path);
        std::string content;
        const TResult read = ReadWholeFile(path, content);
        EXPECT_FALSE(read.Ok());
        EXPECT_NE(read.Message.find(path), std::string::npos) << read.Message;
        EXPECT_NE(read.Message.find("not a regular file"), std::string::npos) << read.Message;
        EXPECT_TRUE(content.empty());
    }
}

TEST(SpecialFiles, FolderListingNamesWhatItLeavesOut) {
    THangWatchdog watchdog(20);
    TTempFolder dir;
    dir.Write("a.kml", "<kml/>");
    fs::create_symlink("a.kml", dir.Path + "b.kml"); // a link to a regular file is a file
    ASSERT_EQ(::mkfifo((dir.Path + "c.kml").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", dir.Path + "d.kml");
    dir.Mkdir("e.kml");
    std::vector<std::string> skipped;
    std::vector<std::string> names;
    for (const auto& e : ListFolderFiles(dir.Path, ".kml", &skipped))
        names.push_back(e.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"a.kml", "b.kml"}));
    std::sort(skipped.begin(), skipped.end());
    EXPECT_EQ(skipped, (std::vector<std::string>{"c.kml", "d.kml"}));
}

// A save name is more than blanks before its extension; a name given below a folder stays in it.
TEST(SaveNames, BlanksAreNoNameAndDotDotMayNotLeaveTheFolder) {
    for (const char* name : {"flight7", "a.b", " x ", "sub/plan"})
        EXPECT_TRUE(IsValidSaveName(name)) << name;
    for (const char* name : {"", ".kml", "   ", "  .kml", "sub/", "sub/  ", "x|y"})
        EXPECT_FALSE(IsValidSaveName(name)) << "'" << name << "'";
    for (const char* name : {"plan", "sub/plan", "sub/../plan", "./plan", "a/b/../../plan", "sub\\plan"})
        EXPECT_TRUE(StaysInFolder(name)) << name;
    for (const char* name :
         {"../plan", "../../escape", "sub/../../plan", "/tmp/plan", "\\x", "C:plan", "..\\x"})
        EXPECT_FALSE(StaysInFolder(name)) << name;
}

// The stamp of a file changes with a save in place (size, time) and with one that replaces it.
TEST(FileStamps, ASaveChangesTheStamp) {
    TTempFolder dir;
    const std::string path = dir.Write("s.scn", "first");
    const TFileStamp first = FileStampOf(path);
    EXPECT_TRUE(first.Exists);
    EXPECT_EQ(first, FileStampOf(path));
    ASSERT_TRUE(WriteFileAtomic(path, "second").Ok());
    EXPECT_FALSE(first == FileStampOf(path));
    EXPECT_FALSE(FileStampOf(dir.Path + "gone.scn").Exists);
    EXPECT_FALSE(FileStampOf(dir.Path).Exists); // a folder is no file
}

} // namespace
