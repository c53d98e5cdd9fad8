// The file decoder: any bytes give valid UTF-8, and bytes detected as UTF-8 stay as they are.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text_decode.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = trawlex::DecodeText(bytes);
    FUZZ_CHECK(trawlex::IsValidUtf8(text));
    FUZZ_CHECK(trawlex::DecodeBuffer(std::string(bytes)) == text);

    // Bytes read as they are stay as they are: ASCII, and valid UTF-8 that holds a sequence
    // of three or four bytes (two-byte sequences alone are read as CP932).
    if (trawlex::DetectByteEncoding(bytes) == trawlex::ByteEncoding::Utf8) {
        FUZZ_CHECK(text == bytes);
        FUZZ_CHECK(trawlex::IsValidUtf8(bytes));
    }
    // A choice of encoding always gives valid UTF-8 too.
    FUZZ_CHECK(trawlex::IsValidUtf8(trawlex::DecodeText(bytes, trawlex::EncodingChoice::Cp932)));
    FUZZ_CHECK(trawlex::IsValidUtf8(trawlex::DecodeText(bytes, trawlex::EncodingChoice::Utf8)));

    const std::string ansi = trawlex::EncodeCp932(text);
    FUZZ_CHECK(trawlex::AnsiByteLength(text) == ansi.size());
    return 0;
}
