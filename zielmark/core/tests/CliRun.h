// Test support: zielmark-cli run as the user runs it, from a scratch folder, with its output and exit
// code. The program is the one built beside the test; tests skip when it has not been built.
#pragma once

#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace zm::test {

struct TRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

class TCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        cli_ = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "zielmark-cli";
        if (!std::filesystem::exists(cli_)) GTEST_SKIP() << "zielmark-cli is not built at " << cli_;
    }

    std::string Path(const std::string& name) const { return dir_.Path + name; }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Runs "zielmark-cli ARGS" (the arguments as a shell would split them) in the scratch folder, under a
    // time limit, so a read that waits (on a pipe) fails the test instead of hanging it.
    TRun RunCli(const std::string& args) const {
        const std::string command = "cd '" + dir_.Path + "' && timeout 60 '" + cli_.string() + "' " + args +
                                    " 2>'" + Path("err.txt") + "'";
        TRun run;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            run.Out.append(buffer, n);
        const int status = pclose(pipe);
        run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Err = Read(Path("err.txt"));
        return run;
    }

    std::filesystem::path cli_;
    TTempFolder dir_;
};

} // namespace zm::test
