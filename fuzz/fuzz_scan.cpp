// The text scan: the fast SearchText must add exactly the rows of the plain line-by-line scan,
// and so must the scan of a steady host over the undecoded bytes of a file.
// Input: one byte of options (mode, binary flag), the search string up to a NUL, the text.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "search/text_decode.h"
#include "search/text_scan.h"

namespace {

class RowCollector : public trawlex::ScanHost {
  public:
    explicit RowCollector(trawlex::MatchOptions options, bool steady = false) : options_(options) {
        SetSteady(steady);
    }
    trawlex::MatchOptions CurrentOptions() const override { return options_; }
    void AddRow(trawlex::ResultRow row) override { rows.push_back(std::move(row)); }
    void Yield() override { ++yields; }

    std::vector<trawlex::ResultRow> rows;
    std::size_t yields = 0;

  private:
    trawlex::MatchOptions options_;
};

bool SameRow(const trawlex::ResultRow& a, const trawlex::ResultRow& b) {
    return a.name == b.name && a.line == b.line && a.procedure == b.procedure &&
           a.scope == b.scope && a.content == b.content;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const trawlex::MatchOptions options{static_cast<trawlex::SearchMode>(data[0] % 5),
                                        (data[0] & 8) != 0};
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t nul = rest.find('\0');
    const std::string_view search = rest.substr(0, nul);
    const std::string_view text =
        nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);

    trawlex::MatchEngine engine;
    RowCollector fast(options);
    RowCollector plain(options);
    trawlex::SearchText(text, "fuzz", search, fast, engine);
    trawlex::SearchTextLineByLine(text, "fuzz", search, plain, engine);

    FUZZ_CHECK(fast.yields == plain.yields);  // one yield per line either way
    FUZZ_CHECK(fast.rows.size() == plain.rows.size());
    for (std::size_t i = 0; i < fast.rows.size(); ++i) {
        FUZZ_CHECK(SameRow(fast.rows[i], plain.rows[i]));
    }

    // The same text as a file's bytes: decoded by the reference, searched as they are by a
    // steady host where they are CP932.
    RowCollector steady(options, true);
    RowCollector decoded(options);
    trawlex::SearchEncodedText(text, "fuzz", search, steady, engine);
    trawlex::SearchTextLineByLine(trawlex::DecodeText(text), "fuzz", search, decoded, engine);
    FUZZ_CHECK(steady.rows.size() == decoded.rows.size());
    for (std::size_t i = 0; i < steady.rows.size(); ++i) {
        FUZZ_CHECK(SameRow(steady.rows[i], decoded.rows[i]));
    }
    return 0;
}
