// A table for the terminal: every column as wide as its widest cell, counted in the columns a terminal gives
// each character (two for a Chinese, Japanese or Korean one), so long and non-ASCII names keep the columns in
// line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 text as the terminal may show it: control characters (C0, DEL and C1, which a terminal would obey:
// a name holding ESC [2J clears the screen) are written as escapes, "\x1B" and "\u009B"; the rest is kept.
std::string TerminalSafe(std::string_view text);

// Prints the rows (the first is the heading) with two blanks between columns; the columns marked in
// `rightAligned` are aligned to the right (figures), the others to the left. Trailing blanks are dropped;
// cells are printed TerminalSafe.
void PrintTextTable(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned,
                    std::FILE* out = stdout);
