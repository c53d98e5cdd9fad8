// The registry hive parser: any text is read or refused with a message, never crashes, and a
// hive that was read writes out as text that reads back to the same hive.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/reg_format.h"

namespace {

constexpr std::string_view kRoot = "HKEY_CURRENT_USER";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto hive = trawlex::platform::ParseRegText(text, kRoot, "fuzz.reg");
    if (!hive) {
        FUZZ_CHECK(!hive.error().empty());
        return 0;
    }
    const std::string written = trawlex::platform::FormatRegText(*hive, kRoot);
    const auto again = trawlex::platform::ParseRegText(written, kRoot, "written.reg");
    FUZZ_CHECK(again);
    FUZZ_CHECK(trawlex::platform::FormatRegText(*again, kRoot) == written);
    return 0;
}
