// The file decoder: any bytes give valid UTF-8, and valid UTF-8 without a BOM stays as is.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "base/text_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = trawlex::DecodeText(bytes);
    FUZZ_CHECK(trawlex::IsValidUtf8(text));
    FUZZ_CHECK(trawlex::DecodeBuffer(std::string(bytes)) == text);

    const bool bom = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                     bytes.starts_with("\xFE\xFF");
    if (!bom && trawlex::IsValidUtf8(bytes)) FUZZ_CHECK(text == bytes);

    const std::string ansi = trawlex::EncodeCp932(text);
    FUZZ_CHECK(trawlex::AnsiByteLength(text) == ansi.size());
    return 0;
}
