#include "core/ScenarioFile.h"

#include "ShipBlocks.h"
#include "SourcePlace.h"
#include "TextLines.h"
#include "core/Text.h"
#include "orbhost/HostError.h"

#include <chrono>

namespace orb {

namespace {

struct Parser {
    const std::string& source;
    std::vector<std::string> lines;
    size_t i = 0;

    [[noreturn]] void fail(size_t lineIndex, const std::string& msg) const {
        throw HostError(scenario_files::SourcePlace{source, lineIndex + 1}.describe(msg));
    }
    std::string_view clean(size_t k) const { return text::stripComment(lines[k]); }

    // Collects the lines of a block that started at line `start` until a line beginning with endTag (or
    // exactly "END" when allowBareEnd); returns them raw, tags included.
    std::vector<std::string> rawBlock(size_t start, std::string_view endTag, bool allowBareEnd) {
        std::vector<std::string> block{lines[start]};
        for (i = start + 1; i < lines.size(); ++i) {
            std::string_view l = text::trim(lines[i]);
            block.push_back(lines[i]);
            if (text::istartsWith(l, endTag) ||
                (allowBareEnd && text::iequals(text::stripComment(l), "END"))) {
                ++i;
                return block;
            }
        }
        fail(start, "block " + std::string(text::trim(lines[start])) + " has no " + std::string(endTag) +
                        " (file truncated?)");
    }
};

double parseDate(Parser& p, size_t k, std::string_view rest) {
    std::string_view value;
    std::string_view kind = text::firstWord(rest, &value);
    auto v = text::parseDouble(text::firstWord(value));
    if (!v) p.fail(k, "Date: expected MJD, JD or JE and a number");
    if (text::iequals(kind, "MJD")) return *v;
    if (text::iequals(kind, "JD")) return *v - 2400000.5;
    if (text::iequals(kind, "JE")) return 51544.5 + (*v - 2000.0) * 365.25;
    p.fail(k, "Date: expected MJD, JD or JE and a number");
}

} // namespace

double systemTimeMjd() {
    using namespace std::chrono;
    double secs = duration<double>(system_clock::now().time_since_epoch()).count();
    return 40587.0 + secs / 86400.0;
}

ScenarioFile ScenarioFile::parse(std::string_view text, const std::string& source) {
    if (!text::looksLikeText(text)) throw HostError(source + ": not a text file");
    ScenarioFile scn;
    scn.source = source;
    Parser p{source, scenario_files::splitLines(text)};
    bool haveShips = false;
    while (p.i < p.lines.size()) {
        size_t k = p.i;
        std::string_view l = p.clean(k);
        if (l.empty()) {
            ++p.i;
            continue;
        }
        if (text::istartsWith(l, "BEGIN_DESC") || text::istartsWith(l, "BEGIN_HYPERDESC") ||
            text::istartsWith(l, "BEGIN_URLDESC")) {
            std::string tag = "END_" + std::string(text::firstWord(l).substr(6));
            // The description is free text: comments are not removed there.
            scn.description = p.rawBlock(k, tag, false);
        } else if (text::istartsWith(l, "BEGIN_ENVIRONMENT")) {
            for (p.i = k + 1;; ++p.i) {
                if (p.i >= p.lines.size())
                    p.fail(k, "BEGIN_ENVIRONMENT has no END_ENVIRONMENT (file truncated?)");
                std::string_view e = p.clean(p.i);
                if (text::istartsWith(e, "END_ENVIRONMENT")) break;
                std::string_view rest;
                std::string_view key = text::firstWord(e, &rest);
                if (text::iequals(key, "System"))
                    scn.system = std::string(rest);
                else if (text::iequals(key, "Date"))
                    scn.mjd = parseDate(p, p.i, rest);
                else if (!e.empty())
                    scn.environmentExtra.emplace_back(e);
            }
            ++p.i;
        } else if (text::istartsWith(l, "BEGIN_FOCUS")) {
            for (p.i = k + 1;; ++p.i) {
                if (p.i >= p.lines.size()) p.fail(k, "BEGIN_FOCUS has no END_FOCUS (file truncated?)");
                std::string_view e = p.clean(p.i);
                if (text::istartsWith(e, "END_FOCUS")) break;
                std::string_view rest;
                if (text::iequals(text::firstWord(e, &rest), "Ship")) scn.focus = std::string(rest);
            }
            ++p.i;
        } else if (text::istartsWith(l, "BEGIN_CAMERA")) {
            auto block = p.rawBlock(k, "END_CAMERA", false);
            for (size_t b = 1; b + 1 < block.size(); ++b) {
                std::string_view c = text::stripComment(block[b]);
                if (!c.empty()) scn.camera.emplace_back(c);
            }
        } else if (text::istartsWith(l, "BEGIN_SHIPS")) {
            haveShips = true;
            scenario_files::ShipList list =
                scenario_files::scanShipList(p.lines, k, scenario_files::ShipListRule::AsTheSimulatorReads);
            if (list.fault) p.fail(list.fault->first - 1, list.fault->second);
            for (scenario_files::ShipBlock& ship : list.ships)
                scn.ships.push_back(std::move(ship));
            p.i = list.nextLine;
        } else if (text::istartsWith(l, "BEGIN_")) {
            std::string tag = "END_" + std::string(text::firstWord(l).substr(6));
            auto block = p.rawBlock(k, tag, true);
            (haveShips ? scn.pluginBlocks : scn.cockpitBlocks).push_back(std::move(block));
        } else {
            ++p.i; // stray text between blocks is ignored, as the simulator's tag search does
        }
    }
    if (!haveShips) throw HostError(source + ": no BEGIN_SHIPS block (not a scenario file, or truncated)");
    return scn;
}

} // namespace orb
