// The text scans: the fast SearchText, with a steady host or not, and SearchEncodedText on a
// file's bytes must add exactly the rows of the plain line-by-line scan of the decoded text.
// Input: one byte of options (mode, binary flag), the search string up to a NUL, the bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_decode.h"
#include "fuzz/fuzz_check.h"
#include "search/text_scan.h"

namespace {

class RowCollector : public trawlex::ScanHost {
  public:
    RowCollector(trawlex::MatchOptions options, bool steady) : options_(options) {
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

void CheckSameRows(const RowCollector& scan, const RowCollector& reference) {
    FUZZ_CHECK(scan.rows.size() == reference.rows.size());
    for (std::size_t i = 0; i < scan.rows.size(); ++i) {
        FUZZ_CHECK(SameRow(scan.rows[i], reference.rows[i]));
    }
}

// Every scan of `text` (and of the bytes it came from, when given) against the plain one.
void CheckScans(std::string_view text, const std::string_view* bytes, std::string_view search,
                trawlex::MatchOptions options, trawlex::MatchEngine& engine) {
    RowCollector plain(options, false);
    trawlex::SearchTextLineByLine(text, "fuzz", search, plain, engine);

    RowCollector fast(options, false);
    trawlex::SearchText(text, "fuzz", search, fast, engine);
    CheckSameRows(fast, plain);
    FUZZ_CHECK(fast.yields == plain.yields);  // one yield per line either way

    RowCollector steady(options, true);
    trawlex::SearchText(text, "fuzz", search, steady, engine);
    CheckSameRows(steady, plain);

    if (bytes == nullptr) return;
    RowCollector encoded(options, false);
    trawlex::SearchEncodedText(*bytes, "fuzz", search, encoded, engine);
    CheckSameRows(encoded, plain);
    FUZZ_CHECK(encoded.yields == plain.yields);

    RowCollector encodedSteady(options, true);
    trawlex::SearchEncodedText(*bytes, "fuzz", search, encodedSteady, engine);
    CheckSameRows(encodedSteady, plain);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const trawlex::MatchOptions options{static_cast<trawlex::SearchMode>(data[0] % 5),
                                        (data[0] & 8) != 0};
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t nul = rest.find('\0');
    const std::string_view search = rest.substr(0, nul);
    const std::string_view bytes =
        nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);

    trawlex::MatchEngine engine;
    // The bytes as a file's contents, and as a text handed over as it is.
    const std::string decoded = trawlex::DecodeText(bytes);
    CheckScans(decoded, &bytes, search, options, engine);
    CheckScans(bytes, nullptr, search, options, engine);
    return 0;
}
