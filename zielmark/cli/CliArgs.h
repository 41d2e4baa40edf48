// Command-line options of the form "--name VALUE", "--name=VALUE" or "--flag", and positional
// arguments. Unknown options are errors.
#pragma once

#include <string>
#include <vector>

struct TCliOption {
    const char* Name; // without the leading "--"
    bool TakesValue;
};

struct TCliArgs {
    std::vector<std::pair<std::string, std::string>> Options; // in command-line order
    std::vector<std::string> Positional;
    std::string Error;

    bool Has(const std::string& name) const;
    // The last value given for name, or fallback.
    std::string Value(const std::string& name, const std::string& fallback = "") const;
    std::vector<std::string> Values(const std::string& name) const;
};

// Parses argv[1..argc-1]; Error is set on an unknown option or a missing value.
TCliArgs ParseCliArgs(int argc, char** argv, const std::vector<TCliOption>& known);

// The output a command is told to write, refused before anything is read or run: "" when it will do, else why
// not. An empty name, and a device, pipe or socket named as the output (where ".kml" or ".scn" would be
// appended and a new file made beside it), are refused; `option` names the option in the message.
std::string OutputPathProblem(const std::string& option, const std::string& path);
