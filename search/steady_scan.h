#pragma once
// The text scan for callers that need no call before every line (ScanControl::Steady, or
// before every stretch: ScanControl::SteadyStretch): it looks for what a matching line must hold in
// the whole text (or stretch) at once and visits only the lines with a hit; the procedure of a
// matching line is worked out from the procedure keywords nearest before it. The rows are those of
// the line-by-line scan.

#include <string_view>

#include "base/text_decode.h"
#include "search/match_engine.h"
#include "search/text_scan.h"

namespace trawlex {

// `bytes` is the text itself (Utf8), or CP932 bytes that decode to it (Cp932; only where
// Cp932SearchableUndecoded()). Returns false, having added no row, when the search gives
// nothing to look for; the caller scans the decoded text instead.
bool ScanSteadily(std::string_view bytes, ByteEncoding encoding, std::string_view name,
                  std::string_view search, const ScanRoles& roles, MatchEngine& engine);

}  // namespace trawlex
