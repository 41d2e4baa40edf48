#include "core/HostFiles.h"

#include "core/Text.h"
#include "orbhost/HostError.h"

#include "AtomicSave.h"
#include "FileRead.h"
#include "TextLines.h"

#include <memory>
#include <unordered_set>

namespace orb {

namespace {
std::unordered_set<HostFile*>& registry() {
    static std::unordered_set<HostFile*> files;
    return files;
}
} // namespace

HostFile::HostFile(Kind k) : kind(k) {
    registry().insert(this);
}
HostFile::~HostFile() {
    registry().erase(this);
}

HostFile* HostFile::fromHandle(void* handle, Kind kind) {
    auto* f = static_cast<HostFile*>(handle);
    if (!handle || !registry().count(f) || f->kind != kind) return nullptr;
    return f;
}

bool somethingButAFolder(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec) && !std::filesystem::is_directory(file, ec);
}

std::string readFile(const std::filesystem::path& file, const std::string& shownPath) {
    using scenario_files::ReadFailure;
    scenario_files::FileRead r = scenario_files::readWholeFile(file.string());
    switch (r.failure) {
    case ReadFailure::None:
        return std::move(r.text);
    case ReadFailure::NotFound:
        throw HostError(shownPath + ": file not found");
    case ReadFailure::CannotOpen:
        throw HostError(shownPath + ": cannot open the file: " + r.reason());
    case ReadFailure::CannotRead:
        throw HostError(shownPath + ": cannot read the file: " + r.reason());
    case ReadFailure::Folder:
    case ReadFailure::NotRegular:
    case ReadFailure::TooLarge:
        break;
    }
    throw HostError(shownPath + ": " + r.reason());
}

void writeFileAtomic(const std::filesystem::path& file, std::string_view data) {
    const scenario_files::SaveFailure failed = scenario_files::saveAtomic(file.string(), data);
    if (!failed) return;
    const bool replacing = failed.step == scenario_files::SaveFailure::Step::Replace;
    throw HostError(file.string() +
                    (replacing ? ": cannot replace the file: " : ": cannot write the file: ") +
                    failed.reason);
}

std::unique_ptr<ConfigFile> ConfigFile::fromText(std::string_view text, const std::string& shownPath) {
    if (!text::looksLikeText(text)) throw HostError(shownPath + ": not a text file");
    auto cfg = std::make_unique<ConfigFile>();
    cfg->path = shownPath;
    int n = 0;
    for (const std::string& raw : scenario_files::splitLines(text)) {
        ++n;
        std::string_view line = text::stripComment(raw);
        if (text::iequals(line, "END_PARSE")) break;
        if (line.empty()) continue;
        cfg->lines.emplace_back(line);
        cfg->lineNumbers.push_back(n);
    }
    return cfg;
}

std::unique_ptr<ConfigFile> ConfigFile::load(const std::filesystem::path& file,
                                             const std::string& shownPath) {
    return fromText(readFile(file, shownPath), shownPath);
}

std::optional<std::string> ConfigFile::item(std::string_view key, int* lineNumber) const {
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (!text::iequals(text::trim(line.substr(0, eq)), key)) continue;
        std::string_view value = text::trim(line.substr(eq + 1));
        if (value.empty()) return std::nullopt;
        if (lineNumber) *lineNumber = lineNumbers[i];
        return std::string(value);
    }
    return std::nullopt;
}

bool ScenarioReader::nextLine(char*& line) {
    if (next >= lines.size()) return false;
    std::string_view l = text::stripComment(lines[next]);
    if (text::iequals(l, "END")) return false;
    ++next;
    buffer.assign(l);
    line = buffer.data();
    return true;
}

void ScenarioWriter::line(std::string_view s) {
    text.append(s);
    text.append("\r\n");
}

void ScenarioWriter::item(std::string_view key, std::string_view value) {
    text.append("  ");
    text.append(key);
    text.push_back(' ');
    text.append(value);
    text.append("\r\n");
}

} // namespace orb
