#pragma once
// Small UTF-8 / UTF-16LE helpers for the registry's hex forms and ANSI columns.

#include <string>
#include <string_view>

namespace trawlex::platform {

// Decodes the code point at pos and moves pos past it. A malformed sequence yields
// U+FFFD and consumes one byte.
char32_t NextCodePoint(std::string_view utf8, size_t& pos);

void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-16LE bytes without a terminator.
std::string Utf8ToUtf16Le(std::string_view utf8);

// Stops at the first NUL character; unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

}  // namespace trawlex::platform
