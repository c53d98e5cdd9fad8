#pragma once
// CP932 (Windows Shift_JIS) to UTF-8. Encoding back is EncodeCp932 in text_decode.h.

#include <string>
#include <string_view>

namespace trawlex {

// Every byte that does not start a valid character becomes U+FFFD and decoding goes on
// with the next byte, so a trail byte after a bad lead byte is read on its own.
std::string DecodeCp932(std::string_view bytes);

}  // namespace trawlex
