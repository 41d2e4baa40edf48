// A throw-away installation root for one test: Config/Vessels with the test classes, Modules/ with the
// host's test vessel module (copied from the build's root), Meshes/ and Scenarios/.
#pragma once

#include "orbhost/HostError.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class TestRoot {
public:
    TestRoot();
    ~TestRoot();
    const std::filesystem::path& path() const { return path_; }
    // Writes a file below the root (folders are created).
    void write(const std::string& relative, std::string_view content) const;

private:
    std::filesystem::path path_;
};

// A folder of the corpus of real files beside the source tree (../shared/corpus/<sub>); it may be absent.
std::filesystem::path corpusFolder(const std::string& sub);

// Runs f and returns the HostError's message ("" when nothing was thrown).
template <class F> std::string errorOf(F&& f) {
    try {
        f();
    } catch (const orb::HostError& e) {
        return e.what();
    }
    return "";
}

// Lines of a log that contain `needle`, in order.
std::vector<std::string> linesWith(const std::vector<std::string>& log, std::string_view needle);
// Index of the first log line equal to `line`, or -1.
int indexOf(const std::vector<std::string>& log, std::string_view line, int from = 0);

// A literal for the host's text parameters, which are char* as in the simulator although the host only reads
// them.
inline char* text(const char* literal) {
    return const_cast<char*>(literal);
}
