// The files behind a FILEHANDLE: a class configuration file (read with oapiReadItem_*), a vessel's block
// of scenario lines (read with oapiReadScenario_nextline) and a scenario being written (oapiWriteScenario_*).
// Every live handle is registered, so a stale or foreign handle passed in by a module is ignored safely.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

struct HostFile {
    enum class Kind { Config, ScenarioIn, ScenarioOut };
    explicit HostFile(Kind k);
    virtual ~HostFile();
    HostFile(const HostFile&) = delete;
    HostFile& operator=(const HostFile&) = delete;
    const Kind kind;

    // The registered file behind a handle, or null.
    static HostFile* fromHandle(void* handle, Kind kind);
};

// A "Key = value" file; the lines before END_PARSE, comments removed.
struct ConfigFile : HostFile {
    ConfigFile() : HostFile(Kind::Config) {}
    std::string path; // as shown in messages
    std::vector<std::string> lines;
    std::vector<int> lineNumbers;

    // Reads a file; a missing, unreadable or binary file is a HostError naming it.
    static std::unique_ptr<ConfigFile> load(const std::filesystem::path& file, const std::string& shownPath);
    static std::unique_ptr<ConfigFile> fromText(std::string_view text, const std::string& shownPath);
    // Value of the first line whose key matches (case-insensitive); nullopt when absent or empty.
    std::optional<std::string> item(std::string_view key, int* lineNumber = nullptr) const;
};

// One vessel's lines of a ship block (without its END line).
struct ScenarioReader : HostFile {
    ScenarioReader() : HostFile(Kind::ScenarioIn) {}
    std::vector<std::string> lines;
    size_t next = 0;
    std::string buffer; // the line handed out, trimmed, comment removed
    bool nextLine(char*& line);
};

// Text of a scenario being written; lines end with CR LF.
struct ScenarioWriter : HostFile {
    ScenarioWriter() : HostFile(Kind::ScenarioOut) {}
    std::string text;
    void line(std::string_view s);
    void item(std::string_view key, std::string_view value); // "  key value"
};

// The one atomic save of the scenario-file library (a hidden temporary file beside the target, renamed over
// it); throws HostError naming the file and the system's reason.
void writeFileAtomic(const std::filesystem::path& file, std::string_view data);
// Whether something other than a folder is at the path: a file, or a pipe or device that readFile then names
// as such (instead of a lookup calling it "not found").
bool somethingButAFolder(const std::filesystem::path& file);
// Reads a whole regular file, at most the readers' size cap; throws HostError naming it (a pipe or device is
// refused without waiting on it).
std::string readFile(const std::filesystem::path& file, const std::string& shownPath);

} // namespace orb
