#pragma once
// Names Windows compares without case (environment variables, registry roots, ProgIDs):
// only ASCII letters fold; every other byte must match exactly.

#include <string_view>

namespace trawlex::platform {

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace trawlex::platform
