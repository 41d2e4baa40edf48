#include "cli/RunOptions.h"

#include "core/Text.h"
#include "orbhost/World.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orb::cli {

const char* const kUsage =
    "usage: orbhost run SCENARIO [options]\n"
    "  SCENARIO            a scenario below <root>/Scenarios (\".scn\" optional) or a file path\n"
    "options:\n"
    "  --root DIR          installation root with Config/, Modules/, Meshes/, Scenarios/\n"
    "                      (default: $ORB_ROOT, else the current folder)\n"
    "  --dt S              step length in seconds (default 0.02, 50 steps per second)\n"
    "  --key K@T[+MOD...]  buffered key K for the focus vessel at simulation time T; MOD is shift, ctrl or\n"
    "                      alt; K is a letter, digit, F1..F12, SPACE, RETURN, ESCAPE, TAB, UP, DOWN, LEFT,\n"
    "                      RIGHT or a scan code (0x18); repeatable, e.g. --key O@1 --key A@5+shift\n"
    "  --tmax S            time limit in seconds (default 3600)\n"
    "  --countdown S       time after the last key in which launches may still begin (default 110)\n"
    "  --settle S          quiet time that ends the run (default 10)\n"
    "  --progress S        simulation seconds between progress lines (default 10, 0 = none)\n"
    "  --no-save           do not write Scenarios/(Current state).scn\n"
    "  --save-to FILE      write the saved state to FILE instead of Scenarios/(Current state).scn\n"
    "  --seed N            once the scenario is loaded, give N (0 to 4294967295) to every loaded module "
    "that\n"
    "                      exports <Module>SeedRandom(unsigned), e.g. TeskiSeedRandom, for a repeatable run\n"
    "  --until-gone CLASS  end the run as soon as, after the last key, no vessel of CLASS is left and every\n"
    "                      vessel is landed\n"
    "  -h, --help          show this help\n"
    "The run ends by itself when the countdown time after the last key has passed and no vessel has been\n"
    "flying (off the ground) for the settle time; or when no vessel is left; or at the time limit; or, with\n"
    "--until-gone, as soon as that class is gone and everything has landed.\n"
    "Exit status: 0 done, 1 error in the scenario, root or a module, 2 wrong command line.\n";

namespace {

struct NamedKey {
    const char* name;
    DWORD code;
};
const NamedKey kNamedKeys[] = {
    {"A", OAPI_KEY_A},           {"B", OAPI_KEY_B},           {"C", OAPI_KEY_C},
    {"D", OAPI_KEY_D},           {"E", OAPI_KEY_E},           {"F", OAPI_KEY_F},
    {"G", OAPI_KEY_G},           {"H", OAPI_KEY_H},           {"I", OAPI_KEY_I},
    {"J", OAPI_KEY_J},           {"K", OAPI_KEY_K},           {"L", OAPI_KEY_L},
    {"M", OAPI_KEY_M},           {"N", OAPI_KEY_N},           {"O", OAPI_KEY_O},
    {"P", OAPI_KEY_P},           {"Q", OAPI_KEY_Q},           {"R", OAPI_KEY_R},
    {"S", OAPI_KEY_S},           {"T", OAPI_KEY_T},           {"U", OAPI_KEY_U},
    {"V", OAPI_KEY_V},           {"W", OAPI_KEY_W},           {"X", OAPI_KEY_X},
    {"Y", OAPI_KEY_Y},           {"Z", OAPI_KEY_Z},           {"0", OAPI_KEY_0},
    {"1", OAPI_KEY_1},           {"2", OAPI_KEY_2},           {"3", OAPI_KEY_3},
    {"4", OAPI_KEY_4},           {"5", OAPI_KEY_5},           {"6", OAPI_KEY_6},
    {"7", OAPI_KEY_7},           {"8", OAPI_KEY_8},           {"9", OAPI_KEY_9},
    {"F1", OAPI_KEY_F1},         {"F2", OAPI_KEY_F2},         {"F3", OAPI_KEY_F3},
    {"F4", OAPI_KEY_F4},         {"F5", OAPI_KEY_F5},         {"F6", OAPI_KEY_F6},
    {"F7", OAPI_KEY_F7},         {"F8", OAPI_KEY_F8},         {"F9", OAPI_KEY_F9},
    {"F10", OAPI_KEY_F10},       {"F11", OAPI_KEY_F11},       {"F12", OAPI_KEY_F12},
    {"SPACE", OAPI_KEY_SPACE},   {"RETURN", OAPI_KEY_RETURN}, {"ENTER", OAPI_KEY_RETURN},
    {"ESCAPE", OAPI_KEY_ESCAPE}, {"TAB", OAPI_KEY_TAB},       {"UP", OAPI_KEY_UP},
    {"DOWN", OAPI_KEY_DOWN},     {"LEFT", OAPI_KEY_LEFT},     {"RIGHT", OAPI_KEY_RIGHT},
    {"MINUS", OAPI_KEY_MINUS},   {"EQUALS", OAPI_KEY_EQUALS},
};

const struct {
    const char* name;
    unsigned bit;
} kMods[] = {{"shift", ModShift}, {"ctrl", ModCtrl}, {"control", ModCtrl}, {"alt", ModAlt}};

std::optional<DWORD> keyCode(std::string_view name) {
    for (const NamedKey& k : kNamedKeys)
        if (text::iequals(name, k.name)) return k.code;
    if (text::istartsWith(name, "0x") && name.size() > 2) {
        unsigned v = 0;
        for (char c : name.substr(2)) {
            int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                    : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                : -1;
            if (d < 0 || v > 0xFF) return std::nullopt;
            v = v * 16 + unsigned(d);
        }
        if (v > 0 && v < 256) return DWORD(v);
    }
    return std::nullopt;
}

std::optional<double> seconds(const std::string& text, bool allowZero) {
    auto v = text::parseDouble(text);
    if (!v || *v < 0 || (!allowZero && *v == 0)) return std::nullopt;
    return v;
}

std::optional<unsigned> parseSeed(const std::string& text) {
    unsigned long long v = 0;
    if (text.empty() || text.size() > 10) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + unsigned(c - '0');
    }
    if (v > 0xFFFFFFFFull) return std::nullopt;
    return unsigned(v);
}

} // namespace

std::optional<KeyEvent> parseKeyEvent(const std::string& s, std::string* error) {
    size_t at = s.find('@');
    if (at == std::string::npos) {
        *error = "--key " + s + ": expected KEY@TIME, e.g. O@1";
        return std::nullopt;
    }
    KeyEvent ev;
    ev.text = s;
    auto code = keyCode(s.substr(0, at));
    if (!code) {
        *error = "--key " + s + ": unknown key \"" + s.substr(0, at) + "\"";
        return std::nullopt;
    }
    ev.key = *code;
    std::string rest = s.substr(at + 1);
    size_t plus = rest.find('+');
    auto t = seconds(rest.substr(0, plus), true);
    if (!t) {
        *error = "--key " + s + ": the time must be a number of seconds, 0 or more";
        return std::nullopt;
    }
    ev.time = *t;
    while (plus != std::string::npos) {
        size_t next = rest.find('+', plus + 1);
        std::string mod =
            rest.substr(plus + 1, next == std::string::npos ? std::string::npos : next - plus - 1);
        bool found = false;
        for (const auto& m : kMods)
            if (text::iequals(mod, m.name)) ev.mods |= m.bit, found = true;
        if (!found) {
            *error = "--key " + s + ": unknown modifier \"" + mod + "\" (shift, ctrl, alt)";
            return std::nullopt;
        }
        plus = next;
    }
    return ev;
}

std::optional<RunOptions> parseRunOptions(const std::vector<std::string>& args, std::string* error) {
    RunOptions o;
    auto needValue = [&](size_t& i) -> const std::string* {
        if (i + 1 >= args.size()) {
            *error = args[i] + " needs a value";
            return nullptr;
        }
        return &args[++i];
    };
    struct Number {
        const char* flag;
        double RunOptions::*field;
        bool allowZero;
    };
    const Number numbers[] = {{"--dt", &RunOptions::dt, false},
                              {"--tmax", &RunOptions::timeLimit, false},
                              {"--countdown", &RunOptions::countdown, true},
                              {"--settle", &RunOptions::settle, true},
                              {"--progress", &RunOptions::progress, true}};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--root") {
            const std::string* v = needValue(i);
            if (!v) return std::nullopt;
            o.root = *v;
        } else if (a == "--key") {
            const std::string* v = needValue(i);
            if (!v) return std::nullopt;
            auto ev = parseKeyEvent(*v, error);
            if (!ev) return std::nullopt;
            o.keys.push_back(*ev);
        } else if (a == "--no-save") {
            o.save = false;
        } else if (a == "--save-to" || a == "--until-gone") {
            const std::string* v = needValue(i);
            if (!v) return std::nullopt;
            if (v->empty()) {
                *error = a + " needs a value";
                return std::nullopt;
            }
            (a == "--save-to" ? o.saveTo : o.untilGone) = *v;
        } else if (a == "--seed") {
            const std::string* v = needValue(i);
            if (!v) return std::nullopt;
            o.seed = parseSeed(*v);
            if (!o.seed) {
                *error = "--seed " + *v + ": expected a whole number from 0 to 4294967295";
                return std::nullopt;
            }
        } else if (auto n = std::find_if(std::begin(numbers), std::end(numbers),
                                         [&](const Number& x) { return a == x.flag; });
                   n != std::end(numbers)) {
            const std::string* v = needValue(i);
            if (!v) return std::nullopt;
            auto s = seconds(*v, n->allowZero);
            if (!s) {
                *error = a + " " + *v + ": expected a number of seconds" + (n->allowZero ? "" : " above 0");
                return std::nullopt;
            }
            if (n->field == &RunOptions::dt && *s < kShortestStep) {
                *error = a + " " + *v +
                         ": a step is at least 0.000001 s (the simulator's clock counts "
                         "microseconds; shorter steps would never end a run)";
                return std::nullopt;
            }
            o.*(n->field) = *s;
        } else if (!a.empty() && a[0] == '-' && a.size() > 1) {
            *error = "unknown option " + a;
            return std::nullopt;
        } else if (o.scenario.empty()) {
            o.scenario = a;
        } else {
            *error = "more than one scenario given: \"" + o.scenario + "\" and \"" + a + "\"";
            return std::nullopt;
        }
    }
    if (o.scenario.empty() && !o.help) {
        *error = "no scenario given";
        return std::nullopt;
    }
    std::stable_sort(o.keys.begin(), o.keys.end(),
                     [](const KeyEvent& a, const KeyEvent& b) { return a.time < b.time; });
    return o;
}

} // namespace orb::cli
