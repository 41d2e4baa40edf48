// The installation root the wreck's host tests fly in: ORB_ROOT, or else the build's root beside the folder
// of the test program (<build>/bin), so the tests also run when the test runner does not pass ORB_ROOT.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

inline std::string Root() {
    if (const char* root = std::getenv("ORB_ROOT"); root != nullptr && *root != '\0') return root;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("orbroot") : (exe.parent_path().parent_path() / "orbroot").string();
}

// A private copy of the installation root, removed again at the end: for tests that change its files or
// save into its Scenarios/ folder while other test programs may run beside them.
class TempRoot {
public:
    explicit TempRoot(const std::string& tag)
        : path_(std::filesystem::temp_directory_path() /
                ("teski-" + tag + "-" + std::to_string(static_cast<long>(::getpid())))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        for (const char* dir : {"Config", "Modules", "Meshes", "Scenarios"})
            std::filesystem::copy(std::filesystem::path(Root()) / dir, path_ / dir,
                                  std::filesystem::copy_options::recursive);
    }
    ~TempRoot() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
