#include "CliArgs.h"

#include <sys/stat.h>

#include <cstring>

bool TCliArgs::Has(const std::string& name) const {
    for (const auto& [n, v] : Options)
        if (n == name) return true;
    return false;
}

std::string TCliArgs::Value(const std::string& name, const std::string& fallback) const {
    std::string value = fallback;
    for (const auto& [n, v] : Options)
        if (n == name) value = v;
    return value;
}

std::vector<std::string> TCliArgs::Values(const std::string& name) const {
    std::vector<std::string> values;
    for (const auto& [n, v] : Options)
        if (n == name) values.push_back(v);
    return values;
}

TCliArgs ParseCliArgs(int argc, char** argv, const std::vector<TCliOption>& known) {
    TCliArgs args;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--") {
            for (++i; i < argc; ++i)
                args.Positional.push_back(argv[i]);
            break;
        }
        if (a.size() < 2 || a[0] != '-' || a == "-") {
            args.Positional.push_back(a);
            continue;
        }
        if (a == "-h") a = "--help";
        if (a.rfind("--", 0) != 0) {
            args.Error = "unknown option \"" + a + "\"";
            return args;
        }
        std::string name = a.substr(2), value;
        bool inlineValue = false;
        if (const size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        const TCliOption* option = nullptr;
        for (const auto& k : known)
            if (name == k.Name) option = &k;
        if (!option) {
            args.Error = "unknown option \"--" + name + "\"";
            return args;
        }
        if (option->TakesValue && !inlineValue) {
            if (i + 1 >= argc) {
                args.Error = "option \"--" + name + "\" needs a value";
                return args;
            }
            value = argv[++i];
        } else if (!option->TakesValue && inlineValue) {
            args.Error = "option \"--" + name + "\" takes no value";
            return args;
        }
        args.Options.emplace_back(name, value);
    }
    return args;
}

std::string OutputPathProblem(const std::string& option, const std::string& path) {
    if (path.empty()) return option + " needs a file name, not an empty text";
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return option + " \"" + path + "\" is a device or pipe, not a file to write";
    return {};
}
