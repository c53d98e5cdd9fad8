// The Like matcher: the pattern is the input up to its first line feed, the text the rest.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "search/like_pattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\n');
    const std::string_view pattern = input.substr(0, split);
    const std::string_view text =
        split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

    const auto compiled = trawlex::LikePattern::Compile(pattern);
    if (!compiled) {
        FUZZ_CHECK(!trawlex::LikeMatch(text, pattern).has_value());
        return 0;
    }
    const bool matches = compiled->Matches(text);
    FUZZ_CHECK(trawlex::LikeMatch(text, pattern) == matches);
    // The literal a caller may use to skip texts must never skip a matching one.
    if (matches) FUZZ_CHECK(text.find(compiled->RequiredLiteral()) != std::string_view::npos);
    // Surrounding the pattern with stars only widens it.
    if (matches) {
        const std::string wide = "*" + std::string(pattern) + "*";
        const auto wider = trawlex::LikePattern::Compile(wide);
        FUZZ_CHECK(wider && wider->Matches(text));
    }
    return 0;
}
