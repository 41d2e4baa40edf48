// Text helpers of the host: trimming, case-insensitive keys and
// locale-independent numbers (std::to_chars / std::from_chars).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orb::text {

std::string_view trim(std::string_view s);
// Removes a ';' comment and the surrounding blanks.
std::string_view stripComment(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
bool istartsWith(std::string_view s, std::string_view prefix);
// First blank-separated word and the trimmed rest.
std::string_view firstWord(std::string_view s, std::string_view* rest = nullptr);

// Numbers: the whole (trimmed) text must be one number.
std::optional<double> parseDouble(std::string_view s);
std::optional<int> parseInt(std::string_view s);
// Reads up to n blank-separated numbers from the start of s; returns how many were read.
int parseDoubles(std::string_view s, double* out, int n);

// Fixed notation with the given number of decimals ("-0.000" is written as "0.000").
std::string fixed(double v, int decimals);
// Fixed with 6 decimals, trailing zeros stripped but one decimal kept ("2.0", "0.25").
std::string compact(double v);

// True when the bytes look like text (no NUL bytes).
bool looksLikeText(std::string_view data);

} // namespace orb::text
