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
char32_t Next(std::string_view text, std::size_t& pos);

void Append(std::string& out, char32_t cp);

}  // namespace trawlex::utf8
