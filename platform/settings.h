#pragma once
// Per-user settings as VB keeps them: string values under
// HKCU\Software\VB and VBA Program Settings\<app>\<section>.

#include <string>
#include <string_view>

#include "platform/result.h"

namespace trawlex::platform {

// An absent key (or unreadable store) gives defaultValue; a key holding "" gives "".
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue = {});

// Fails for an empty name or a name holding a backslash (it would address another key).
Status SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value);

// An empty key deletes the whole section with everything in it. Deleting a key or
// section that is not there fails, as in VB; callers that only want it gone ignore that.
Status DeleteSetting(std::string_view app, std::string_view section, std::string_view key = {});

}  // namespace trawlex::platform
