// How a scenario line's key is recognised. The programs that read the add-on's blocks accept different
// spellings, and each keeps its own: the plug-ins take a key after any blanks in any letter case, Zielmark
// takes one only as the simulator writes it (two blanks, the key, one blank). The rules are named here once.
#pragma once

#include <cstddef>
#include <string_view>

struct KeyGrammar {
    enum class Indent { Any, TwoBlanks, None } indent; // blanks (or tabs, for Any) before the key
    bool ignoreCase;                                   // letter case of the key ignored
    bool blankAfter;                                   // one blank must follow the key
};

// The plug-ins: any blanks before, any letter case, the value may follow without a blank.
inline constexpr KeyGrammar PluginKeys{KeyGrammar::Indent::Any, true, false};
// The line as the host hands it to the missile, its indent already taken off.
inline constexpr KeyGrammar PluginKeysUnindented{KeyGrammar::Indent::None, true, false};
// Zielmark: "  KEY value", exactly as the simulator writes it.
inline constexpr KeyGrammar SavedKeys{KeyGrammar::Indent::TwoBlanks, false, true};
// Zielmark for a key the missile alone writes and a user may have typed: as saved, letter case ignored.
inline constexpr KeyGrammar SavedKeysAnyCase{KeyGrammar::Indent::TwoBlanks, true, true};

// Length of line up to the key's value when the line begins with key under grammar g; 0 when it does not.
inline std::size_t MatchKey(std::string_view line, std::string_view key, KeyGrammar g) {
    std::size_t at = 0;
    switch (g.indent) {
    case KeyGrammar::Indent::Any:
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        break;
    case KeyGrammar::Indent::TwoBlanks:
        if (line.substr(0, 2) != "  ") return 0;
        at = 2;
        break;
    case KeyGrammar::Indent::None:
        break;
    }
    if (key.empty() || line.size() - at < key.size()) return 0;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char a = line[at + i], b = key[i];
        if (g.ignoreCase ? upper(a) != upper(b) : a != b) return 0;
    }
    at += key.size();
    if (g.blankAfter) {
        if (at >= line.size() || line[at] != ' ') return 0;
        ++at;
    }
    return at;
}
