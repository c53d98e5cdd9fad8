#pragma once
// Text in a Windows code page (a VBA project's PROJECTCODEPAGE) to UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

namespace trawlex::office {

// 932 through the CP932 codec, 1252 through its own table, any other through iconv (as
// "CP<n>" or the name iconv knows it by: 10000 is MACINTOSH, 65001 UTF-8). Bytes that cannot be
// decoded become U+FFFD; a code page iconv does not know reads as 1252.
std::string DecodeCodePage(std::string_view bytes, std::uint16_t codePage);

}  // namespace trawlex::office
