#include "Unit_IniFile.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"

namespace zm {

void TIniFile::Load(const std::string& path) {
    std::string text;
    Sections_.clear();
    if (ReadWholeFile(path, text).Ok()) Parse(text);
}

void TIniFile::Parse(std::string_view text) {
    Sections_.clear();
    std::vector<std::string> lines;
    SplitLines(text, lines);
    TSection* current = nullptr;
    for (const auto& raw : lines) {
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            const std::string name(TrimBlanks(line.substr(1, line.size() - 2)));
            current = Find(name);
            if (!current) current = &Sections_.emplace_back(TSection{name, {}});
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos) continue;
        const std::string key(TrimBlanks(line.substr(0, eq)));
        const std::string value(TrimBlanks(line.substr(eq + 1)));
        bool replaced = false;
        for (auto& e : current->Entries)
            if (SameText(e.Key, key)) {
                e.Value = value;
                replaced = true;
            }
        if (!replaced) current->Entries.push_back({key, value});
    }
}

TIniFile::TSection* TIniFile::Find(std::string_view section) {
    for (auto& s : Sections_)
        if (SameText(s.Name, section)) return &s;
    return nullptr;
}

const TIniFile::TSection* TIniFile::Find(std::string_view section) const {
    for (const auto& s : Sections_)
        if (SameText(s.Name, section)) return &s;
    return nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& fallback) const {
    if (const TSection* s = Find(section))
        for (const auto& e : s->Entries)
            if (SameText(e.Key, key)) return e.Value;
    return fallback;
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    return StrToIntDef(ReadString(section, key, ""), fallback);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, const std::string& value) {
    TSection* s = Find(section);
    if (!s) s = &Sections_.emplace_back(TSection{std::string(section), {}});
    // A line break in a value would start a new line of the file.
    std::string v = value;
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    for (auto& e : s->Entries)
        if (SameText(e.Key, key)) {
            e.Value = v;
            return;
        }
    s->Entries.push_back({std::string(key), v});
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, FormatInt(value));
}

std::string TIniFile::Text() const {
    std::string text;
    for (const auto& s : Sections_) {
        text += "[" + s.Name + "]\r\n";
        for (const auto& e : s.Entries)
            text += e.Key + "=" + e.Value + "\r\n";
    }
    return text;
}

} // namespace zm
