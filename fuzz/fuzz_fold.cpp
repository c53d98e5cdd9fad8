// The foldings of plain-text and wildcard search.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text_decode.h"
#include "fuzz/fuzz_check.h"
#include "search/text_fold.h"

namespace {

std::size_t Count(std::string_view text, char c) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

void CheckKeepsLines(std::string_view source, const std::string& folded) {
    FUZZ_CHECK(Count(source, '\n') == Count(folded, '\n'));
    FUZZ_CHECK(Count(source, '\r') == Count(folded, '\r'));
    if (trawlex::IsValidUtf8(source)) FUZZ_CHECK(trawlex::IsValidUtf8(folded));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::string folded = trawlex::FoldForCompare(text);
    CheckKeepsLines(text, folded);
    std::string reused = "left over";
    trawlex::FoldForCompare(text, reused);
    FUZZ_CHECK(reused == folded);

    const std::string normalised = trawlex::NormaliseForLike(text);
    CheckKeepsLines(text, normalised);
    trawlex::NormaliseForLike(text, reused);
    FUZZ_CHECK(reused == normalised);

    // Nothing joins across a line feed, so each line folds on its own.
    const std::size_t lf = text.find('\n');
    if (lf != std::string_view::npos) {
        FUZZ_CHECK(folded == trawlex::FoldForCompare(text.substr(0, lf)) + "\n" +
                                 trawlex::FoldForCompare(text.substr(lf + 1)));
        FUZZ_CHECK(normalised == trawlex::NormaliseForLike(text.substr(0, lf)) + "\n" +
                                     trawlex::NormaliseForLike(text.substr(lf + 1)));
    }
    return 0;
}
