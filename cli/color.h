#pragma once
// When trawlex-grep colours its text output, and how a matched part is marked.

#include <optional>
#include <string_view>

namespace trawlex::cli {

enum class ColorChoice { Auto, Always, Never };

// "auto", "always", "never"; nullopt for anything else.
std::optional<ColorChoice> ColorChoiceFromName(std::string_view name);

// Auto colours a terminal unless NO_COLOR is set to something.
bool ColourWanted(ColorChoice choice, bool terminal);

// Bold red, as grep marks its matches.
inline constexpr std::string_view kMatchSgr = "01;31";

}  // namespace trawlex::cli
