// zielmark-cli: plans launch scenarios from Google Earth files and checks Zielmark's folders.
#include "Commands.h"

#include <cstdio>
#include <cstring>

namespace {

struct TCommand {
    const char* Name;
    int (*Run)(int, char**);
    const char* Summary;
};

constexpr TCommand kCommands[] = {
    {"check", RunCheck, "check the folders and list the usable KML files and result scenarios"},
    {"plan", RunPlan, "write a launch scenario from a Google Earth KML file"},
    {"results", RunResults, "show the figures of a flight result scenario and write its result KML"},
    {"dispersion", RunDispersion, "fly a launch scenario many times and show where its missiles land"},
};

void PrintUsage(FILE* out) {
    std::fprintf(out, "Usage: zielmark-cli COMMAND [OPTIONS]\n\nCommands:\n");
    for (const auto& c : kCommands)
        std::fprintf(out, "  %-10s %s\n", c.Name, c.Summary);
    std::fprintf(out, "\nzielmark-cli COMMAND --help shows the options of a command.\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help")) {
        PrintUsage(stdout);
        return 0;
    }
    for (const auto& c : kCommands)
        if (!std::strcmp(argv[1], c.Name)) return c.Run(argc - 1, argv + 1);
    std::fprintf(stderr, "zielmark-cli: unknown command \"%s\"\n\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
