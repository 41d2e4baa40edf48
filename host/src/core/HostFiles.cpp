#include "core/HostFiles.h"

#include "core/Text.h"
#include "orbhost/HostError.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <unordered_set>
#include <unistd.h>

namespace orb {

namespace {
std::unordered_set<HostFile *> &registry() {
    static std::unordered_set<HostFile *> files;
    return files;
}
} // namespace

HostFile::HostFile(Kind k) : kind(k) { registry().insert(this); }
HostFile::~HostFile() { registry().erase(this); }

HostFile *HostFile::fromHandle(void *handle, Kind kind) {
    auto *f = static_cast<HostFile *>(handle);
    if (!handle || !registry().count(f) || f->kind != kind) return nullptr;
    return f;
}

std::string readFile(const std::filesystem::path &file, const std::string &shownPath) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) throw HostError(shownPath + ": file not found");
    std::ifstream in(file, std::ios::binary);
    if (!in) throw HostError(shownPath + ": cannot open the file");
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) throw HostError(shownPath + ": cannot read the file");
    return ss.str();
}

void writeFileAtomic(const std::filesystem::path &file, std::string_view data) {
    std::filesystem::path tmp = file;
    tmp += ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw HostError(file.string() + ": cannot write the file");
        out.write(data.data(), std::streamsize(data.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(tmp.c_str());
            throw HostError(file.string() + ": cannot write the file");
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, file, ec);
    if (ec) {
        std::remove(tmp.c_str());
        throw HostError(file.string() + ": cannot replace the file: " + ec.message());
    }
}

std::unique_ptr<ConfigFile> ConfigFile::fromText(std::string_view text, const std::string &shownPath) {
    if (!text::looksLikeText(text)) throw HostError(shownPath + ": not a text file");
    auto cfg = std::make_unique<ConfigFile>();
    cfg->path = shownPath;
    int n = 0;
    for (const std::string &raw : text::splitLines(text)) {
        ++n;
        std::string_view line = text::stripComment(raw);
        if (text::iequals(line, "END_PARSE")) break;
        if (line.empty()) continue;
        cfg->lines.emplace_back(line);
        cfg->lineNumbers.push_back(n);
    }
    return cfg;
}

std::unique_ptr<ConfigFile> ConfigFile::load(const std::filesystem::path &file, const std::string &shownPath) {
    return fromText(readFile(file, shownPath), shownPath);
}

std::optional<std::string> ConfigFile::item(std::string_view key, int *lineNumber) const {
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

bool ScenarioReader::nextLine(char *&line) {
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
