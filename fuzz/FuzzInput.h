// Fuzz data for readers that take a file: each process writes its inputs to one temporary file
// (in a folder of its own) and hands the readers that path.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace fuzz {

// The folder of this process's temporary files, made on first use and removed at exit.
inline const std::string& TempFolder() {
    // Never destroyed, so the exit handler that removes the folder can still name it.
    static const std::string* folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "teski-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(TempFolder(), ec);
        });
        return new std::string(pattern + "/");
    }();
    return *folder;
}

// Writes bytes to the file `name` in the temporary folder and returns its path.
inline std::string WriteFile(const std::string& name, std::string_view bytes) {
    const std::string path = TempFolder() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
    return path;
}

inline std::string WriteInput(const uint8_t* data, size_t size, const std::string& name) {
    return WriteFile(name, std::string_view(reinterpret_cast<const char*>(data), size));
}

} // namespace fuzz
