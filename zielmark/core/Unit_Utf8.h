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
// Characters (code points) of a UTF-8 text: the columns it takes in a terminal table.
size_t Utf8Length(std::string_view s);

} // namespace zm
