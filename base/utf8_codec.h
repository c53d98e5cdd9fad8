#pragma once
// Code-point access to UTF-8 text that may hold invalid bytes. An invalid byte decodes to a
// value above U+10FFFF (kInvalidByteBase + byte) and encodes back to that same byte, so any
// byte string survives a decode/encode round trip unchanged.

#include <cstddef>
#include <string>
#include <string_view>

namespace trawlex::utf8 {

inline constexpr char32_t kInvalidByteBase = 0x110000;

// Decodes the code point at text[pos] (pos < text.size()) and advances pos past it.
inline char32_t Next(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07, min = 0x10000;
    }
    if (length == 0 || text.size() - pos < length) {
        ++pos;
        return kInvalidByteBase + lead;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char trail = byte(pos + i);
        if ((trail & 0xC0) != 0x80) {
            ++pos;
            return kInvalidByteBase + lead;
        }
        cp = (cp << 6) | (trail & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kInvalidByteBase + lead;
    }
    pos += length;
    return cp;
}

void Append(std::string& out, char32_t cp);

}  // namespace trawlex::utf8
