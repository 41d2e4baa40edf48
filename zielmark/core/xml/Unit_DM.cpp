#include "Unit_DM.h"

#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_Utf8.h"

#include <pugixml.hpp>

#include <algorithm>
#include <sys/stat.h>

namespace zm {

// ---- Table ------------------------------------------------------------------------------------

void TKmlTable::Clear() {
    FieldNames.clear();
    Records.clear();
}

int TKmlTable::FieldIndex(std::string_view name) const {
    for (size_t i = 0; i < FieldNames.size(); ++i)
        if (FieldNames[i] == name) return static_cast<int>(i);
    return -1;
}

const std::string* TKmlTable::FieldText(size_t record, std::string_view name) const {
    const int f = FieldIndex(name);
    if (f < 0 || record >= Records.size() || static_cast<size_t>(f) >= Records[record].size()) return nullptr;
    const auto& v = Records[record][static_cast<size_t>(f)];
    return v ? &*v : nullptr;
}

// ---- Transformation file ------------------------------------------------------------------------

namespace {

std::vector<std::string> Tokens(std::string_view line) {
    std::vector<std::string> t;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start) t.emplace_back(line.substr(start, i - start));
    }
    return t;
}

std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    SplitText(path, "/", &parts);
    return parts;
}

bool ValidPath(const std::vector<std::string>& parts) {
    return !parts.empty() &&
           std::none_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); });
}

// An element's name without its namespace prefix.
std::string_view LocalName(const pugi::xml_node& node) {
    std::string_view n = node.name();
    const size_t colon = n.rfind(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

pugi::xml_node FirstAtPath(const pugi::xml_node& from, const std::vector<std::string>& path, size_t step) {
    if (step == path.size()) return from;
    for (pugi::xml_node c = from.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || LocalName(c) != path[step]) continue;
        if (pugi::xml_node found = FirstAtPath(c, path, step + 1)) return found;
    }
    return {};
}

std::string NodeText(const pugi::xml_node& element) {
    std::string s;
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) s += c.value();
    return s;
}

} // namespace

TResult TTransformation::Load(const std::string& path) {
    std::string text;
    if (TResult read = ReadWholeFile(path, text); !read.Ok()) return read;
    return Parse(text, path);
}

TResult TTransformation::Parse(std::string_view text, const std::string& fileName) {
    *this = TTransformation();
    std::vector<std::string> lines;
    SplitLines(text, lines);
    bool haveFormat = false;
    const auto fail = [&](size_t line, const std::string& why) {
        return TResult::Failure("Bad transformation file \"" + fileName + "\" line " + std::to_string(line) +
                                ": " + why);
    };
    for (size_t n = 0; n < lines.size(); ++n) {
        std::string_view line = lines[n];
        if (const size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        const std::vector<std::string> t = Tokens(line);
        if (t.empty()) continue;
        const std::string& key = t[0];
        if (!haveFormat) {
            if (key != "format" || t.size() != 3 || t[1] != "zielmark-xtr" || t[2] != "1")
                return fail(n + 1, "the first statement must be \"format zielmark-xtr 1\"");
            haveFormat = true;
        } else if (key == "start" && t.size() == 2 && ValidPath(SplitPath(t[1]))) {
            StartPaths.push_back(SplitPath(t[1]));
        } else if (key == "record" && t.size() == 2 && RecordElement.empty()) {
            RecordElement = t[1];
        } else if (key == "through" && t.size() >= 2) {
            ThroughElements.insert(ThroughElements.end(), t.begin() + 1, t.end());
        } else if (key == "field" && t.size() == 4 && (t[3] == "text" || t[3] == "trim")) {
            TField f;
            f.Name = t[1];
            f.Trim = t[3] == "trim";
            std::vector<std::string> alternatives;
            SplitText(t[2], "|", &alternatives);
            for (const auto& a : alternatives) {
                if (!ValidPath(SplitPath(a))) return fail(n + 1, "bad path \"" + t[2] + "\"");
                f.Paths.push_back(SplitPath(a));
            }
            Fields.push_back(std::move(f));
        } else {
            return fail(n + 1, "cannot understand \"" + std::string(TrimBlanks(line)) + "\"");
        }
    }
    if (!haveFormat) return fail(lines.size(), "the file is empty");
    if (RecordElement.empty() || StartPaths.empty() || Fields.empty())
        return fail(lines.size(), "a record, a start and at least one field are needed");
    return TResult::Success();
}

void TTransformation::Apply(const pugi::xml_node& document, TKmlTable& table,
                            const TFieldNames& onlyFields) const {
    table.Clear();
    for (const auto& f : Fields)
        table.FieldNames.push_back(f.Name);

    const auto emit = [&](const pugi::xml_node& record) {
        TKmlTable::TRecord r;
        r.reserve(Fields.size());
        for (const auto& f : Fields) {
            std::optional<std::string> value;
            if (!onlyFields.empty() &&
                std::find(onlyFields.begin(), onlyFields.end(), f.Name) == onlyFields.end()) {
                r.push_back(std::move(value));
                continue;
            }
            for (const auto& p : f.Paths) {
                if (pugi::xml_node e = FirstAtPath(record, p, 0)) {
                    value = NodeText(e);
                    if (f.Trim) value = std::string(TrimBlanks(*value));
                    break;
                }
            }
            r.push_back(std::move(value));
        }
        table.Records.push_back(std::move(r));
    };
    const auto isThrough = [&](std::string_view name) {
        return std::find(ThroughElements.begin(), ThroughElements.end(), name) != ThroughElements.end();
    };

    for (const auto& path : StartPaths) {
        // All elements at the path, from the document's root element down.
        std::vector<pugi::xml_node> level;
        for (pugi::xml_node c = document.first_child(); c; c = c.next_sibling())
            if (c.type() == pugi::node_element && LocalName(c) == path[0]) level.push_back(c);
        for (size_t step = 1; step < path.size() && !level.empty(); ++step) {
            std::vector<pugi::xml_node> next;
            for (const auto& n : level)
                for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
                    if (c.type() == pugi::node_element && LocalName(c) == path[step]) next.push_back(c);
            level.swap(next);
        }
        if (level.empty()) continue;

        for (const auto& start : level) {
            if (LocalName(start) == RecordElement) {
                emit(start);
                continue;
            }
            // Depth-first in document order without recursion: nesting cannot exhaust the stack.
            std::vector<pugi::xml_node> stack;
            const auto pushChildren = [&](const pugi::xml_node& container) {
                for (pugi::xml_node c = container.last_child(); c; c = c.previous_sibling())
                    if (c.type() == pugi::node_element) stack.push_back(c);
            };
            pushChildren(start);
            while (!stack.empty()) {
                const pugi::xml_node node = stack.back();
                stack.pop_back();
                const std::string_view name = LocalName(node);
                if (name == RecordElement)
                    emit(node);
                else if (isThrough(name))
                    pushChildren(node);
            }
        }
        return; // the first start that leads to any element wins
    }
}

// ---- Data module ------------------------------------------------------------------------------

TResultOf<const TTransformation*> TDModule::Rules(TCached& cache, const char* fileName) {
    const std::string path = TransformPath(fileName);
    if (BatchDepth_ > 0 && cache.Path == path && cache.CheckedGeneration == BatchGeneration_)
        return {TResult::Success(), &cache.Rules};
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return TResult::Failure("Required file does not exist: \"" + path + "\"");
    const long long mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    if (cache.Path != path || cache.MTimeNs != mtime || cache.Size != static_cast<long long>(st.st_size)) {
        cache.Path.clear();
        if (TResult loaded = cache.Rules.Load(path); !loaded.Ok()) return loaded;
        cache.Path = path;
        cache.MTimeNs = mtime;
        cache.Size = static_cast<long long>(st.st_size);
    }
    cache.CheckedGeneration = BatchGeneration_;
    return {TResult::Success(), &cache.Rules};
}

TResult TDModule::ImportKml(const std::string& path, const TFieldNames& onlyFields) {
    KMLDataSet.Clear();
    const TResultOf<const TTransformation*> rulesD = Rules(CacheD_, TransformFileD);
    if (!rulesD.Ok()) return rulesD;
    if (TResult read = ReadWholeFile(path, Buffer_); !read.Ok()) return read;
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer_inplace(
        Buffer_.data(), Buffer_.size(), pugi::parse_cdata | pugi::parse_escapes, pugi::encoding_auto);
    if (!parsed)
        return TResult::Failure("\"" + path + "\" is not a well-formed XML file: " + parsed.description() +
                                " at byte " + std::to_string(parsed.offset));
    rulesD.Value->Apply(doc, KMLDataSet, onlyFields);
    if (KMLDataSet.IsEmpty()) {
        const TResultOf<const TTransformation*> rulesF = Rules(CacheF_, TransformFileF);
        if (!rulesF.Ok()) return rulesF;
        rulesF.Value->Apply(doc, KMLDataSet, onlyFields);
    }
    return KMLDataSet.IsEmpty() ? TResult::Outcome(TResultCode::Empty) : TResult::Success();
}

TDModule& DModule() {
    static TDModule module;
    return module;
}

// ---- Naming convention ----------------------------------------------------------------------------

TPlacemarkKind ClassifyPlacemarkName(std::string_view name) {
    if (StartsWith(name, WreckPrefix)) return TPlacemarkKind::Wreck;
    if (StartsWith(name, TeskPrefix)) return TPlacemarkKind::LaunchSite;
    return TPlacemarkKind::Other;
}

bool IsImpactStyle(std::string_view styleUrl) {
    // "#stWreck" as we write it; Google Earth may keep the file's name before the "#" when it saves.
    const size_t hash = styleUrl.rfind('#');
    return hash != std::string_view::npos && styleUrl.substr(hash + 1) == ImpactStyleId;
}

TResultOf<TPlacemarkCounts> CountKmlPlacemarks(const std::string& path) {
    TPlacemarkCounts c;
    TDModule& dm = DModule();
    if (const TResult imported = dm.ImportKml(path, {"name", "style"}); imported.Code == TResultCode::Failed)
        return imported;
    for (size_t i = 0; i < dm.KMLDataSet.RecordCount(); ++i) {
        const std::string* name = dm.KMLDataSet.FieldText(i, "name");
        if (!name) continue; // no readable name: not counted
        if (const std::string* style = dm.KMLDataSet.FieldText(i, "style"); style && IsImpactStyle(*style)) {
            ++c.Impacts;
            continue;
        }
        switch (ClassifyPlacemarkName(*name)) {
        case TPlacemarkKind::Wreck:
            ++c.Wrecks;
            break;
        case TPlacemarkKind::LaunchSite:
            ++c.LaunchSites;
            break;
        case TPlacemarkKind::Other:
            ++c.Others;
            break;
        }
    }
    return {TResult::Success(), c};
}

TResultOf<bool> IsSourceKml(const std::string& path) {
    const TResultOf<TPlacemarkCounts> counted = CountKmlPlacemarks(path);
    const TPlacemarkCounts& c = counted.Value;
    return {counted, c.Wrecks == 0 && c.Impacts == 0 && c.LaunchSites > 0 && c.Others > 0};
}

TResultOf<bool> IsResultKml(const std::string& path) {
    const TResultOf<TPlacemarkCounts> counted = CountKmlPlacemarks(path);
    const TPlacemarkCounts& c = counted.Value;
    return {counted, c.Impacts > 0 || (c.Wrecks > 0 && c.LaunchSites == 0)};
}

std::string ReadKmlDescription(const std::string& path) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines).Ok()) return {};
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    size_t endPos = 1;
    std::string description = TextBetween("<description>", "</description>", endPos, text);
    const size_t placemark = PosFrom("<Placemark", 1, text);
    if (placemark < endPos) return {};
    // Shown and written as UTF-8: a Latin-1 file's umlauts become characters, not replacement marks.
    return AsUtf8(description);
}

} // namespace zm
