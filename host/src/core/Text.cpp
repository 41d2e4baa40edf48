#include "core/Text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace orb::text {

static bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view stripComment(std::string_view s) {
    size_t c = s.find(';');
    if (c != std::string_view::npos) s = s.substr(0, c);
    return trim(s);
}

static char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool istartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && iequals(s.substr(0, prefix.size()), prefix);
}

std::string_view firstWord(std::string_view s, std::string_view* rest) {
    s = trim(s);
    size_t i = 0;
    while (i < s.size() && !isBlank(s[i]))
        ++i;
    if (rest) *rest = trim(s.substr(i));
    return s.substr(0, i);
}

std::optional<double> parseDouble(std::string_view s) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || s.empty() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> parseInt(std::string_view s) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

int parseDoubles(std::string_view s, double* out, int n) {
    int count = 0;
    while (count < n) {
        std::string_view rest;
        std::string_view word = firstWord(s, &rest);
        if (word.empty()) break;
        auto v = parseDouble(word);
        if (!v) break;
        out[count++] = *v;
        s = rest;
    }
    return count;
}

std::string fixed(double v, int decimals) {
    if (!std::isfinite(v)) v = 0;
    char buf[400];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    std::string s(buf, p);
    // A value that rounds to zero is written without a sign.
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string compact(double v) {
    std::string s = fixed(v, 6);
    size_t dot = s.find('.');
    if (dot == std::string::npos) return s + ".0";
    size_t last = s.find_last_not_of('0');
    if (last == dot) last = dot + 1;
    s.erase(last + 1);
    return s;
}

bool looksLikeText(std::string_view data) {
    return data.find('\0') == std::string_view::npos;
}

} // namespace orb::text
