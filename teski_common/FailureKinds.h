// The missile's failures as its flight result names them: the kinds it draws, the words of its failure
// text, and the failures a text can name. The missile writes the text "<first> <second> (<value>) at <met>
// sec."; the planner and the benchmarks recover the failure from the text's first two words by this table.
#pragma once

#include <cstddef>
#include <string_view>

// The failure kinds the missile draws (its failType).
inline constexpr int FailNone = 0;
inline constexpr int FailDestruction = 1;
inline constexpr int FailEngine = 2;
inline constexpr int FailControl = 3;

// Word tables of the failure text, by failIdx1 and failIdx2.
inline constexpr const char* FailureFirstWords[] = {"Destructed on", "Engine", "Control"};
inline constexpr const char* FailureSecondWords[] = {"takeoff",      "reentry", "explosion", "shutdown",
                                                     "low throttle", "yaw",     "roll",      "pitch"};

// A word of a table; an index out of range (a damaged scenario) gives an empty word rather than a stray read.
template <std::size_t N> const char* FailureWord(const char* const (&table)[N], int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[index] : "";
}

// Every failure a flight can end with, by the two words that open its text.
struct FailureCause {
    const char* words;     // the text's opening words, "Engine explosion"
    int kind;              // FailDestruction, FailEngine or FailControl
    int firstWord;         // index into FailureFirstWords
    int secondWord;        // index into FailureSecondWords
    bool destroyed;        // the wreck was made in the air: the flight never reached the ground whole
    const char* fixedAxis; // the control a jam fixed, empty for the other failures
};

inline constexpr FailureCause FailureCauses[] = {
    {"Destructed on takeoff", FailDestruction, 0, 0, true, ""},
    {"Destructed on reentry", FailDestruction, 0, 1, true, ""},
    {"Engine explosion", FailEngine, 1, 2, true, ""},
    {"Engine shutdown", FailEngine, 1, 3, false, ""},
    {"Engine low throttle", FailEngine, 1, 4, false, ""},
    {"Control yaw", FailControl, 2, 5, false, "heading"},
    {"Control roll", FailControl, 2, 6, false, "bank"},
    {"Control pitch", FailControl, 2, 7, false, "pitch"},
};

// How a text must continue after a cause's words to name it.
enum class FailureWordsEnd {
    Word,   // at the end of the text or a blank: a whole word (the planner's dispersion analysis)
    Prefix, // anything: the words only open the text (the reliability benchmark)
};

// The cause a failure text names, null when it names none (no failure, or a text the missile does not write).
inline const FailureCause* FailureCauseOf(std::string_view text, FailureWordsEnd end) {
    const FailureCause* found = nullptr;
    for (const FailureCause& c : FailureCauses) {
        const std::string_view words = c.words;
        if (text.substr(0, words.size()) != words) continue;
        if (end == FailureWordsEnd::Word && text.size() != words.size() && text[words.size()] != ' ')
            continue;
        found = &c; // no cause's words open another's, so at most one matches
    }
    return found;
}
