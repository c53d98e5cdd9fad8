#pragma once
// Turns file bytes into UTF-8 text the way the system's ANSI text reader would:
// a BOM (UTF-8, UTF-16 LE/BE) wins; else ASCII, or valid UTF-8 that holds at least one
// sequence of three or four bytes, stays; else CP932 (Windows mappings). Valid UTF-8 of
// two-byte sequences only is read as CP932: short CP932 texts form such sequences by chance.
// Bytes that cannot be decoded become U+FFFD. Never fails.

#include <cstddef>
#include <string>
#include <string_view>

namespace trawlex {

// How files without a BOM are read: detected as above, or always as one encoding.
enum class EncodingChoice { Auto, Cp932, Utf8 };

std::string DecodeText(std::string_view bytes, EncodingChoice choice = EncodingChoice::Auto);

// How DecodeText reads the bytes: as they are (valid UTF-8 without a BOM), as CP932, or
// otherwise (a BOM).
enum class ByteEncoding { Utf8, Cp932, Other };
ByteEncoding DetectByteEncoding(std::string_view bytes,
                                EncodingChoice choice = EncodingChoice::Auto);

// DecodeText for a buffer the caller gives up: valid UTF-8 comes back in the same buffer,
// so a large file is not copied again.
std::string DecodeBuffer(std::string bytes, EncodingChoice choice = EncodingChoice::Auto);

// Text back to CP932 bytes (characters without a mapping become '?'), for ANSI columns
// and saving files in their original encoding.
std::string EncodeCp932(std::string_view utf8);

// Length of the text in ANSI (CP932) bytes: a double-byte character counts 2, ASCII and
// half-width katakana 1, a character without a mapping 1 (its '?').
std::size_t AnsiByteLength(std::string_view utf8);

bool IsAscii(std::string_view bytes);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

}  // namespace trawlex
