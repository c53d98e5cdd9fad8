// The procedure locator, driven line by line the way the text scan drives it, and the rows
// the scan makes of the same text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "search/proc_locator.h"
#include "search/text_scan.h"

namespace {

class CheckingHost : public trawlex::ScanHost {
  public:
    CheckingHost(trawlex::MatchOptions options, std::size_t lines)
        : options_(options), lines_(lines) {}
    trawlex::MatchOptions CurrentOptions() const override { return options_; }
    void AddRow(trawlex::ResultRow row) override {
        FUZZ_CHECK(row.line > last_line_);
        FUZZ_CHECK(static_cast<std::size_t>(row.line) <= lines_);
        FUZZ_CHECK(!row.content.starts_with(' ') && !row.content.ends_with(' '));
        FUZZ_CHECK(row.content.find('\n') == std::string::npos);
        last_line_ = row.line;
    }

  private:
    trawlex::MatchOptions options_;
    std::size_t lines_;
    std::int64_t last_line_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // First byte: mode and binary flag; then the search string up to a NUL; then the text.
    const auto options =
        trawlex::MatchOptions{static_cast<trawlex::SearchMode>(data[0] % 5), (data[0] & 8) != 0};
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t nul = rest.find('\0');
    const std::string_view search = rest.substr(0, nul);
    const std::string_view text =
        nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);

    trawlex::ProcState state;
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        ++lines;
        if (!state.Inside()) trawlex::ApplyStartTest(state, line);
        if (state.Inside()) {
            trawlex::ApplyEndTest(state, line);
            if (!state.Inside()) FUZZ_CHECK(state.name.empty() && state.scope.empty());
        }
        start = end + 1;
    }

    trawlex::MatchEngine engine;
    CheckingHost host(options, lines);
    trawlex::SearchText(text, "fuzz", search, host, engine);
    return 0;
}
