// File services: what a save does to the file it replaces.
#include "TestFolder.h"
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
  struct stat st{};
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

TEST(AtomicSave, ReplacedFileKeepsItsPermissionsAndNewFileFollowsTheUmask) {
  TTempFolder dir;
  const std::string path = dir.Write("keep.scn", "old");
  ::chmod(path.c_str(), 0640);
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, "new", error)) << error;
  EXPECT_EQ(dir.Read("keep.scn"), "new");
  EXPECT_EQ(ModeOf(path), 0640u);

  const mode_t mask = ::umask(027);
  ASSERT_TRUE(WriteFileAtomic(dir.Path + "fresh.scn", "x", error)) << error;
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir.Path + "fresh.scn"), 0640u);
  EXPECT_TRUE(Leftovers(dir, {"keep.scn", "fresh.scn"}).empty());
}

TEST(AtomicSave, ReadOnlyFileIsRefusedWithItsNameAndLeftWhole) {
  TTempFolder dir;
  const std::string path = dir.Write("locked.kml", "precious");
  ::chmod(path.c_str(), 0444);
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(path, "replacement", error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
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
    std::string error;
    ASSERT_TRUE(WriteFileAtomic(dir.Path + l.link, std::string("via ") + l.link, error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir.Path + l.link));
    EXPECT_EQ(dir.Read("real/result.kml"), std::string("via ") + l.link);
    EXPECT_EQ(ModeOf(target), 0600u);
  }
  // A link to a file not yet there creates that file.
  fs::create_symlink("real/later.kml", dir.Path + "dangling.kml");
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(dir.Path + "dangling.kml", "made", error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir.Path + "dangling.kml"));
  EXPECT_EQ(dir.Read("real/later.kml"), "made");
}

TEST(AtomicSave, TemporaryFilesOfKilledSavesGoWithTheNextSave) {
  TTempFolder dir;
  const std::string stale = ".state.scn.tmp" + std::to_string(EndedProcessId());
  const std::string running = ".state.scn.tmp" + std::to_string(::getppid());  // a save still in progress
  const std::string other = ".other.scn.tmp1";                               // not this file's
  for (const auto& name : {stale, running, other}) dir.Write(name, std::string(1000, 'x'));
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(dir.Path + "state.scn", "saved", error)) << error;
  EXPECT_FALSE(fs::exists(dir.Path + stale));
  EXPECT_TRUE(fs::exists(dir.Path + running));
  EXPECT_TRUE(fs::exists(dir.Path + other));
}

TEST(AtomicSave, NonRegularTargetIsRefused) {
  TTempFolder dir;
  const std::string fifo = dir.Path + "pipe.scn";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(fifo, "x", error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  EXPECT_FALSE(WriteFileAtomic(dir.Mkdir("folder.scn"), "x", error));
}

}  // namespace
