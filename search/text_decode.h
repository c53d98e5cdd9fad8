#pragma once
// Turns file bytes into UTF-8 text the way the system's ANSI text reader would:
// a BOM (UTF-8, UTF-16 LE/BE) wins; else valid UTF-8 stays; else CP932 (Windows mappings).
// Bytes that cannot be decoded become U+FFFD. Never fails.

#include <string>
#include <string_view>

namespace trawlex {

std::string DecodeText(std::string_view bytes);

// Text back to CP932 bytes (characters without a mapping become '?'), for ANSI columns
// and saving files in their original encoding.
std::string EncodeCp932(std::string_view utf8);

}  // namespace trawlex
