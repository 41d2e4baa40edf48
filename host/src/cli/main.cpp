// orbhost: the headless substitute host. "orbhost run SCENARIO [options]" flies a scenario with its plug-ins.
#include "cli/RunOptions.h"
#include "cli/Runner.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << orb::cli::kUsage;
        return args.empty() ? 2 : 0;
    }
    if (args[0] != "run") {
        std::cerr << "orbhost: unknown command \"" << args[0] << "\"\n" << orb::cli::kUsage;
        return 2;
    }
    std::string error;
    auto options = orb::cli::parseRunOptions({args.begin() + 1, args.end()}, &error);
    if (!options) {
        std::cerr << "orbhost: " << error << "\n" << orb::cli::kUsage;
        return 2;
    }
    if (options->help) {
        std::cout << orb::cli::kUsage;
        return 0;
    }
    return orb::cli::runScenario(*options, std::cout, std::cerr);
}
