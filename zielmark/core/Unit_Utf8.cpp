// Texts as UTF-8.
#include "Unit_Utf8.h"

namespace zm {

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = s[i];
        size_t more;
        unsigned int cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1, cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2, cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + more >= s.size()) return false; // truncated sequence
        for (size_t k = 1; k <= more; ++k) {
            const unsigned char cc = s[i + k];
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
        if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (const char ch : s) {
        const unsigned char c = ch;
        if (c < 0x80) {
            out += ch;
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string AsUtf8(std::string_view s) {
    return IsValidUtf8(s) ? std::string(s) : Latin1ToUtf8(s);
}

size_t Utf8Length(std::string_view s) {
    size_t n = 0;
    for (const char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n; // continuation bytes add no character
    return n;
}

} // namespace zm
