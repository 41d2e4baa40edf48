// A small INI-style settings file: "[Section]" lines followed by "Key=Value" lines. Section and key
// names ignore letter case; unknown sections and keys are kept when the file is written back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zm {

class TIniFile {
public:
    // Reads the file; a missing or unreadable file gives an empty one.
    void Load(const std::string& path);
    void Parse(std::string_view text);
    std::string ReadString(std::string_view section, std::string_view key, const std::string& fallback) const;
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    void WriteString(std::string_view section, std::string_view key, const std::string& value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    // CR LF text of all sections in their order.
    std::string Text() const;

private:
    struct TEntry {
        std::string Key, Value;
    };
    struct TSection {
        std::string Name;
        std::vector<TEntry> Entries;
    };
    std::vector<TSection> Sections_;
    TSection* Find(std::string_view section);
    const TSection* Find(std::string_view section) const;
};

} // namespace zm
