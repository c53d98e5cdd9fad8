#pragma once
// Command-line options of trawlex-grep and their parser.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/text_decode.h"
#include "cli/color.h"
#include "search/search_types.h"
#include "search/vb_code_regions.h"

namespace trawlex::cli {

enum class OutputFormat { Text, Tsv, Jsonl };

struct GrepOptions {
    MatchOptions match;
    std::string extList = "*";  // "*" or "*.ext" items joined by ";"
    bool searchSubfolders = true;
    bool office = true;  // Office documents searched through their VBA modules
    OutputFormat format = OutputFormat::Text;
    EncodingChoice encoding = EncodingChoice::Auto;  // files without a BOM
    unsigned jobs = 0;                               // files searched at once; 0: one per processor
    std::string search;
    std::vector<std::string> paths;
    ColorChoice color = ColorChoice::Auto;
    bool count = false;       // name:N per file or module instead of the rows
    RegionSet inRegions = 0;  // where a match must lie; 0 for anywhere
    RegionSet WantedRegions() const { return inRegions != 0 ? inRegions : kAllRegions; }
};

struct HelpRequested {};

struct UsageError {
    std::string message;
};

using ParsedArgs = std::variant<GrepOptions, HelpRequested, UsageError>;

// `args` are the arguments after the program name.
ParsedArgs ParseGrepArgs(const std::vector<std::string_view>& args);

// "bas,cls" -> "*.bas;*.cls". A leading "*." or "." on an item is accepted; an item "*"
// means every file. Returns an empty string when the list names no extension at all.
std::string ExtListFromCommaList(std::string_view list);

// The run's search string is trimmed with the engine's space trim.
using trawlex::TrimSpaces;

}  // namespace trawlex::cli
