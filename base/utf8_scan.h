#pragma once
// One pass over bytes that tells whether they are strict UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut off) and whether they hold a sequence
// of three or four bytes. Where the processor has AVX2 it tests 32 bytes at a time.

#include <cstddef>
#include <string_view>

namespace trawlex {

struct Utf8Scan {
    bool valid = true;
    // Valid and holding a sequence of three or four bytes; undefined when not valid.
    bool long_sequence = false;
};

Utf8Scan ScanUtf8(std::string_view bytes);

// How many bytes at the start are ASCII.
std::size_t AsciiPrefixLength(std::string_view bytes);

// The same answer a character at a time: the path without AVX2, and the reference the
// wider one is tested against.
Utf8Scan ScanUtf8Bytewise(std::string_view bytes);

}  // namespace trawlex
