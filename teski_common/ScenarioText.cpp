#include "ScenarioText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <type_traits>

namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

template <typename T> bool ParseNumber(const char*& p, T& out) {
    const char* s = SkipBlanks(p);
    const bool plus = *s == '+';
    if (plus) ++s;
    if (plus && *s == '-') return false;
    const char* end = s + std::strlen(s);
    T v{};
    std::from_chars_result r;
    if constexpr (std::is_floating_point_v<T>)
        r = std::from_chars(s, end, v, std::chars_format::general);
    else
        r = std::from_chars(s, end, v);
    if (r.ec != std::errc()) return false;
    if constexpr (std::is_floating_point_v<T>)
        if (!std::isfinite(v)) return false;
    out = v;
    p = r.ptr;
    return true;
}

} // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p))
        ++p;
    return p;
}

bool ParseReal(const char*& p, double& value) {
    return ParseNumber(p, value);
}

bool ParseInt(const char*& p, int& value) {
    return ParseNumber(p, value);
}

bool ReadReal(const char* text, double& value) {
    return ParseNumber(text, value);
}

bool ReadInt(const char* text, int& value) {
    return ParseNumber(text, value);
}

bool ReadReals(const char* text, double* values, int n) {
    double tmp[8];
    if (n > static_cast<int>(std::size(tmp))) return false;
    for (int i = 0; i < n; ++i)
        if (!ParseNumber(text, tmp[i])) return false;
    for (int i = 0; i < n; ++i)
        values[i] = tmp[i];
    return true;
}

bool Within(const double* values, int n, double limit) {
    for (int i = 0; i < n; ++i)
        if (!(values[i] >= -limit && values[i] <= limit)) return false;
    return true;
}

bool ReadTrackPoint(const char* text, int& index, double& lon, double& lat, double& height, int& phase) {
    int i = 0, ph = 0;
    double v[3];
    if (!ParseNumber(text, i)) return false;
    for (double& x : v)
        if (!ParseNumber(text, x)) return false;
    if (!ParseNumber(text, ph)) return false;
    index = i;
    lon = v[0];
    lat = v[1];
    height = v[2];
    phase = ph;
    return true;
}

std::size_t BoundedLength(const char* text, std::size_t max) {
    std::size_t n = 0;
    while (n < max && text[n] != '\0')
        ++n;
    return n;
}

void CopyBounded(char* dest, std::size_t size, const char* src, std::size_t length) {
    if (size == 0) return;
    const std::size_t n = BoundedLength(src, length < size - 1 ? length : size - 1);
    std::memcpy(dest, src, n);
    dest[n] = '\0';
}

bool ReadName(const char* text, char* dest, std::size_t size) {
    if (size == 0) return false;
    const char* s = SkipBlanks(text);
    // Cut first, then drop the blanks at the end: a name cut inside a run of blanks is kept as it will be
    // read back from the saved scenario, which drops them.
    std::size_t n = BoundedLength(s, size - 1);
    while (n > 0 && (IsBlank(s[n - 1]) || IsLineEnd(s[n - 1])))
        --n;
    if (n == 0) return false;
    CopyBounded(dest, size, s, n);
    return true;
}

bool ReadRest(const char* text, char* dest, std::size_t size) {
    const char* s = SkipBlanks(text);
    std::size_t n = std::strlen(s);
    while (n > 0 && IsLineEnd(s[n - 1]))
        --n;
    if (n == 0 || size == 0) return false;
    CopyBounded(dest, size, s, n);
    return true;
}

void FormatFixed(double v, int decimals, char* buf, std::size_t size) {
    if (size == 0) return;
    const auto r = std::to_chars(buf, buf + size - 1, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) {
        buf[0] = '0';
        buf[size > 1 ? 1 : 0] = '\0';
        return;
    }
    *r.ptr = '\0';
}

void FormatTrackPoint(int index, double lon, double lat, double height, int phase, char* buf,
                      std::size_t size) {
    if (size == 0) return;
    char* p = buf;
    char* const end = buf + size - 1;
    auto put = [&](auto r) {
        if (r.ec == std::errc()) p = r.ptr;
    };
    auto blank = [&] {
        if (p < end) *p++ = ' ';
    };
    put(std::to_chars(p, end, index));
    for (double x : {lon, lat, height}) {
        blank();
        put(std::to_chars(p, end, x, std::chars_format::fixed, 13));
    }
    blank();
    put(std::to_chars(p, end, phase));
    *p = '\0';
}
