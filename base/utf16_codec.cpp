#include "base/utf16_codec.h"

#include <cstdint>

#include "base/utf8_codec.h"

namespace trawlex {

namespace {
constexpr char32_t kReplacementChar = 0xFFFD;
}  // namespace

std::string DecodeUtf16(std::string_view bytes, bool littleEndian) {
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto lo = static_cast<unsigned char>(bytes[i + (littleEndian ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(bytes[i + (littleEndian ? 1 : 0)]);
        return static_cast<std::uint32_t>(hi << 8 | lo);
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    for (std::size_t u = 0; u < units; ++u) {
        const std::uint32_t w = unit(u * 2);
        if (w >= 0xD800 && w <= 0xDBFF && u + 1 < units) {
            const std::uint32_t w2 = unit((u + 1) * 2);
            if (w2 >= 0xDC00 && w2 <= 0xDFFF) {
                utf8::Append(out, 0x10000 + ((w - 0xD800) << 10) + (w2 - 0xDC00));
                ++u;
                continue;
            }
        }
        utf8::Append(out, (w >= 0xD800 && w <= 0xDFFF) ? kReplacementChar : w);
    }
    if (bytes.size() % 2 != 0) utf8::Append(out, kReplacementChar);
    return out;
}

std::string EncodeUtf16(std::string_view utf8, bool littleEndian) {
    std::string out;
    out.reserve(utf8.size() * 2);
    auto put = [&](std::uint32_t unit) {
        const char hi = static_cast<char>((unit >> 8) & 0xFF);
        const char lo = static_cast<char>(unit & 0xFF);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        std::uint32_t cp = utf8::Next(utf8, i);
        if (cp > 0x10FFFF) cp = kReplacementChar;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

}  // namespace trawlex
