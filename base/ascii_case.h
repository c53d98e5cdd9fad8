#pragma once
// Names compared without case the way Windows compares them (file extensions, environment
// variables, registry roots, ProgIDs, VB keywords): only ASCII letters fold; every other
// byte must match exactly, whatever the locale.

#include <string>
#include <string_view>

namespace trawlex {

char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix);

}  // namespace trawlex
