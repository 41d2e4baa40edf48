#include "ProgramRuns.h"

#include "FileRead.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace program_runs {

std::string Quote(const std::string& argument) {
    std::string q = "'";
    for (char c : argument)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

CommandResult RunProgram(const std::vector<std::string>& argv) {
    std::string command;
    for (const std::string& a : argv)
        command += Quote(a) + " ";
    command += "2>&1";
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

const char* OrbRoot() {
    const char* root = std::getenv("ORB_ROOT");
    return root && *root ? root : TESKI_ORB_ROOT;
}

ScratchRoot::ScratchRoot(const fs::path& orbRoot) {
    std::string pattern = (fs::temp_directory_path() / "teski-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder in " + pattern);
    folder_ = pattern;
    fs::copy(orbRoot, root(), fs::copy_options::recursive);
}

ScratchRoot::~ScratchRoot() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string ReadFile(const std::string& path) {
    return scenario_files::readWholeFile(path).text;
}

} // namespace program_runs
