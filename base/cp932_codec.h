#pragma once
// CP932 (Windows Shift_JIS) to UTF-8. Encoding back is EncodeCp932 in text_decode.h.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace trawlex {

// Every byte that does not start a valid character becomes U+FFFD and decoding goes on
// with the next byte, so a trail byte after a bad lead byte is read on its own.
std::string DecodeCp932(std::string_view bytes);
void DecodeCp932(std::string_view bytes, std::string& out);  // replaces `out`

// Whether CP932 bytes can be searched without decoding them first: no character holds or
// ends before a CR or LF byte (so every line decodes on its own exactly as inside the whole
// text) and no byte sequence but an ASCII byte decodes to ASCII (so ASCII in the text stands
// as the same bytes in the file).
bool Cp932SearchableUndecoded();

// Every CP932 byte string that decodes to exactly `utf8`; empty when there is none (a
// character without a mapping, U+FFFD) or more than `limit`.
std::vector<std::string> Cp932Sources(std::string_view utf8, std::size_t limit);

// Whether CP932 can encode `utf8` at all: every character has a mapping (U+FFFD has none).
// Unlike listing the sources, this does not grow with the number of encodings.
bool Cp932CanEncode(std::string_view utf8);

// One decodable CP932 character that is not ASCII.
struct Cp932Char {
    std::string bytes;  // one or two bytes
    std::string utf8;
};
const std::vector<Cp932Char>& Cp932NonAsciiChars();  // made when first asked for

// Calls `visit` for every decodable CP932 character that is not ASCII, in byte order,
// without making a list of them.
void ForEachCp932NonAsciiChar(
    const std::function<void(std::string_view bytes, std::string_view utf8)>& visit);

}  // namespace trawlex
