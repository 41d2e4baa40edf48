// Running the built programs from the end-to-end tests and the benchmarks: commands with their output and exit
// status, and a scratch folder holding a copy of orbhost's installation root, removed when the run is done.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace program_runs {

struct CommandResult {
    int status = -1;    // exit status; -1 when the program did not exit normally
    std::string output; // standard output and standard error, interleaved
};

// Runs a program with its arguments (no shell: every argument is passed as it stands).
CommandResult RunProgram(const std::vector<std::string>& argv);
std::string Quote(const std::string& argument);

// The build's installation root, or the one ORB_ROOT names.
const char* OrbRoot();

class ScratchRoot {
public:
    // A fresh folder with a copy of the installation root in it (<folder>/orbroot).
    explicit ScratchRoot(const std::filesystem::path& orbRoot);
    ~ScratchRoot();
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path root() const { return folder_ / "orbroot"; }

private:
    std::filesystem::path folder_;
};

// The whole file's text; empty when it cannot be read.
std::string ReadFile(const std::string& path);

} // namespace program_runs
