#pragma once
// The options of trawlex-grep that shape what is shown rather than what is searched:
// --color, --count and --in.

#include <optional>
#include <string>
#include <string_view>

#include "cli/grep_options.h"

namespace trawlex::cli {

// Options that take a value ("--color", "--in").
bool IsDisplayValueOption(std::string_view name);

// Applies one of them; the usage error's message when the value is not one it knows.
std::optional<std::string> ApplyDisplayValueOption(GrepOptions& options, std::string_view name,
                                                   std::string_view value);

// Applies a flag without a value ("--count"); false when `arg` is none of them.
bool ApplyDisplayFlag(GrepOptions& options, std::string_view arg);

}  // namespace trawlex::cli
