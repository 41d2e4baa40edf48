// Scenario and configuration file access for modules: oapiReadScenario_nextline, the oapiWriteScenario_*
// writers ("  item value" lines), the oapiReadItem_* / oapiWriteItem_* "Key = value" items and oapiOpenFile.
#include "Orbitersdk.h"

#include "core/HostFiles.h"
#include "core/Text.h"
#include "core/WorldImpl.h"

#include <algorithm>
#include <cstring>

using namespace orb;

namespace {
const size_t kItemStringMax = 255;

ScenarioWriter* writer(FILEHANDLE f) {
    return static_cast<ScenarioWriter*>(HostFile::fromHandle(f, HostFile::Kind::ScenarioOut));
}
ConfigFile* config(FILEHANDLE f) {
    return static_cast<ConfigFile*>(HostFile::fromHandle(f, HostFile::Kind::Config));
}
std::string vec(const VECTOR3& v) {
    return text::compact(v.x) + " " + text::compact(v.y) + " " + text::compact(v.z);
}

// Files opened by modules with oapiOpenFile, with where a written one goes.
struct OpenedFile {
    std::unique_ptr<HostFile> file;
    std::filesystem::path target;
};
std::vector<OpenedFile>& opened() {
    static std::vector<OpenedFile> files;
    return files;
}
} // namespace

bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line) {
    auto* r = static_cast<ScenarioReader*>(HostFile::fromHandle(scn, HostFile::Kind::ScenarioIn));
    return r && r->nextLine(line);
}

void oapiWriteScenario_string(FILEHANDLE scn, char* item, char* string) {
    if (auto* w = writer(scn)) w->item(item ? item : "", string ? string : "");
}
void oapiWriteScenario_int(FILEHANDLE scn, char* item, int i) {
    if (auto* w = writer(scn)) w->item(item ? item : "", std::to_string(i));
}
void oapiWriteScenario_float(FILEHANDLE scn, char* item, double d) {
    if (auto* w = writer(scn)) w->item(item ? item : "", text::compact(d));
}
void oapiWriteScenario_vec(FILEHANDLE scn, char* item, const VECTOR3& v) {
    if (auto* w = writer(scn)) w->item(item ? item : "", vec(v));
}
void oapiWriteLine(FILEHANDLE file, char* line) {
    if (auto* w = writer(file)) w->line(line ? line : "");
}

bool oapiReadItem_string(FILEHANDLE f, char* item, char* string) {
    auto* c = config(f);
    if (!c || !item || !string) return false;
    auto v = c->item(item);
    if (!v) return false;
    // The simulator copies without a limit; modules pass fixed buffers (typically 256 bytes), so a longer
    // value is cut at 255 characters rather than overrunning the caller's buffer.
    size_t n = std::min<size_t>(v->size(), kItemStringMax);
    std::memcpy(string, v->data(), n);
    string[n] = '\0';
    return true;
}
bool oapiReadItem_float(FILEHANDLE f, char* item, double& d) {
    auto* c = config(f);
    auto v = c && item ? c->item(item) : std::nullopt;
    double x;
    if (!v || text::parseDoubles(*v, &x, 1) != 1) return false;
    d = x;
    return true;
}
bool oapiReadItem_int(FILEHANDLE f, char* item, int& i) {
    auto* c = config(f);
    auto v = c && item ? c->item(item) : std::nullopt;
    if (!v) return false;
    // Like the simulator's "%d": the leading integer counts ("3.7" reads as 3).
    std::string_view s = text::firstWord(*v);
    size_t n = 0;
    while (n < s.size() &&
           (std::isdigit(static_cast<unsigned char>(s[n])) || (n == 0 && (s[n] == '-' || s[n] == '+'))))
        ++n;
    auto x = text::parseInt(s.substr(0, n));
    if (!x) return false;
    i = *x;
    return true;
}
bool oapiReadItem_bool(FILEHANDLE f, char* item, bool& b) {
    auto* c = config(f);
    auto v = c && item ? c->item(item) : std::nullopt;
    if (!v) return false;
    if (text::istartsWith(*v, "true"))
        b = true;
    else if (text::istartsWith(*v, "false"))
        b = false;
    else
        return false;
    return true;
}
bool oapiReadItem_vec(FILEHANDLE f, char* item, VECTOR3& vecOut) {
    auto* c = config(f);
    auto v = c && item ? c->item(item) : std::nullopt;
    double x[3] = {0, 0, 0};
    bool ok = v && text::parseDoubles(*v, x, 3) == 3;
    vecOut = ok ? _V(x[0], x[1], x[2]) : _V(0, 0, 0); // the simulator zeroes the vector on failure
    return ok;
}

namespace {
void writeItem(FILEHANDLE f, const char* item, const std::string& value) {
    if (auto* w = writer(f)) w->line(std::string(item ? item : "") + " = " + value);
}
} // namespace
void oapiWriteItem_string(FILEHANDLE f, char* item, char* string) {
    writeItem(f, item, string ? string : "");
}
void oapiWriteItem_float(FILEHANDLE f, char* item, double d) {
    writeItem(f, item, text::compact(d));
}
void oapiWriteItem_int(FILEHANDLE f, char* item, int i) {
    writeItem(f, item, std::to_string(i));
}
void oapiWriteItem_bool(FILEHANDLE f, char* item, bool b) {
    writeItem(f, item, b ? "TRUE" : "FALSE");
}
void oapiWriteItem_vec(FILEHANDLE f, char* item, const VECTOR3& v) {
    writeItem(f, item, vec(v));
}

void oapiWriteLog(char* line) {
    if (WorldImpl* w = currentWorld()) w->log.push_back(line ? line : "");
}

FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root) {
    WorldImpl* w = currentWorld();
    if (!w || !fname) return nullptr;
    static const char* const folders[] = {"",          "Config", "Scenarios", "Textures",
                                          "Textures2", "Meshes", "Modules"};
    std::string rel = fname;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    if (rel.find("..") != std::string::npos || (!rel.empty() && rel.front() == '/')) return nullptr;
    std::filesystem::path file = w->root / folders[int(root) >= 0 && int(root) < 7 ? int(root) : 0] / rel;
    OpenedFile of;
    of.target = file;
    if (mode == FILE_IN || mode == FILE_IN_ZEROONFAIL) {
        try {
            of.file = ConfigFile::load(file, file.string());
        } catch (const HostError&) {
            if (mode == FILE_IN_ZEROONFAIL) return nullptr;
            of.file = std::make_unique<ConfigFile>(); // every read then fails, as in the simulator
        }
    } else {
        auto out = std::make_unique<ScenarioWriter>();
        if (mode == FILE_APP) {
            try {
                out->text = readFile(file, file.string());
            } catch (const HostError&) {
            }
        }
        of.file = std::move(out);
    }
    FILEHANDLE h = of.file.get();
    opened().push_back(std::move(of));
    return h;
}

void oapiCloseFile(FILEHANDLE f, FileAccessMode) {
    auto& files = opened();
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i].file.get() != f) continue;
        if (auto* w = writer(f)) {
            try {
                writeFileAtomic(files[i].target, w->text);
            } catch (const HostError& e) {
                if (WorldImpl* w = currentWorld()) w->log.push_back(e.what());
            }
        }
        files.erase(files.begin() + long(i));
        return;
    }
}
