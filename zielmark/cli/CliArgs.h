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
