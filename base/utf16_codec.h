#pragma once
// UTF-16 byte strings (either byte order) to and from UTF-8 text.

#include <string>
#include <string_view>

namespace trawlex {

inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-16 without a BOM. Unpaired surrogates and an odd last byte become U+FFFD.
std::string DecodeUtf16(std::string_view bytes, bool littleEndian);

// UTF-8 text to UTF-16 without a BOM or terminator; invalid UTF-8 bytes become U+FFFD.
std::string EncodeUtf16(std::string_view utf8, bool littleEndian);

}  // namespace trawlex
