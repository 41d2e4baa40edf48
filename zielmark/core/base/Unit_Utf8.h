// Texts as UTF-8: names and descriptions come from files of any age, some of them Latin-1; everything the
// program shows or writes is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zm {

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view s);
// Every byte taken as a Latin-1 character.
std::string Latin1ToUtf8(std::string_view s);
// The text itself when it is valid UTF-8, else the text read as Latin-1.
std::string AsUtf8(std::string_view s);
// Characters (code points) of a UTF-8 text.
size_t Utf8Length(std::string_view s);
// The columns a UTF-8 text takes in a terminal: two for each wide or full-width character (Chinese,
// Japanese, Korean, full-width forms, most emoji), none for a combining mark or a zero-width character, one
// for every other character (and for every byte that is not UTF-8).
size_t Utf8Width(std::string_view s);

} // namespace zm
