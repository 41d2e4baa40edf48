// What a save does to the file it replaces (permissions, read-only files, links, temporary files of killed
// saves), and that a pipe or device named as a scenario is refused without waiting on it.
#include "TestRoot.h"
#include "orbhost/HostError.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

mode_t modeOf(const fs::path& file) {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(HostSave, ReplacedFileKeepsPermissionsAndReadOnlyFileIsRefused) {
    TestRoot root;
    orb::World world(root.path());
    const fs::path kept = root.path() / "Scenarios" / "kept.scn";
    root.write("Scenarios/kept.scn", "old");
    ::chmod(kept.c_str(), 0640);
    world.saveScenario(kept);
    EXPECT_EQ(modeOf(kept), 0640u);
    EXPECT_NE(contentOf(kept).find("BEGIN_SHIPS"), std::string::npos);

    const fs::path locked = root.path() / "Scenarios" / "locked.scn";
    root.write("Scenarios/locked.scn", "precious");
    ::chmod(locked.c_str(), 0444);
    const std::string msg = errorOf([&] { world.saveScenario(locked); });
    EXPECT_EQ(msg, locked.string() + ": cannot write the file: the file is read-only");
    EXPECT_EQ(contentOf(locked), "precious");

    // A folder that does not exist: the system's reason, and nothing left behind.
    const std::string missing = errorOf([&] { world.saveScenario(root.path() / "nowhere" / "x.scn"); });
    EXPECT_NE(missing.find("No such file or directory"), std::string::npos) << missing;
    for (const auto& e : fs::directory_iterator(root.path() / "Scenarios"))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

TEST(HostSave, SymbolicLinkStaysAndItsTargetIsWritten) {
    TestRoot root;
    orb::World world(root.path());
    root.write("Elsewhere/state.scn", "old");
    const fs::path link = root.path() / "Scenarios" / "(Current state).scn";
    fs::create_symlink("../Elsewhere/state.scn", link);
    world.saveCurrentState();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(contentOf(root.path() / "Elsewhere" / "state.scn").find("CurrentState"), std::string::npos);
}

TEST(HostSave, TemporaryFilesOfKilledSavesAreRemovedByTheNextSave) {
    TestRoot root;
    orb::World world(root.path());
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string stale = "(Current state).scn.tmp" + std::to_string(ended);
    const std::string running = "(Current state).scn.tmp" + std::to_string(::getppid());
    root.write("Scenarios/" + stale, std::string(4096, 'x'));
    root.write("Scenarios/" + running, "a save in progress");
    root.write("Scenarios/other.scn.tmp1", "not ours to judge");
    world.saveCurrentState();
    EXPECT_FALSE(fs::exists(root.path() / "Scenarios" / stale));
    EXPECT_TRUE(fs::exists(root.path() / "Scenarios" / running));
    EXPECT_TRUE(fs::exists(root.path() / "Scenarios" / "other.scn.tmp1"));
}

TEST(HostSpecialFiles, PipeOrDeviceAsScenarioOrClassFileIsNamedWithoutWaiting) {
    ::alarm(20); // a blocking open kills the test program instead of hanging the run
    TestRoot root;
    const fs::path fifo = root.path() / "Scenarios" / "fifo.scn";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", root.path() / "Scenarios" / "zero.scn");
    ASSERT_EQ(::mkfifo((root.path() / "Config" / "Vessels" / "Piped.cfg").c_str(), 0644), 0);
    const struct {
        std::string name, shown;
    } cases[] = {
        {fifo.string(), fifo.string()},
        {"fifo.scn", fifo.string()},
        {"zero", (root.path() / "Scenarios" / "zero.scn").string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        orb::World world(root.path());
        EXPECT_EQ(errorOf([&] { world.loadScenario(c.name); }), c.shown + ": not a regular file");
    }
    orb::World world(root.path());
    const std::string msg =
        errorOf([&] { world.loadScenarioText("BEGIN_SHIPS\nA:Piped\nEND\nEND_SHIPS\n"); });
    EXPECT_NE(msg.find("Piped.cfg: not a regular file"), std::string::npos) << msg;
    ::alarm(0);
}

} // namespace
